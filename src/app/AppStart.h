#pragma once
// Start-up of the desktop program: command line, language and Qt's translations, demo analyser, first window.
#include <QString>
#include <QStringList>

class QApplication;
class CMainFrame;

#include "res/Strings.h"

struct StartOptions {
    bool demo = false;
    QString lang;  // the value of --lang ("de", "en"); empty when not given
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

// Organisation and program name (the recent-file list lives under "Morvane GmbH"), the program's language
// (StartLanguage) and Qt's own texts for standard buttons and dialogs in it. Must run before the first
// widget is created.
void InitApplication(QApplication& app, const QString& langOption = QString());

// The language of this start: `langOption` (--lang), else TRV_LANG, else the choice saved under
// "Einstellungen > Sprache / Language", else German. Needs the organisation name set.
trv::Lang StartLanguage(const QString& langOption);

// The choice of "Sprache / Language", kept in the settings for the next start; false when none was made.
bool SavedLanguage(trv::Lang& lang);
void SaveLanguage(trv::Lang lang);

// With --demo starts the simulated analyser; opens the files given (or a new document), then shows
// the main window maximised. False when start-up must end: no file named on the command line
// could be opened.
bool RunStartup(CMainFrame& frame, const StartOptions& opts);
