// Thresholds of whole step tests: what the readings of a test give the methods, bad input, units,
// and the global segmented fit against the exhaustive scan.
#include "Fixtures.h"
#include "ThresholdChecks.h"
#include "analysis/CurveRules.h"
#include "analysis/ExpFit.h"
#include "analysis/SegmentedFit.h"
#include "analysis/ThresholdCsv.h"
#include "analysis/ThresholdMethods.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trv;
using trvtest::Meas;

namespace {

// Treadmill test in km/h from 8 km/h (+2) with the given lactates; a pre-load reading of 1.0
// mmol/l; heart rate 130 + 10 per step.
TestDataType StepRun(std::vector<double> lactates, int unit = UnitKmh) {
    TestDataType t = trvtest::Treadmill(static_cast<int>(lactates.size()), lactates.data());
    t.m_nLoadUnit = unit;
    return t;
}

const std::vector<double> kTypical{1.2, 1.4, 1.9, 2.8, 4.1, 6.0, 8.4};

TestDataType NoPreLoad() {
    TestDataType t = StepRun(kTypical);
    t.m_Steps.erase(t.m_Steps.begin());
    return t;
}

}  // namespace

TEST(TestThresholdsOf, ReadingsBecomeSortedPointsInStoredUnits) {
    TestDataType t = StepRun({1.5, 2.0, 3.5, 6.0});
    std::swap(t.m_Steps[2], t.m_Steps[3]);  // stored out of load order
    t.m_Steps[4].m_bChecked = 0;            // 14 km/h, not ticked
    t.m_Steps.push_back(Meas(MeasPostLoad, 5.0, 0, 15, 30));
    const ThresholdInput in = ThresholdInputOf(t, FitSpline, ModelMader);
    ASSERT_EQ(in.x.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(in.x[i], (8.0 + 2.0 * i) / 3.6, 1e-12);
    EXPECT_EQ(in.tenths, (std::vector<int>{15, 20, 35}));
    EXPECT_EQ(in.preLoad, (std::vector<double>{1.0}));
    // The latest ticked main-load reading is at 10:09 (12 km/h); the post-load one at 10:15:30.
    ASSERT_EQ(in.recovery.size(), 1u);
    EXPECT_DOUBLE_EQ(in.recovery[0].first, 390.0);
    EXPECT_EQ(in.lastStepSeconds, 180.0);
}

TEST(TestThresholdsOf, ACompensatedLastStepCountsAtItsCompensatedLoad) {
    TestDataType t = StepRun({1.5, 2.0, 3.5, 6.0});
    t.m_bCompensate = 1;
    t.m_Steps.back().m_bDurationMeasured = 1;  // 14 km/h, 90 s of 180 s
    t.m_Steps.back().m_nStepDuration = 90;
    const ThresholdInput in = ThresholdInputOf(t, FitCubic, ModelMader);
    EXPECT_NEAR(in.x.back(), 13.0 / 3.6, 1e-12);  // 12 + 0.5 * 2 km/h
    EXPECT_EQ(in.lastStepSeconds, 180.0);         // PC duration
}

TEST(TestThresholdsOf, TheIansIsTheChartsInStoredUnits) {
    // The chart's Mader threshold in km/h, here in m/s.
    const TestThresholds r = ComputeTestThresholds(StepRun(kTypical), FitCubic, ModelMader);
    const MethodResult* ians = r.Find("ians");
    ASSERT_TRUE(ians && ians->ok);
    EXPECT_DOUBLE_EQ(*ians->lactate, 4.0);
    // The 4 mmol/l crossing of the same cubic, found by the level crossing: equal to the
    // bisection's tolerance (0.001 mmol/l at a slope above 1 mmol/l per m/s).
    EXPECT_NEAR(*ians->load, *r.Find("obla_4.0")->load, 1e-3);
    EXPECT_EQ(r.zones.size(), 5u);
}

TEST(TestThresholdsOf, BadInputGivesAValueInRangeOrSaysItCannot) {
    struct Case {
        const char* what;
        TestDataType test;
    };
    TestDataType noHr = StepRun(kTypical), equal = StepRun({1.0, 2.0, 3.0, 5.0}), twoEqual = StepRun(kTypical);
    for (PCMDataType& m : noHr.m_Steps) m.m_nHeartRate = 0;
    for (PCMDataType& m : equal.m_Steps) m.m_dSpeed = 3.0;
    twoEqual.m_Steps[3].m_dSpeed = twoEqual.m_Steps[2].m_dSpeed;
    const std::vector<Case> cases{{"typical", StepRun(kTypical)},
                                  {"no heart rates", noHr},
                                  {"three points", StepRun({1.0, 2.5, 5.0})},
                                  {"equal loads", equal},
                                  {"two equal loads", twoEqual},
                                  {"lactate 0", StepRun({0.0, 0.0, 1.0, 2.5, 5.0})},
                                  {"dipping spline", StepRun({3.0, 1.0, 1.0, 1.2, 5.0, 9.0})},
                                  {"flat", StepRun({2.0, 2.0, 2.0, 2.0, 2.0})},
                                  {"no pre-load", NoPreLoad()}};
    for (const Case& c : cases)
        for (int fit : {FitCubic, FitSpline})
            for (int model : {ModelMader, ModelKeul, ModelSimon}) {
                SCOPED_TRACE(std::string(c.what) + " fit " + std::to_string(fit) + " model " + std::to_string(model));
                const ThresholdInput in = ThresholdInputOf(c.test, fit, model);
                trvtest::ExpectSound(ComputeThresholds(in, DefaultZoneScheme(0)), in.x.front(), in.x.back());
            }
}

TEST(TestThresholdsOf, EdgeCasesSayWhy) {
    const auto reason = [](const TestThresholds& r, const char* id) { return r.Find(id)->reason; };
    TestThresholds r = ComputeTestThresholds(StepRun({1.0, 2.5, 5.0}), FitSpline, ModelMader);
    EXPECT_EQ(r.points, 3);
    EXPECT_TRUE(r.Find("obla_4.0")->ok);  // the spline through three points
    EXPECT_EQ(reason(r, "dmax"), "Zu wenige Messpunkte (mindestens 4).");
    EXPECT_EQ(reason(r, "ltp1"), "Zu wenige Messpunkte (mindestens 4).");
    EXPECT_TRUE(r.Find("loglog")->ok);
    // The cubic through three points is not determined.
    r = ComputeTestThresholds(StepRun({1.0, 2.5, 5.0}), FitCubic, ModelMader);
    EXPECT_EQ(reason(r, "obla_4.0"), "Die Kurve lässt sich nicht anpassen.");
    EXPECT_FALSE(r.fit.r2);

    r = ComputeTestThresholds(StepRun({1.0, 2.0}), FitSpline, ModelMader);
    EXPECT_EQ(r.points, 2);
    EXPECT_FALSE(r.baseline);
    EXPECT_TRUE(r.zones.empty());
    for (const MethodResult& m : r.methods) EXPECT_EQ(m.reason, "Zu wenige Messpunkte.") << m.id;

    r = ComputeTestThresholds(StepRun({0.0, 0.0, 1.0, 2.5, 5.0}), FitSpline, ModelMader);
    EXPECT_EQ(reason(r, "loglog"), "Belastungen und Laktatwerte müssen größer als 0 sein.");

    // Lactate below 4 mmol/l throughout.
    r = ComputeTestThresholds(StepRun({1.0, 1.2, 1.5, 2.0, 2.6}), FitSpline, ModelMader);
    EXPECT_EQ(reason(r, "obla_4.0"), "Die Kurve erreicht 4,00 mmol/l nicht.");
    EXPECT_FALSE(r.Find("ians")->ok);

    // Without pre-load readings the baseline is the first point's lactate.
    EXPECT_DOUBLE_EQ(*ComputeTestThresholds(NoPreLoad(), FitCubic, ModelMader).baseline, 1.2);
}

TEST(TestThresholdsOf, TheSplineThatDipsCrossesLast) {
    // 3.0, 1.0, 1.0, 1.2, 5.0, 9.0 at 8..18 km/h: the spline starts above 2 mmol/l, dips below and
    // rises again; the level crossing is the rise between 14 and 16 km/h.
    const TestThresholds r = ComputeTestThresholds(StepRun({3.0, 1.0, 1.0, 1.2, 5.0, 9.0}), FitSpline, ModelMader);
    ASSERT_TRUE(r.Find("obla_2.0")->ok);
    EXPECT_NEAR(*r.Find("obla_2.0")->load * 3.6, 15.0, 1.0);
}

TEST(TestThresholdsOf, TheUnitDoesNotChangeTheLoads) {
    for (int fit : {FitCubic, FitSpline}) {
        const TestThresholds a = ComputeTestThresholds(StepRun(kTypical, UnitKmh), fit, ModelMader);
        const TestThresholds b = ComputeTestThresholds(StepRun(kTypical, UnitMs), fit, ModelMader);
        for (size_t i = 0; i < a.methods.size(); ++i) {
            ASSERT_EQ(a.methods[i].ok, b.methods[i].ok) << a.methods[i].id;
            if (!a.methods[i].ok) continue;
            EXPECT_NEAR(*a.methods[i].load, *b.methods[i].load, 1e-9) << a.methods[i].id;
            EXPECT_NEAR(*a.methods[i].lactate, *b.methods[i].lactate, 1e-9) << a.methods[i].id;
        }
        ASSERT_EQ(a.zones.size(), b.zones.size());
        for (size_t i = 0; i + 1 < a.zones.size(); ++i) EXPECT_NEAR(*a.zones[i].loadTo, *b.zones[i].loadTo, 1e-9);
    }
}

TEST(SegmentedFit, TheFastSearchMeetsTheExhaustiveScan) {
    // Curves of several shapes, resampled as the methods do; the fast search must reach the
    // residual sum of the exhaustive scan over all sample pairs, and breaks within 0.2 % of it.
    const std::vector<std::vector<double>> curves{
        {1.0, 1.1, 1.3, 1.8, 2.6, 3.9, 5.8, 8.2},
        {0.9, 1.0, 1.0, 1.1, 1.2, 1.6, 2.5, 4.4, 7.9},
        {1.5, 1.2, 1.1, 1.4, 2.2, 2.4, 2.6, 5.0, 5.2, 9.0},
        {2.0, 2.1, 2.0, 2.2, 2.1, 2.3},
    };
    for (const auto& y : curves) {
        std::vector<double> x;
        for (size_t i = 0; i < y.size(); ++i) x.push_back(100.0 + 25.0 * i);
        std::vector<double> tx, ty;
        ResamplePoints(x, y, tx, ty);
        const CSegmentedFit seg(tx, ty);
        const double gap = 50.0 * (x.back() - x.front()) / 1000.0;
        const SegmentedFitResult fast = seg.FitTwo(tx[50], tx[950], gap);
        const SegmentedFitResult full = seg.ScanAllSamplePairs(tx[50], tx[950], gap);
        ASSERT_TRUE(fast.ok && full.ok);
        EXPECT_LE(fast.residualSum, full.residualSum * (1 + 1e-9) + 1e-12);
        const double tol = 0.002 * (x.back() - x.front());
        EXPECT_NEAR(fast.break1, full.break1, tol);
        EXPECT_NEAR(fast.break2, full.break2, tol);
        EXPECT_GE(fast.break1, tx[50]);
        EXPECT_LE(fast.break2, tx[950]);
        EXPECT_GE(fast.break2 - fast.break1, gap * (1 - 1e-9));
    }
}

TEST(SegmentedFit, ResidualSumOfAHingeByHand) {
    // y = |x| on x = -2..2: one break at 0 fits exactly.
    const CSegmentedFit seg({-2, -1, 0, 1, 2}, {2, 1, 0, 1, 2});
    EXPECT_NEAR(seg.ResidualSum(0.0), 0.0, 1e-12);
    // Break at 2 (beyond which nothing lies): the best straight line is y = 1.2, SSres = 2.8.
    EXPECT_NEAR(seg.ResidualSum(2.0), 2.8, 1e-12);
    const SegmentedFitResult r = seg.FitOne(-1.5, 1.5);
    EXPECT_NEAR(r.break1, 0.0, 1e-6);
}

TEST(ThresholdCsv, RowsInTheProgramsConventions) {
    CTRVDoc doc;
    doc.m_Tests.push_back(StepRun(kTypical));
    const TestThresholds r = ComputeTestThresholds(doc.m_Tests[0], FitCubic, ModelMader);
    const std::string text = ThresholdCsvText(doc, {0}, {r});
    // Header, 18 methods, 5 zones; every line ends in CR LF.
    size_t lines = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 1u + 18u + 5u);
    EXPECT_EQ(text.rfind("\r\n"), text.size() - 2);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "Test;Datum;Testtyp;Einheit;Art;Kennung;Bezeichnung;Von [%];Bis [%];Belastung;Belastung bis;"
              "Laktat [mmol/l];Laktat bis;HF [S/min];HF bis;Pace [min/km];Pace bis");
    // The IANS row: load in km/h with a decimal comma, lactate 4,00, pace from the m/s speed.
    const double v = *r.Find("ians")->load;
    const int pace = static_cast<int>(1000.0 / v);
    char load[32], paceText[16];
    std::snprintf(load, sizeof load, "%.2f", v * 3.6);
    std::snprintf(paceText, sizeof paceText, "%02d:%02d", pace / 60, pace % 60);
    std::string loadText = load;
    loadText[loadText.find('.')] = ',';
    EXPECT_NE(text.find(";Schwelle;ians;IANS (Kurvenmodell);;;" + loadText + ";;4,00;"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string(";") + paceText + ";\r\n"), std::string::npos);
    EXPECT_NE(text.find(";Zone;REKOM;Regeneration;;70;;"), std::string::npos);
    EXPECT_NE(text.find("Laktatäquivalent"), std::string::npos);
    EXPECT_NE(text.find(";Laufband;km/h;"), std::string::npos);
}

TEST(ThresholdCsv, EnglishHeadersLabelsAndDecimalPointsInEnglish) {
    // A program speaking English writes the thresholds' CSV in English; the methods' ids stay.
    const LangScope english(Lang::en);
    CTRVDoc doc;
    doc.m_Tests.push_back(StepRun(kTypical));
    const TestThresholds r = ComputeTestThresholds(doc.m_Tests[0], FitCubic, ModelMader);
    const std::string text = ThresholdCsvText(doc, {0}, {r});
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "Test;Date;Test type;Unit;Kind;ID;Name;From [%];To [%];Load;Load to;Lactate [mmol/l];Lactate to;"
              "HR [bpm];HR to;Pace [min/km];Pace to");
    char load[32];
    std::snprintf(load, sizeof load, "%.2f", *r.Find("ians")->load * 3.6);
    EXPECT_NE(text.find(std::string(";Threshold;ians;IAT (curve model);;;") + load + ";;4.00;"), std::string::npos)
        << text;
    EXPECT_NE(text.find(";Zone;REKOM;Recovery;;70;;"), std::string::npos) << text;
    EXPECT_NE(text.find(";Treadmill;km/h;"), std::string::npos);
    EXPECT_EQ(text.find("Laktat"), std::string::npos);
}

// One grid for the exponential fit serves many lactate vectors on the same loads: each gives what a
// fit of its own gives, an exact exponential its rate, falling and straight data no rising curve.
TEST(ExpFit, OneGridServesManyLactateVectors) {
    std::vector<double> x;
    for (int i = 0; i < 12; ++i) x.push_back(150.0 + 25.0 * i);  // W
    auto curve = [&](double a, double b, double c) {
        std::vector<double> y;
        for (double v : x) y.push_back(a + b * std::exp(c * (v - x.front())));
        return y;
    };
    std::vector<double> falling = curve(6.0, -4.0, 0.01), line;
    for (double v : x) line.push_back(1.0 + 0.01 * (v - 150.0));
    const std::vector<std::vector<double>> ys = {curve(1.0, 0.2, 0.012), falling, line, curve(0.8, 0.05, 0.02),
                                                 curve(1.0, 0.2, 0.012)};
    CExpFitGrid grid(x);
    for (size_t k = 0; k < ys.size(); ++k) {
        const ExpFitResult shared = grid.Fit(ys[k]), own = FitExponential(x, ys[k]);
        EXPECT_EQ(shared.status, own.status) << k;
        EXPECT_EQ(shared.c, own.c) << k;
        EXPECT_EQ(shared.a, own.a) << k;
        EXPECT_EQ(shared.bAtEnd, own.bAtEnd) << k;
    }
    const ExpFitResult first = grid.Fit(ys[0]), third = grid.Fit(ys[3]);
    ASSERT_EQ(first.status, ExpFitResult::Ok);
    EXPECT_NEAR(first.c, 0.012, 1e-7);
    EXPECT_NEAR(first.a, 1.0, 1e-5);
    EXPECT_NEAR(third.c, 0.02, 1e-7);
    EXPECT_NE(grid.Fit(falling).status, ExpFitResult::Ok);
    EXPECT_NE(grid.Fit(line).status, ExpFitResult::Ok);
    // Too few points: nothing to fit, as on its own.
    const std::vector<double> three = {100, 150, 200};
    CExpFitGrid small(three);
    EXPECT_EQ(small.Fit({1, 2, 4}).status, ExpFitResult::TooFew);
}
