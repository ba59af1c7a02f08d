// The chart window after an evaluation: what it draws where, the legend check boxes and their
// rule, the cursors and their read-out, the value tips. The expected numbers come from the test
// data (loads, lactates, times in ChartTestDocs.h), not from the drawing code.
#include "ChartTestDocs.h"
#include "analysis/ChartModel.h"
#include "analysis/Evaluator.h"
#include "view/window/TChart.h"
#include "workspace/TestAnalyses.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace trv;

namespace {

class TChartTest : public ::testing::Test {
protected:
    void Show(std::initializer_list<TestDataType> tests, int w = 900, int h = 430) {
        for (const TestDataType& t : tests) doc.m_Tests.push_back(t);
        trvtest::NameAthlete(doc);
        chart.ApplyStartup();
        ev.Evaluate(doc, analyses.For(doc), chart, flags);
        ev.SetUpResults(doc, analyses.For(doc), chart, flags);
        QObject::connect(&widget, &CTChart::cursorMoved, [this](int tool, int, int, double x, double y, int, int) {
            ev.CursorReadout(doc, chart, tool, x, y);
        });
        QObject::connect(&widget, &CTChart::seriesActivityChanged, [this](int) {
            ev.Evaluate(doc, analyses.For(doc), chart, flags);
            ev.SetUpResults(doc, analyses.For(doc), chart, flags);
        });
        widget.resize(w, h);
        widget.show();
        widget.SetModel(&chart);
        QApplication::processEvents();
        widget.Redraw();
    }
    double RectWidth(int region) const { return widget.RegionRect(region)->rect().width(); }

    CTRVDoc doc;
    CChartModel chart;
    CEvaluator ev;
    CTestAnalyses analyses;
    uint32_t flags = 0;
    CTChart widget;
};

void ExpectPoints(const QVector<QPointF>& got, std::initializer_list<QPointF> want) {
    ASSERT_EQ(got.size(), static_cast<int>(want.size()));
    int i = 0;
    for (const QPointF& w : want) {
        EXPECT_NEAR(got[i].x(), w.x(), 1e-9) << "point " << i;
        EXPECT_NEAR(got[i].y(), w.y(), 1e-9) << "point " << i;
        ++i;
    }
}

}  // namespace

TEST_F(TChartTest, OneTreadmillTestDrawsItsPointsInTheirRegions) {
    Show({trvtest::TreadmillTest()});
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionRest));
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionLoad));
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionPost));
    ExpectPoints(widget.DrawnPoints(SeriesLoad1),
                 {{2.5, 1.2}, {3.0, 1.4}, {3.5, 1.9}, {4.0, 2.8}, {4.5, 4.4}, {5.0, 7.1}});
    ExpectPoints(widget.DrawnPoints(SeriesHr1),
                 {{2.5, 128}, {3.0, 141}, {3.5, 154}, {4.0, 166}, {4.5, 177}, {5.0, 187}});
    ExpectPoints(widget.DrawnPoints(SeriesPreLoad1), {{0.0, 1.0}, {0.0, 1.1}});
    ExpectPoints(widget.DrawnPoints(SeriesPreLoadHr1), {{0.0, 64}, {0.0, 71}});
    // Post-load readings 1, 3 and 5 minutes after the last step, drawn in seconds.
    ExpectPoints(widget.DrawnPoints(SeriesPostLoad1), {{60, 7.8}, {180, 8.3}, {300, 7.6}});
    ExpectPoints(widget.DrawnPoints(SeriesPostLoadHr1), {{60, 152}, {180, 126}, {300, 108}});
    // The curve runs from the first to the last step.
    QVector<QPointF> curve = widget.DrawnPoints(SeriesCurve1);
    ASSERT_EQ(curve.size(), 81);
    EXPECT_NEAR(curve.front().x(), 2.5, 1e-9);
    EXPECT_NEAR(curve.back().x(), 5.0, 1e-9);
    for (int s :
         {SeriesCurve2, SeriesPreLoad2, SeriesLoad2, SeriesPostLoad2, SeriesHr2, SeriesPreLoadHr2, SeriesPostLoadHr2})
        EXPECT_TRUE(widget.DrawnPoints(s).isEmpty()) << s;
    EXPECT_EQ(widget.LegendSeries(), (QVector<int>{0, 1, 2, 3, 4}));
}

TEST_F(TChartTest, RegionsShareTheWidthAsTheAxesSay) {
    Show({trvtest::TreadmillTest()});
    // rest 0..9 %, load 12..70 %, post-load 72..100 %: plotting widths 9 : 58 : 28.
    const double rest = RectWidth(CTChart::RegionRest), load = RectWidth(CTChart::RegionLoad),
                 post = RectWidth(CTChart::RegionPost);
    EXPECT_NEAR(load / rest, 58.0 / 9.0, 0.3);
    EXPECT_NEAR(post / rest, 28.0 / 9.0, 0.3);
    // All three regions on one lactate scale: the 4.0 row is the same pixel row everywhere.
    const double row = widget.LactateAxis()->coordToPixel(4.0);
    for (int r = 0; r < CTChart::kRegionCount; ++r)
        EXPECT_NEAR(widget.RegionRect(r)->axis(QCPAxis::atLeft)->coordToPixel(4.0), row, 0.5) << r;
    // The left axis is shown on the rest region, the right one on the post-load region.
    EXPECT_EQ(widget.LactateAxis()->axisRect(), widget.RegionRect(CTChart::RegionRest));
    EXPECT_EQ(widget.HeartRateAxis()->axisRect(), widget.RegionRect(CTChart::RegionPost));
    EXPECT_EQ(widget.LactateAxis()->label(), QStringLiteral("Laktat [mmol/l]"));
    EXPECT_EQ(widget.RegionXAxis(CTChart::RegionRest)->label(), QStringLiteral("PrL"));
    EXPECT_EQ(widget.RegionXAxis(CTChart::RegionPost)->label(), QStringLiteral("AFL-Zeit [mm:ss]"));
    EXPECT_EQ(widget.RegionXAxis(CTChart::RegionLoad)->label(), QStringLiteral("v [m/s]"));
}

TEST_F(TChartTest, EveryDrawnPointLiesInsideItsAxes) {
    TestDataType t = trvtest::TreadmillTest();
    t.m_Steps[7].m_nLactate = 142;  // 14.2 mmol/l: above the lactate axis' fixed 12
    Show({t});
    EXPECT_GE(widget.LactateAxis()->range().upper, 14.2);
    EXPECT_DOUBLE_EQ(widget.LactateAxis()->range().lower, 0.0);
    for (int s = 0; s < kChartSeriesCount; ++s) {
        const bool right = chart.series[static_cast<size_t>(s)].yAxis == AxisRight;
        for (const QPointF& p : widget.DrawnPoints(s)) {
            QCPAxis* y = right ? widget.HeartRateAxis() : widget.LactateAxis();
            EXPECT_TRUE(y->range().contains(p.y())) << "series " << s << " y " << p.y();
            const int region = s == SeriesPreLoad1 || s == SeriesPreLoadHr1     ? CTChart::RegionRest
                               : s == SeriesPostLoad1 || s == SeriesPostLoadHr1 ? CTChart::RegionPost
                                                                                : CTChart::RegionLoad;
            EXPECT_TRUE(widget.RegionXAxis(region)->range().contains(p.x())) << "series " << s << " x " << p.x();
        }
    }
}

TEST_F(TChartTest, ResultBoxSitsBesideItsThresholdAndZoneMarksOnTheBandEdges) {
    Show({trvtest::TreadmillTest()});
    ASSERT_TRUE(widget.ItemShown(ToolResult1));
    EXPECT_FALSE(widget.ItemShown(ToolResult2));
    const QString text = widget.ItemText(ToolResult1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);  // model, load, lactate, heart rate
    EXPECT_EQ(lines[0], QStringLiteral("Madermodell:"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("v = 4,"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" m/s")));
    EXPECT_EQ(lines[2], QStringLiteral("Laktat = 4,00 mmol/l"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("HR = 17"))) << lines[3].toStdString();
    // 4 mmol/l is crossed between the steps at 4.0 m/s (2.8) and 4.5 m/s (4.4).
    const ChartTool& box = chart.tools[ToolResult1];
    ASSERT_TRUE(box.anchored);
    EXPECT_GT(box.anchorX, 4.0);
    EXPECT_LT(box.anchorX, 4.5);
    const QPointF point(widget.RegionXAxis(CTChart::RegionLoad)->coordToPixel(box.anchorX),
                        widget.LactateAxis()->coordToPixel(4.0));
    const QRectF r = widget.ItemRect(ToolResult1);
    const QRectF plot = widget.RegionRect(CTChart::RegionLoad)->rect();
    EXPECT_FALSE(r.contains(point));
    EXPECT_TRUE(plot.contains(r)) << "box outside the load region";
    EXPECT_LT(std::hypot(r.center().x() - point.x(), r.center().y() - point.y()), r.width() + r.height());

    EXPECT_EQ(widget.ItemText(ToolAnsLabel), QStringLiteral("ANS"));
    EXPECT_EQ(widget.ItemText(ToolAsLabel), QStringLiteral("AS "));
    EXPECT_NEAR(widget.ItemRect(ToolAnsLabel).bottom(), widget.LactateAxis()->coordToPixel(4.0), 1.0);
    EXPECT_NEAR(widget.ItemRect(ToolAsLabel).bottom(), widget.LactateAxis()->coordToPixel(2.0), 1.0);
}

TEST_F(TChartTest, TwoTestsGetTwoCurvesTwoBoxesApart) {
    Show({trvtest::TreadmillTest(), trvtest::TreadmillRetest()});
    EXPECT_EQ(widget.DrawnPoints(SeriesLoad2).size(), 7);
    EXPECT_NEAR(widget.DrawnPoints(SeriesLoad2).back().x(), 5.5, 1e-9);
    ExpectPoints(widget.DrawnPoints(SeriesPostLoad2), {{120, 8.4}, {360, 7.2}});
    EXPECT_EQ(widget.DrawnPoints(SeriesCurve2).size(), 81);
    EXPECT_EQ(widget.LegendSeries(), (QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(widget.ItemShown(ToolResult1));
    ASSERT_TRUE(widget.ItemShown(ToolResult2));
    EXPECT_FALSE(widget.ItemRect(ToolResult1).intersects(widget.ItemRect(ToolResult2)));
    // The retest crosses 4 mmol/l between 4.5 m/s (3.2) and 5.0 m/s (5.0).
    EXPECT_GT(chart.tools[ToolResult2].anchorX, 4.5);
    EXPECT_LT(chart.tools[ToolResult2].anchorX, 5.0);
    for (int t : {ToolResult1, ToolResult2})
        for (int z : {ToolAnsLabel, ToolAsLabel}) EXPECT_FALSE(widget.ItemRect(t).intersects(widget.ItemRect(z)));
}

TEST_F(TChartTest, DifferentLoadUnitsDrawOnlyTheFirstTestAndNoBox) {
    TestDataType second = trvtest::TreadmillRetest();
    second.m_nLoadUnit = UnitKmh;
    Show({trvtest::TreadmillTest(), second});
    EXPECT_TRUE(flags & NoticeUnits);
    EXPECT_EQ(widget.DrawnPoints(SeriesLoad1).size(), 6);
    EXPECT_TRUE(widget.DrawnPoints(SeriesLoad2).isEmpty());
    EXPECT_FALSE(widget.ItemShown(ToolResult1));
    EXPECT_FALSE(widget.ItemShown(ToolResult2));
}

TEST_F(TChartTest, FieldTestShowsKmhAndRunningTimesThatMatchItsThreshold) {
    Show({trvtest::FieldTest()});
    EXPECT_EQ(widget.RegionXAxis(CTChart::RegionLoad)->label(), QStringLiteral("v [km/h]"));
    QVector<QPointF> ld = widget.DrawnPoints(SeriesLoad1);
    ASSERT_EQ(ld.size(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(ld[i].x(), 10.0 + i, 1e-9);
    // Post-load readings 3 and 8 minutes after the last step.
    ExpectPoints(widget.DrawnPoints(SeriesPostLoad1), {{180, 7.9}, {480, 6.8}});
    const QStringList lines = widget.ItemText(ToolResult1).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6);
    // 4 mmol/l between 13 km/h (3.3) and 14 km/h (4.9); 1000 m at v km/h take 3600 / v seconds.
    const double v = chart.tools[ToolResult1].anchorX;
    ASSERT_GT(v, 13.0);
    ASSERT_LT(v, 14.0);
    const int t1000 = static_cast<int>(3600.0 / v), t400 = static_cast<int>(1440.0 / v);
    EXPECT_EQ(lines[3], QString::asprintf("t(1000m) = %02d:%02d", t1000 / 60, t1000 % 60));
    EXPECT_EQ(lines[4], QString::asprintf("t(400m) = %02d:%02d", t400 / 60, t400 % 60));
}

TEST_F(TChartTest, TextAreasAndDeviceAnnotation) {
    Show({trvtest::TreadmillTest()});
    EXPECT_EQ(widget.TitleText(), QStringLiteral("Lena Hoffmann, Testdatum 14.05.2024"));
    chart.notices.Add("Bitte Benutzerdaten eingeben.");
    chart.ShowDeviceText("AV-1", 2.14);
    widget.Redraw();
    EXPECT_EQ(widget.NoticeText(), QStringLiteral("Bitte Benutzerdaten eingeben."));
    EXPECT_EQ(widget.DeviceText(), QStringLiteral("Geräte-ID: AV-1\nFirmware: 2,14"));
    chart.tools[ToolDeviceText].active = false;
    widget.Redraw();
    EXPECT_TRUE(widget.DeviceText().isEmpty());
}

// ---- legend -------------------------------------------------------------------------------------

TEST_F(TChartTest, LegendClickHidesTheSeriesAndKeepsAnUncheckedEntry) {
    Show({trvtest::TreadmillTest()});
    QSignalSpy spy(&widget, &CTChart::seriesActivityChanged);
    const QRectF entry = widget.LegendEntryRect(SeriesLoad1);
    ASSERT_FALSE(entry.isEmpty());
    QTest::mouseClick(widget.Plot(), Qt::LeftButton, {}, entry.center().toPoint());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SeriesLoad1);
    EXPECT_FALSE(chart.series[SeriesLoad1].active);
    EXPECT_TRUE(widget.DrawnPoints(SeriesLoad1).isEmpty());
    EXPECT_TRUE(widget.LegendSeries().contains(SeriesLoad1));
    EXPECT_FALSE(widget.LegendChecked(SeriesLoad1));
    QTest::mouseClick(widget.Plot(), Qt::LeftButton, {}, widget.LegendEntryRect(SeriesLoad1).center().toPoint());
    EXPECT_TRUE(chart.series[SeriesLoad1].active);
    EXPECT_EQ(widget.DrawnPoints(SeriesLoad1).size(), 6);
}

TEST_F(TChartTest, LegendRuleWidensTheLoadRegion) {
    Show({trvtest::TreadmillTest()});
    const double startWidth = RectWidth(CTChart::RegionLoad);
    // Heart rate off: its rest and post-load companions go with it.
    widget.ToggleSeries(SeriesHr1);
    EXPECT_FALSE(chart.series[SeriesPreLoadHr1].active);
    EXPECT_FALSE(chart.series[SeriesPostLoadHr1].active);
    EXPECT_TRUE(widget.DrawnPoints(SeriesPreLoadHr1).isEmpty());
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionRest));  // the pre-load points still need it
    // Pre-load points off too: the load region starts at 0 %.
    widget.ToggleSeries(SeriesPreLoad1);
    EXPECT_DOUBLE_EQ(chart.axes[AxisBottom].startPercent, 0.0);
    EXPECT_DOUBLE_EQ(chart.axes[AxisBottom].endPercent, 70.0);
    EXPECT_FALSE(widget.RegionShown(CTChart::RegionRest));
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionPost));
    EXPECT_EQ(widget.LactateAxis()->axisRect(), widget.RegionRect(CTChart::RegionLoad));
    // Post-load points off: the load region takes the whole width.
    widget.ToggleSeries(SeriesPostLoad1);
    EXPECT_DOUBLE_EQ(chart.axes[AxisBottom].endPercent, 100.0);
    EXPECT_FALSE(widget.RegionShown(CTChart::RegionPost));
    EXPECT_EQ(widget.HeartRateAxis()->axisRect(), widget.RegionRect(CTChart::RegionLoad));
    EXPECT_GT(RectWidth(CTChart::RegionLoad), startWidth * 1.4);
    // Heart rate back on: it has points in all three regions.
    widget.ToggleSeries(SeriesHr1);
    EXPECT_TRUE(chart.series[SeriesPostLoadHr1].active);
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionRest));
    EXPECT_TRUE(widget.RegionShown(CTChart::RegionPost));
    // Showing or hiding a test resets every series.
    chart.ResetSeries();
    widget.Redraw();
    for (const ChartSeries& s : chart.series) EXPECT_TRUE(s.active);
}

// ---- cursors ------------------------------------------------------------------------------------

TEST_F(TChartTest, CursorSnapsToItsCurveAndReadsOut) {
    Show({trvtest::TreadmillTest()});
    QSignalSpy spy(&widget, &CTChart::cursorMoved);
    chart.tools[ToolCursor1].active = true;
    widget.Redraw();
    EXPECT_TRUE(widget.CursorShown(ToolCursor1));
    QApplication::processEvents();  // the new cursor reports its place once
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), ToolCursor1);
    EXPECT_EQ(spy.at(0).at(5).toInt(), SeriesCurve1);

    // 81 samples from 2.5 to 5.0 m/s: 4.01 snaps to sample 48 at exactly 4.0.
    widget.MoveCursorTo(ToolCursor1, 4.01);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_NEAR(spy.at(1).at(3).toDouble(), 4.0, 1e-9);
    EXPECT_EQ(spy.at(1).at(6).toInt(), 48);
    const QString line = widget.CursorText();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Cursor 1: v = 4,00 m/s, Laktat = "))) << line.toStdString();
    // The heart rate at 4.0 m/s is the reading of that step.
    EXPECT_TRUE(line.endsWith(QStringLiteral(", 166 S/min"))) << line.toStdString();
    const double lactate = spy.at(1).at(4).toDouble();
    EXPECT_GT(lactate, 2.4);
    EXPECT_LT(lactate, 3.2);
    EXPECT_NEAR(widget.CursorValue(ToolCursor1).y(), lactate, 1e-12);

    // A press in the load region moves it there.
    const QPoint at(static_cast<int>(widget.RegionXAxis(CTChart::RegionLoad)->coordToPixel(3.0)),
                    static_cast<int>(widget.LactateAxis()->coordToPixel(6.0)));
    QTest::mousePress(widget.Plot(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget.Plot(), Qt::LeftButton, {}, at);
    EXPECT_NEAR(widget.CursorValue(ToolCursor1).x(), 3.0, 0.02);
    EXPECT_TRUE(widget.CursorText().startsWith(QStringLiteral("Cursor 1: v = 3,0")));
}

TEST_F(TChartTest, SecondCursorNeedsASecondTest) {
    Show({trvtest::TreadmillTest()});
    chart.tools[ToolCursor2].active = true;
    widget.Redraw();
    EXPECT_FALSE(widget.CursorShown(ToolCursor2));
    QSignalSpy spy(&widget, &CTChart::cursorMoved);
    widget.MoveCursorTo(ToolCursor2, 4.0);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(ev.CursorReadout(doc, chart, ToolCursor2, 4.0, 2.8), std::string());
}

TEST_F(TChartTest, SecondCursorOnAFieldTestReadsRunningTimes) {
    TestDataType second = trvtest::FieldTest(27);
    Show({trvtest::FieldTest(), second});
    chart.tools[ToolCursor2].active = true;
    widget.Redraw();
    ASSERT_TRUE(widget.CursorShown(ToolCursor2));
    QApplication::processEvents();
    // 10 to 15 km/h in 80 samples: 12.5 km/h is sample 40.
    widget.MoveCursorTo(ToolCursor2, 12.5);
    // 400 m at 12.5 km/h: 115.2 s -> 01:55; 1000 m: 288 s -> 04:48.
    const QString line = widget.CursorText();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Cursor 2: v = 12,50 km/h, Laktat = "))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("t (400 m) = 01:55, t (1000 m) = 04:48"))) << line.toStdString();
}

// ---- value tips ---------------------------------------------------------------------------------

TEST_F(TChartTest, ValueTipsNameThePointUnderTheMouse) {
    Show({trvtest::TreadmillTest()});
    const QPointF ld = widget.PixelOf(SeriesLoad1, 4.0, 2.8);
    EXPECT_EQ(widget.ValueTipAt(ld.toPoint()), QStringLiteral("Ld 1: 4,00 / 2,8 mmol/l"));
    const QPointF afl = widget.PixelOf(SeriesPostLoad1, 180.0, 8.3);
    EXPECT_EQ(widget.ValueTipAt(afl.toPoint() + QPoint(2, -2)), QStringLiteral("AFL 1: 03:00 / 8,3 mmol/l"));
    const QPointF hr = widget.PixelOf(SeriesHr1, 5.0, 187);
    EXPECT_EQ(widget.ValueTipAt(hr.toPoint()), QStringLiteral("HR 1: 5,00 / 187 S/min"));
    EXPECT_TRUE(widget.ValueTipAt(QPoint(2, 2)).isEmpty());
}
