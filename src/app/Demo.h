#pragma once
// The demo analyser: a simulated analyser on a pseudo-terminal inside this process, reachable as COM1.
#include "data/Result.h"

// Starts it and points the port search at it. Fails with the reason when that fails.
trv::Result StartDemoAnalyser();
void StopDemoAnalyser();
