#include "analysis/ReplicateMethods.h"

#include "analysis/BreakSearch.h"
#include "analysis/CurveFit.h"
#include "analysis/CurveRules.h"
#include "data/Records.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace trv {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kRefineTolerance = 1e-9;  // of the span, for the continuous refinement

// Continuous piecewise-linear least squares with one or two hinges, for many data vectors on the
// same sample loads. Everything that depends on the loads only (suffix sums, the hinges' products
// with 1, u and themselves after the straight line is projected out) is prepared once; a data
// vector then costs a few operations per break (pair). The search is the one of the segmented fit
// (coarse pairs of every tenth sample, the best basins sample by sample, continuous refinement), on
// the residual sum written in closed form.
class CHingeScan {
public:
    void Prepare(const std::vector<double>& x) {
        const size_t n = x.size();
        m_origin = x.front();
        m_span = x.back() - x.front();
        if (!(m_span > 0.0)) m_span = 1.0;
        m_u.resize(n);
        for (size_t i = 0; i < n; ++i) m_u[i] = (x[i] - m_origin) / m_span;
        m_Sn.assign(n + 1, 0.0);
        m_Su.assign(n + 1, 0.0);
        m_Suu.assign(n + 1, 0.0);
        for (size_t i = n; i-- > 0;) {
            m_Sn[i] = m_Sn[i + 1] + 1.0;
            m_Su[i] = m_Su[i + 1] + m_u[i];
            m_Suu[i] = m_Suu[i + 1] + m_u[i] * m_u[i];
        }
        const double N = m_Sn[0], U = m_Su[0], UU = m_Suu[0];
        const double det = N * UU - U * U;
        m_K[0] = UU / det;
        m_K[1] = -U / det;
        m_K[2] = N / det;
        m_h.resize(n);
        for (size_t k = 0; k < n; ++k) m_h[k] = HingeAt(m_u[k], k + 1);
        m_Sy.resize(n + 1);
        m_Suy.resize(n + 1);
        m_c.resize(n);
    }

    // A new data vector (same length as the loads).
    void SetData(const std::vector<double>& y) {
        const size_t n = m_u.size();
        m_Sy[n] = m_Suy[n] = 0.0;
        double mean = 0.0;
        for (double v : y) mean += v;
        mean /= static_cast<double>(n);
        double yy = 0.0;
        for (size_t i = n; i-- > 0;) {
            const double v = y[i] - mean;  // centred: the line takes the mean anyway
            m_Sy[i] = m_Sy[i + 1] + v;
            m_Suy[i] = m_Suy[i + 1] + m_u[i] * v;
            yy += v * v;
        }
        const double Y = m_Sy[0], UY = m_Suy[0];
        m_base = yy - (Y * (m_K[0] * Y + m_K[1] * UY) + UY * (m_K[1] * Y + m_K[2] * UY));
        for (size_t k = 0; k < n; ++k) m_c[k] = C(m_h[k], m_u[k], k + 1);
    }

    // One break in [lo, hi] (in x), the global minimiser; NaN when there is none.
    double FitOne(double lo, double hi) const {
        long first = 0, last = -1;
        BreakSampleRange(m_u, ToU(lo), ToU(hi), first, last);
        if (first > last || m_u.size() < 3) return kNaN;
        double rss = 0.0;
        return ToX(SearchOneBreak(
            m_u, first, last, ToU(lo), ToU(hi), kRefineTolerance, [&](long k) { return Rss1(static_cast<size_t>(k)); },
            [&](double B) { return RssAt(B); }, rss));
    }

    // Two breaks, lo <= b1, b2 <= hi, b2 - b1 >= gap (in x); false when there is no pair.
    bool FitTwo(double lo, double hi, double gap, double& b1, double& b2) const {
        long first = 0, last = -1;
        BreakSampleRange(m_u, ToU(lo), ToU(hi), first, last);
        if (m_u.size() < 4 || first > last) return false;
        const double gapU = gap / m_span - kBreakGapSlack;
        // The coarse pairs' quadratic forms depend on the loads only: made once for this range.
        if (m_pairKey != std::make_tuple(first, last, gapU)) {
            m_pairKey = std::make_tuple(first, last, gapU);
            BreakCoarseGrid(first, last, m_grid);
            const size_t G = m_grid.size();
            m_pairs.assign(G * G, PairForm{});
            for (size_t a = 0; a < G; ++a)
                for (size_t b = a + 1; b < G; ++b) {
                    const size_t i = static_cast<size_t>(m_grid[a]), j = static_cast<size_t>(m_grid[b]);
                    if (m_u[j] - m_u[i] >= gapU) m_pairs[a * G + b] = Form(i, j);
                }
        }
        struct Eval {
            const CHingeScan& s;
            auto CoarseRow(const std::vector<long>& grid, size_t a) const {
                const size_t G = grid.size();
                const double c1 = s.m_c[static_cast<size_t>(grid[a])];
                const PairForm* forms = &s.m_pairs[a * G];
                return [this, &grid, c1, forms](size_t b) {
                    const PairForm& f = forms[b];
                    const double c2 = s.m_c[static_cast<size_t>(grid[b])];
                    return s.m_base - (f.a * c1 * c1 + f.b * c1 * c2 + f.c * c2 * c2);
                };
            }
            auto Row(long i) const {
                return [this, i](long j) { return s.Rss2(static_cast<size_t>(i), static_cast<size_t>(j)); };
            }
            double Pair(long i, long j) const { return s.Rss2(static_cast<size_t>(i), static_cast<size_t>(j)); }
        } ev{*this};
        auto withFirst = [this](double B1) {
            const size_t m1 = FirstAbove(B1);
            const Hinge h1 = HingeAt(B1, m1);
            const double c1 = C(h1, B1, m1);
            return [this, h1, c1, B1](double B2) {
                const size_t m2 = FirstAbove(B2);
                const Hinge h2 = HingeAt(B2, m2);
                return Pair(h1, c1, B1, h2, C(h2, B2, m2), B2, m2);
            };
        };
        double u1 = 0.0, u2 = 0.0;
        if (!FitBreakPair(
                m_u, first, last, ToU(lo), ToU(hi), gapU, kRefineTolerance, ev, withFirst,
                [&](double B1, double B2) { return withFirst(B1)(B2); }, u1, u2))
            return false;
        b1 = ToX(u1);
        b2 = ToX(u2);
        return true;
    }

private:
    struct Hinge {
        double s, su, w0, w1, g;  // sum h, sum h u, K^-1 (s, su), sum h^2 after the line is projected out
    };
    Hinge HingeAt(double B, size_t m) const {
        Hinge h;
        h.s = m_Su[m] - B * m_Sn[m];
        h.su = m_Suu[m] - B * m_Su[m];
        const double hh = m_Suu[m] - 2.0 * B * m_Su[m] + B * B * m_Sn[m];
        h.w0 = m_K[0] * h.s + m_K[1] * h.su;
        h.w1 = m_K[1] * h.s + m_K[2] * h.su;
        h.g = hh - (h.s * h.w0 + h.su * h.w1);
        return h;
    }
    // The hinge's product with y after the line is projected out.
    double C(const Hinge& h, double B, size_t m) const {
        return (m_Suy[m] - B * m_Sy[m]) - (h.w0 * m_Sy[0] + h.w1 * m_Suy[0]);
    }
    static bool Usable(double g) { return g > 1e-12; }
    double Rss1(size_t k) const { return Usable(m_h[k].g) ? m_base - m_c[k] * m_c[k] / m_h[k].g : m_base; }
    // Breaks at samples i < j.
    double Rss2(size_t i, size_t j) const { return Pair(m_h[i], m_c[i], m_u[i], m_h[j], m_c[j], m_u[j], j + 1); }
    double Pair(const Hinge& h1, double c1, double B1, const Hinge& h2, double c2, double B2, size_t m2) const {
        if (!Usable(h1.g)) return Usable(h2.g) ? m_base - c2 * c2 / h2.g : m_base;
        const double prod = m_Suu[m2] - (B1 + B2) * m_Su[m2] + B1 * B2 * m_Sn[m2];
        const double g12 = prod - (h1.s * h2.w0 + h1.su * h2.w1);
        const double det = h1.g * h2.g - g12 * g12;
        if (!(det > 1e-12 * h1.g * std::max(h2.g, 1e-300))) return m_base - c1 * c1 / h1.g;
        return m_base - (h2.g * c1 * c1 - 2.0 * g12 * c1 * c2 + h1.g * c2 * c2) / det;
    }
    // rss = base - (a c1^2 + b c1 c2 + c c2^2) for breaks at samples i < j.
    struct PairForm {
        bool valid = false;
        double a = 0.0, b = 0.0, c = 0.0;
    };
    PairForm Form(size_t i, size_t j) const {
        PairForm f;
        f.valid = true;
        const Hinge &h1 = m_h[i], &h2 = m_h[j];
        if (!Usable(h1.g)) {
            if (Usable(h2.g)) f.c = 1.0 / h2.g;
            return f;
        }
        const size_t m2 = j + 1;
        const double prod = m_Suu[m2] - (m_u[i] + m_u[j]) * m_Su[m2] + m_u[i] * m_u[j] * m_Sn[m2];
        const double g12 = prod - (h1.s * h2.w0 + h1.su * h2.w1);
        const double det = h1.g * h2.g - g12 * g12;
        if (!(det > 1e-12 * h1.g * std::max(h2.g, 1e-300))) {
            f.a = 1.0 / h1.g;
            return f;
        }
        f.a = h2.g / det;
        f.b = -2.0 * g12 / det;
        f.c = h1.g / det;
        return f;
    }
    size_t FirstAbove(double u) const {
        return static_cast<size_t>(std::upper_bound(m_u.begin(), m_u.end(), u) - m_u.begin());
    }
    double RssAt(double B) const {
        const size_t m = FirstAbove(B);
        const Hinge h = HingeAt(B, m);
        const double c = C(h, B, m);
        return Usable(h.g) ? m_base - c * c / h.g : m_base;
    }
    double ToU(double x) const { return (x - m_origin) / m_span; }
    double ToX(double u) const { return m_origin + u * m_span; }

    double m_origin = 0.0, m_span = 1.0;
    std::vector<double> m_u, m_Sn, m_Su, m_Suu;
    double m_K[3] = {};
    std::vector<Hinge> m_h;
    // Per data vector.
    std::vector<double> m_Sy, m_Suy, m_c;
    double m_base = 0.0;
    mutable std::vector<long> m_grid;
    mutable std::vector<PairForm> m_pairs;
    mutable std::tuple<long, long, double> m_pairKey{-1, -1, 0.0};
};

}  // namespace

struct CReplicateMethods::Prepared {
    explicit Prepared(const ThresholdInput& original) : methods(original.x) {}
    CMethodLoads methods;
    size_t n = 0;
    double x1 = 0.0, xn = 0.0;
    bool spread = false;  // xn > x1
    // The resampling of the points at the scan loads: groups of equal loads (their lactates are
    // averaged), then per scan load the segment and its weight.
    std::vector<std::vector<size_t>> groups;
    std::vector<size_t> segment;
    std::vector<double> weight;
    std::vector<double> tx, lx;  // scan loads and their logarithms
    bool logLoads = false;       // x1 > 0
    CHingeScan ltp, loglog;
    // Scratch.
    std::vector<double> my, ty, ly;
};

CReplicateMethods::CReplicateMethods(const ThresholdInput& original) : m_p(std::make_unique<Prepared>(original)) {
    Prepared& p = *m_p;
    p.n = original.x.size();
    if (p.n == 0) return;
    p.x1 = original.x.front();
    p.xn = original.x.back();
    p.spread = p.xn > p.x1;
    if (!p.spread || p.n < 3) return;
    // Groups of equal loads in ascending order (the points are sorted by load).
    for (size_t i = 0; i < p.n; ++i) {
        if (p.groups.empty() || original.x[p.groups.back().front()] != original.x[i]) p.groups.emplace_back();
        p.groups.back().push_back(i);
    }
    std::vector<double> gx;
    for (const auto& g : p.groups) gx.push_back(original.x[g.front()]);
    p.tx.resize(kScanIntervals + 1);
    p.segment.resize(kScanIntervals + 1);
    p.weight.resize(kScanIntervals + 1);
    size_t k = 0;
    for (int j = 0; j <= kScanIntervals; ++j) {
        const double t = j == kScanIntervals ? p.xn : p.x1 + (p.xn - p.x1) * j / kScanIntervals;
        while (k + 2 < gx.size() && t > gx[k + 1]) ++k;
        p.tx[static_cast<size_t>(j)] = t;
        p.segment[static_cast<size_t>(j)] = k;
        p.weight[static_cast<size_t>(j)] = (t - gx[k]) / (gx[k + 1] - gx[k]);
    }
    p.ltp.Prepare(p.tx);
    p.logLoads = p.x1 > 0.0;
    if (p.logLoads) {
        p.lx.resize(p.tx.size());
        for (size_t j = 0; j < p.tx.size(); ++j) p.lx[j] = std::log(p.tx[j]);
        p.loglog.Prepare(p.lx);
    }
}

CReplicateMethods::~CReplicateMethods() = default;

void CReplicateMethods::Compute(const ThresholdInput& replicate, std::vector<double>& loads) {
    Prepared& p = *m_p;
    p.methods.Compute(replicate, loads);
    if (p.n < 3 || !p.spread || p.groups.size() < 2) return;
    // The user fit decides whether a break's lactate can be shown (as for every method).
    auto accept = [&](double x) { return p.methods.AcceptedLoad(x); };

    p.my.resize(p.groups.size());
    for (size_t g = 0; g < p.groups.size(); ++g) {
        double sum = 0.0;
        for (size_t i : p.groups[g]) sum += replicate.y[i];
        p.my[g] = sum / static_cast<double>(p.groups[g].size());
    }
    p.ty.resize(p.tx.size());
    for (size_t j = 0; j < p.tx.size(); ++j) {
        const size_t k = p.segment[j];
        p.ty[j] = p.my[k] + p.weight[j] * (p.my[k + 1] - p.my[k]);
    }
    const int loglogIndex = MethodIndex("loglog"), ltp1Index = MethodIndex("ltp1"), ltp2Index = MethodIndex("ltp2");
    if (p.logLoads && std::all_of(replicate.y.begin(), replicate.y.end(), [](double v) { return v > 0.0; })) {
        p.ly.resize(p.ty.size());
        for (size_t j = 0; j < p.ty.size(); ++j) p.ly[j] = std::log(p.ty[j]);
        p.loglog.SetData(p.ly);
        const double b = p.loglog.FitOne(p.lx[50], p.lx[950]);
        if (std::isfinite(b)) loads[static_cast<size_t>(loglogIndex)] = accept(std::exp(b));
    }
    if (p.n >= 4) {
        p.ltp.SetData(p.ty);
        double b1 = 0.0, b2 = 0.0;
        if (p.ltp.FitTwo(p.tx[50], p.tx[950], 50.0 * (p.xn - p.x1) / kScanIntervals, b1, b2)) {
            loads[static_cast<size_t>(ltp1Index)] = accept(b1);
            loads[static_cast<size_t>(ltp2Index)] = accept(b2);
        }
    }
}

}  // namespace trv
