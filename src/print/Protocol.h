#pragma once
// The two-page test protocol of the tests shown in the chart: page 1 with the athlete, the
// analyser, the remarks, the chart and the results of each test; page 2 with the measurement
// tables.
//
// The view prints it like this (print or preview):
//   trv::ProtocolOptions opt;
//   opt.logoDir = startupDir;                       // logo5.png or logo5.svg is looked for there
//   opt.chart = &chartModel;                        // the chart as shown on screen
//   trv::PrintProtocol(printer, doc, shownTests, opt);   // both pages, new page in between
// or, page by page (QPrintPreviewDialog's paintRequested gives the printer):
//   trv::PaintProtocolPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()), ...)
//
// The chart is laid out as a window of 750 x 350 and drawn scaled into the chart rectangle, in the
// printing state that PrintChartModel() gives.
#include "analysis/TestAnalysis.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/Uncertainty.h"
#include "analysis/Zones.h"
#include "data/OleDateTime.h"
#include "data/Result.h"

#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;

namespace trv {

class CTRVDoc;
class CChartModel;

constexpr int kProtocolPageCount = 2;
// The window size the chart is laid out at for printing.
constexpr int kPrintChartWidth = 750;
constexpr int kPrintChartHeight = 350;

struct ProtocolOptions {
    // The start-up directory; the logo "logo5.png" (or "logo5.svg") is read from it. Empty or no
    // such file: no logo.
    QString logoDir;
    // The chart as shown; the protocol draws it in its printing state (PrintChartModel). Neither
    // this nor drawChart: a framed empty chart area.
    const CChartModel* chart = nullptr;
    // Draws the chart into the rectangle instead (takes precedence over `chart`).
    std::function<void(QPainter&, const QRectF&)> drawChart;
    // The fitting choice and evaluation results of a test by index (the workspace's). None: every
    // test as never evaluated, with the default choice.
    ConstAnalysisOf analysis;
    // The date printed in the header ("Protokoll vom ..."); not valid: today.
    COleDateTime today{0.0, COleDateTime::null};
    // Page 2 prints the thresholds and zones of each test below its measurement table: the results
    // of a test by its index when given (the workspace keeps them), else worked out here with the
    // test's fitting function, threshold model and these zone settings.
    std::function<TestThresholds(int)> thresholds;
    // With an error model, page 2 also prints each method's interval (computed here, B = 1000).
    std::optional<ErrorModel> intervalError;
    ZoneSettings zones;
};

// The tests a protocol shows: the valid indices of `shownTests` in document order, at most two.
std::vector<int> ProtocolTests(const CTRVDoc& doc, const std::vector<int>& shownTests);

// Draws page `page` (1 or 2) into `pageRect`, the printable rectangle in the painter's device units.
void PaintProtocolPage(QPainter& painter, const QRect& pageRect, int page, const CTRVDoc& doc,
                       const std::vector<int>& shownTests, const ProtocolOptions& options);

// Both pages on `printer` (its page layout and resolution as set). False when the printer cannot
// be painted on.
bool PrintProtocol(QPrinter& printer, const CTRVDoc& doc, const std::vector<int>& shownTests,
                   const ProtocolOptions& options);

// The protocol as an A4 PDF file at `path`. Fails with a German message when it cannot be written.
Result WriteProtocolPdf(const QString& path, const CTRVDoc& doc, const std::vector<int>& shownTests,
                        const ProtocolOptions& options);

// The chart as it is printed: a copy of `shown` with the axis fonts at 14, the lactate zone band
// opaque, the second band, the cursors and their read-out, the result boxes (not their points and
// dashed lines), the legend's check boxes and the analyser annotation off.
CChartModel PrintChartModel(const CChartModel& shown);

}  // namespace trv
