// trv-cli zones --pdf: the zone card of one test as a PDF file (needs Qt for fonts and PDF output).
#include "Cli.h"
#include "data/TRVDoc.h"
#include "print/ZoneCard.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace trv::cli {

int WriteZoneCard(const CTRVDoc& doc, int test, const TestThresholds& r, const std::string& out) {
    const ZoneCardText card = MakeZoneCardText(doc, test, r, COleDateTime::Now());
    // Fonts and PDF output need a Qt application; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "trv-cli: %s\n", msg.toLocal8Bit().constData());
    });
    int qtArgc = 1;
    char name[] = "trv-cli";
    char* qtArgv[] = {name, nullptr};
    const auto app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");
    QString error;
    if (!WriteZoneCardPdf(QString::fromStdString(out), card, &error)) return Fail(ExitFile, error.toStdString());
    return ExitOk;
}

}  // namespace trv::cli
