// The threshold methods on curves whose thresholds are known in closed form.
#include "ThresholdChecks.h"
#include "analysis/ThresholdMethods.h"
#include "data/Records.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trv;

namespace {

// Loads 2.0 .. 5.0 m/s in steps of 0.5, heart rate 120 + 20 per m/s above 2.
ThresholdInput Input(double (*lactate)(double), int fit = 0) {
    ThresholdInput in;
    in.fitFunction = fit;
    for (int i = 0; i <= 6; ++i) {
        const double x = 2.0 + 0.5 * i;
        in.x.push_back(x);
        in.y.push_back(lactate(x));
        in.tenths.push_back(static_cast<int>(std::lround(lactate(x) * 10)));
        in.heartRate.push_back(120 + 20 * (x - 2.0));
    }
    in.lastStepSeconds = 180;
    return in;
}

TestThresholds Of(const ThresholdInput& in) { return ComputeThresholds(in, DefaultZoneScheme(0)); }

// 1 + (x - 2)^3 / 2: rises from 1.0 at 2 m/s to 14.5 at 5 m/s.
double Cubic(double x) { return 1.0 + 0.5 * std::pow(x - 2.0, 3); }

const MethodResult& M(const TestThresholds& r, const char* id) {
    const MethodResult* m = r.Find(id);
    EXPECT_NE(m, nullptr) << id;
    static MethodResult none;
    return m ? *m : none;
}

void ExpectLoad(const TestThresholds& r, const char* id, double load, double tol) {
    const MethodResult& m = M(r, id);
    ASSERT_TRUE(m.ok) << id << ": " << m.reason;
    EXPECT_NEAR(*m.load, load, tol) << id;
}

}  // namespace

TEST(ThresholdMethods, KnownCubic) {
    ThresholdInput in = Input(Cubic);
    in.preLoad = {1.0, 1.2};  // baseline 1.1
    const TestThresholds r = Of(in);
    ASSERT_TRUE(r.baseline);
    EXPECT_NEAR(*r.baseline, 1.1, 1e-12);
    // Level crossings: 1 + s^3 / 2 = L  ->  x = 2 + cbrt(2 (L - 1)).
    for (auto [id, level] : {std::pair{"obla_2.0", 2.0},
                             {"obla_2.5", 2.5},
                             {"obla_3.0", 3.0},
                             {"obla_3.5", 3.5},
                             {"obla_4.0", 4.0},
                             {"bsln_0.5", 1.6},
                             {"bsln_1.0", 2.1},
                             {"bsln_1.5", 2.6}}) {
        ExpectLoad(r, id, 2.0 + std::cbrt(2.0 * (level - 1.0)), 1e-8);
        EXPECT_DOUBLE_EQ(*M(r, id).lactate, level) << id;
    }
    // obla_4.0 at 3.8171206 m/s: heart rate 120 + 20 * 1.8171206.
    EXPECT_NEAR(*M(r, "obla_4.0").heartRate, 156.342412, 1e-5);

    // Dmax: line (2, 1) - (5, 14.5): slope 4.5 = 1.5 s^2  ->  s = sqrt(3).
    ExpectLoad(r, "dmax", 2.0 + std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(*M(r, "dmax").lactate, Cubic(2.0 + std::sqrt(3.0)), 1e-9);
    // Tenths 10, 11 (1.0625), 15: the step 2.5 -> 3.0 is the first rise of 0.4 mmol/l. Line
    // (2.5, 1.0625) - (5, 14.5): slope 5.375 = 1.5 s^2.
    ExpectLoad(r, "moddmax", 2.0 + std::sqrt(5.375 / 1.5), 1e-9);

    // Smallest f(x)/x where x f'(x) = f(x): 1.5 x s^2 = 1 + s^3 / 2 with s = x - 2; solved by Newton.
    double x = 3.0;
    for (int i = 0; i < 50; ++i) {
        const double s = x - 2.0;
        x -= (1.5 * x * s * s - 1.0 - 0.5 * s * s * s) / (3.0 * x * s);
    }
    ExpectLoad(r, "ltratio", x, 1e-8);
    const double level = Cubic(x) + 1.5;
    ExpectLoad(r, "dickhuth", 2.0 + std::cbrt(2.0 * (level - 1.0)), 1e-8);
    EXPECT_NEAR(*M(r, "dickhuth").lactate, level, 1e-9);
}

TEST(ThresholdMethods, NotDeterminableSaysWhy) {
    // A straight line rising 0.3 mmol/l a step: no rise of 0.4, never below its own chord, and no
    // rising exponential (the fit only improves as c -> 0).
    TestThresholds r = Of(Input([](double x) { return 1.0 + 0.6 * (x - 2.0); }));
    EXPECT_EQ(M(r, "moddmax").reason, "Kein Anstieg um 0,4 mmol/l von einer Stufe zur nächsten.");
    EXPECT_FALSE(M(r, "dmax").ok);
    EXPECT_FALSE(M(r, "expdmax").ok);
    trvtest::ExpectSound(r, 2.0, 5.0);

    r = Of(Input([](double x) { return 8.0 - std::exp(0.5 * x); }));
    EXPECT_EQ(M(r, "expdmax").reason, "Die Exponentialanpassung hat keine steigende Lösung.");

    // f(x)/x = 0.2/x + 0.1 + 0.4 x is smallest at sqrt(0.5) and rises from the first load: not
    // determinable. f(x)/x = 0.5 + 1/x falls all the way: its smallest value is at the last load.
    r = Of(Input([](double x) { return 0.2 + 0.1 * x + 0.4 * x * x; }));
    EXPECT_EQ(M(r, "ltratio").reason, "Das kleinste Laktatäquivalent liegt bei der ersten Stufe.");
    EXPECT_FALSE(M(r, "dickhuth").ok);
    ExpectLoad(Of(Input([](double x) { return 1.0 + 0.5 * x; }, FitSpline)), "ltratio", 5.0, 1e-9);
}

TEST(ThresholdMethods, AFitBelowZeroGivesNoLactate) {
    // Readings 1.0, 0.0, 0.0, 4.0 at 2, 2.5, 3, 3.5 m/s: the cubic through them is
    // p(x) = 4 (x - 2.5)(x - 3)(x - 1.5). The chord's slope is 2, and p'(x) = 2 inside the range at
    // x = (56 + sqrt(208)) / 24 = 2.9343, where p = -0.164: the Dmax point lies under 0 mmol/l.
    ThresholdInput in;
    for (auto [x, y] : {std::pair{2.0, 1.0}, {2.5, 0.0}, {3.0, 0.0}, {3.5, 4.0}}) {
        in.x.push_back(x);
        in.y.push_back(y);
        in.tenths.push_back(static_cast<int>(y * 10));
        in.heartRate.push_back(0.0);
    }
    const TestThresholds r = Of(in);
    EXPECT_EQ(M(r, "dmax").reason, "Die Kurve liegt dort unter 0 mmol/l.");
    for (const MethodResult& m : r.methods) {
        if (!m.ok) continue;
        EXPECT_GE(*m.lactate, 0.0) << m.id;
    }
}

TEST(ThresholdMethods, ExponentialDmaxOfAnExactExponential) {
    // 0.5 + 0.1 e^x: the least squares reproduce it; x* = ln((e^5 - e^2) / 3).
    const TestThresholds r = Of(Input([](double x) { return 0.5 + 0.1 * std::exp(x); }));
    const double xs = std::log((std::exp(5.0) - std::exp(2.0)) / 3.0);
    ExpectLoad(r, "expdmax", xs, 1e-6);
    EXPECT_NEAR(*M(r, "expdmax").lactate, 0.5 + 0.1 * std::exp(xs), 1e-6);
}

TEST(ThresholdMethods, SegmentedFitsFindTheBreaksOfABrokenLine) {
    // Constant 1.5 up to 3 m/s, then 0.5 x: in log-log two straight lines meeting at ln 3.
    ExpectLoad(Of(Input([](double x) { return std::max(1.5, 0.5 * x); })), "loglog", 3.0, 1e-6);
    // Flat to 3.0, slope 1 to 4.0, slope 5 after: breaks at 3.0 and 4.0.
    const TestThresholds t = Of(Input([](double x) {
        return x <= 3.0 ? 1.0 : x <= 4.0 ? 1.0 + (x - 3.0) : 2.0 + 5.0 * (x - 4.0);
    }));
    ExpectLoad(t, "ltp1", 3.0, 1e-6);
    ExpectLoad(t, "ltp2", 4.0, 1e-6);
}

TEST(ThresholdMethods, StegmannFromTheRecoveryCurve) {
    ThresholdInput in = Input(Cubic);  // end lactate 14.5
    // Peak 16.0 after 60 s; 15.0 at 180 s, 13.0 at 300 s: back at 14.5 after 180 + 0.5 / 2 * 120 = 210 s.
    in.recovery = {{60, 16.0}, {180, 15.0}, {300, 13.0}};
    in.lastStepSeconds = 180;  // 0.5 m/s per 180 s: anchor 5 + 210 / 360 m/s
    // The tangent at s = x - 2 meets (xA, 14.5) where s^3 - 5.375 s^2 + 13.5 = 0, i.e. s = 2.
    const TestThresholds r = Of(in);
    ExpectLoad(r, "stegmann", 4.0, 1e-8);
    EXPECT_NEAR(*M(r, "stegmann").lactate, 5.0, 1e-8);

    in.recovery = {};
    EXPECT_EQ(M(Of(in), "stegmann").reason, "Kein Nachbelastungswert.");
    in.recovery = {{60, 16.0}, {180, 15.0}};  // never back at 14.5
    EXPECT_EQ(M(Of(in), "stegmann").reason, "Die Erholung fällt nicht auf das End-Laktat zurück.");
    in.recovery = {{60, 14.0}, {180, 12.0}};  // never above it
    EXPECT_FALSE(M(Of(in), "stegmann").ok);
}

TEST(ThresholdMethods, FitQuality) {
    // A cubic plus 0.01 (1, -4, 6, -4, 1): that pattern is orthogonal to every cubic on five equally
    // spaced loads, so the least-squares cubic is the cubic itself and SSres = 70e-4.
    ThresholdInput in;
    const double noise[] = {1, -4, 6, -4, 1};
    double mean = 0.0, ssTot = 0.0;
    for (int i = 0; i < 5; ++i) {
        in.x.push_back(2.0 + 0.5 * i);
        in.y.push_back(Cubic(in.x.back()) + 0.01 * noise[i]);
        mean += in.y.back() / 5;
    }
    in.tenths.assign(5, 0);
    in.heartRate.assign(5, 0);
    for (double y : in.y) ssTot += (y - mean) * (y - mean);
    TestThresholds r = Of(in);
    ASSERT_TRUE(r.fit.r2 && r.fit.residualError);
    EXPECT_NEAR(*r.fit.r2, 1.0 - 70e-4 / ssTot, 1e-10);
    EXPECT_NEAR(*r.fit.residualError, std::sqrt(70e-4), 1e-10);
    // The spline interpolates; the cubic's residual error stays.
    in.fitFunction = 1;
    r = Of(in);
    EXPECT_EQ(r.fit.r2, 1.0);
    EXPECT_NEAR(*r.fit.residualError, std::sqrt(70e-4), 1e-10);
    // Four points: no residual error; every lactate equal: no R^2.
    in.x.pop_back();
    in.y.assign(4, 2.0);
    in.tenths.pop_back();
    in.heartRate.pop_back();
    r = Of(in);
    EXPECT_FALSE(r.fit.r2 || r.fit.residualError);
}

TEST(ThresholdMethods, ZonesFromTheIans) {
    ThresholdInput in = Input(Cubic);
    in.iansOk = true;
    in.iansLoad = 4.0;
    in.iansLactate = Cubic(4.0);
    TestThresholds r = Of(in);
    ExpectLoad(r, "ians", 4.0, 1e-7);
    ASSERT_EQ(r.zones.size(), 5u);
    EXPECT_EQ(r.zones[0].code, "REKOM");
    EXPECT_FALSE(r.zones[0].fromPct || r.zones[0].loadFrom || r.zones[0].heartRateFrom || r.zones[0].lactateFrom);
    EXPECT_NEAR(*r.zones[0].loadTo, 2.8, 1e-12);
    EXPECT_NEAR(*r.zones[0].heartRateTo, 120 + 20 * 0.8, 1e-9);
    EXPECT_NEAR(*r.zones[0].lactateTo, 1.0 + 0.5 * 0.8 * 0.8 * 0.8, 1e-9);
    EXPECT_NEAR(*r.zones[1].loadFrom, 2.8, 1e-12);
    EXPECT_NEAR(*r.zones[2].loadTo, 3.8, 1e-12);
    EXPECT_NEAR(*r.zones[3].loadTo, 4.2, 1e-12);
    EXPECT_EQ(r.zones[4].code, "SB");
    EXPECT_FALSE(r.zones[4].toPct || r.zones[4].loadTo);
    EXPECT_EQ(PaceText(2.8), "05:57 /km");  // 357.1 s
    EXPECT_EQ(PaceText(4.2), "03:58 /km");  // 238.1 s

    // Anchor 4.9 m/s: 105 % = 5.145 m/s lies beyond the last load; the heart rate is extrapolated,
    // the cubic's lactate too, the spline's is not reported.
    in.iansLoad = 4.9;
    r = Of(in);
    EXPECT_NEAR(*r.zones[4].heartRateFrom, 120 + 20 * 3.145, 1e-9);
    EXPECT_NEAR(*r.zones[4].lactateFrom, 1.0 + 0.5 * std::pow(3.145, 3), 1e-9);
    in.fitFunction = 1;
    r = Of(in);
    EXPECT_FALSE(r.zones[4].lactateFrom);
    EXPECT_TRUE(r.zones[3].lactateFrom);
    in.iansOk = false;  // no IANS, no zones
    EXPECT_TRUE(Of(in).zones.empty());
}

TEST(ThresholdMethods, ZoneSettingsAreChecked) {
    ZoneScheme s = DefaultZoneScheme(1);
    EXPECT_EQ(s.bounds, (std::vector<double>{55, 75, 90, 105}));
    EXPECT_EQ(DefaultZoneScheme(2).bounds, (std::vector<double>{70, 85, 95, 105}));
    EXPECT_EQ(CheckZoneScheme(s), "");
    s.bounds[2] = 75;
    EXPECT_EQ(CheckZoneScheme(s), "Die Zonengrenzen müssen von Zone zu Zone ansteigen.");
    for (const auto& bounds : {std::vector<double>{55, 75, 90, 301}, {-1, 75, 90, 105}}) {
        s.bounds = bounds;
        EXPECT_EQ(CheckZoneScheme(s), "Die Zonengrenzen müssen zwischen 0 und 300 % liegen.") << bounds[0];
    }
    s.bounds = {0, 75, 90, 300};
    EXPECT_EQ(CheckZoneScheme(s), "");
    s.zones[1].code = " ";
    EXPECT_FALSE(CheckZoneScheme(s).empty());
}

TEST(ThresholdMethods, HeartRateIsInterpolatedAndExtrapolated) {
    ThresholdInput in = Input(Cubic);
    in.heartRate = {0, 130, 0, 150, 0, 0, 0};  // only 2.5 and 3.5 m/s have one
    // 130 + 20 per 1 m/s through both points: at 2 + sqrt 3 m/s 130 + 20 (sqrt 3 - 0.5).
    EXPECT_NEAR(*M(Of(in), "dmax").heartRate, 130 + 20 * (std::sqrt(3.0) - 0.5), 1e-9);
    in.heartRate = {0, 130, 0, 0, 0, 0, 0};
    const TestThresholds r = Of(in);
    EXPECT_TRUE(M(r, "dmax").ok);
    EXPECT_FALSE(M(r, "dmax").heartRate);
}
