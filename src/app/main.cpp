// trv: the desktop program. Starts in German (or English: --lang, TRV_LANG, the saved choice), opens the files named on
// the command line, and with
// --demo connects to a simulated analyser so that "Daten empfangen" works without hardware.
#include "app/AppStart.h"
#include "app/Demo.h"
#include "app/MainFrame.h"

#include <QApplication>

#include <clocale>
#include <csignal>

int main(int argc, char** argv) {
    // --help and --version answer without a display (the application object would need one).
    if (const int rc = HandleInfoOptions(argc, argv); rc >= 0) return rc;
    QApplication app(argc, argv);
    // Qt set the locale from the environment; our own formatting adds the German comma.
    std::setlocale(LC_NUMERIC, "C");
    // A file-size limit must end in the German message of the failed save, not in a killed program.
    std::signal(SIGXFSZ, SIG_IGN);
    StartOptions opts = ParseStartOptions(QApplication::arguments());
    InitApplication(app, opts.lang);
    CMainFrame frame;
    if (!RunStartup(frame, opts)) return 1;
    int rc = app.exec();
    StopDemoAnalyser();
    return rc;
}
