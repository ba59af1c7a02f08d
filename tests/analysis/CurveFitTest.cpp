#include "analysis/ChartModel.h"
#include "analysis/CurveFit.h"
#include "data/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

using namespace trv;

TEST(PolyFit, LeastSquaresLineOfScatteredPoints) {
    // Degree 1 through (0,1) (1,3) (2,2) (3,5): slope Sxy/Sxx = 5.5/5 = 1.1, intercept 2.75 - 1.1*1.5 = 1.1.
    const double x[] = {0, 1, 2, 3};
    const double y[] = {1, 3, 2, 5};
    double c[2] = {0, 0};
    ASSERT_EQ(PolyFit(x, y, 4, c, 1), 0);
    EXPECT_NEAR(c[0], 1.1, 1e-12);
    EXPECT_NEAR(c[1], 1.1, 1e-12);
}

TEST(PolyFit, ZeroLowerCoefficientOrPivotFailsButZeroHighestDoesNot) {
    // y = x^4 on -2..2: the odd coefficients come out exactly 0.0, a1 among them.
    const double x[] = {-2, -1, 0, 1, 2};
    const double quartic[] = {16, 1, 0, 1, 16};
    double c[4] = {0, 0, 0, 0};
    EXPECT_EQ(PolyFit(x, quartic, 5, c, 3), -1);
    // All loads 0: every column but the first is zero.
    const double zeros[] = {0, 0, 0, 0};
    EXPECT_EQ(PolyFit(zeros, quartic, 4, c, 3), -1);

    // y = 1 + 2x + 3x^2 on -2..2: recovered exactly; a3 is exactly 0.0, which is allowed.
    const double quadratic[] = {9, 2, 1, 6, 17};
    ASSERT_EQ(PolyFit(x, quadratic, 5, c, 3), 0);
    EXPECT_EQ(c[3], 0.0);
    EXPECT_NEAR(c[2], 3.0, 1e-12);
    EXPECT_NEAR(c[1], 2.0, 1e-12);
    EXPECT_NEAR(c[0], 1.0, 1e-12);
}

TEST(PolyFit, ThreePointsNeverLeaveANonFiniteCurve) {
    CCurveFit fit;
    fit.SetPoints({8, 10, 12}, {1.2, 2.0, 4.5});
    if (fit.Fit(FitCubic)) {
        for (double a : fit.m_adCoeff) EXPECT_TRUE(std::isfinite(a));
        // Whatever a3 the noisy last pivot gives, the first three normal equations then make
        // a0..a2 the quadratic through the points of y - a3 x^3: the cubic meets all three points.
        const auto& a = fit.m_adCoeff;
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(PolyValue(a[0], a[1], a[2], a[3], fit.m_x[k]), fit.m_y[k], 1e-6);
        ChartSeries s;
        EXPECT_TRUE(fit.Sample(s, "L 1", 0));
        for (const ChartPoint& p : s.points) EXPECT_TRUE(std::isfinite(p.y));
    }
    CCurveFit two;
    two.SetPoints({8, 10}, {1.2, 2.0});
    EXPECT_FALSE(two.Fit(FitCubic));
    EXPECT_FALSE(two.Fit(7));
}

TEST(Spline, TextbookExponentialExample) {
    // Natural spline of e^x at 0..3 (Burden & Faires): c1 = 0.75685, c2 = 5.83007 (M = 2c);
    // S(0.5) = 1 + 1.46600*0.5 + 0.25228*0.125, S(2.5) = e^2 + 8.80977*0.5 + 5.83007*0.25 - 1.94336*0.125.
    const double x[] = {0, 1, 2, 3};
    const double y[] = {1, std::exp(1.0), std::exp(2.0), std::exp(3.0)};
    std::vector<double> h, M;
    ASSERT_EQ(SplineSetup(x, y, 4, h, M), 0);
    EXPECT_NEAR(M[1], 2 * 0.75685, 1e-4);
    EXPECT_NEAR(M[2], 2 * 5.83007, 1e-4);
    // At an inner knot the value is the knot's own.
    for (auto [at, want, tol] : {std::tuple{0.5, 1.764535, 1e-4}, {2.5, 13.008539, 1e-4}, {2.0, y[2], 1e-12}}) {
        double v = 0;
        ASSERT_EQ(SplineValue(x, y, h, M, 4, at, v), 0);
        EXPECT_NEAR(v, want, tol) << at;
    }
}

TEST(Spline, EdgeCases) {
    std::vector<double> h, M;
    const double same[] = {8, 10, 10, 12}, falling[] = {12, 10}, y4[] = {1, 2, 3, 4};
    EXPECT_EQ(SplineSetup(same, y4, 4, h, M), -2);
    EXPECT_EQ(SplineSetup(falling, y4, 2, h, M), -2);

    // Two knots: the straight line between them.
    const double x2[] = {10, 14}, y2[] = {2, 6};
    ASSERT_EQ(SplineSetup(x2, y2, 2, h, M), 0);
    double v = 0;
    ASSERT_EQ(SplineValue(x2, y2, h, M, 2, 11, v), 0);
    EXPECT_DOUBLE_EQ(v, 3.0);
    EXPECT_EQ(SplineValue(x2, y2, h, M, 2, 14.5, v), -1);
    EXPECT_EQ(SplineValue(x2, y2, h, M, 2, 9.99, v), -1);

    // One knot: set-up succeeds, every value fails.
    const double x1[] = {10};
    ASSERT_EQ(SplineSetup(x1, y2, 1, h, M), 0);
    EXPECT_EQ(SplineValue(x1, y2, h, M, 1, 10, v), -1);
    CCurveFit one;
    one.SetPoints({10}, {2});
    ASSERT_TRUE(one.Fit(FitSpline));
    ChartSeries s;
    EXPECT_FALSE(one.Sample(s, "L 1", 0));
    EXPECT_EQ(s.Count(), 0);
    CCurveFit none;
    EXPECT_FALSE(none.Fit(FitSpline));
}

TEST(Sampling, EightyOnePointsFromSmallestToLargestLoad) {
    // A range whose step does not add up exactly: the last sample must still be the largest knot.
    CCurveFit fit;
    fit.SetPoints({0.1, 0.3, 0.7}, {1.0, 2.0, 5.0});
    ASSERT_TRUE(fit.Fit(FitSpline));
    ChartSeries s;
    ASSERT_TRUE(fit.Sample(s, "L 1", 0xFF8000));
    ASSERT_EQ(s.Count(), 81);
    EXPECT_DOUBLE_EQ(s.points.front().x, 0.1);
    EXPECT_DOUBLE_EQ(s.points.back().x, 0.7);
    EXPECT_DOUBLE_EQ(s.points.back().y, 5.0);
    EXPECT_NEAR(s.points[40].x, 0.4, 1e-12);
    EXPECT_EQ(s.points[3].label, "L 1");
    EXPECT_EQ(s.points[3].color, 0xFF8000u);
}

// The scan over ascending loads walks the spline's intervals instead of searching each: the same
// value as Value at every load (NaN where Value fails), the readings themselves at the knots.
TEST(Spline, ScanOverAscendingLoadsGivesTheValueAtEachLoad) {
    const std::vector<double> x = {2.5, 3.0, 3.25, 4.5, 6.0, 6.1, 8.0}, y = {1.1, 1.0, 1.6, 2.2, 4.9, 5.0, 9.4};
    std::vector<double> loads;
    for (int k = 0; k <= 700; ++k) loads.push_back(2.0 + 0.01 * k);  // 2.0 .. 9.0, past both ends
    loads.insert(std::lower_bound(loads.begin(), loads.end(), 3.25), 3.25);
    for (int code : {FitSpline, FitCubic}) {
        CCurveFit fit;
        fit.SetPoints(x, y);
        ASSERT_TRUE(fit.Fit(code));
        std::vector<double> scan(loads.size());
        fit.ValuesAscending(loads.data(), static_cast<int>(loads.size()), scan.data());
        int inside = 0;
        for (size_t k = 0; k < loads.size(); ++k) {
            double v = 0.0;
            if (fit.Value(loads[k], v)) {
                EXPECT_EQ(scan[k], v) << code << " at " << loads[k];
                ++inside;
            } else {
                EXPECT_TRUE(std::isnan(scan[k])) << code << " at " << loads[k];
            }
        }
        EXPECT_EQ(inside, code == FitSpline ? 552 : 702);  // 2,5 .. 8,0 and 3,25 twice
    }
    CCurveFit spline;
    spline.SetPoints(x, y);
    ASSERT_TRUE(spline.Fit(FitSpline));
    std::vector<double> atKnots(x.size());
    spline.ValuesAscending(x.data(), static_cast<int>(x.size()), atKnots.data());
    EXPECT_EQ(atKnots, y);
    // One knot: nothing to scan.
    CCurveFit one;
    one.SetPoints({10}, {2});
    ASSERT_TRUE(one.Fit(FitSpline));
    double v = 0.0;
    const double at = 10.0;
    one.ValuesAscending(&at, 1, &v);
    EXPECT_TRUE(std::isnan(v));
}
