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

// Organisation and program name (the recent-file list lives under "Morvane GmbH"), Qt's own German
// texts for standard buttons and dialogs. Must run before the first widget is created.
void InitApplication(QApplication& app);

// With --demo starts the simulated analyser; opens the files given (or a new document), then shows
// the main window maximised. False when start-up must end: no file named on the command line
// could be opened.
bool RunStartup(CMainFrame& frame, const StartOptions& opts);
