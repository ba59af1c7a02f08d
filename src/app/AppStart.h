#pragma once
// Start-up of the desktop program: command line, German translations, demo analyser, first window.
#include <QString>
#include <QStringList>

class QApplication;
class CMainFrame;

struct StartOptions {
    bool demo = false;
    QStringList files;
};

StartOptions ParseStartOptions(const QStringList& arguments);

// "--help"/"-h" and "--version" print the usage or the version to standard output and end the program
// before any window system is needed: the exit code, or -1 when the program is to start as usual.
int HandleInfoOptions(int argc, const char* const* argv);

// The program's version, "1.0.7".
const char* ProgramVersion();

// Organisation, program name and version (no display name: the titles name the program themselves).
void SetProgramNames();

// Organisation and program name (the recent-file list lives under "Morvane GmbH"), Qt's own German
// texts for standard buttons and dialogs. Must run before the first widget is created.
void InitApplication(QApplication& app);

// With --demo starts the simulated analyser; opens the files given (or a new document), then shows
// the main window maximised. False when start-up must end: no file named on the command line
// could be opened.
bool RunStartup(CMainFrame& frame, const StartOptions& opts);
