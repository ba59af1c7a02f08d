#pragma once
// The demo analyser: a simulated analyser on a pseudo-terminal inside this process, reachable as COM1.
#include <QString>

// Starts it and points the port search at it. False with a German reason when that fails.
bool StartDemoAnalyser(QString& error);
void StopDemoAnalyser();
