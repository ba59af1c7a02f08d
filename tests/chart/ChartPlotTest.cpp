// The chart library on its own, without a window: what it lays out from a model and how it renders
// into a painter. The model is filled by hand, so the expectations come from the numbers put in.
#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"

#include <QImage>
#include <QPainter>

#include <qcustomplot.h>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// One test as the evaluation would leave it: main-load points and heart rates, a pre-load point
// and a post-load point two minutes after the last step (x in days).
CChartModel OneTest() {
    CChartModel m;
    m.ApplyStartup();
    m.series[SeriesLoad1].points = {{2.5, 1.2, "", 0x0000FF}, {3.5, 1.9, "", 0x0000FF}, {5.0, 7.1, "", 0x0000FF}};
    m.series[SeriesHr1].points = {{2.5, 128, "", 0x00B000}, {5.0, 187, "", 0x00B000}};
    m.series[SeriesPreLoad1].points = {{0.0, 1.0, "", 0xFFFFFF}};
    m.series[SeriesPostLoad1].points = {{120.0 / 86400.0, 7.8, "", 0xC66300}};
    return m;
}

}  // namespace

TEST(ChartPlot, DrawsThePointsInTheirRegions) {
    CChartPlot plot;
    const CChartModel m = OneTest();
    plot.Draw(&m);
    EXPECT_EQ(plot.SeriesDraw(SeriesLoad1).region, RegionLoad);
    EXPECT_EQ(plot.SeriesDraw(SeriesPreLoad1).region, RegionRest);
    EXPECT_EQ(plot.SeriesDraw(SeriesPostLoad1).region, RegionPost);
    EXPECT_TRUE(plot.SeriesDraw(SeriesHr1).right);
    // Only series with points have a legend entry; heart-rate companions never.
    EXPECT_EQ(plot.LegendSeries(), (QVector<int>{SeriesPreLoad1, SeriesLoad1, SeriesPostLoad1, SeriesHr1}));
    EXPECT_TRUE(plot.LegendChecked(SeriesLoad1));
}

TEST(ChartPlot, RendersScaledIntoItsTargetAndNowhereElse) {
    const CChartModel m = OneTest();
    const QColor outside(255, 0, 0);
    QImage small(750, 350, QImage::Format_RGB32), large(1000, 500, QImage::Format_RGB32);
    small.fill(outside);
    large.fill(outside);
    CChartPlot plot;
    {
        QPainter p(&small);
        plot.RenderInto(m, p, QRectF(0, 0, 750, 350), QSize(750, 350));
    }
    // The 3.0 mmol/l row of the zone band, a little right of the post-load region's left edge
    // (before its first point), in layout pixels.
    const QRect post = plot.RegionRect(RegionPost)->rect();
    const QPointF at(post.left() + post.width() * 0.03, plot.LactateAxis()->coordToPixel(3.0));
    {
        QPainter p(&large);
        plot.RenderInto(m, p, QRectF(100, 50, 750 * 1.2, 350 * 1.2), QSize(750, 350));
    }
    const QColor band = small.pixelColor(at.toPoint());
    EXPECT_NE(band, outside);
    EXPECT_EQ(large.pixelColor(QPointF(100 + at.x() * 1.2, 50 + at.y() * 1.2).toPoint()), band);
    // Nothing beyond the target: 100 + 900 = 1000 wide, 50 + 420 = 470 high.
    EXPECT_EQ(large.pixelColor(50, 25), outside);
    EXPECT_EQ(large.pixelColor(500, 485), outside);
    EXPECT_NE(large.pixelColor(500, 460), outside);
}

TEST(ChartPlot, TheNarrowRestRegionNamesOnlyTheLoadOfItsPoints) {
    // Pre-load readings at 0 km/h and at 6 km/h (walking in): one label each, never "-0,5 0 0,5".
    for (const auto& [load, label] : {std::pair{0.0, "0"}, std::pair{6.0, "6"}}) {
        CChartPlot plot;
        CChartModel m = OneTest();
        m.series[SeriesPreLoad1].points = {{load, 1.0, "", 0xFFFFFF}};
        plot.Draw(&m);
        QCPAxis* rest = plot.RegionXAxis(RegionRest);
        auto text = qSharedPointerDynamicCast<QCPAxisTickerText>(rest->ticker());
        ASSERT_TRUE(text) << label;
        ASSERT_EQ(text->ticks().size(), 1) << label;
        EXPECT_DOUBLE_EQ(text->ticks().firstKey(), load);
        EXPECT_EQ(text->ticks().first(), QString::fromLatin1(label));
    }
}
