// A program built without the simulator has no demo analyser.
#include "Demo.h"

bool StartDemoAnalyser(QString& error) {
    error = QStringLiteral("Dieses Programm wurde ohne den Demo-Analysator gebaut.");
    return false;
}

void StopDemoAnalyser() {}
