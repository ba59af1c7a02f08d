#include "analysis/Uncertainty.h"

#include "analysis/CurveFit.h"
#include "analysis/IansThreshold.h"
#include "analysis/ReplicateMethods.h"
#include "analysis/RobustFit.h"
#include "data/Records.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace trv {

namespace {

// FNV-1a, 64 bits.
class CHash {
public:
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) {
            m_h ^= b[i];
            m_h *= 0x100000001b3ull;
        }
    }
    void Double(double v) {
        if (v == 0.0) v = 0.0;  // -0 and +0 alike
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        Bytes(&bits, sizeof bits);
    }
    void Int(int64_t v) { Bytes(&v, sizeof v); }
    template <typename T>
    void Doubles(const std::vector<T>& v) {
        Int(static_cast<int64_t>(v.size()));
        for (const T& x : v) Double(static_cast<double>(x));
    }
    uint64_t Value() const { return m_h; }

private:
    uint64_t m_h = 0xcbf29ce484222325ull;
};

uint64_t SplitMix(uint64_t& x) {
    uint64_t z = (x += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

// Quantile p of sorted values, linear between order statistics (the usual "type 7").
double Quantile(const std::vector<double>& sorted, double p) {
    const double h = (static_cast<double>(sorted.size()) - 1.0) * p;
    const auto lo = static_cast<size_t>(std::floor(h));
    const size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[hi] - sorted[lo]);
}

}  // namespace

double ErrorModel::Sigma(double lactate) const { return std::sqrt(a * a + (c * lactate) * (c * lactate)); }

bool ParseErrorModel(const std::string& text, ErrorModel& out) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) return false;
    const std::string a = text.substr(0, comma), c = text.substr(comma + 1);
    double va = 0.0, vc = 0.0;
    if (!ParseDecimal(a, va) || !ParseDecimal(c, vc)) return false;
    if (!std::isfinite(va) || !std::isfinite(vc) || va < 0.0 || va > kErrorAMax || vc < 0.0 || vc > 100.0 * kErrorCMax)
        return false;
    out.a = va;
    out.c = vc / 100.0;
    return true;
}

const MethodInterval* ThresholdIntervals::Find(const std::string& id) const {
    const int k = MethodIndex(id);
    return k >= 0 && static_cast<size_t>(k) < methods.size() ? &methods[static_cast<size_t>(k)] : nullptr;
}

uint64_t ContentSeed(const ThresholdInput& in) {
    CHash h;
    h.Int(in.testType);
    h.Int(in.loadUnit);
    h.Int(in.fitFunction);
    h.Int(in.model);
    h.Int(in.paramsEntered ? 1 : 0);
    h.Doubles(in.x);
    h.Doubles(in.tenths);
    h.Doubles(in.heartRate);
    h.Doubles(in.preLoad);
    h.Int(static_cast<int64_t>(in.recovery.size()));
    for (const auto& [t, l] : in.recovery) {
        h.Double(t);
        h.Double(l);
    }
    h.Double(in.lastStepSeconds);
    h.Doubles(in.chartLoads);
    h.Doubles(in.chartOrder);
    return h.Value();
}

CReplicateSampler::CReplicateSampler(const ThresholdInput& input, const ErrorModel& error, uint64_t seed)
    : m_In(input), m_Error(error) {
    uint64_t x = seed;
    for (uint64_t& s : m_s) s = SplitMix(x);
}

double CReplicateSampler::Normal() {
    if (m_bSpare) {
        m_bSpare = false;
        return m_dSpare;
    }
    // Marsaglia's polar method on xoshiro256** numbers.
    for (;;) {
        double u[2];
        for (double& v : u) {
            const uint64_t r = Rotl(m_s[1] * 5, 7) * 9;
            const uint64_t t = m_s[1] << 17;
            m_s[2] ^= m_s[0];
            m_s[3] ^= m_s[1];
            m_s[1] ^= m_s[2];
            m_s[0] ^= m_s[3];
            m_s[2] ^= t;
            m_s[3] = Rotl(m_s[3], 45);
            v = 2.0 * (static_cast<double>(r >> 11) * 0x1.0p-53) - 1.0;
        }
        const double s = u[0] * u[0] + u[1] * u[1];
        if (s > 0.0 && s < 1.0) {
            const double f = std::sqrt(-2.0 * std::log(s) / s);
            m_dSpare = u[1] * f;
            m_bSpare = true;
            return u[0] * f;
        }
    }
}

double CReplicateSampler::Draw(double lactate) {
    const double v = lactate + m_Error.Sigma(lactate) * Normal();
    return std::max(std::round(v * 10.0), 0.0);  // tenths
}

void CReplicateSampler::Next(ThresholdInput& out) {
    out = m_In;
    for (size_t i = 0; i < out.y.size(); ++i) {
        const double t = Draw(m_In.y[i]);
        out.tenths[i] = static_cast<int>(t);
        out.y[i] = out.tenths[i] / 10.0;
    }
    for (double& l : out.preLoad) l = static_cast<int>(Draw(l)) / 10.0;
    for (auto& r : out.recovery) r.second = static_cast<int>(Draw(r.second)) / 10.0;
    RecomputeChartIans(out);
}

void RecomputeChartIans(ThresholdInput& in) {
    in.iansOk = false;
    in.iansLoad = 0.0;
    in.iansLactate = 0.0;
    const size_t n = in.chartLoads.size();
    if (!in.paramsEntered || n == 0 || in.chartOrder.size() != n) return;
    std::vector<double> y(n);
    for (size_t k = 0; k < n; ++k) y[k] = in.y[in.chartOrder[k]];
    CCurveFit fit;
    fit.SetPoints(in.chartLoads, std::move(y));
    if (!fit.Fit(in.fitFunction)) return;
    // The sampled curve's range, as the chart samples it (its last load may fall a hair short).
    const auto [mn, mx] = std::minmax_element(fit.m_x.begin(), fit.m_x.end());
    const double xmin = *mn, xmax = *mx;
    const double step = (xmax - xmin) / 80.0;
    double lo = xmin, hi = xmin;
    for (int i = 0; i <= 80; ++i) {
        const double v = std::min(xmin + i * step, xmax);
        double value = 0.0;
        if (!fit.Value(v, value)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    double load = 0.0, lactate = 0.0;
    bool ok = false;
    if (in.model == ModelMader) {
        ok = FindMaderThreshold(fit, lo, hi, load);
        lactate = kMaderLactate;
    } else {
        double angle = 0.0;
        if (fit.m_nFitCode == FitCubic && TangentAngle(in.model, in.loadUnit, angle)) {
            ok = FindTangentThreshold(fit, TangentSlope(angle), lo, hi, load);
            const auto& a = fit.m_adCoeff;
            lactate = PolyValue(a[0], a[1], a[2], a[3], load);
        }
    }
    if (!ok || !std::isfinite(load) || !std::isfinite(lactate)) return;
    in.iansOk = true;
    in.iansLoad = in.loadUnit == UnitKmh ? load * (1.0 / 3.6) : load;
    in.iansLactate = lactate;
}

ThresholdIntervals ComputeIntervals(const ThresholdInput& input, const TestThresholds& original,
                                    const ErrorModel& error, int replicates, const std::atomic<bool>* cancel) {
    ThresholdIntervals out;
    out.error = error;
    out.replicates = std::max(replicates, 1);
    out.seed = ContentSeed(input);
    const size_t count = MethodCatalogue().size();
    out.methods.assign(count, MethodInterval());
    std::vector<bool> wanted(count, false);
    bool any = false;
    for (size_t k = 0; k < count && k < original.methods.size(); ++k) any |= wanted[k] = original.methods[k].ok;
    if (!any) {
        out.complete = true;
        return out;
    }
    std::vector<std::vector<double>> loads(count);
    for (auto& l : loads) l.reserve(static_cast<size_t>(out.replicates));
    CReplicateSampler sampler(input, error, out.seed);
    CReplicateMethods methods(input);
    ThresholdInput rep;
    std::vector<double> result(count);
    for (int b = 0; b < out.replicates; ++b) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return out;
        sampler.Next(rep);
        methods.Compute(rep, result);
        for (size_t k = 0; k < count; ++k)
            if (wanted[k] && std::isfinite(result[k])) loads[k].push_back(result[k]);
    }
    for (size_t k = 0; k < count; ++k) {
        MethodInterval& m = out.methods[k];
        if (!wanted[k]) continue;
        std::vector<double>& v = loads[k];
        m.determinable = static_cast<int>(v.size());
        if (static_cast<double>(v.size()) < kMinDeterminableShare * out.replicates || v.size() < 2) {
            m.reason = NoIntervalReason(m.determinable, out.replicates);
            continue;
        }
        std::sort(v.begin(), v.end());
        double mean = 0.0;
        for (double x : v) mean += x;
        mean /= static_cast<double>(v.size());
        double ss = 0.0;
        for (double x : v) ss += (x - mean) * (x - mean);
        m.ok = true;
        m.low = Quantile(v, 0.025);
        m.high = Quantile(v, 0.975);
        m.se = std::sqrt(ss / static_cast<double>(v.size() - 1));
    }
    out.complete = true;
    return out;
}

double ClearChangeLimit(double se1, double se2, double load1, double load2, double dayToDay) {
    const double dm = dayToDay * 0.5 * (load1 + load2);
    return 1.96 * std::sqrt(se1 * se1 + se2 * se2 + 2.0 * dm * dm);
}

bool IsClearChange(double load1, double se1, double load2, double se2, double dayToDay) {
    return std::fabs(load2 - load1) > ClearChangeLimit(se1, se2, load1, load2, dayToDay);
}

void ParallelFor(size_t count, const std::function<void(size_t)>& body, unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<size_t>(threads, count));
    if (threads <= 1) {
        for (size_t i = 0; i < count; ++i) body(i);
        return;
    }
    std::atomic<size_t> next{0};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (size_t i = next++; i < count; i = next++) body(i);
        });
    for (std::thread& th : pool) th.join();
}

TestUncertainty ComputeTestUncertainty(const TestDataType& test, int fit, int model, const ErrorModel& error,
                                       bool intervals, const std::atomic<bool>* cancel) {
    TestUncertainty u;
    const ThresholdInput input = ThresholdInputOf(test, fit, model);
    u.thresholds = ComputeThresholds(input, ZoneScheme());
    if (intervals) u.intervals = ComputeIntervals(input, u.thresholds, error, kDefaultReplicates, cancel);
    u.outliers = FlagOutliers(input, error);
    return u;
}

std::string LoadWithInterval(double load, const MethodInterval* interval, int loadUnit) {
    const char* format = loadUnit == UnitWatt ? "%.0f" : loadUnit == UnitKmh ? "%.1f" : "%.2f";
    const std::string value = Fmt(format, LoadInTestUnit(load, loadUnit)) + " " + LoadUnitText(loadUnit);
    if (!interval || !interval->ok) return value;
    return FmtId(IDS_CI_RANGE, value.c_str(), Fmt(format, LoadInTestUnit(*interval->low, loadUnit)).c_str(),
                 Fmt(format, LoadInTestUnit(*interval->high, loadUnit)).c_str());
}

std::string NoIntervalReason(int determinable, int replicates) {
    const int missing = std::max(replicates - determinable, 0);
    const int pct = replicates > 0 ? (missing * 100 + replicates - 1) / replicates : 100;
    return FmtId(IDS_CI_NOT_DETERMINABLE, pct);
}

}  // namespace trv
