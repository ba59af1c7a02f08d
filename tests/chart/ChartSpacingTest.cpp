// Tick spacing and the texts below the chart at the sizes a window or a printout gives: labels never
// run together, the notice line and the analyser's identity never cover each other.
#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "chart/SpacedTicker.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <qcustomplot.h>

#include <gtest/gtest.h>

using namespace trv;

TEST(TickSpacing, TheUsualStepsStartAtTheLeastStep) {
    struct Case {
        double least, range;
        bool quarters;
        std::vector<double> steps;
    } cases[] = {
        {0.5, 14.0, true, {0.5, 1, 2, 2.5, 5, 10, 20}},
        {1.0, 12.0, false, {1, 2, 5, 10, 20}},
        {1.0, 300.0, true, {1, 2, 2.5, 5, 10, 20, 25, 50, 100, 200, 250, 500}},
        {15.0, 100.0, false, {15, 20, 50, 100}},
    };
    for (const Case& c : cases) {
        const std::vector<double> got = NiceSteps(c.least, c.range, c.quarters);
        ASSERT_EQ(got.size(), c.steps.size()) << c.least << " " << c.range;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], c.steps[i]) << c.least << " " << c.range;
    }
}

TEST(TickSpacing, TheStepLeavesEachLabelItsRoom) {
    const auto fixed = [](double w) { return [w](double) { return w; }; };
    struct Case {
        double range, pixels, label, gap, step;
    } cases[] = {
        // 0..12 mmol/l on 300 px, 15 px high labels: 1 mmol/l is 25 px apart.
        {12.0, 300.0, 15.0, 2.0, 1.0},
        // On 100 px: 1 → 8.3 px, 2 → 16.7 px (< 17), 5 → 41.7 px.
        {12.0, 100.0, 15.0, 2.0, 5.0},
        // 14 km/h on 420 px, labels 24 px wide + 10: 0.5 → 15 px, 1 → 30 px, 2 → 60 px.
        {14.0, 420.0, 24.0, 10.0, 2.0},
        // On 1000 px: 0.5 → 35.7 px is enough.
        {14.0, 1000.0, 24.0, 10.0, 0.5},
        // Too short for any: the widest step.
        {14.0, 5.0, 24.0, 10.0, 20.0},
    };
    for (const Case& c : cases) {
        const std::vector<double> steps =
            c.label == 15.0 ? NiceSteps(1.0, c.range, false) : NiceSteps(0.5, c.range, true);
        EXPECT_DOUBLE_EQ(SpacedStep(c.range, c.pixels, steps, fixed(c.label), c.gap), c.step)
            << c.range << " on " << c.pixels << " px";
    }
    // A wider label for a finer step ("10,5" against "10") counts for that step.
    const std::vector<double> steps{0.5, 1.0, 2.0};
    EXPECT_DOUBLE_EQ(SpacedStep(
                         10.0, 300.0, steps, [](double s) { return s < 1.0 ? 30.0 : 15.0; }, 10.0),
                     1.0);
}

namespace {

// A treadmill test over 6 to 20 km/h with rest and post-load points, the analyser's identity and a
// long notice line.
CChartModel Busy() {
    CChartModel m;
    m.ApplyStartup();
    for (int i = 0; i < 8; ++i)
        m.series[SeriesLoad1].points.push_back({6.0 + 2.0 * i, 1.0 + 0.2 * i * i, "", 0x0000FF});
    for (int i = 0; i < 8; ++i) m.series[SeriesHr1].points.push_back({6.0 + 2.0 * i, 110.0 + 10 * i, "", 0x00B000});
    m.series[SeriesPreLoad1].points = {{0.0, 1.0, "", 0xFFFFFF}};
    for (int s : {60, 180, 300, 600})
        m.series[SeriesPostLoad1].points.push_back({s / 86400.0, 12.0 - s / 100.0, "", 0xC66300});
    m.tools[ToolDeviceText].active = true;
    m.tools[ToolDeviceText].text = "Geräte-ID: 12345678\rFirmware: 2,10";
    m.title.lines = {"Maximilian Mustermann-Schwarzenberger, Testdatum 07.12.2026"};
    m.notices.lines = {"Die Messwerte 00216 und 00217 passen nicht zur Kurve (Abweichung über 1,5 mmol/l)."};
    return m;
}

// The pixel span of each label of an axis, in tick order (numbers, which have no descenders, stand as high
// as capitals).
std::vector<std::pair<double, double>> LabelSpans(QCPAxis* a) {
    const QFontMetricsF fm(a->tickLabelFont());
    std::vector<std::pair<double, double>> spans;
    const QVector<double> ticks = a->tickVector();
    const QVector<QString> labels = a->tickVectorLabels();
    const QCPRange r = a->range();
    for (int i = 0; i < ticks.size(); ++i) {
        if (ticks[i] < r.lower || ticks[i] > r.upper) continue;
        const double at = a->coordToPixel(ticks[i]);
        const double half =
            a->orientation() == Qt::Horizontal ? fm.horizontalAdvance(labels[i]) / 2.0 : fm.capHeight() / 2.0;
        spans.emplace_back(std::min(at - half, at + half), std::max(at - half, at + half));
    }
    std::sort(spans.begin(), spans.end());
    return spans;
}

// The chart drawn at `size` into an image of that size.
void Render(CChartPlot& plot, const CChartModel& m, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    plot.RenderInto(m, p, QRectF(QPointF(0, 0), size), size);
}

}  // namespace

TEST(TickSpacing, NoAxisLabelsRunTogetherAtAnySizeOnScreenOrOnPaper) {
    const CChartModel m = Busy();
    for (const QSize size : {QSize(1500, 700), QSize(900, 500), QSize(620, 420), QSize(420, 300), QSize(320, 200)}) {
        CChartPlot plot;
        Render(plot, m, size);
        for (int r = 0; r < kRegionCount; ++r) {
            if (!plot.RegionShown(r)) continue;
            for (QCPAxis* a : {plot.RegionXAxis(r), plot.RegionRect(r)->axis(QCPAxis::atLeft),
                               plot.RegionRect(r)->axis(QCPAxis::atRight)}) {
                if (!a->visible()) continue;
                const auto spans = LabelSpans(a);
                // The load axis always names at least two loads (a narrow post-load region may show one time).
                if (a == plot.RegionXAxis(RegionLoad)) {
                    EXPECT_GE(spans.size(), 2u) << size.width();
                }
                for (size_t i = 1; i < spans.size(); ++i)
                    EXPECT_GE(spans[i].first - spans[i - 1].second, 2.0)
                        << "region " << r << " axis " << a->axisType() << " at " << size.width() << "x"
                        << size.height();
            }
        }
    }
}

TEST(TickSpacing, TheRegionsTitlesStandApartInANarrowChart) {
    const CChartModel m = Busy();
    for (const QSize size : {QSize(900, 500), QSize(420, 300), QSize(340, 260), QSize(320, 240)}) {
        CChartPlot plot;
        Render(plot, m, size);
        double right = -1e9;
        for (int r = 0; r < kRegionCount; ++r) {
            if (!plot.RegionShown(r)) continue;
            QCPAxis* x = plot.RegionXAxis(r);
            const QFontMetricsF fm(x->labelFont());
            double widest = 0.0;
            for (const QString& line : x->label().split(QLatin1Char('\n')))
                widest = std::max(widest, fm.horizontalAdvance(line));
            const double centre = plot.RegionRect(r)->rect().center().x();
            EXPECT_GE(centre - widest / 2.0, right) << "region " << r << " at " << size.width();
            right = centre + widest / 2.0;
        }
    }
}

TEST(TickSpacing, TheNoticeLineAndTheAnalysersIdentityNeverOverlap) {
    const CChartModel m = Busy();
    for (const QSize size : {QSize(1500, 700), QSize(900, 500), QSize(620, 420), QSize(420, 300)}) {
        CChartPlot plot;
        Render(plot, m, size);
        const QRectF notice = plot.NoticeTextRect(), device = plot.DeviceTextRect();
        ASSERT_FALSE(notice.isEmpty());
        ASSERT_FALSE(device.isEmpty());
        EXPECT_FALSE(notice.intersects(device)) << size.width();
        // Both inside the chart, and the title too.
        EXPECT_GE(notice.left(), 0.0);
        EXPECT_GE(plot.TitleTextRect().left(), 0.0) << size.width();
        EXPECT_LE(plot.TitleTextRect().right(), size.width()) << size.width();
        EXPECT_LE(device.right(), size.width());
        EXPECT_LE(notice.right(), size.width()) << size.width();
    }
}

TEST(TickSpacing, ResultBoxesKeepOffThePointsInANarrowChart) {
    // Eight readings rising steeply, the two tests' results at the fourth and sixth: in a chart as narrow
    // as beside the open Verlauf the boxes still find places that cover no reading and not each other.
    CChartModel m = Busy();
    m.series[SeriesLoad2].points = m.series[SeriesLoad1].points;
    for (ChartPoint& p : m.series[SeriesLoad2].points) p.y += 0.6;
    const int tools[2] = {ToolResult1, ToolResult2};
    const double at[2][2] = {{12.0, 2.8}, {16.0, 6.6}};
    for (int k = 0; k < 2; ++k) {
        ChartTool& t = m.tools[static_cast<size_t>(tools[k])];
        t.active = true;
        t.anchored = true;
        t.anchorX = at[k][0];
        t.anchorY = at[k][1];
        t.text = "Madermodell:\rv = 15,46 km/h\rLaktat = 4,00 mmol/l";
    }
    for (const QSize size : {QSize(900, 500), QSize(640, 420), QSize(560, 420), QSize(520, 400)}) {
        CChartPlot plot;
        Render(plot, m, size);
        const QRectF box1 = plot.Marks().ItemRect(ToolResult1), box2 = plot.Marks().ItemRect(ToolResult2);
        ASSERT_FALSE(box1.isEmpty());
        ASSERT_FALSE(box2.isEmpty());
        EXPECT_FALSE(box1.intersects(box2)) << size.width();
        const QRectF area = plot.RegionRect(RegionLoad)->rect();
        for (const QRectF& box : {box1, box2}) {
            EXPECT_TRUE(area.contains(box)) << size.width();
            for (int s : {SeriesLoad1, SeriesLoad2})
                for (const QPointF& pt : plot.DrawnPoints(s))
                    EXPECT_FALSE(box.contains(plot.PixelOf(s, pt.x(), pt.y())))
                        << "series " << s << " point " << pt.x() << " at " << size.width();
        }
    }
}
