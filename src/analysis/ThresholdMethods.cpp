#include "analysis/ThresholdMethods.h"

#include "analysis/ChartModel.h"
#include "analysis/CurveFit.h"
#include "analysis/CurveRules.h"
#include "analysis/Evaluator.h"
#include "analysis/ExpFit.h"
#include "analysis/SegmentedFit.h"
#include "analysis/StepTest.h"
#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

namespace trv {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const std::vector<MethodInfo> kCatalogue = {
    {"ians", IDS_METHOD_IANS},        {"obla_2.0", IDS_METHOD_OBLA_20},  {"obla_2.5", IDS_METHOD_OBLA_25},
    {"obla_3.0", IDS_METHOD_OBLA_30}, {"obla_3.5", IDS_METHOD_OBLA_35},  {"obla_4.0", IDS_METHOD_OBLA_40},
    {"bsln_0.5", IDS_METHOD_BSLN_05}, {"bsln_1.0", IDS_METHOD_BSLN_10},  {"bsln_1.5", IDS_METHOD_BSLN_15},
    {"dmax", IDS_METHOD_DMAX},        {"moddmax", IDS_METHOD_MODDMAX},   {"expdmax", IDS_METHOD_EXPDMAX},
    {"loglog", IDS_METHOD_LOGLOG},    {"ltp1", IDS_METHOD_LTP1},         {"ltp2", IDS_METHOD_LTP2},
    {"ltratio", IDS_METHOD_LTRATIO},  {"dickhuth", IDS_METHOD_DICKHUTH}, {"stegmann", IDS_METHOD_STEGMANN},
};

// Why a method is not determinable: a string id, with the level it did not reach where the text
// names one. Written out only when a caller wants texts.
struct Why {
    int id = -1;  // -1: no text
    double level = kNaN;
    std::string Text() const {
        if (id < 0) return std::string();
        return std::isnan(level) ? LoadStr(id) : FmtId(id, level);
    }
};

// Everything the methods of one test share, computed once.
class CMethods {
public:
    // `exp`: the exponential fit's grid for these loads, made by the caller (none: made here).
    // `loadsOnly`: the results carry loads and lactates only (no labels, reasons, heart rates), and
    // loglog, ltp1 and ltp2 are left undetermined.
    explicit CMethods(const ThresholdInput& in, CExpFitGrid* exp = nullptr, bool loadsOnly = false);
    void Run(TestThresholds& out, const ZoneScheme& scheme);
    // `x` as a method's load: NaN outside [x1, xn] or where the fit has no lactate there.
    double AcceptedLoad(double x) const {
        const MethodResult r = Result(0, x, Why{});
        return r.ok ? *r.load : kNaN;
    }

private:
    double F(double x) const {
        double v = 0.0;
        return m_bFit && m_Fit.Value(x, v) ? v : kNaN;
    }
    // f'(x): the cubic's derivative, or the spline's on the interval that its value uses.
    double FDerivative(double x) const;
    // A determinable result at `load` (lactate f(load) unless given); not determinable when the load
    // or the lactate is not finite or below 0 (a fit that dips under the readings) or the load lies
    // outside [x1, xn].
    MethodResult Result(size_t method, std::optional<double> load, const Why& reason,
                        std::optional<double> lactate = std::nullopt) const;
    MethodResult Level(size_t method, double level) const;
    MethodResult Dmax(size_t method, size_t start) const;
    MethodResult ExpDmax() const;
    MethodResult LogLog() const;
    void Ltp(MethodResult& ltp1, MethodResult& ltp2) const;
    MethodResult LtRatio() const;
    MethodResult Stegmann() const;
    void Zones(TestThresholds& out, const ZoneScheme& scheme) const;

    const ThresholdInput& m_In;
    CExpFitGrid* m_pExp;
    bool m_bLoadsOnly;
    bool m_bSegmented;
    size_t m_n;
    double m_x1 = 0.0, m_xn = 0.0;
    CCurveFit m_Fit;
    bool m_bFit = false;
    std::unique_ptr<CSampledCurve> m_pF;
    std::vector<double> m_scanX, m_scanF;  // the scan loads and f there (with m_pF)
    CLsCubic m_P;
    bool m_bP = false;
    CHeartRateCurve m_Hr;
    std::vector<double> m_tx, m_ty;  // the points resampled at the scan loads
};

CMethods::CMethods(const ThresholdInput& in, CExpFitGrid* exp, bool loadsOnly)
    : m_In(in), m_pExp(exp), m_bLoadsOnly(loadsOnly), m_bSegmented(in.segmentedFits && !loadsOnly), m_n(in.x.size()) {
    if (m_n == 0) return;
    m_x1 = in.x.front();
    m_xn = in.x.back();
    if (!loadsOnly) m_Hr.Set(in.x, in.heartRate);
    // The cubic as the chart fits it needs four points here: through three it is not determined.
    m_Fit.SetPoints(in.x, in.y);
    m_bFit = !(in.fitFunction == FitCubic && m_n < 4) && m_Fit.Fit(in.fitFunction);
    if (m_bFit && m_xn > m_x1) {
        // f on the scan loads once: the level crossings and the ratio f(x)/x read these values.
        m_scanX.resize(kScanIntervals + 1);
        m_scanF.resize(kScanIntervals + 1);
        CSampledCurve::ScanLoads(m_x1, m_xn, m_scanX.data());
        m_Fit.ValuesAscending(m_scanX.data(), kScanIntervals + 1, m_scanF.data());
        m_pF = std::make_unique<CSampledCurve>([this](double x) { return F(x); }, m_x1, m_xn, m_scanF.data());
    }
    m_bP = m_n >= 4 && m_P.Fit(in.x, in.y);
    if (m_bSegmented) ResamplePoints(in.x, in.y, m_tx, m_ty);
}

double CMethods::FDerivative(double x) const {
    if (!m_bFit) return kNaN;
    if (m_Fit.m_nFitCode == FitCubic) {
        const auto& a = m_Fit.m_adCoeff;
        return PolyDerivative(a[1], a[2], a[3], x);
    }
    const auto& kx = m_Fit.m_x;
    const auto& ky = m_Fit.m_y;
    int i = -1;
    for (int k = 0; k + 1 < m_Fit.PointCount(); ++k)
        if (kx[k] <= x && kx[k + 1] >= x) i = k;
    if (i < 0) return kNaN;
    const double h = m_Fit.m_h[i];
    const double t = (x - kx[i]) / h;
    const double u = 1.0 - t;
    return (ky[i + 1] - ky[i]) / h +
           ((1.0 - 3.0 * u * u) * m_Fit.m_M[i] + (3.0 * t * t - 1.0) * m_Fit.m_M[i + 1]) * h / 6.0;
}

MethodResult CMethods::Result(size_t method, std::optional<double> load, const Why& reason,
                              std::optional<double> lactate) const {
    MethodResult r;
    r.id = kCatalogue[method].id;
    if (!m_bLoadsOnly) r.label = LoadStr(kCatalogue[method].label);
    if (!load) {
        if (!m_bLoadsOnly) r.reason = reason.Text();
        return r;
    }
    double x = *load;
    // Rounding of a unit conversion may put a result at an end a hair outside the range.
    const double slack = 1e-9 * std::max(m_xn - m_x1, 1e-12);
    if (x < m_x1 && x >= m_x1 - slack) x = m_x1;
    if (x > m_xn && x <= m_xn + slack) x = m_xn;
    if (!std::isfinite(x) || x < m_x1 || x > m_xn) {
        if (!m_bLoadsOnly) r.reason = LoadStr(IDS_WHY_OUTSIDE);
        return r;
    }
    const double lac = lactate ? *lactate : F(x);
    if (!std::isfinite(lac)) {
        if (!m_bLoadsOnly) r.reason = m_bFit ? LoadStr(IDS_WHY_OUTSIDE) : LoadStr(IDS_WHY_NO_FIT);
        return r;
    }
    // A hair below 0 is the rounding of a fit through a reading of 0,0 mmol/l.
    if (lac < -1e-9) {
        if (!m_bLoadsOnly) r.reason = LoadStr(IDS_WHY_NEGATIVE_LACTATE);
        return r;
    }
    r.ok = true;
    r.load = x;
    r.lactate = std::max(lac, 0.0);
    if (!m_bLoadsOnly) r.heartRate = m_Hr.At(x);
    return r;
}

MethodResult CMethods::Level(size_t method, double level) const {
    if (!m_pF) return Result(method, std::nullopt, Why{IDS_WHY_NO_FIT});
    const std::optional<double> x = m_pF->LevelCrossing(level);
    return Result(method, x, Why{IDS_WHY_NOT_REACHED, level}, level);
}

MethodResult CMethods::Dmax(size_t method, size_t start) const {
    if (!m_bP) return Result(method, std::nullopt, Why{IDS_WHY_FEW_POINTS_CUBIC});
    const auto x = DmaxRule(m_P, m_In.x[start], m_In.y[start], m_xn, m_In.y.back());
    return Result(method, x, Why{IDS_WHY_NO_DMAX});
}

MethodResult CMethods::ExpDmax() const {
    const size_t id = 11;
    if (m_n < 4) return Result(id, std::nullopt, Why{IDS_WHY_FEW_POINTS_CUBIC});
    const ExpFitResult e = m_pExp ? m_pExp->Fit(m_In.y) : FitExponential(m_In.x, m_In.y);
    if (e.status != ExpFitResult::Ok) return Result(id, std::nullopt, Why{IDS_WHY_NO_EXP});
    const double x = e.DmaxLoad();
    return Result(id, x, Why{IDS_WHY_NO_EXP}, e.Value(x));
}

MethodResult CMethods::LogLog() const {
    const size_t id = 12;
    if (!(m_x1 > 0.0) || std::any_of(m_In.y.begin(), m_In.y.end(), [](double v) { return !(v > 0.0); }))
        return Result(id, std::nullopt, Why{IDS_WHY_NOT_POSITIVE});
    std::vector<double> lx(m_tx.size()), ly(m_ty.size());
    for (size_t j = 0; j < m_tx.size(); ++j) {
        lx[j] = std::log(m_tx[j]);
        ly[j] = std::log(m_ty[j]);
    }
    const CSegmentedFit seg(lx, ly);
    const SegmentedFitResult r = seg.FitOne(lx[50], lx[950]);
    if (!r.ok) return Result(id, std::nullopt, Why{IDS_WHY_NO_FIT});
    return Result(id, std::exp(r.break1), Why{IDS_WHY_NO_FIT});
}

void CMethods::Ltp(MethodResult& ltp1, MethodResult& ltp2) const {
    if (m_n < 4) {
        ltp1 = Result(13, std::nullopt, Why{IDS_WHY_FEW_POINTS_CUBIC});
        ltp2 = Result(14, std::nullopt, Why{IDS_WHY_FEW_POINTS_CUBIC});
        return;
    }
    const CSegmentedFit seg(m_tx, m_ty);
    const SegmentedFitResult r = seg.FitTwo(m_tx[50], m_tx[950], 50.0 * (m_xn - m_x1) / kScanIntervals);
    ltp1 = Result(13, r.ok ? std::optional<double>(r.break1) : std::nullopt, Why{IDS_WHY_NO_FIT});
    ltp2 = Result(14, r.ok ? std::optional<double>(r.break2) : std::nullopt, Why{IDS_WHY_NO_FIT});
}

MethodResult CMethods::LtRatio() const {
    const size_t id = 15;
    if (!m_pF) return Result(id, std::nullopt, Why{IDS_WHY_NO_FIT});
    if (!(m_x1 > 0.0)) return Result(id, std::nullopt, Why{IDS_WHY_NOT_POSITIVE});
    std::array<double, kScanIntervals + 1> values;
    for (size_t j = 0; j < values.size(); ++j) values[j] = m_scanF[j] / m_scanX[j];
    const CSampledCurve ratio([this](double x) { return F(x) / x; }, m_x1, m_xn, values.data());
    bool atStart = false;
    // (f(x)/x)' has the sign of x f'(x) - f(x).
    const std::optional<double> x =
        SmallestOnScan(ratio, atStart, [this](double v) { return v * FDerivative(v) - F(v); });
    if (atStart) return Result(id, std::nullopt, Why{IDS_WHY_RATIO_AT_START});
    return Result(id, x, Why{IDS_WHY_NO_FIT});
}

MethodResult CMethods::Stegmann() const {
    const size_t id = 17;
    if (!m_bP) return Result(id, std::nullopt, Why{IDS_WHY_FEW_POINTS_CUBIC});
    const auto& rec = m_In.recovery;
    if (rec.empty()) return Result(id, std::nullopt, Why{IDS_WHY_NO_POST_LOAD});
    const double lend = m_In.y.back();
    size_t p = 0;
    for (size_t j = 1; j < rec.size(); ++j)
        if (rec[j].second > rec[p].second) p = j;
    if (!(rec[p].second > lend)) return Result(id, std::nullopt, Why{IDS_WHY_NO_RECOVERY});
    size_t j = p + 1;
    while (j < rec.size() && rec[j].second > lend) ++j;
    if (j >= rec.size()) return Result(id, std::nullopt, Why{IDS_WHY_NO_RECOVERY});
    const auto [t0, r0] = rec[j - 1];
    const auto [t1, r1] = rec[j];
    const double tau = t0 + (r0 - lend) * (t1 - t0) / (r0 - r1);
    if (!(m_In.lastStepSeconds > 0.0)) return Result(id, std::nullopt, Why{IDS_WHY_NO_DURATION});
    const double rate = (m_xn - m_In.x[m_n - 2]) / m_In.lastStepSeconds;
    const double xa = m_xn + rate * tau;
    if (!(m_xn > m_x1)) return Result(id, std::nullopt, Why{IDS_WHY_SAME_LOADS});
    const CSampledCurve g([&](double x) { return m_P.Value(x) + m_P.Derivative(x) * (xa - x); }, m_x1, m_xn);
    const std::optional<double> x = g.LevelCrossing(lend);
    return Result(id, x, Why{IDS_WHY_NO_TANGENT}, x ? std::optional<double>(m_P.Value(*x)) : std::nullopt);
}

void CMethods::Zones(TestThresholds& out, const ZoneScheme& scheme) const {
    const MethodResult& anchor = out.methods.front();
    if (!anchor.ok || !CheckZoneScheme(scheme).empty()) return;
    auto boundary = [&](double pct, std::optional<double>& load, std::optional<double>& hr,
                        std::optional<double>& lactate) {
        load = pct / 100.0 * *anchor.load;
        hr = m_Hr.At(*load);
        const double lac = F(*load);
        if (std::isfinite(lac)) lactate = lac;
    };
    const size_t k = scheme.zones.size();
    for (size_t i = 0; i < k; ++i) {
        ZoneResult z;
        z.code = scheme.zones[i].code;
        z.name = scheme.zones[i].name;
        if (i > 0) {
            z.fromPct = scheme.bounds[i - 1];
            boundary(*z.fromPct, z.loadFrom, z.heartRateFrom, z.lactateFrom);
        }
        if (i + 1 < k) {
            z.toPct = scheme.bounds[i];
            boundary(*z.toPct, z.loadTo, z.heartRateTo, z.lactateTo);
        }
        out.zones.push_back(z);
    }
}

void CMethods::Run(TestThresholds& out, const ZoneScheme& scheme) {
    out.methods.clear();
    out.zones.clear();
    const size_t count = kCatalogue.size();
    if (m_n < 3) {
        for (size_t i = 0; i < count; ++i) out.methods.push_back(Result(i, std::nullopt, Why{IDS_WHY_FEW_POINTS}));
        return;
    }
    out.baseline = m_In.preLoad.empty()
                       ? m_In.y.front()
                       : std::accumulate(m_In.preLoad.begin(), m_In.preLoad.end(), 0.0) / m_In.preLoad.size();
    if (!(m_xn > m_x1)) {
        for (size_t i = 0; i < count; ++i) out.methods.push_back(Result(i, std::nullopt, Why{IDS_WHY_SAME_LOADS}));
        return;
    }
    if (m_bFit) {
        const double mean = std::accumulate(m_In.y.begin(), m_In.y.end(), 0.0) / static_cast<double>(m_n);
        double ssTot = 0.0, ssRes = 0.0;
        for (size_t i = 0; i < m_n; ++i) {
            ssTot += (m_In.y[i] - mean) * (m_In.y[i] - mean);
            const double e = m_In.y[i] - F(m_In.x[i]);
            ssRes += e * e;
        }
        if (ssTot > 0.0 && std::isfinite(ssRes)) out.fit.r2 = m_In.fitFunction == FitSpline ? 1.0 : 1.0 - ssRes / ssTot;
    }
    if (m_bP && m_n > 4) out.fit.residualError = std::sqrt(m_P.ResidualSum() / static_cast<double>(m_n - 4));

    out.methods.push_back(m_In.iansOk ? Result(0, m_In.iansLoad, Why{IDS_WHY_NO_IANS}, m_In.iansLactate)
                                      : Result(0, std::nullopt, Why{IDS_WHY_NO_IANS}));
    const double levels[] = {2.0, 2.5, 3.0, 3.5, 4.0};
    for (size_t i = 0; i < 5; ++i) out.methods.push_back(Level(1 + i, levels[i]));
    const double plus[] = {0.5, 1.0, 1.5};
    for (size_t i = 0; i < 3; ++i) out.methods.push_back(Level(6 + i, *out.baseline + plus[i]));
    out.methods.push_back(Dmax(9, 0));
    size_t start = m_n;
    for (size_t i = 0; i + 1 < m_n && start == m_n; ++i)
        if (m_In.tenths[i + 1] - m_In.tenths[i] >= 4) start = i;
    out.methods.push_back(start < m_n
                              ? Dmax(10, start)
                              : Result(10, std::nullopt, Why{m_bP ? IDS_WHY_NO_RISE : IDS_WHY_FEW_POINTS_CUBIC}));
    out.methods.push_back(ExpDmax());
    out.methods.push_back(m_bSegmented ? LogLog() : Result(12, std::nullopt, Why{}));
    MethodResult ltp1, ltp2;
    if (m_bSegmented) {
        Ltp(ltp1, ltp2);
    } else {
        ltp1 = Result(13, std::nullopt, Why{});
        ltp2 = Result(14, std::nullopt, Why{});
    }
    out.methods.push_back(ltp1);
    out.methods.push_back(ltp2);
    const MethodResult ratio = LtRatio();
    out.methods.push_back(ratio);
    if (ratio.ok)
        out.methods.push_back(Level(16, *ratio.lactate + 1.5));
    else
        out.methods.push_back(Result(16, std::nullopt, Why{IDS_WHY_NO_RATIO}));
    out.methods.push_back(Stegmann());
    if (!m_bLoadsOnly) Zones(out, scheme);
}

// Seconds from `from` to `to`, rounded; NaN when either is not a valid time.
double SecondsBetween(const COleDateTime& from, const COleDateTime& to) {
    if (!from.IsValid() || !to.IsValid()) return kNaN;
    return std::round((to.m_dt - from.m_dt) * 86400.0);
}

}  // namespace

const std::vector<MethodInfo>& MethodCatalogue() { return kCatalogue; }

int MethodIndex(const std::string& id) {
    for (size_t i = 0; i < kCatalogue.size(); ++i)
        if (id == kCatalogue[i].id) return static_cast<int>(i);
    return -1;
}

const MethodResult* TestThresholds::Find(const std::string& id) const {
    for (const MethodResult& m : methods)
        if (m.id == id) return &m;
    return nullptr;
}

double LoadInTestUnit(double stored, int loadUnit) { return loadUnit == UnitKmh ? stored * 3.6 : stored; }

ThresholdInput ThresholdInputOf(const TestDataType& test, int fit, int model) {
    ThresholdInput in;
    in.testType = test.m_nTestType;
    in.loadUnit = test.m_nLoadUnit;
    in.fitFunction = fit;
    const double toStored = test.m_nLoadUnit == UnitKmh ? 1.0 / 3.6 : 1.0;

    struct Point {
        double x, y, hr;
        int tenths;
        size_t step;
        double chartX;  // the load as the chart draws it (the test's unit)
        size_t chartIndex;
    };
    std::vector<Point> points;
    COleDateTime reference(0.0, COleDateTime::invalid);
    for (size_t k = 0; k < test.m_Steps.size(); ++k) {
        const PCMDataType& m = test.m_Steps[k];
        if (!m.m_bChecked) continue;
        if (m.m_nMeasType == MeasPreLoad) in.preLoad.push_back(m.m_nLactate / 10.0);
        if (m.m_nMeasType != MeasLoad) continue;
        double x = test.m_nLoadUnit == UnitWatt ? m.m_dPower : m.m_dSpeed;
        double comp = 0.0;
        if (CompensatedLoad(test, static_cast<int>(k), LoadInUnit(m, test.m_nLoadUnit), comp)) x = comp * toStored;
        if (!std::isfinite(x)) x = 0.0;
        double chartX = LoadInUnit(m, test.m_nLoadUnit);
        if (!std::isfinite(chartX)) chartX = 0.0;
        if (CompensatedLoad(test, static_cast<int>(k), chartX, comp)) chartX = comp;
        points.push_back(
            {x, m.m_nLactate / 10.0, static_cast<double>(m.m_nHeartRate), m.m_nLactate, k, chartX, points.size()});
        if (m.m_Time.IsValid() && (!reference.IsValid() || m.m_Time.m_dt > reference.m_dt)) reference = m.m_Time;
    }
    std::stable_sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    for (const Point& p : points) {
        in.x.push_back(p.x);
        in.y.push_back(p.y);
        in.heartRate.push_back(p.hr);
        in.tenths.push_back(p.tenths);
        in.ids.push_back(test.m_Steps[p.step].m_nMeasId);
        in.rows.push_back(static_cast<int>(p.step));
    }
    in.chartOrder.assign(points.size(), 0);
    in.chartLoads.assign(points.size(), 0.0);
    for (size_t s = 0; s < points.size(); ++s) {
        in.chartOrder[points[s].chartIndex] = s;
        in.chartLoads[points[s].chartIndex] = points[s].chartX;
    }
    in.model = model;
    in.paramsEntered = test.m_bParamsEntered != 0;
    if (!points.empty()) {
        const PCMDataType& last = test.m_Steps[points.back().step];
        in.lastStepSeconds = test.m_nDurationSource == SourcePc ? test.m_nPcStepDuration : last.m_nStepDuration;
    }
    for (const PCMDataType& m : test.m_Steps) {
        if (!m.m_bChecked || m.m_nMeasType != MeasPostLoad) continue;
        const double tau = SecondsBetween(reference, m.m_Time);
        if (std::isfinite(tau)) in.recovery.emplace_back(tau, m.m_nLactate / 10.0);
    }
    std::stable_sort(in.recovery.begin(), in.recovery.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    // The chart's IANS: the test alone in a document, evaluated as the chart evaluates a shown test.
    CTRVDoc doc;
    doc.m_Tests.push_back(test);
    TestDataType& alone = doc.m_Tests.front();
    alone.m_bShowInChart = 1;
    TestAnalysis an;
    an.m_nFitFunction = fit;
    an.m_nThresholdModel = model;
    const AnalysisOf analysisOf = [&an](int) -> TestAnalysis& { return an; };
    CChartModel chart;
    chart.ApplyStartup();
    chart.ResetSeries();
    CEvaluator evaluator;
    uint32_t flags = alone.m_bParamsEntered ? 0u : static_cast<uint32_t>(NoticeParams1);
    evaluator.Evaluate(doc, analysisOf, chart, flags);
    in.iansOk = doc.m_Tests.front().m_bParamsEntered && an.m_bEvaluated && !an.m_bIansFailed &&
                (flags & (NoticeFit1 | NoticeIans1)) == 0;
    in.iansLoad = an.m_dIansLoad * toStored;
    in.iansLactate = an.m_dIansLactate;
    return in;
}

TestThresholds ComputeThresholds(const ThresholdInput& input, const ZoneScheme& scheme) {
    TestThresholds out;
    out.testType = input.testType;
    out.loadUnit = input.loadUnit;
    out.points = static_cast<int>(input.x.size());
    out.fit.function = input.fitFunction;
    CMethods methods(input);
    methods.Run(out, scheme);
    return out;
}

struct CMethodLoads::Impl {
    explicit Impl(const std::vector<double>& x) : exp(x) {}
    CExpFitGrid exp;
    std::unique_ptr<CMethods> last;
    TestThresholds out;
};

CMethodLoads::CMethodLoads(const std::vector<double>& x) : m_p(std::make_unique<Impl>(x)) {}

CMethodLoads::~CMethodLoads() = default;

void CMethodLoads::Compute(const ThresholdInput& input, std::vector<double>& loads) {
    Impl& p = *m_p;
    p.last = std::make_unique<CMethods>(input, &p.exp, true);
    p.last->Run(p.out, ZoneScheme());
    loads.assign(kCatalogue.size(), kNaN);
    for (size_t k = 0; k < p.out.methods.size() && k < loads.size(); ++k)
        if (p.out.methods[k].ok) loads[k] = *p.out.methods[k].load;
}

double CMethodLoads::AcceptedLoad(double x) const { return m_p->last ? m_p->last->AcceptedLoad(x) : kNaN; }

TestThresholds ComputeTestThresholds(const TestDataType& test, int fit, int model, const ZoneSettings& zones) {
    const ThresholdInput in = ThresholdInputOf(test, fit, model);
    TestThresholds out = ComputeThresholds(in, zones.For(test.m_nTestType));
    ApplyZoneModel(in, zones, out);
    return out;
}

}  // namespace trv
