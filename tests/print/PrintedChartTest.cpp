// The chart on the printed protocol: the screen's chart without what only a mouse can use, with
// its marks, inside the page frame, with as many ticks as the printed size has room for.
#include "PdfText.h"
#include "ProtocolDocs.h"
#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "print/Protocol.h"
#include "workspace/Workspace.h"

#include <QImage>
#include <QPainter>

#include <qcustomplot.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace trv;
using namespace trvtest;

namespace {

const QColor kCheckBoxBorder(0x60, 0x60, 0x60);

// The protocol document with both tests shown (Mader: the field test's IANS lies at 4.0 m/s and
// 4.0 mmol/l), cursor 1 at 3.0 m/s and a marked threshold at 3.6 m/s, as the window would show it.
struct ShownProtocol {
    ShownProtocol() : ws(doc, history) {
        ws.ShowOnly({0, 1}, FitCubic, ModelMader);
        ws.ToggleCursor(1);
        ws.CursorMoved(ToolCursor1, 3.0, 2.0);
        ws.Chart().markers.push_back({3.6, "Dmax 3,60", 0x800000, std::nullopt, std::nullopt});
    }
    CTRVDoc doc = ProtocolDoc();
    CCommandHistory history;
    CWorkspace ws;
};

QImage Rendered(CChartPlot& plot, const CChartModel& m) {
    QImage image(kPrintChartWidth, kPrintChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    plot.RenderInto(m, p, QRectF(image.rect()), image.size());
    return image;
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

bool Dark(const QColor& c) { return c.lightness() < 110; }

}  // namespace

TEST(PrintedChart, LegendWithoutCheckBoxesListsOnlyTheDrawnSeries) {
    ShownProtocol s;
    CChartModel screen = s.ws.Chart();
    screen.series[SeriesPostLoad1].active = false;  // unticked on screen
    CChartPlot onScreen, printed;
    const QImage a = Rendered(onScreen, screen);
    const QImage b = Rendered(printed, PrintChartModel(screen));

    EXPECT_TRUE(onScreen.LegendSeries().contains(SeriesPostLoad1));
    EXPECT_FALSE(printed.LegendSeries().contains(SeriesPostLoad1));
    EXPECT_TRUE(printed.LegendSeries().contains(SeriesLoad1));
    // The check box is the first 11 pixels of an entry, framed in dark grey.
    const auto boxArea = [](const CChartPlot& plot) {
        const QRect r = plot.LegendEntryRect(SeriesLoad1).toRect();
        return QRect(r.left(), r.top(), 11, r.height());
    };
    EXPECT_GT(CountColour(a, boxArea(onScreen), kCheckBoxBorder), 20);
    EXPECT_EQ(CountColour(b, boxArea(printed), kCheckBoxBorder), 0);
    // The entry is narrower by the box and its gap.
    EXPECT_EQ(onScreen.LegendEntryRect(SeriesLoad1).width() - printed.LegendEntryRect(SeriesLoad1).width(), 15);
    EXPECT_TRUE(printed.CursorText().isEmpty());
    EXPECT_FALSE(onScreen.CursorText().isEmpty());
}

TEST(PrintedChart, TheIansPointKeepsItsDashedLinesToBothAxesWithoutTheBox) {
    ShownProtocol s;
    CChartPlot plot;
    const QImage image = Rendered(plot, PrintChartModel(s.ws.Chart()));
    EXPECT_FALSE(plot.Marks().ItemShown(ToolResult1));
    QCPAxis* x = plot.RegionXAxis(RegionLoad);
    QCPAxis* y = plot.LactateAxis();
    const int px = static_cast<int>(std::lround(x->coordToPixel(4.0)));
    const int py = static_cast<int>(std::lround(y->coordToPixel(4.0)));
    const int bottom = static_cast<int>(y->coordToPixel(0.0));
    const int left = static_cast<int>(x->coordToPixel(x->range().lower));
    // Down from below the point's circle to the load axis, and left of it to the lactate axis:
    // dashes (navy, antialiased) with gaps of the background or the zone band between them.
    const auto dashes = [&](bool vertical) {
        int ink = 0, gaps = 0;
        const int from = vertical ? py + 8 : left + 2, to = vertical ? bottom - 2 : px - 8;
        for (int i = from; i < to; ++i) {
            // The line may fall between two pixel rows or columns.
            bool navy = false;
            for (int d = -1; d <= 1; ++d) {
                const QColor c = vertical ? image.pixelColor(px + d, i) : image.pixelColor(i, py + d);
                navy = navy || (c.lightness() < 130 && c.blue() > c.red());
            }
            (navy ? ink : gaps)++;
        }
        return std::make_pair(ink, gaps);
    };
    for (bool vertical : {true, false}) {
        const auto [ink, gaps] = dashes(vertical);
        EXPECT_GT(ink, 15) << (vertical ? "down" : "left");
        EXPECT_GT(gaps, 15) << (vertical ? "down" : "left");
    }
}

TEST(PrintedChart, TickDensityFollowsThePrintedSizeNotAWindowNeverShown) {
    // 350 pixels high: one lactate tick per mmol/l from 0 to 12 fits; 58 % of 750 wide: one load
    // tick per 0.5 m/s.
    ShownProtocol s;
    CChartPlot plot;
    Rendered(plot, PrintChartModel(s.ws.Chart()));
    EXPECT_EQ(plot.LactateAxis()->range().upper, 12.0);
    const QVector<double> lactate = plot.LactateAxis()->tickVector();
    ASSERT_GE(lactate.size(), 2);
    EXPECT_DOUBLE_EQ(lactate[1] - lactate[0], 1.0);
    const QVector<double> load = plot.RegionXAxis(RegionLoad)->tickVector();
    ASSERT_GE(load.size(), 2);
    EXPECT_DOUBLE_EQ(load[1] - load[0], 0.5);
}

class PrintedChartPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HavePoppler() || RunShell("command -v pdftoppm").empty()) GTEST_SKIP() << "poppler-utils not installed";
        dir = fs::temp_directory_path() / ("trv-chart-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        pdf = dir / "p.pdf";
        ProtocolOptions opt;
        opt.analysis = shown.ws.AnalysisLookup();
        opt.chart = &shown.ws.Chart();
        ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), shown.doc, {0, 1}, opt));
    }
    void TearDown() override { fs::remove_all(dir); }

    ShownProtocol shown;
    fs::path dir, pdf;
};

TEST_F(PrintedChartPdf, TextHasAxesMarksAndLegendButNoCursorReadOut) {
    const std::string p1 = PageText(pdf, 1);
    for (const char* part : {"Laktat [mmol/l]", "v [m/s]", "AFL-Zeit [mm:ss]", "Heart Rate [S/min]", "ANS", "AS",
                             "Dmax 3,60", "Ld 1", "HR 2", "Laktat IANS: 4,00 mmol/l", "v an IANS: 4,00 m/s"})
        EXPECT_HAS(p1, part);
    EXPECT_EQ(p1.find("Cursor"), std::string::npos);
    EXPECT_EQ(p1.find("Geräte-ID: ARV0012345 Firmware"), std::string::npos);
}

TEST_F(PrintedChartPdf, RenderedPageKeepsTheFrameLineOverTheChart) {
    const fs::path png = dir / "page";
    RunShell("pdftoppm -r 100 -f 1 -l 1 -png -singlefile '" + pdf.string() + "' '" + png.string() + "'");
    QImage page;
    ASSERT_TRUE(page.load(QString::fromStdString(png.string() + ".png")));
    // A4 at 100 dpi: 827 x 1169; the frame's right line at 95 % of the width, the chart band from
    // y1 = 2.5 mt + ch / 4 for ch / 3 + 5 W / 80 (mt = W / 20, ch = H - 3 W / 20).
    const double W = page.width(), H = page.height();
    const double mt = W / 20, ch = H - 3 * W / 20;
    const int top = static_cast<int>(2.5 * mt + ch / 4) + 30, bottom = static_cast<int>(2.5 * mt + ch / 4 + ch / 3);
    const int frame = static_cast<int>(std::lround(W * 0.95));
    int broken = 0, beyond = 0;
    for (int yy = top; yy < bottom; ++yy) {
        bool line = false;
        for (int xx = frame - 1; xx <= frame + 1; ++xx) line = line || Dark(page.pixelColor(xx, yy));
        broken += !line;
        for (int xx = frame + 3; xx < page.width(); ++xx) beyond += page.pixelColor(xx, yy) != QColor(Qt::white);
    }
    EXPECT_EQ(broken, 0);
    EXPECT_EQ(beyond, 0);
    // The chart is there: the plot's background colour fills a good part of the band.
    EXPECT_GT(CountColour(page, QRect(static_cast<int>(W * 0.1), top, static_cast<int>(W * 0.85), bottom - top),
                          QColor(0xAE, 0xD7, 0xFF)),
              20000);
}

TEST(PrintedChart, AxisFontsAreTheEnlargedOnesOfThePrintout) {
    // Titles 14 pt instead of the screen's 9 pt, tick labels 13 px x 1.4 = 18 px.
    ShownProtocol s;
    CChartPlot onScreen, printed;
    Rendered(onScreen, s.ws.Chart());
    Rendered(printed, PrintChartModel(s.ws.Chart()));
    for (QCPAxis* a : {onScreen.LactateAxis(), onScreen.HeartRateAxis(), onScreen.RegionXAxis(RegionLoad)}) {
        EXPECT_EQ(a->labelFont().pointSize(), 9);
        EXPECT_EQ(a->tickLabelFont().pixelSize(), 13);
    }
    for (QCPAxis* a : {printed.LactateAxis(), printed.HeartRateAxis(), printed.RegionXAxis(RegionPost)}) {
        EXPECT_EQ(a->labelFont().pointSize(), 14);
        EXPECT_EQ(a->tickLabelFont().pixelSize(), 18);
    }
}
