#include "PrintApp.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace trv::cli {

std::unique_ptr<QGuiApplication> StartPrintApplication(bool widgets) {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // stderr carries only the program's own error line; Qt's notes about the session
    // (no runtime directory, no display) are not for a script's user.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "trv-cli: %s\n", msg.toLocal8Bit().constData());
    });
    // The application keeps the count and the words for its whole life.
    static int qtArgc = 1;
    static char name[] = "trv-cli";
    static char* qtArgv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (widgets)
        app = std::make_unique<QApplication>(qtArgc, qtArgv);
    else
        app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");
    return app;
}

}  // namespace trv::cli
