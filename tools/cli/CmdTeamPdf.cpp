// trv-cli team --pdf: the printed team overview (needs Qt's printing).
#include "Cli.h"
#include "print/TeamPrint.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace trv::cli {

int WriteTeamPdf(const TeamTable& table, const std::string& path) {
    // Fonts need an application object; no display is needed for a PDF.
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "trv-cli: %s\n", msg.toLocal8Bit().constData());
    });
    int qtArgc = 1;
    char name[] = "trv-cli";
    char* qtArgv[] = {name, nullptr};
    const auto app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");
    if (const Result written = trv::WriteTeamPdf(path, table, TeamPrintOptions()); !written)
        return Fail(ExitFile, written.message);
    return ExitOk;
}

}  // namespace trv::cli
