#pragma once
// The four-test athlete of the history tests, and the independent arithmetic that checks it: a
// least-squares cubic by normal equations, its level crossing by bisection and its Dmax by the
// quadratic formula.
#include "data/Records.h"
#include "data/TRVDoc.h"

#include <array>
#include <cmath>
#include <vector>

namespace trvtest::history {

using trv::COleDateTime;
using trv::PCMDataType;
using trv::TestDataType;

inline PCMDataType Reading(int type, double lactate, int hr, const COleDateTime& t) {
    PCMDataType m;
    m.m_nMeasType = static_cast<uint8_t>(type);
    m.m_nLactate = static_cast<uint16_t>(std::lround(lactate * 10));
    m.m_nHeartRate = hr;
    m.m_nStatus = trv::StatusNormal;
    m.m_bChecked = 1;
    m.m_Time = t;
    return m;
}

// A step test with individual loads (given in the unit's own numbers: km/h or W), readings three
// minutes apart from `start`.
inline TestDataType StepTest(int type, int unit, const COleDateTime& start, const std::vector<double>& loads,
                             const std::vector<double>& lactates, const std::vector<int>& hr) {
    TestDataType t;
    t.m_nTestType = type;
    t.m_nLoadUnit = unit;
    t.m_bIndividualLoads = 1;
    t.m_bParamsEntered = 1;
    t.m_nDurationSource = trv::SourceManual;
    for (size_t i = 0; i < loads.size(); ++i) {
        PCMDataType m = Reading(trv::MeasLoad, lactates[i], hr[i], COleDateTime(start.m_dt + i * 3.0 / 1440.0));
        if (unit == trv::UnitWatt)
            m.m_dPower = loads[i];
        else
            m.m_dSpeed = unit == trv::UnitKmh ? loads[i] / 3.6 : loads[i];
        t.m_Steps.push_back(m);
    }
    t.m_Steps.front().m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

inline COleDateTime Day(int y, int mo, int d) { return COleDateTime::FromParts(y, mo, d, 9, 30, 0); }

// Lactates of the two treadmill tests are piecewise linear, so that the two-break segmented fit has
// its exact breaks at measured loads: 10 and 16 km/h in March, 12 and 16 km/h in September.
const std::vector<double> kRun = {8, 10, 12, 14, 16, 18};
const std::vector<double> kMarch = {1.0, 1.2, 2.0, 2.8, 3.6, 6.0};
const std::vector<double> kSeptember = {1.0, 1.1, 1.2, 2.0, 2.8, 4.4};
const std::vector<int> kMarchHr = {130, 140, 150, 160, 170, 180};
const std::vector<int> kSeptemberHr = {125, 135, 145, 155, 165, 175};
const std::vector<double> kBike = {100, 150, 200, 250, 300};
const std::vector<double> kBikeLactate = {1.0, 1.1, 1.4, 2.1, 3.4};  // never reaches 4 mmol/l
const std::vector<int> kBikeHr = {110, 125, 140, 155, 170};
const std::vector<double> kField = {10, 11, 12, 13, 14};
const std::vector<double> kFieldLactate = {1.5, 2.0, 3.0, 4.5, 7.0};
const std::vector<int> kFieldHr = {150, 160, 170, 180, 190};

// Document order: a single reading, September treadmill, March treadmill, a field test at the very
// same time as March, the February ergometer, a step test whose parameters were never entered.
// Oldest first that is ergometer (4), March (2), field (3), September (1).
inline trv::CTRVDoc Athlete() {
    trv::CTRVDoc doc;
    TestDataType single;
    single.m_Steps.push_back(Reading(trv::MeasSingle, 2.0, 0, Day(2024, 1, 5)));
    doc.m_Tests.push_back(single);
    doc.m_Tests.push_back(StepTest(trv::TestTreadmill, trv::UnitKmh, Day(2024, 9, 1), kRun, kSeptember, kSeptemberHr));
    doc.m_Tests.push_back(StepTest(trv::TestTreadmill, trv::UnitKmh, Day(2024, 3, 1), kRun, kMarch, kMarchHr));
    doc.m_Tests.push_back(StepTest(trv::TestField, trv::UnitKmh, Day(2024, 3, 1), kField, kFieldLactate, kFieldHr));
    doc.m_Tests.push_back(StepTest(trv::TestErgometer, trv::UnitWatt, Day(2024, 2, 1), kBike, kBikeLactate, kBikeHr));
    TestDataType open = StepTest(trv::TestTreadmill, trv::UnitKmh, Day(2023, 1, 1), kRun, kMarch, kMarchHr);
    open.m_bParamsEntered = 0;
    doc.m_Tests.push_back(open);
    return doc;
}

// y = c0 + c1 x + c2 x^2 + c3 x^3 by least squares (normal equations, Gaussian elimination).
inline std::array<double, 4> LsCubic(const std::vector<double>& x, const std::vector<double>& y) {
    long double a[4][5] = {};
    for (size_t k = 0; k < x.size(); ++k) {
        long double p[4] = {1, x[k], x[k] * x[k], x[k] * x[k] * x[k]};
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) a[i][j] += p[i] * p[j];
            a[i][4] += p[i] * y[k];
        }
    }
    for (int c = 0; c < 4; ++c)
        for (int r = c + 1; r < 4; ++r) {
            const long double f = a[r][c] / a[c][c];
            for (int j = c; j < 5; ++j) a[r][j] -= f * a[c][j];
        }
    std::array<double, 4> out{};
    for (int r = 3; r >= 0; --r) {
        long double s = a[r][4];
        for (int j = r + 1; j < 4; ++j) s -= a[r][j] * out[j];
        out[r] = static_cast<double>(s / a[r][r]);
    }
    return out;
}

inline double Cubic(const std::array<double, 4>& c, double x) { return c[0] + x * (c[1] + x * (c[2] + x * c[3])); }

// The load in [lo, hi] where the cubic reaches `level`, rising (one sign change expected).
inline double Crossing(const std::array<double, 4>& c, double level, double lo, double hi) {
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (Cubic(c, mid) < level ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

// The Dmax load of the cubic against the line from the first to the last point.
inline double Dmax(const std::array<double, 4>& c, const std::vector<double>& x, const std::vector<double>& y) {
    const double x1 = x.front(), xn = x.back();
    const double beta = (y.back() - y.front()) / (xn - x1);
    // c1 + 2 c2 x + 3 c3 x^2 = beta
    const double A = 3 * c[3], B = 2 * c[2], C = c[1] - beta;
    const double d = std::sqrt(B * B - 4 * A * C);
    double best = NAN, bestDist = 0;
    for (double r : {(-B + d) / (2 * A), (-B - d) / (2 * A)}) {
        if (!(r > x1 && r < xn)) continue;
        const double dist = y.front() + beta * (r - x1) - Cubic(c, r);
        if (dist > bestDist) best = r, bestDist = dist;
    }
    return best;
}

// Heart rate by straight lines between the readings (loads ascending).
inline double HrAt(const std::vector<double>& x, const std::vector<int>& hr, double load) {
    size_t k = 1;
    while (k + 1 < x.size() && x[k] < load) ++k;
    return hr[k - 1] + (hr[k] - hr[k - 1]) * (load - x[k - 1]) / (x[k] - x[k - 1]);
}

}  // namespace trvtest::history
