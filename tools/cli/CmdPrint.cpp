// trv-cli print: the two-page test protocol of the listed tests as a PDF file.
#include "Cli.h"
#include "ChartModel.h"
#include "Evaluator.h"
#include "Protocol.h"
#include "ShownTests.h"
#include "TrvFile.h"

#include <QDir>
#include <QPainter>

#ifdef TRV_CLI_CHART
#include "ChartWidget.h"

#include <QApplication>
#include <QPicture>
#include <qcustomplot.h>
#else
#include <QGuiApplication>
#endif

#include <clocale>
#include <cstdlib>
#include <memory>

namespace trv::cli {

namespace {

#ifdef TRV_CLI_CHART
using QtApp = QApplication;

// The chart laid out as a 750 x 350 window and drawn scaled into the rectangle, as vector graphics.
void DrawChart(CTChart& widget, QPainter& p, const QRectF& r)
{
    widget.resize(kPrintChartWidth, kPrintChartHeight);
    widget.Plot()->setViewport(QRect(0, 0, kPrintChartWidth, kPrintChartHeight));
    widget.Redraw();
    // The plot paints through its own painter class; a picture carries its drawing over.
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        widget.Plot()->toPainter(&recorder, kPrintChartWidth, kPrintChartHeight);
    }
    // A picture played on a device of another resolution grows by the ratio of the two.
    const double dx = static_cast<double>(picture.logicalDpiX()) / p.device()->logicalDpiX();
    const double dy = static_cast<double>(picture.logicalDpiY()) / p.device()->logicalDpiY();
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / kPrintChartWidth * dx, r.height() / kPrintChartHeight * dy);
    p.drawPicture(0, 0, picture);
    p.restore();
}
#else
using QtApp = QGuiApplication;
#endif

}  // namespace

int CmdPrint(int argc, char** argv)
{
    const Args args(argc, argv);
    const std::vector<std::string> valued{"--tests", "-o"};
    const auto files = args.Positional(valued);
    const auto list = args.Value("--tests");
    const auto out = args.Value("-o");
    const char* usage = "Aufruf: trv-cli print FILE --tests LIST -o OUT.pdf";
    if (files.size() != 1 || !list || !out || out->empty() || !args.Unknown(valued).empty())
        return Fail(ExitUsage, usage);
    std::vector<int> indices;
    if (!ParseIndexList(*list, indices))
        return Fail(ExitUsage, "Ungültige Testliste \"" + *list + "\" (erwartet z. B. 0,2).");

    CTRVDoc doc;
    const FileResult r = LoadDocument(files[0], doc);
    if (!r.ok)
        return Fail(ExitFile, r.message);
    for (int i : indices)
        if (!doc.IsValidTest(i))
            return Fail(ExitUsage, "Test " + std::to_string(i) + " gibt es nicht; das Dokument hat " +
                                       std::to_string(doc.GetTestCount()) + " Tests.");

    // Fitting function and threshold model are not stored in files: the program's defaults apply.
    CChartModel chart;
    CEvaluator ev;
    EvaluateTests(doc, indices, FitCubic, ModelMader, ev, chart);

    // Fonts and PDF output need a Qt application; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char name[] = "trv-cli";
    char* qtArgv[] = {name, nullptr};
    const auto app = std::make_unique<QtApp>(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");

    ProtocolOptions opt;
    opt.logoDir = QDir::currentPath();
#ifdef TRV_CLI_CHART
    CChartModel printed = PrintChartModel(chart);
    CTChart widget;
    widget.SetModel(&printed);
    opt.drawChart = [&widget](QPainter& p, const QRectF& r) { DrawChart(widget, p, r); };
#endif
    QString error;
    if (!WriteProtocolPdf(QString::fromStdString(*out), doc, indices, opt, &error))
        return Fail(ExitFile, error.toStdString());
    return ExitOk;
}

}  // namespace trv::cli
