#include "analysis/ChartModel.h"
#include "analysis/CurveFit.h"
#include "analysis/IansThreshold.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace trv;

namespace {

// p(x) = 4 + 0.5 (x - 12) + 0.02 (x - 12)^3 = -36.56 + 9.14 x - 0.72 x^2 + 0.02 x^3:
// reaches 4.0 mmol/l at exactly 12; its slope 0.5 + 0.06 (x - 12)^2 grows away from 12.
CCurveFit SteepCubic() {
    CCurveFit fit;
    std::vector<double> x{8, 10, 12, 14, 16}, y;
    for (double v : x) y.push_back(4 + 0.5 * (v - 12) + 0.02 * (v - 12) * (v - 12) * (v - 12));
    fit.SetPoints(x, y);
    EXPECT_TRUE(fit.Fit(FitCubic));
    return fit;
}

ChartSeries Curve(const CCurveFit& fit) {
    ChartSeries s;
    fit.Sample(s, "L 1", 0);
    return s;
}

ChartSeries HeartRates(std::initializer_list<std::pair<double, double>> pts) {
    ChartSeries s;
    for (auto [x, y] : pts) s.Add(x, y, "HR 1", 0x00B000);
    return s;
}

TestDataType MakeTest(int unit, int type) {
    TestDataType t;
    t.m_nLoadUnit = unit;
    t.m_nTestType = type;
    return t;
}

TestAnalysis Choice(int model, int fit = FitCubic) {
    TestAnalysis an;
    an.m_nThresholdModel = model;
    an.m_nFitFunction = fit;
    return an;
}

// A threshold as the evaluation leaves it, for the texts; no heart rate unless given.
TestAnalysis Result(int model, double load, double lactate, double hr = -1.0) {
    TestAnalysis an = Choice(model);
    an.m_dIansLoad = load;
    an.m_dIansLactate = lactate;
    an.m_dIansHeartRate = hr;
    return an;
}

}  // namespace

TEST(TangentModels, AnglesAndSlopes) {
    double a = 0;
    ASSERT_TRUE(TangentAngle(ModelKeul, UnitKmh, a));
    EXPECT_DOUBLE_EQ(a, 51.34);
    for (auto [model, unit, slope] : {std::tuple{ModelKeul, UnitKmh, 1.2499914},
                                      {ModelKeul, UnitMs, 4.4518392},
                                      {ModelSimon, UnitKmh, 0.9999999},
                                      {ModelSimon, UnitMs, 3.5552312}}) {
        ASSERT_TRUE(TangentAngle(model, unit, a)) << model << unit;
        EXPECT_NEAR(TangentSlope(a), slope, 1e-7) << model << unit;
    }
    EXPECT_FALSE(TangentAngle(ModelKeul, UnitWatt, a));
    EXPECT_FALSE(TangentAngle(ModelMader, UnitKmh, a));
}

TEST(Keul, TangentPointOfTheCubic) {
    const CCurveFit fit = SteepCubic();
    TestDataType t = MakeTest(UnitKmh, TestTreadmill);
    TestAnalysis tAn = Choice(ModelKeul);
    ASSERT_TRUE(DetermineThreshold(t, tAn, fit, Curve(fit), HeartRates({}), true));
    // 0.5 + 0.06 (x - 12)^2 = 1.2499914  =>  x = 12 + sqrt(0.7499914 / 0.06) = 15.535508
    EXPECT_NEAR(tAn.m_dIansLoad, 15.535508, 0.003);
    const double d = tAn.m_dIansLoad - 12;
    EXPECT_NEAR(tAn.m_dIansLactate, 4 + 0.5 * d + 0.02 * d * d * d, 1e-9);
    EXPECT_DOUBLE_EQ(tAn.m_dTangentAngle, 51.34);
    EXPECT_EQ(tAn.m_bIansFailed, 0);
}

TEST(Keul, SlopeNeverReachedOrSplineIsNotDeterminable) {
    // A straight line of slope 0.3: the tangent never reaches 1.25.
    CCurveFit flat;
    flat.SetPoints({8, 10, 12, 14, 16}, {1.0, 1.6, 2.2, 2.8, 3.4});
    flat.m_nFitCode = FitCubic;
    flat.m_adCoeff = {-1.4, 0.3, 0.0, 0.0};
    CCurveFit spline = SteepCubic();
    ASSERT_TRUE(spline.Fit(FitSpline));
    for (const CCurveFit* fit : {&flat, &spline}) {
        TestDataType t = MakeTest(UnitKmh, TestTreadmill);
        TestAnalysis tAn = Choice(ModelKeul);
        EXPECT_FALSE(DetermineThreshold(t, tAn, *fit, Curve(*fit), HeartRates({}), true));
        EXPECT_EQ(tAn.m_bIansFailed, 1);
    }
}

TEST(HeartRate, InterpolationAndExtrapolation) {
    const ChartSeries hr = HeartRates({{10, 140}, {12, 150}, {14, 160}});
    EXPECT_DOUBLE_EQ(HeartRateAt(hr, 13), 155);
    EXPECT_DOUBLE_EQ(HeartRateAt(hr, 12), 150);
    EXPECT_DOUBLE_EQ(HeartRateAt(hr, 9), 135);  // below the first point: from points 0 and 1
    EXPECT_EQ(HeartRateAt(hr, 14.5), -1.0);
    EXPECT_EQ(HeartRateAt(HeartRates({{10, 140}}), 9), -1.0);
    EXPECT_EQ(HeartRateAt(HeartRates({{10, 140}, {10, 150}}), 9), -1.0);
}

TEST(ResultTexts, FieldTimesAndTangentModels) {
    // 3 m/s: 333.33 s truncated; 0 m/s: no times rather than a division by zero.
    for (auto [load, unit, s1000, sTrack] :
         {std::tuple{14.4, UnitKmh, 250, 100}, {3.0, UnitMs, 333, 133}, {0.0, UnitMs, 0, 0}}) {
        int32_t t1000 = -1, tTrack = -1;
        FieldTimes(load, unit, 400, t1000, tTrack);
        EXPECT_EQ(t1000, s1000) << load;
        EXPECT_EQ(tTrack, sTrack) << load;
    }
    TestDataType t = MakeTest(UnitKmh, TestField);
    t.m_dTrackLength = 400;
    TestAnalysis tAn = Result(ModelMader, 14.4, 4.0);
    tAn.m_nTime1000 = 250;
    tAn.m_nTimeTrack = 100;
    EXPECT_EQ(ResultText(t, tAn),
              "Madermodell:\rv = 14,40 km/h\rLaktat = 4,00 mmol/l\rt(1000m) = 04:10\rt(400m) = 01:40");
    TestAnalysis simon = Result(ModelSimon, 4.126, 3.456);
    simon.m_dTangentAngle = 74.29;
    EXPECT_EQ(ResultText(MakeTest(UnitMs, TestTreadmill), simon),
              "IANS n. Simon (Winkel=74,29°):\rv = 4,13 m/s\rLaktat = 3,46 mmol/l");
}

TEST(CursorTexts, ReadOutLines) {
    EXPECT_EQ(CursorText(2, MakeTest(UnitKmh, TestTreadmill), 13.0, 3.25, HeartRates({})),
              "Cursor 2: v = 13,00 km/h, Laktat = 3,25 mmol/l");

    TestDataType f = MakeTest(UnitKmh, TestField);
    f.m_dTrackLength = 400;
    EXPECT_EQ(CursorText(1, f, 14.4, 4.0, HeartRates({})),
              "Cursor 1: v = 14,40 km/h, Laktat = 4,00 mmol/l, t (400 m) = 01:40, t (1000 m) = 04:10");
}

TEST(FieldTest, TimesFollowTheLoadAlsoWhenNotDeterminable) {
    // Lactate stays below 4.0 mmol/l on 8..16 km/h: the Mader search runs to the upper end, 16 km/h,
    // i.e. 4.444 m/s: 1000 m in 225 s, 400 m in 90 s. The heart rate is not taken.
    CCurveFit fit;
    fit.SetPoints({8, 10, 12, 14, 16}, {1.0, 1.2, 1.5, 2.0, 2.6});
    ASSERT_TRUE(fit.Fit(FitSpline));
    TestDataType t = MakeTest(UnitKmh, TestField);
    TestAnalysis tAn = Choice(ModelMader, FitSpline);
    t.m_dTrackLength = 400;
    EXPECT_FALSE(DetermineThreshold(t, tAn, fit, Curve(fit), HeartRates({{8, 120}, {16, 180}}), true));
    EXPECT_EQ(tAn.m_bIansFailed, 1);
    EXPECT_NEAR(tAn.m_dIansLoad, 16.0, 1e-9);
    EXPECT_EQ(tAn.m_nTime1000, 225);
    EXPECT_EQ(tAn.m_nTimeTrack, 90);
    EXPECT_EQ(tAn.m_dIansHeartRate, -1.0);
}
