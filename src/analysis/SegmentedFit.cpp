#include "analysis/SegmentedFit.h"

#include "analysis/BreakSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace trv {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kGoldenTolerance = 1e-11;  // of the span, for the continuous refinement

// Adds one basis function to a Cholesky factor: `g` its products with the earlier ones, `d` with
// itself, `c` with y. Returns the new z entry (0 when the function adds nothing) and fills `row`.
// The size is a template argument so that the small loops unroll in the hot scan.
template <int k>
inline double AddColumn(const double* L, const double* z, const double* g, double d, double c, double* row,
                        double& pivot) {
    double s = d;
    for (int i = 0; i < k; ++i) {
        double v = g[i];
        for (int j = 0; j < i; ++j) v -= L[i * 3 + j] * row[j];
        const double piv = L[i * 3 + i];
        row[i] = piv > 0.0 ? v / piv : 0.0;
        s -= row[i] * row[i];
    }
    if (!(s > 1e-12 * std::max(d, 1e-300))) {
        pivot = 0.0;
        return 0.0;
    }
    pivot = std::sqrt(s);
    double v = c;
    for (int i = 0; i < k; ++i) v -= row[i] * z[i];
    return v / pivot;
}

}  // namespace

CSegmentedFit::CSegmentedFit(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = std::min(x.size(), y.size());
    if (n == 0) return;
    m_dOrigin = x.front();
    m_dSpan = x[n - 1] - x.front();
    if (!(m_dSpan > 0.0)) m_dSpan = 1.0;
    double mean = 0.0;
    for (size_t i = 0; i < n; ++i) mean += y[i];
    mean /= static_cast<double>(n);
    m_u.resize(n);
    m_yc.resize(n);
    m_dYY = 0.0;
    for (size_t i = 0; i < n; ++i) {
        m_u[i] = ToU(x[i]);
        m_yc[i] = y[i] - mean;
        m_dYY += m_yc[i] * m_yc[i];
    }
    m_suffix.assign(n + 1, Sums{0, 0, 0, 0, 0});
    for (size_t i = n; i-- > 0;) {
        const Sums& s = m_suffix[i + 1];
        const double u = m_u[i], yv = m_yc[i];
        m_suffix[i] = {s.n + 1.0, s.u + u, s.uu + u * u, s.y + yv, s.uy + u * yv};
    }
    const Sums all = m_suffix[0];
    m_base.L[0] = std::sqrt(all.n);
    m_base.z[0] = all.y / m_base.L[0];
    double row[3] = {};
    double pivot = 0.0;
    const double g[1] = {all.u};
    m_base.z[1] = AddColumn<1>(m_base.L, m_base.z, g, all.uu, all.uy, row, pivot);
    m_base.L[3] = row[0];
    m_base.L[4] = pivot;
    m_base.rss = m_dYY - m_base.z[0] * m_base.z[0] - m_base.z[1] * m_base.z[1];
}

CSegmentedFit::Sums CSegmentedFit::Suffix(size_t m) const { return m_suffix[std::min(m, m_u.size())]; }

size_t CSegmentedFit::FirstAbove(double u) const {
    return static_cast<size_t>(std::upper_bound(m_u.begin(), m_u.end(), u) - m_u.begin());
}

CSegmentedFit::Factor CSegmentedFit::WithBreak(double B, size_t m) const {
    Factor f = m_base;
    f.b1 = B;
    const Sums s = Suffix(m);
    const double g[2] = {s.u - B * s.n, s.uu - B * s.u};
    const double d = s.uu - 2.0 * B * s.u + B * B * s.n;
    double row[3] = {};
    double pivot = 0.0;
    f.z[2] = AddColumn<2>(f.L, f.z, g, d, s.uy - B * s.y, row, pivot);
    f.L[6] = row[0];
    f.L[7] = row[1];
    f.L[8] = pivot;
    f.rss -= f.z[2] * f.z[2];
    return f;
}

double CSegmentedFit::WithSecond(const Factor& f, double B2, size_t m2) const {
    const double B1 = f.b1;
    const Sums s = Suffix(m2);
    // Above b2 both hinges are active: (u - b1)(u - b2) summed there.
    const double g[3] = {s.u - B2 * s.n, s.uu - B2 * s.u, s.uu - (B1 + B2) * s.u + B1 * B2 * s.n};
    const double d = s.uu - 2.0 * B2 * s.u + B2 * B2 * s.n;
    double row[3] = {};
    double pivot = 0.0;
    const double z3 = AddColumn<3>(f.L, f.z, g, d, s.uy - B2 * s.y, row, pivot);
    return std::max(f.rss - z3 * z3, 0.0);
}

double CSegmentedFit::Rss(const double* breaks, int count) const {
    if (count == 0) return std::max(m_base.rss, 0.0);
    const Factor f = WithBreak(breaks[0], FirstAbove(breaks[0]));
    if (count == 1) return std::max(f.rss, 0.0);
    return WithSecond(f, breaks[1], FirstAbove(breaks[1]));
}

double CSegmentedFit::ResidualSum(double b) const {
    if (m_u.empty()) return kInf;
    const double B = ToU(b);
    return Rss(&B, 1);
}

double CSegmentedFit::ResidualSum(double b1, double b2) const {
    if (m_u.empty()) return kInf;
    const double B[2] = {ToU(std::min(b1, b2)), ToU(std::max(b1, b2))};
    return Rss(B, 2);
}

void CSegmentedFit::SampleRange(double lo, double hi, long& first, long& last) const {
    BreakSampleRange(m_u, ToU(lo), ToU(hi), first, last);
}

SegmentedFitResult CSegmentedFit::FitOne(double lo, double hi) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    if (m_u.size() < 3 || first > last) return r;
    const double u = SearchOneBreak(
        m_u, first, last, ToU(lo), ToU(hi), kGoldenTolerance,
        [&](long k) { return WithBreak(m_u[static_cast<size_t>(k)], static_cast<size_t>(k) + 1).rss; },
        [&](double B) { return Rss(&B, 1); }, r.residualSum);
    r.ok = true;
    r.break1 = ToX(u);
    return r;
}

SegmentedFitResult CSegmentedFit::FitTwo(double lo, double hi, double minGap) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    if (m_u.size() < 4 || first > last) return r;
    const double gapU = minGap / m_dSpan - kBreakGapSlack;
    // A row: the factor with the first break at sample i, then the second break at any sample j.
    auto row = [this](long i) {
        const size_t k = static_cast<size_t>(i);
        const Factor f = WithBreak(m_u[k], k + 1);
        return [this, f](long j) {
            const size_t l = static_cast<size_t>(j);
            return WithSecond(f, m_u[l], l + 1);
        };
    };
    struct Eval {
        const CSegmentedFit& s;
        const decltype(row)& rowOf;
        auto CoarseRow(const std::vector<long>& grid, size_t a) const {
            return [&grid, r = rowOf(grid[a])](size_t b) { return r(grid[b]); };
        }
        auto Row(long i) const { return rowOf(i); }
        double Pair(long i, long j) const {
            const double br[2] = {s.m_u[static_cast<size_t>(i)], s.m_u[static_cast<size_t>(j)]};
            return s.Rss(br, 2);
        }
    } ev{*this, row};
    auto withFirst = [this](double B1) {
        const Factor f = WithBreak(B1, FirstAbove(B1));
        return [this, f](double B2) { return WithSecond(f, B2, FirstAbove(B2)); };
    };
    double best1 = 0.0, best2 = 0.0;
    if (!FitBreakPair(
            m_u, first, last, ToU(lo), ToU(hi), gapU, kGoldenTolerance, ev, withFirst,
            [this](double B1, double B2) { return ResidualSum(ToX(B1), ToX(B2)); }, best1, best2))
        return r;
    const double br[2] = {best1, best2};
    r.residualSum = Rss(br, 2);
    r.ok = std::isfinite(r.residualSum);
    r.break1 = ToX(best1);
    r.break2 = ToX(best2);
    return r;
}

SegmentedFitResult CSegmentedFit::ScanAllSamplePairs(double lo, double hi, double minGap) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    const double gapU = minGap / m_dSpan - kBreakGapSlack;
    double best = kInf;
    for (long i = first; i <= last; ++i)
        for (long j = i + 1; j <= last; ++j) {
            if (m_u[static_cast<size_t>(j)] - m_u[static_cast<size_t>(i)] < gapU) continue;
            const double br[2] = {m_u[static_cast<size_t>(i)], m_u[static_cast<size_t>(j)]};
            const double v = Rss(br, 2);
            if (v < best) {
                best = v;
                r.break1 = ToX(br[0]);
                r.break2 = ToX(br[1]);
            }
        }
    r.ok = std::isfinite(best);
    r.residualSum = best;
    return r;
}

}  // namespace trv
