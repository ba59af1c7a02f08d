#include "analysis/IansThreshold.h"

#include "analysis/ChartModel.h"
#include "analysis/CurveFit.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <climits>
#include <cmath>

namespace trv {

namespace {

constexpr int kMaxHalvings = 100;
constexpr double kTolerance = 0.001;

int32_t WholeSeconds(double s) {
    if (!std::isfinite(s) || s <= 0.0) return 0;
    if (s >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(s);  // truncates toward zero
}

}  // namespace

bool TangentAngle(int model, int loadUnit, double& angle) {
    if (loadUnit != UnitKmh && loadUnit != UnitMs) return false;
    if (model == ModelKeul)
        angle = loadUnit == UnitKmh ? 51.34 : 77.34;
    else if (model == ModelSimon)
        angle = loadUnit == UnitKmh ? 45.0 : 74.29;
    else
        return false;
    return true;
}

double TangentSlope(double angleDegrees) { return std::tan(angleDegrees * 3.14159265 / 180.0); }

bool FindMaderThreshold(const CCurveFit& fit, double lo, double hi, double& load) {
    int count = 0;
    double mid = lo;
    for (;;) {
        ++count;
        mid = (lo + hi) / 2.0;
        double v = 0.0;
        if (!fit.Value(mid, v)) {
            load = mid;
            return false;
        }
        const double d = v - kMaderLactate;
        if (v < kMaderLactate)
            lo = mid;
        else
            hi = mid;
        if (std::fabs(d) <= kTolerance || count >= kMaxHalvings) break;
    }
    load = mid;
    return count < kMaxHalvings;
}

bool FindTangentThreshold(const CCurveFit& fit, double slope, double lo, double hi, double& load) {
    if (fit.m_nFitCode != FitCubic) return false;
    const auto& a = fit.m_adCoeff;
    int count = 0;
    double mid = lo;
    for (;;) {
        ++count;
        mid = (hi + lo) / 2.0;
        const double p = PolyDerivative(a[1], a[2], a[3], mid);
        const double d = p - slope;
        if (slope <= p)
            hi = mid;
        else
            lo = mid;
        if (std::fabs(d) <= kTolerance || count >= kMaxHalvings) break;
    }
    load = mid;
    return count < kMaxHalvings;
}

double HeartRateAt(const ChartSeries& hr, double load) {
    const int n = hr.Count();
    if (n < 2) return -1.0;
    int k = 0;
    while (k < n && !(hr.points[k].x >= load)) ++k;
    if (k == n) return -1.0;
    const int lo = k == 0 ? 0 : k - 1;
    const int hi = k == 0 ? 1 : k;
    const ChartPoint& a = hr.points[lo];
    const ChartPoint& b = hr.points[hi];
    if (b.x == a.x) return -1.0;
    const double slope = (b.y - a.y) / (b.x - a.x);
    const double intercept = a.y - a.x * slope;
    const double h = slope * load + intercept;
    return std::isfinite(h) ? h : -1.0;
}

void FieldTimes(double load, int loadUnit, double trackLength, int32_t& time1000, int32_t& timeTrack) {
    double v = 0.0;
    if (loadUnit == UnitKmh)
        v = load / 3.6;
    else if (loadUnit == UnitMs)
        v = load;
    if (!(v > 0.0) || !std::isfinite(v)) {
        time1000 = 0;
        timeTrack = 0;
        return;
    }
    time1000 = WholeSeconds(1000.0 / v);
    timeTrack = WholeSeconds(trackLength / v);
}

bool DetermineThreshold(const TestDataType& test, TestAnalysis& an, const CCurveFit& fit, const ChartSeries& curve,
                        const ChartSeries& hr, bool hrActive) {
    const double lo = curve.MinX();
    const double hi = curve.MaxX();
    bool ok = false;
    if (an.m_nThresholdModel == ModelMader) {
        double load = 0.0;
        ok = FindMaderThreshold(fit, lo, hi, load);
        an.m_dIansLoad = load;
        an.m_dIansLactate = kMaderLactate;
        an.m_dMaderLactate = kMaderLactate;
    } else if (an.m_nThresholdModel == ModelKeul || an.m_nThresholdModel == ModelSimon) {
        double angle = 0.0;
        if (fit.m_nFitCode == FitCubic && TangentAngle(an.m_nThresholdModel, test.m_nLoadUnit, angle)) {
            double load = 0.0;
            ok = FindTangentThreshold(fit, TangentSlope(angle), lo, hi, load);
            const auto& a = fit.m_adCoeff;
            an.m_dIansLoad = load;
            an.m_dIansLactate = PolyValue(a[0], a[1], a[2], a[3], load);
            an.m_dTangentAngle = angle;
        }
    }
    if (!std::isfinite(an.m_dIansLoad) || !std::isfinite(an.m_dIansLactate)) {
        ok = false;
        an.m_dIansLoad = 0.0;
        an.m_dIansLactate = 0.0;
    }
    an.m_bIansFailed = ok ? 0 : 1;
    an.m_dIansHeartRate = ok && hrActive ? HeartRateAt(hr, an.m_dIansLoad) : -1.0;
    // The running times follow the threshold load of every field-test run, determinable or not
    // (a failed search leaves its last midpoint there); only the heart rate waits for success.
    if (test.m_nTestType == TestField)
        FieldTimes(an.m_dIansLoad, test.m_nLoadUnit, test.m_dTrackLength, an.m_nTime1000, an.m_nTimeTrack);
    an.m_bEvaluated = 1;
    return ok;
}

const char* LoadSymbol(int loadUnit) { return loadUnit == UnitWatt ? "P" : "v"; }

std::string ResultText(const TestDataType& test, const TestAnalysis& an) {
    const char* sym = LoadSymbol(test.m_nLoadUnit);
    const char* unit = LoadUnitText(test.m_nLoadUnit);
    // First text id of each block: header, load, lactate (+ two time lines for the field test).
    int first = IDS_RES_MADER;
    const bool field = test.m_nTestType == TestField;
    if (field)
        first = an.m_nThresholdModel == ModelKeul    ? IDS_RES_FIELD_KEUL
                : an.m_nThresholdModel == ModelSimon ? IDS_RES_FIELD_SIMON
                                                     : IDS_RES_FIELD_MADER;
    else
        first = an.m_nThresholdModel == ModelKeul    ? IDS_RES_KEUL
                : an.m_nThresholdModel == ModelSimon ? IDS_RES_SIMON
                                                     : IDS_RES_MADER;
    std::string s = an.m_nThresholdModel == ModelMader ? std::string(LoadStr(first)) : FmtId(first, an.m_dTangentAngle);
    s += FmtId(first + 1, sym, an.m_dIansLoad, unit);
    s += FmtId(first + 2, an.m_dIansLactate);
    if (field) {
        s += FmtId(first + 3, an.m_nTime1000 / 60, an.m_nTime1000 % 60);
        s += FmtId(first + 4, test.m_dTrackLength, an.m_nTimeTrack / 60, an.m_nTimeTrack % 60);
    }
    if (an.m_dIansHeartRate != -1.0) s += FmtId(IDS_RES_HEART_RATE, an.m_dIansHeartRate);
    return s;
}

std::string PrintedResultText(const TestDataType& test, const TestAnalysis& an) {
    if (an.m_bIansFailed || !an.m_bEvaluated) return LoadStr(IDS_PRN_NO_IANS);
    const std::string hr = an.m_dIansHeartRate != -1.0 ? FmtId(IDS_PRN_HEART_RATE, an.m_dIansHeartRate) : std::string();
    const char* unit = LoadUnitText(test.m_nLoadUnit);
    if (test.m_nTestType == TestField)
        return FmtId(IDS_PRN_RESULT_FIELD, an.m_dIansLactate, an.m_dIansLoad, unit, an.m_nTime1000 / 60,
                     an.m_nTime1000 % 60, test.m_dTrackLength, an.m_nTimeTrack / 60, an.m_nTimeTrack % 60, hr.c_str());
    return FmtId(IDS_PRN_RESULT, an.m_dIansLactate, an.m_dIansLoad, unit, hr.c_str());
}

std::string CursorText(int cursor, const TestDataType& test, double x, double y, const ChartSeries& hr) {
    const char* sym = LoadSymbol(test.m_nLoadUnit);
    const char* unit = LoadUnitText(test.m_nLoadUnit);
    const double h = HeartRateAt(hr, x);
    const std::string hrText = h != -1.0 ? FmtId(IDS_CURSOR_HEART_RATE, h) : std::string();
    if (!std::isfinite(x) || !std::isfinite(y)) return std::string();
    if (test.m_nTestType == TestField) {
        int32_t t1000 = 0;
        int32_t tTrack = 0;
        FieldTimes(x, test.m_nLoadUnit, test.m_dTrackLength, t1000, tTrack);
        return FmtId(cursor == 2 ? IDS_CURSOR2_FIELD : IDS_CURSOR1_FIELD, sym, x, unit, y, test.m_dTrackLength,
                     tTrack / 60, tTrack % 60, t1000 / 60, t1000 % 60, hrText.c_str());
    }
    return FmtId(cursor == 2 ? IDS_CURSOR2 : IDS_CURSOR1, sym, x, unit, y, hrText.c_str());
}

}  // namespace trv
