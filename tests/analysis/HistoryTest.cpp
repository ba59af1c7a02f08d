// The history of an athlete's step tests: which tests, in what order, the values of the chosen
// methods against independent arithmetic, the changes within a test type and unit, and the cache.
#include "HistoryDocs.h"
#include "analysis/History.h"
#include "analysis/HistoryChart.h"
#include "analysis/ThresholdCache.h"
#include "analysis/ThresholdMethods.h"
#include "res/Format.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace trvtest::history;

namespace {

const HistoryValue& Method(const HistoryRow& row, const std::string& id) {
    for (const HistoryValue& v : row.methods)
        if (v.id == id) return v;
    static const HistoryValue none;
    ADD_FAILURE() << "no method " << id;
    return none;
}

constexpr double kKmh = 3.6;

}  // namespace

TEST(History, ListsParameterisedStepTestsOldestFirstKeepingDocumentOrderForEqualDates) {
    const std::vector<HistoryRow> rows = BuildHistory(Athlete(), HistoryOptions());
    ASSERT_EQ(rows.size(), 4u);  // not the single reading, not the test without parameters
    EXPECT_EQ(rows[0].index, 4);
    EXPECT_EQ(rows[1].index, 2);
    EXPECT_EQ(rows[2].index, 3);
    EXPECT_EQ(rows[3].index, 1);
    EXPECT_EQ(rows[0].date.FormatIso(), "2024-02-01T09:30:00");
    EXPECT_EQ(rows[0].testType, TestErgometer);
    EXPECT_EQ(rows[0].loadUnit, UnitWatt);
    EXPECT_EQ(rows[0].steps, 5);
    EXPECT_EQ(rows[1].steps, 6);
    EXPECT_EQ(rows[2].testType, TestField);
    // The default methods, in their order.
    ASSERT_EQ(rows[1].methods.size(), 5u);
    const char* ids[] = {"ians", "obla_4.0", "dmax", "ltp1", "ltp2"};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(rows[1].methods[i].id, ids[i]);
    EXPECT_EQ(rows[1].methods[1].label, "OBLA 4,0");
}

TEST(History, TreadmillValuesMatchAnIndependentCubicAndTheKnownBreaks) {
    const std::vector<HistoryRow> rows = BuildHistory(Athlete(), HistoryOptions());
    struct Case {
        const HistoryRow& row;
        const std::vector<double>& y;
        const std::vector<int>& hr;
        double ltp1, ltp2;
    };
    for (const Case& c : {Case{rows[1], kMarch, kMarchHr, 10, 16}, Case{rows[3], kSeptember, kSeptemberHr, 12, 16}}) {
        const auto p = LsCubic(kRun, c.y);
        const double obla = Crossing(p, 4.0, 16, 18);
        const HistoryValue& o = Method(c.row, "obla_4.0");
        ASSERT_TRUE(o.ok);
        EXPECT_NEAR(*o.load * kKmh, obla, 1e-6);
        EXPECT_DOUBLE_EQ(*o.lactate, 4.0);
        EXPECT_NEAR(*o.heartRate, HrAt(kRun, c.hr, obla), 1e-4);
        // The chart's Mader IANS halves until the lactate is within its tolerance.
        const HistoryValue& ians = Method(c.row, "ians");
        ASSERT_TRUE(ians.ok);
        EXPECT_NEAR(*ians.load * kKmh, obla, 0.01);
        const double dmax = Dmax(p, kRun, c.y);
        const HistoryValue& d = Method(c.row, "dmax");
        ASSERT_TRUE(d.ok);
        EXPECT_NEAR(*d.load * kKmh, dmax, 1e-6);
        EXPECT_NEAR(*d.lactate, Cubic(p, dmax), 1e-6);
        // Breaks to 0.2 % of the load range (10 km/h).
        EXPECT_NEAR(*Method(c.row, "ltp1").load * kKmh, c.ltp1, 0.02);
        EXPECT_NEAR(*Method(c.row, "ltp2").load * kKmh, c.ltp2, 0.02);
        EXPECT_NEAR(*Method(c.row, "ltp2").heartRate, HrAt(kRun, c.hr, c.ltp2), 0.2);
    }
}

TEST(History, ChangesCompareOnlyTestsOfTheSameTypeAndUnit) {
    const std::vector<HistoryRow> rows = BuildHistory(Athlete(), HistoryOptions());
    // First of their kind: no change, even for the field test in the treadmills' unit.
    for (int r : {0, 1, 2})
        for (const HistoryValue& v : rows[r].methods) {
            EXPECT_FALSE(v.loadChange) << r << " " << v.id;
            EXPECT_FALSE(v.heartRateChange) << r << " " << v.id;
        }
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18);
    const HistoryValue& o = Method(rows[3], "obla_4.0");
    ASSERT_TRUE(o.loadChange);
    EXPECT_NEAR(*o.loadChange * kKmh, september - march, 1e-6);
    EXPECT_NEAR(*o.heartRateChange, HrAt(kRun, kSeptemberHr, september) - HrAt(kRun, kMarchHr, march), 1e-3);
    // The first break moved from 10 to 12 km/h, the second stayed at 16.
    EXPECT_NEAR(*Method(rows[3], "ltp1").loadChange * kKmh, 2.0, 0.04);
    EXPECT_NEAR(*Method(rows[3], "ltp2").loadChange * kKmh, 0.0, 0.04);
}

TEST(History, UndeterminableMethodsStayInTheRowWithoutValuesAndBreakTheChange) {
    trv::CTRVDoc doc = Athlete();
    const std::vector<HistoryRow> rows = BuildHistory(doc, HistoryOptions());
    // The ergometer never reaches 4 mmol/l.
    for (const char* id : {"ians", "obla_4.0"}) {
        const HistoryValue& v = Method(rows[0], id);
        EXPECT_FALSE(v.ok) << id;
        EXPECT_FALSE(v.load) << id;
        EXPECT_FALSE(v.lactate) << id;
    }
    const auto bike = LsCubic(kBike, kBikeLactate);
    EXPECT_NEAR(*Method(rows[0], "dmax").load, Dmax(bike, kBike, kBikeLactate), 1e-6);
    // A field test alone: its OBLA from its own cubic.
    EXPECT_NEAR(*Method(rows[2], "obla_4.0").load * kKmh, Crossing(LsCubic(kField, kFieldLactate), 4.0, 12, 14), 1e-6);

    // September with its last two steps unticked cannot reach 4 mmol/l: no value, no change; the
    // methods that still work keep theirs.
    doc.m_Tests[1].m_Steps[5].m_bChecked = 0;
    doc.m_Tests[1].m_Steps[4].m_bChecked = 0;
    const std::vector<HistoryRow> again = BuildHistory(doc, HistoryOptions());
    EXPECT_FALSE(Method(again[3], "obla_4.0").ok);
    EXPECT_FALSE(Method(again[3], "obla_4.0").loadChange);
    EXPECT_TRUE(Method(again[3], "dmax").ok);
    EXPECT_TRUE(Method(again[3], "dmax").loadChange);
}

TEST(History, OptionsChooseMethodsAndOverrideEachTestsFitAndModel) {
    trv::CTRVDoc doc = Athlete();
    HistoryOptions options;
    std::string unknown;
    ASSERT_TRUE(ParseMethodList("dmax,obla_2.0,dmax", options.methods, unknown));
    EXPECT_EQ(options.methods, (std::vector<std::string>{"dmax", "obla_2.0"}));
    EXPECT_FALSE(ParseMethodList("dmax,OBLA_4.0", options.methods, unknown));
    EXPECT_EQ(unknown, "OBLA_4.0");
    EXPECT_FALSE(ParseMethodList("dmax,", options.methods, unknown));
    EXPECT_EQ(unknown, "");
    EXPECT_FALSE(ParseMethodList("", options.methods, unknown));

    // The tests' own choice: the spline interpolates, so OBLA 4,0 of March lies on the segment
    // between 16 km/h (3.6) and 18 km/h (6.0) where the spline reaches 4.0.
    options.methods = {"obla_4.0"};
    TestAnalysis spline;
    spline.m_nFitFunction = FitSpline;
    options.analysis = [&spline](int) -> const TestAnalysis& { return spline; };
    const double splineLoad = *BuildHistory(doc, options)[1].methods[0].load;
    const double cubic = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    EXPECT_GT(splineLoad * kKmh, 16.0);
    EXPECT_LT(splineLoad * kKmh, 18.0);
    EXPECT_GT(std::fabs(splineLoad * kKmh - cubic), 0.01);
    options.fit = FitCubic;
    EXPECT_NEAR(*BuildHistory(doc, options)[1].methods[0].load * kKmh, cubic, 1e-6);
}

TEST(History, ChangeTextsCarrySignAndUnit) {
    EXPECT_EQ(ChangeText(0.4, "km/h"), "+0,4 km/h");
    EXPECT_EQ(ChangeText(-5.0, "S/min", "%.0f"), "-5 S/min");
    EXPECT_EQ(ChangeText(-0.04, "km/h"), "\u00b10,0 km/h");
    EXPECT_EQ(ChangeText(12.25, "W"), "+12,2 W");
}

TEST(ThresholdCache, ARefreshAfterOneEditRecomputesOnlyThatTest) {
    trv::CTRVDoc doc = Athlete();
    CThresholdCache cache;
    const std::vector<HistoryRow> first = BuildHistory(doc, HistoryOptions(), &cache);
    EXPECT_EQ(cache.Computed(), 4u);
    EXPECT_EQ(first.size(), 4u);
    BuildHistory(doc, HistoryOptions(), &cache);
    EXPECT_EQ(cache.Computed(), 4u);

    // Whether the chart shows a test is not content: no recomputation.
    doc.m_Tests[2].m_bShowInChart = 1;
    BuildHistory(doc, HistoryOptions(), &cache);
    EXPECT_EQ(cache.Computed(), 4u);

    doc.m_Tests[2].m_Steps[3].m_nLactate += 1;
    const std::vector<HistoryRow> edited = BuildHistory(doc, HistoryOptions(), &cache);
    EXPECT_EQ(cache.Computed(), 5u);
    // The edited March test gives what a fresh computation gives.
    const TestThresholds fresh = ComputeTestThresholds(doc.m_Tests[2], FitCubic, ModelMader);
    EXPECT_EQ(*edited[1].methods[1].load, *fresh.Find("obla_4.0")->load);
    EXPECT_NE(*edited[1].methods[1].load, *first[1].methods[1].load);

    // Another model is other content; the old entries fall out after two rounds without use.
    const TestAnalysis standard;
    TestAnalysis keul;
    keul.m_nThresholdModel = ModelKeul;
    HistoryOptions keulForLast;
    keulForLast.analysis = [&](int test) -> const TestAnalysis& { return test == 3 ? keul : standard; };
    BuildHistory(doc, keulForLast, &cache);
    EXPECT_EQ(cache.Computed(), 6u);
    BuildHistory(doc, keulForLast, &cache);
    EXPECT_EQ(cache.Size(), 4u);
}

TEST(ThresholdCache, ManyMissingTestsComputedTogetherEqualOneByOne) {
    trv::CTRVDoc doc;
    for (int i = 0; i < 40; ++i) {
        std::vector<double> y = kMarch;
        for (double& v : y) v += 0.1 * (i % 7);
        doc.m_Tests.push_back(StepTest(TestTreadmill, UnitKmh, Day(2020, 1, 1 + i % 7), kRun, y, kMarchHr));
    }
    CThresholdCache cache;
    const std::vector<HistoryRow> together = BuildHistory(doc, HistoryOptions(), &cache);
    EXPECT_EQ(cache.Computed(), 7u);  // seven distinct contents
    const std::vector<HistoryRow> alone = BuildHistory(doc, HistoryOptions());
    ASSERT_EQ(together.size(), alone.size());
    for (size_t r = 0; r < alone.size(); ++r)
        for (size_t m = 0; m < alone[r].methods.size(); ++m)
            EXPECT_EQ(together[r].methods[m].load, alone[r].methods[m].load) << r << " " << m;
}

TEST(HistoryChart, OneChartPerTestTypeAndUnitWithAPointPerDeterminableMethod) {
    trv::CTRVDoc doc = Athlete();
    // A second ergometer test later in the year, and a treadmill test in m/s: a chart of its own.
    doc.m_Tests.push_back(StepTest(TestErgometer, UnitWatt, Day(2024, 10, 1), kBike, kBikeLactate, kBikeHr));
    std::vector<double> ms;
    for (double v : kRun) ms.push_back(v / 3.6);
    doc.m_Tests.push_back(StepTest(TestTreadmill, UnitMs, Day(2024, 11, 1), ms, kMarch, kMarchHr));
    const std::vector<HistoryChart> charts = HistoryCharts(BuildHistory(doc, HistoryOptions()));
    ASSERT_EQ(charts.size(), 4u);
    EXPECT_EQ(charts[0].title, "Ergometer (W)");
    EXPECT_EQ(charts[0].yTitle, "Belastung [W]");
    EXPECT_EQ(charts[1].title, "Laufband (km/h)");
    EXPECT_EQ(charts[2].title, "Feldtest (km/h)");
    EXPECT_EQ(charts[3].title, "Laufband (m/s)");
    EXPECT_EQ(charts[0].rows, 2);
    EXPECT_EQ(charts[1].rows, 2);
    EXPECT_EQ(charts[3].rows, 1);

    // Every chosen method is a series; the ergometer's OBLA has no point in either test.
    ASSERT_EQ(charts[0].series.size(), 5u);
    EXPECT_EQ(charts[0].series[1].id, "obla_4.0");
    EXPECT_TRUE(charts[0].series[1].points.empty());
    EXPECT_EQ(charts[0].series[2].points.size(), 2u);

    // Treadmill km/h: March then September, at their dates, loads in km/h, labelled as the table.
    const HistorySeries& obla = charts[1].series[1];
    ASSERT_EQ(obla.points.size(), 2u);
    EXPECT_DOUBLE_EQ(obla.points[0].date, Day(2024, 3, 1).m_dt);
    EXPECT_DOUBLE_EQ(obla.points[1].date, Day(2024, 9, 1).m_dt);
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    EXPECT_NEAR(obla.points[0].load, march, 1e-6);
    EXPECT_EQ(obla.points[0].label, Fmt("%.1f", march));
    EXPECT_EQ(obla.points[0].row, 1);
    // The m/s test shows the same curve in m/s.
    EXPECT_NEAR(charts[3].series[1].points[0].load, march / 3.6, 1e-6);
    EXPECT_NE(charts[0].series[0].color, charts[0].series[1].color);
}

TEST(History, ATestTakenOutOfTheChartCountsAsShowingItWouldTickIt) {
    trv::CTRVDoc doc = Athlete();
    const std::vector<HistoryRow> ticked = BuildHistory(doc, HistoryOptions());
    // Taking March out of the chart cleared every tick; one deliberate untick stays one.
    for (PCMDataType& m : doc.m_Tests[2].m_Steps) m.m_bChecked = 0;
    doc.m_Tests[1].m_Steps[5].m_bChecked = 0;
    const std::vector<HistoryRow> rows = BuildHistory(doc, HistoryOptions());
    for (size_t m = 0; m < rows[1].methods.size(); ++m)
        EXPECT_EQ(rows[1].methods[m].load, ticked[1].methods[m].load) << rows[1].methods[m].id;
    EXPECT_NE(rows[3].methods[2].load, ticked[3].methods[2].load);  // September's Dmax without 18 km/h
}
