#include "Fixtures.h"
#include "analysis/Evaluator.h"
#include "analysis/IansThreshold.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace trv;
using trvtest::Meas;

namespace {

// Lactates of p(x) = 4 + 0.5 (x - 12) + 0.0125 (x - 12)^3 at 8, 10, 12, 14, 16 km/h (whole tenths).
const double kLac[] = {1.2, 2.9, 4.0, 5.1, 6.8};

void ExpectPoint(const ChartPoint& p, double x, double y, const char* label, uint32_t color) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_EQ(p.label, label);
    EXPECT_EQ(p.color, color);
}

struct Fixture {
    CTRVDoc doc;
    CChartModel chart;
    CEvaluator ev;
    uint32_t flags = 0;
    std::map<int, TestAnalysis> analyses;  // by test index
    TestAnalysis& An(int test) { return analyses[test]; }
    TestDataType& Add(TestDataType t = trvtest::Treadmill(5, kLac)) { return doc.m_Tests.emplace_back(std::move(t)); }
    void Run() {
        const AnalysisOf of = [this](int test) -> TestAnalysis& { return An(test); };
        ev.Evaluate(doc, of, chart, flags);
        ev.SetUpResults(doc, of, chart, flags);
    }
};

}  // namespace

TEST(Evaluate, OneTreadmillTestFillsItsSeries) {
    Fixture f;
    f.doc.m_UserData.m_strFirstName = "Anna";
    f.doc.m_UserData.m_strLastName = "Berg";
    f.Add();
    f.flags = 0x40 | 0x4;
    f.Run();
    EXPECT_EQ(f.flags, 0u);
    const CChartModel& c = f.chart;
    ASSERT_EQ(c.series[SeriesLoad1].Count(), 5);
    ExpectPoint(c.series[SeriesLoad1].points[2], 12.0, 4.0, "Ld 1", 0x0000FF);
    ASSERT_EQ(c.series[SeriesPreLoad1].Count(), 1);
    EXPECT_EQ(c.series[SeriesPreLoad1].points[0].color, 0xFFFFFFu);
    EXPECT_EQ(c.series[SeriesPreLoadHr1].points[0].y, 70);
    const ChartSeries& curve = c.series[SeriesCurve1];
    ASSERT_EQ(curve.Count(), 81);
    EXPECT_NEAR(curve.points.front().x, 8.0, 1e-12);
    EXPECT_NEAR(curve.points.back().x, 16.0, 1e-12);
    EXPECT_EQ(c.series[SeriesHr1].Count(), 5);
    EXPECT_TRUE(c.series[9].evalProperty);
    EXPECT_FALSE(c.series[10].evalProperty);
    EXPECT_EQ(c.axes[AxisBottom].title, "v [km/h]");
    EXPECT_EQ(c.title.lines, (std::vector<std::string>{"Anna Berg, Testdatum 14.05.2024"}));

    const TestAnalysis& an = f.An(0);
    EXPECT_EQ(an.m_bEvaluated, 1);
    EXPECT_NEAR(an.m_dIansLoad, 12.0, 0.002);
    // Heart rate 150 at 12 km/h on a line of 5 beats per km/h.
    EXPECT_NEAR(an.m_dIansHeartRate, 150.0, 0.02);
    EXPECT_NEAR(an.m_adCoeff[3], 0.0125, 1e-9);
    EXPECT_NEAR(an.m_dResidualSum, 0.0, 1e-12);
    EXPECT_TRUE(c.tools[ToolResult1].active);
    EXPECT_EQ(c.tools[ToolResult1].text, "Madermodell:\rv = 12,00 km/h\rLaktat = 4,00 mmol/l\rHR = 150 S/min");
    EXPECT_FALSE(c.tools[ToolResult2].active);
    // The cursor reads out only for shown tests.
    EXPECT_EQ(f.ev.CursorReadout(f.doc, f.chart, ToolCursor1, 11.0, 3.5),
              "Cursor 1: v = 11,00 km/h, Laktat = 3,50 mmol/l, 145 S/min");
    EXPECT_EQ(f.chart.cursorText.lines.size(), 1u);
    EXPECT_EQ(f.ev.CursorReadout(f.doc, f.chart, ToolCursor2, 11.0, 3.5), "");
    EXPECT_TRUE(f.chart.cursorText.lines.empty());
}

TEST(Evaluate, TwoTestsInDocumentOrderAndDifferentUnits) {
    Fixture f;
    f.Add();
    f.Add(trvtest::Treadmill(4, kLac)).m_bShowInChart = 0;
    f.Add();
    f.Run();
    EXPECT_EQ(f.ev.ShownTest(0), 0);
    EXPECT_EQ(f.ev.ShownTest(1), 2);
    EXPECT_EQ(f.chart.series[SeriesLoad2].points[0].label, "Ld 2");
    EXPECT_EQ(f.chart.series[SeriesCurve2].Count(), 81);
    EXPECT_TRUE(f.chart.tools[ToolResult2].active);

    // Test 2 in m/s: only test 1 is drawn, no result box.
    f.doc.GetTest(2).m_nLoadUnit = UnitMs;
    f.Run();
    EXPECT_EQ(f.flags & 0x100u, 0x100u);
    EXPECT_EQ(f.chart.series[SeriesLoad1].Count(), 5);
    EXPECT_EQ(f.chart.series[SeriesLoad2].Count(), 0);
    EXPECT_FALSE(f.chart.tools[ToolResult1].active);
    EXPECT_FALSE(f.chart.tools[ToolResult2].active);

    // No test shown: every other flag is dropped, every series empty.
    for (TestDataType& t : f.doc.m_Tests) t.m_bShowInChart = 0;
    f.flags = 0x1234;
    f.Run();
    EXPECT_EQ(f.flags, 0x40u);
    for (const ChartSeries& s : f.chart.series) EXPECT_EQ(s.Count(), 0);
}

TEST(Evaluate, TwoPointsCubicFailsSplineDrawsASegment) {
    Fixture f;
    f.Add(trvtest::Treadmill(2, kLac));
    f.Run();
    EXPECT_EQ(f.flags, 0x4u);
    EXPECT_EQ(f.chart.series[SeriesCurve1].Count(), 0);
    EXPECT_FALSE(f.chart.tools[ToolResult1].active);

    f.An(0).m_nFitFunction = FitSpline;
    f.An(0).m_nThresholdModel = ModelKeul;
    f.Run();
    EXPECT_EQ(f.flags, 0x10u);  // fitted; Keul on a spline is not determinable
    const ChartSeries& curve = f.chart.series[SeriesCurve1];
    ASSERT_EQ(curve.Count(), 81);
    // Straight from (8, 1.2) to (10, 2.9): midpoint 2.05.
    EXPECT_NEAR(curve.points[40].x, 9.0, 1e-12);
    EXPECT_NEAR(curve.points[40].y, 2.05, 1e-12);
}

TEST(Evaluate, ShortenedLastStepAndPostLoad) {
    Fixture f;
    TestDataType& t = f.Add(trvtest::Treadmill(3, kLac));  // 8, 10, 12 km/h
    t.m_bCompensate = 1;
    t.m_nPcStepDuration = 180;
    f.An(0).m_nFitFunction = FitSpline;
    t.m_Steps[3].m_bDurationMeasured = 1;
    t.m_Steps[3].m_nStepDuration = 90;
    t.m_Steps[3].m_nStatus = StatusTimed;
    // 2 min 30 s after the last main load (10:09:00).
    t.m_Steps.push_back(Meas(MeasPostLoad, 3.5, 120, 11, 30));
    PCMDataType grey = Meas(MeasPostLoad, 3.0, 110, 14, 0);
    grey.m_nStatus = StatusHigh;
    t.m_Steps.push_back(grey);
    PCMDataType unchecked = Meas(MeasLoad, 9.9, 190, 20);
    unchecked.m_bChecked = 0;
    t.m_Steps.push_back(unchecked);
    f.Run();

    const ChartSeries& load = f.chart.series[SeriesLoad1];
    ASSERT_EQ(load.Count(), 3);
    ExpectPoint(load.points[2], 11.0, 4.0, "Ld 1 (verkürzt)", 0x0000FF);
    EXPECT_EQ(f.doc.GetTest(0).m_Steps[3].m_bShortened, 1);
    const TestAnalysis& an = f.An(0);
    EXPECT_EQ(an.m_bHasShortened, 1);
    EXPECT_NEAR(an.m_dShortFullLoad, 12.0, 1e-12);
    EXPECT_NEAR(an.m_dShortCompLoad, 11.0, 1e-12);
    EXPECT_DOUBLE_EQ(an.m_dShortLactate, 4.0);
    // The spline ends in the compensated point.
    const ChartSeries& curve = f.chart.series[SeriesCurve1];
    EXPECT_NEAR(curve.points.back().x, 11.0, 1e-12);
    EXPECT_NEAR(curve.points.back().y, 4.0, 1e-12);

    const ChartSeries& post = f.chart.series[SeriesPostLoad1];
    ASSERT_EQ(post.Count(), 2);
    ExpectPoint(post.points[0], 150.0 / 86400.0, 3.5, "AFL 1 ", 0xC66300);
    ExpectPoint(post.points[1], 300.0 / 86400.0, 3.0, "AFL 1", 0xA0A0A0);
    EXPECT_EQ(f.chart.series[SeriesPostLoadHr1].Count(), 2);
    EXPECT_EQ(f.chart.series[SeriesHr1].Count(), 3);
}

TEST(Evaluate, ParametersMissingAndFieldTest) {
    Fixture f;
    f.Add().m_bParamsEntered = 0;
    f.Run();
    EXPECT_EQ(f.chart.series[SeriesLoad1].Count(), 0);
    EXPECT_FALSE(f.chart.tools[ToolResult1].active);
    EXPECT_EQ(f.chart.title.lines.at(0), "Testdatum 14.05.2024");

    TestDataType field = trvtest::Treadmill(5, kLac);
    field.m_nTestType = TestField;
    field.m_dTrackLength = 400;
    field.m_Steps[1].m_dSpeed = 0.0;  // a step of 0 m/s stays finite
    f.doc.m_Tests[0] = field;
    f.Run();
    const TestAnalysis& an = f.An(0);
    ASSERT_EQ(an.m_bIansFailed, 0);
    EXPECT_EQ(an.m_nTime1000, static_cast<int>(1000.0 / (an.m_dIansLoad / 3.6)));
    EXPECT_TRUE(f.chart.tools[ToolResult1].active);
    EXPECT_NE(f.chart.tools[ToolResult1].text.find("t(400m) = "), std::string::npos);
    for (const ChartSeries& s : f.chart.series)
        for (const ChartPoint& p : s.points) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

TEST(ChartModelState, StartingStateAndPointOrder) {
    CChartModel c;
    c.ApplyStartup();
    EXPECT_EQ(c.axes[AxisLeft].title, "Laktat [mmol/l]");
    for (int i = 0; i <= 8; ++i) EXPECT_FALSE(c.tools[i].active);
    EXPECT_TRUE(c.tools[ToolBand2].active);
    EXPECT_EQ(c.series[SeriesCurve1].color, 0xFF8000u);
    EXPECT_EQ(c.series[SeriesPostLoad2].color, 0xC66300u);
    EXPECT_FALSE(c.series[SeriesPreLoadHr2].inLegend);

    c.axes[AxisBottom].startPercent = 0.0;
    c.ResetSeries();
    EXPECT_EQ(c.axes[AxisBottom].startPercent, 12.0);

    // Load series keep x order; the post-load series keeps the order of the adds.
    c.series[SeriesLoad1].Add(12, 1, "b", 0);
    c.series[SeriesLoad1].Add(10, 1, "a", 0);
    EXPECT_EQ(c.series[SeriesLoad1].points[0].label, "a");
    c.series[SeriesPostLoad1].Add(0.002, 1, "b", 0);
    c.series[SeriesPostLoad1].Add(0.001, 1, "a", 0);
    EXPECT_EQ(c.series[SeriesPostLoad1].points[0].label, "b");
}

TEST(Evaluate, MetresPerSecondWithSimonAndErgometerInWatt) {
    // p(x) = 4 + 2 (x - 3.5) + 0.8 (x - 3.5)^3 at 2.5..4.5 m/s gives the same whole tenths as kLac.
    Fixture f;
    TestDataType& t = f.Add();
    t.m_nLoadUnit = UnitMs;
    for (size_t i = 1; i <= 5; ++i) t.m_Steps[i].m_dSpeed = 2.5 + 0.5 * static_cast<double>(i - 1);
    f.An(0).m_nThresholdModel = ModelSimon;
    f.Run();
    const TestAnalysis& an = f.An(0);
    ASSERT_EQ(an.m_bIansFailed, 0);
    // 2 + 2.4 (x - 3.5)^2 = 3.5552312  =>  x = 3.5 + sqrt(1.5552312 / 2.4) = 4.304993
    EXPECT_NEAR(an.m_dIansLoad, 4.304993, 0.0005);
    EXPECT_DOUBLE_EQ(an.m_dTangentAngle, 74.29);
    EXPECT_EQ(f.chart.axes[AxisBottom].title, "v [m/s]");
    EXPECT_EQ(f.chart.tools[ToolResult1].text.substr(0, 33), "IANS n. Simon (Winkel=74,29°):\rv");

    // Ergometer 100..200 W: 4.0 mmol/l at exactly 150 W (the first midpoint).
    TestDataType w = trvtest::Treadmill(5, kLac);
    w.m_nLoadUnit = UnitWatt;
    w.m_nTestType = TestErgometer;
    for (size_t i = 1; i <= 5; ++i) w.m_Steps[i].m_dPower = 100 + 25 * static_cast<double>(i - 1);
    f.doc.m_Tests[0] = w;
    f.An(0) = TestAnalysis{};  // another test with the default choice
    f.Run();
    EXPECT_EQ(f.chart.axes[AxisBottom].title, "P [W]");
    EXPECT_EQ(f.chart.tools[ToolResult1].text, "Madermodell:\rP = 150,00 W\rLaktat = 4,00 mmol/l\rHR = 150 S/min");
}

// A heart rate of 0 was never entered: no heart-rate point, and the threshold's heart rate comes from the
// entered ones only (or is none at all).
TEST(Evaluate, HeartRatesNeverEnteredAreLeftOut) {
    struct Case {
        const char* name;
        std::vector<int> entered;  // heart rate of the pre-load, then of the five steps; 0 = never entered
        int hrPoints, preHrPoints;
        double iansHr;  // -1 = none
        const char* resultText;
    };
    const Case cases[] = {
        // Steps at 8..16 km/h; IANS at 12 km/h. 140 at 10 and 160 at 14 km/h: 150 by the line between them
        // (the readings at 8, 12 and 16 without heart rate must not pull it to 0).
        {"some",
         {0, 0, 140, 0, 160, 0},
         2,
         0,
         150.0,
         "Madermodell:\rv = 12,00 km/h\rLaktat = 4,00 mmol/l\rHR = 150 S/min"},
        {"none", {0, 0, 0, 0, 0, 0}, 0, 0, -1.0, "Madermodell:\rv = 12,00 km/h\rLaktat = 4,00 mmol/l"},
        // One heart rate alone gives no line through it.
        {"one", {65, 0, 0, 0, 0, 170}, 1, 1, -1.0, "Madermodell:\rv = 12,00 km/h\rLaktat = 4,00 mmol/l"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        TestDataType& t = f.Add();
        for (size_t k = 0; k < t.m_Steps.size(); ++k) t.m_Steps[k].m_nHeartRate = c.entered[k];
        f.Run();
        EXPECT_EQ(f.chart.series[SeriesHr1].Count(), c.hrPoints);
        EXPECT_EQ(f.chart.series[SeriesPreLoadHr1].Count(), c.preHrPoints);
        for (const ChartPoint& p : f.chart.series[SeriesHr1].points) EXPECT_GT(p.y, 0.0);
        EXPECT_NEAR(f.An(0).m_dIansHeartRate, c.iansHr, 0.02);
        EXPECT_EQ(f.chart.tools[ToolResult1].text, c.resultText);
        // The printed result has no heart-rate line either.
        const std::string printed = PrintedResultText(t, f.An(0));
        EXPECT_EQ(printed.find("HR an IANS") != std::string::npos, c.iansHr > 0) << printed;
    }
}
