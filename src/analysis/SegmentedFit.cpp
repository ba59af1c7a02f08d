#include "analysis/SegmentedFit.h"

#include "analysis/GoldenSection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace trv {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr long kCoarseStep = 10;  // samples between coarse break positions
constexpr int kBasins = 4;        // coarse basins refined
constexpr double kGapSlack = 1e-12;

// Golden-section minimum of f on [a, b], with the value there.
template <typename F>
double GoldenMin(F f, double a, double b, double& fx) {
    const double x = GoldenSectionMin(f, a, b, 1e-11, 60);
    fx = f(x);
    return x;
}

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
    const double ulo = ToU(lo) - kGapSlack, uhi = ToU(hi) + kGapSlack;
    first = static_cast<long>(std::lower_bound(m_u.begin(), m_u.end(), ulo) - m_u.begin());
    last = static_cast<long>(std::upper_bound(m_u.begin(), m_u.end(), uhi) - m_u.begin()) - 1;
}

SegmentedFitResult CSegmentedFit::FitOne(double lo, double hi) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    if (m_u.size() < 3 || first > last) return r;
    long best = first;
    double bestRss = kInf;
    for (long k = first; k <= last; ++k) {
        const double v = WithBreak(m_u[static_cast<size_t>(k)], static_cast<size_t>(k) + 1).rss;
        if (v < bestRss) {
            bestRss = v;
            best = k;
        }
    }
    // Continuous refinement between the neighbouring samples, inside [lo, hi].
    const double a = std::max(ToU(lo), m_u[static_cast<size_t>(std::max(best - 1, 0L))]);
    const double b = std::min(ToU(hi), m_u[static_cast<size_t>(std::min<long>(best + 1, long(m_u.size()) - 1))]);
    double fx = kInf;
    const double u = GoldenMin([&](double B) { return Rss(&B, 1); }, a, b, fx);
    r.ok = true;
    if (fx < bestRss) {
        r.break1 = ToX(u);
        r.residualSum = fx;
    } else {
        r.break1 = ToX(m_u[static_cast<size_t>(best)]);
        r.residualSum = bestRss;
    }
    return r;
}

void CSegmentedFit::Refine2(double& b1, double& b2, double lo, double hi, double gap) const {
    // b1, b2, lo, hi, gap in u. Alternating one-dimensional minimisation within 1.5 sample spacings.
    const double delta = 1.5 / std::max<double>(static_cast<double>(m_u.size()) - 1.0, 1.0);
    double cur = ResidualSum(ToX(b1), ToX(b2));
    for (int round = 0; round < 4; ++round) {
        const double before = cur;
        double fx = kInf;
        double a = std::max(lo, b1 - delta), b = std::min(b2 - gap, b1 + delta);
        if (a <= b) {
            const double B2 = b2;
            const double n1 = GoldenMin(
                [&](double B) {
                    const double br[2] = {B, B2};
                    return Rss(br, 2);
                },
                a, b, fx);
            if (fx < cur) {
                b1 = n1;
                cur = fx;
            }
        }
        a = std::max(b1 + gap, b2 - delta);
        b = std::min(hi, b2 + delta);
        if (a <= b) {
            const Factor f = WithBreak(b1, FirstAbove(b1));
            const double n2 = GoldenMin([&](double B) { return WithSecond(f, B, FirstAbove(B)); }, a, b, fx);
            if (fx < cur) {
                b2 = n2;
                cur = fx;
            }
        }
        if (!(cur < before - 1e-15 * std::max(before, 1.0))) break;
    }
}

SegmentedFitResult CSegmentedFit::FitTwo(double lo, double hi, double minGap) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    if (m_u.size() < 4 || first > last) return r;
    const double gapU = minGap / m_dSpan - kGapSlack;
    auto valid = [&](long i, long j) {
        return i >= first && j <= last && i < j && m_u[static_cast<size_t>(j)] - m_u[static_cast<size_t>(i)] >= gapU;
    };
    auto rssAt = [&](long i, long j) {
        const double br[2] = {m_u[static_cast<size_t>(i)], m_u[static_cast<size_t>(j)]};
        return Rss(br, 2);
    };

    std::vector<long> grid;
    for (long k = first; k <= last; k += kCoarseStep) grid.push_back(k);
    if (grid.back() != last) grid.push_back(last);
    const size_t G = grid.size();
    std::vector<double> coarse(G * G, kInf);
    for (size_t a = 0; a < G; ++a) {
        const size_t i = static_cast<size_t>(grid[a]);
        const Factor f = WithBreak(m_u[i], i + 1);
        for (size_t b = a + 1; b < G; ++b)
            if (valid(grid[a], grid[b]))
                coarse[a * G + b] = WithSecond(f, m_u[static_cast<size_t>(grid[b])], static_cast<size_t>(grid[b]) + 1);
    }

    // The coarse basins: cells no higher than any valid neighbour, lowest first.
    std::vector<std::pair<double, size_t>> basins;
    for (size_t a = 0; a < G; ++a)
        for (size_t b = a + 1; b < G; ++b) {
            const double v = coarse[a * G + b];
            if (!std::isfinite(v)) continue;
            bool lowest = true;
            for (int da = -1; da <= 1 && lowest; ++da)
                for (int db = -1; db <= 1; ++db) {
                    const long na = static_cast<long>(a) + da, nb = static_cast<long>(b) + db;
                    if (na < 0 || nb < 0 || na >= long(G) || nb >= long(G)) continue;
                    if (coarse[static_cast<size_t>(na) * G + static_cast<size_t>(nb)] < v) {
                        lowest = false;
                        break;
                    }
                }
            if (lowest) basins.emplace_back(v, a * G + b);
        }
    if (basins.empty()) return r;
    std::sort(basins.begin(), basins.end());
    if (basins.size() > kBasins) basins.resize(kBasins);

    double bestRss = kInf;
    double best1 = 0.0, best2 = 0.0;
    for (const auto& [value, cell] : basins) {
        long i = grid[cell / G], j = grid[cell % G];
        double v = value;
        // Sample by sample: the window of one coarse step around the cell, then downhill steps.
        long ci = i, cj = j;
        for (long a = std::max(ci - kCoarseStep, first); a <= ci + kCoarseStep && a <= last; ++a) {
            const Factor f = WithBreak(m_u[static_cast<size_t>(a)], static_cast<size_t>(a) + 1);
            for (long b = cj - kCoarseStep; b <= cj + kCoarseStep; ++b)
                if (valid(a, b)) {
                    const double w = WithSecond(f, m_u[static_cast<size_t>(b)], static_cast<size_t>(b) + 1);
                    if (w < v) {
                        v = w;
                        i = a;
                        j = b;
                    }
                }
        }
        for (bool moved = true; moved;) {
            moved = false;
            for (int da = -1; da <= 1; ++da)
                for (int db = -1; db <= 1; ++db)
                    if (valid(i + da, j + db)) {
                        const double w = rssAt(i + da, j + db);
                        if (w < v) {
                            v = w;
                            i += da;
                            j += db;
                            moved = true;
                        }
                    }
        }
        if (v < bestRss) {
            bestRss = v;
            best1 = m_u[static_cast<size_t>(i)];
            best2 = m_u[static_cast<size_t>(j)];
        }
    }
    if (std::isfinite(bestRss)) {
        Refine2(best1, best2, ToU(lo), ToU(hi), gapU + kGapSlack);
        const double br[2] = {best1, best2};
        bestRss = Rss(br, 2);
    }
    r.ok = std::isfinite(bestRss);
    r.break1 = ToX(best1);
    r.break2 = ToX(best2);
    r.residualSum = bestRss;
    return r;
}

SegmentedFitResult CSegmentedFit::ScanAllSamplePairs(double lo, double hi, double minGap) const {
    SegmentedFitResult r;
    long first = 0, last = -1;
    SampleRange(lo, hi, first, last);
    const double gapU = minGap / m_dSpan - kGapSlack;
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
