#pragma once
// The global search for the breaks of a continuous piecewise-linear least-squares fit, apart from
// how a residual sum is computed: the segmented fit of one data vector and the replicates' scan over
// many data vectors on the same loads both search this way and differ only in their evaluators.
//
// Samples u (ascending, scaled to [0, 1]) are the candidate break positions. One break: every sample
// in [first, last], then golden section between the best sample's neighbours. Two breaks: pairs of
// every tenth sample (the coarse grid), the lowest coarse basins sample by sample (a window of one
// coarse step, then downhill steps to neighbouring pairs), then alternating one-dimensional
// refinement within 1.5 sample spacings.
#include "analysis/GoldenSection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace trv {

constexpr long kBreakCoarseStep = 10;  // samples between coarse break positions
constexpr size_t kBreakBasins = 4;     // coarse basins refined sample by sample
constexpr double kBreakGapSlack = 1e-12;

// Index range [first, last] of the samples inside [ulo, uhi] (a hair of slack on both ends).
inline void BreakSampleRange(const std::vector<double>& u, double ulo, double uhi, long& first, long& last) {
    first = static_cast<long>(std::lower_bound(u.begin(), u.end(), ulo - kBreakGapSlack) - u.begin());
    last = static_cast<long>(std::upper_bound(u.begin(), u.end(), uhi + kBreakGapSlack) - u.begin()) - 1;
}

// The coarse grid of break positions in [first, last]: every tenth sample and the last.
inline void BreakCoarseGrid(long first, long last, std::vector<long>& grid) {
    grid.clear();
    for (long k = first; k <= last; k += kBreakCoarseStep) grid.push_back(k);
    if (grid.back() != last) grid.push_back(last);
}

// One break. `atSample(k)`: residual sum with the break at sample k; `at(B)`: at any position B.
// Golden section to `tol` between the best sample's neighbours (inside [ulo, uhi]); its result wins
// when it is lower. Returns the break (in u) and its residual sum in `rss`.
template <typename AtSample, typename At>
double SearchOneBreak(const std::vector<double>& u, long first, long last, double ulo, double uhi, double tol,
                      AtSample atSample, At at, double& rss) {
    long best = first;
    double bestRss = std::numeric_limits<double>::infinity();
    for (long k = first; k <= last; ++k) {
        const double v = atSample(k);
        if (v < bestRss) {
            bestRss = v;
            best = k;
        }
    }
    const double a = std::max(ulo, u[static_cast<size_t>(std::max(best - 1, 0L))]);
    const double b = std::min(uhi, u[static_cast<size_t>(std::min<long>(best + 1, long(u.size()) - 1))]);
    const double x = GoldenSectionMin(at, a, b, tol, 60);
    const double fx = at(x);
    if (fx < bestRss) {
        rss = fx;
        return x;
    }
    rss = bestRss;
    return u[static_cast<size_t>(best)];
}

// Two breaks at samples i < j with u_j - u_i >= gapU, inside [first, last]. The evaluator gives
//   ev.CoarseRow(grid, a) -> (b) -> residual sum for the grid pair (grid[a], grid[b]), a < b;
//   ev.Row(i) -> (j) -> residual sum for samples (i, j) (a row prepared once for many j);
//   ev.Pair(i, j) -> residual sum for samples (i, j) alone.
// Returns false when no pair is valid; else the best sample pair in `i1`, `i2` and its sum.
template <typename Eval>
bool SearchBreakPair(const std::vector<double>& u, long first, long last, double gapU, Eval& ev, long& i1, long& i2,
                     double& rss) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    auto valid = [&](long i, long j) {
        return i >= first && j <= last && i < j && u[static_cast<size_t>(j)] - u[static_cast<size_t>(i)] >= gapU;
    };
    std::vector<long> grid;
    BreakCoarseGrid(first, last, grid);
    const size_t G = grid.size();
    // The coarse sums with a border of infinities, so that every cell has eight neighbours.
    const size_t W = G + 2;
    std::vector<double> coarse(W * W, kInf);
    auto cell = [W](size_t a, size_t b) { return (a + 1) * W + (b + 1); };
    for (size_t a = 0; a < G; ++a) {
        // The grid lies inside [first, last]; the gap grows with b (u ascends), so from the first
        // valid b on every pair of the row is valid.
        const double ua = u[static_cast<size_t>(grid[a])];
        size_t b = a + 1;
        while (b < G && !(u[static_cast<size_t>(grid[b])] - ua >= gapU)) ++b;
        if (b >= G) continue;
        auto row = ev.CoarseRow(grid, a);
        for (; b < G; ++b) coarse[cell(a, b)] = row(b);
    }

    // The coarse basins: cells no higher than any neighbour, lowest first.
    std::vector<std::pair<double, size_t>> basins;
    for (size_t a = 0; a < G; ++a)
        for (size_t b = a + 1; b < G; ++b) {
            const double* c = &coarse[cell(a, b)];
            const double v = *c;
            if (!std::isfinite(v)) continue;
            // Signed offsets: a negative size_t offset wraps, which pointer arithmetic must not.
            const auto w = static_cast<std::ptrdiff_t>(W);
            if (c[-1] < v || c[1] < v || c[-w - 1] < v || c[-w] < v || c[-w + 1] < v || c[w - 1] < v || c[w] < v ||
                c[w + 1] < v)
                continue;
            basins.emplace_back(v, a * G + b);
        }
    if (basins.empty()) return false;
    std::sort(basins.begin(), basins.end());
    if (basins.size() > kBreakBasins) basins.resize(kBreakBasins);

    double bestRss = kInf;
    long best1 = 0, best2 = 0;
    for (const auto& [value, at] : basins) {
        long i = grid[at / G], j = grid[at % G];
        double v = value;
        // Sample by sample: the window of one coarse step around the cell, then downhill steps.
        const long ci = i, cj = j;
        for (long a = std::max(ci - kBreakCoarseStep, first); a <= ci + kBreakCoarseStep && a <= last; ++a) {
            auto row = ev.Row(a);
            for (long b = cj - kBreakCoarseStep; b <= cj + kBreakCoarseStep; ++b)
                if (valid(a, b)) {
                    const double w = row(b);
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
                        const double w = ev.Pair(i + da, j + db);
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
            best1 = i;
            best2 = j;
        }
    }
    if (!std::isfinite(bestRss)) return false;
    i1 = best1;
    i2 = best2;
    rss = bestRss;
    return true;
}

// Continuous refinement of a break pair b1 < b2 (in u, lo <= b1, b2 <= hi, b2 - b1 >= gap): in turns
// b1 with b2 held, then b2 with b1 held, each by golden section to `tol` within 1.5 sample spacings
// (`samples` samples), for at most four rounds or until a round gains nothing. `withFirst(b1)` ->
// (b2) -> residual sum; `cur` is the sum at the starting pair.
template <typename WithFirst>
void RefineBreakPair(double& b1, double& b2, double lo, double hi, double gap, size_t samples, double tol,
                     WithFirst withFirst, double cur) {
    const double delta = 1.5 / std::max<double>(static_cast<double>(samples) - 1.0, 1.0);
    for (int round = 0; round < 4; ++round) {
        const double before = cur;
        double a = std::max(lo, b1 - delta), b = std::min(b2 - gap, b1 + delta);
        if (a <= b) {
            const double B2 = b2;
            auto f = [&](double B) { return withFirst(B)(B2); };
            const double n1 = GoldenSectionMin(f, a, b, tol, 60);
            const double fx = f(n1);
            if (fx < cur) {
                b1 = n1;
                cur = fx;
            }
        }
        a = std::max(b1 + gap, b2 - delta);
        b = std::min(hi, b2 + delta);
        if (a <= b) {
            auto f = withFirst(b1);
            const double n2 = GoldenSectionMin(f, a, b, tol, 60);
            const double fx = f(n2);
            if (fx < cur) {
                b2 = n2;
                cur = fx;
            }
        }
        if (!(cur < before - 1e-15 * std::max(before, 1.0))) break;
    }
}

// Two breaks in [ulo, uhi] at least gapU apart (samples [first, last] inside): the best sample pair
// (SearchBreakPair), then refined continuously (RefineBreakPair, `startSum(b1, b2)` the sum there).
// False when there is no pair.
template <typename Eval, typename WithFirst, typename StartSum>
bool FitBreakPair(const std::vector<double>& u, long first, long last, double ulo, double uhi, double gapU, double tol,
                  Eval& ev, WithFirst withFirst, StartSum startSum, double& b1, double& b2) {
    long i = 0, j = 0;
    double rss = 0.0;
    if (!SearchBreakPair(u, first, last, gapU, ev, i, j, rss)) return false;
    b1 = u[static_cast<size_t>(i)];
    b2 = u[static_cast<size_t>(j)];
    RefineBreakPair(b1, b2, ulo, uhi, gapU + kBreakGapSlack, u.size(), tol, withFirst, startSum(b1, b2));
    return true;
}

}  // namespace trv
