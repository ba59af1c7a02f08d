#pragma once
// Continuous piecewise-linear least squares with one or two break points at their global optimum.
//
// The residual sum for given breaks is computed in constant time from suffix sums of the samples,
// so a break pair costs a 4x4 Cholesky solve. The global search scans break pairs on a grid of
// every tenth sample, refines the best coarse basins sample by sample and then continuously inside
// the neighbouring sample intervals. The residual sum of a continuous hinge model varies slowly
// with its breaks on the scale of ten samples, so no basin narrower than the coarse grid is lost;
// the tests compare the result with the exhaustive scan over every sample pair.
#include <cstddef>
#include <vector>

namespace trv {

struct SegmentedFitResult {
    bool ok = false;
    double break1 = 0.0;       // in the samples' x
    double break2 = 0.0;       // two-break fit only; break1 < break2
    double residualSum = 0.0;  // of the fit at the breaks
};

class CSegmentedFit {
public:
    // Samples in ascending x (at least 3 distinct x values).
    CSegmentedFit(const std::vector<double>& x, const std::vector<double>& y);

    // Residual sum of the continuous fit with one break at b (any real b) or two at b1 <= b2.
    double ResidualSum(double b) const;
    double ResidualSum(double b1, double b2) const;

    // One break in [lo, hi], the global minimiser.
    SegmentedFitResult FitOne(double lo, double hi) const;
    // Two breaks with lo <= b1, b2 <= hi and b2 - b1 >= minGap, the global minimiser.
    SegmentedFitResult FitTwo(double lo, double hi, double minGap) const;

    // Exhaustive scan over the samples as break positions (for checking the fast search).
    SegmentedFitResult ScanAllSamplePairs(double lo, double hi, double minGap) const;

    size_t SampleCount() const { return m_u.size(); }

private:
    struct Sums {
        double n, u, uu, y, uy;
    };
    // Cholesky factor L (row-major, 3 columns) of the Gram matrix of (1, u, hinge at b1), the
    // projections z = L^-1 b and the residual sum left by those basis functions.
    struct Factor {
        double L[9] = {};
        double z[3] = {};
        double b1 = 0.0;
        double rss = 0.0;
    };
    Factor WithBreak(double b1, size_t m1) const;                    // m1: first sample above b1
    double WithSecond(const Factor& f, double b2, size_t m2) const;  // residual sum, b2 >= b1
    Sums Suffix(size_t m) const;
    size_t FirstAbove(double u) const;  // first sample index with u_i > u
    double Rss(const double* breaks, int count) const;
    double ToU(double x) const { return (x - m_dOrigin) / m_dSpan; }
    double ToX(double u) const { return m_dOrigin + u * m_dSpan; }
    // Index range of samples inside [lo, hi].
    void SampleRange(double lo, double hi, long& first, long& last) const;

    double m_dOrigin = 0.0, m_dSpan = 1.0;
    std::vector<double> m_u;   // scaled x in [0, 1]
    std::vector<double> m_yc;  // y minus its mean
    std::vector<Sums> m_suffix;
    double m_dYY = 0.0;
    Factor m_base;  // (1, u) only
};

}  // namespace trv
