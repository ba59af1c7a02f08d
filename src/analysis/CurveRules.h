#pragma once
// The rules the threshold methods share: a curve sampled on 1001 equally spaced loads, the level
// crossing and the smallest value on it, the least-squares cubic with the Dmax rule, linearly
// resampled points, and the heart rate at a load.
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace trv {

// Number of intervals of every scan over [x1, xn]: 1001 loads t0 = x1 .. t1000 = xn.
constexpr int kScanIntervals = 1000;

// A curve g on [a, b] with its values at the 1001 scan loads. A value that cannot be computed is NaN
// there (and never counts as a crossing or a minimum).
class CSampledCurve {
public:
    using Function = std::function<double(double)>;
    CSampledCurve(Function g, double a, double b);
    // The same curve with its scan values computed by the caller: values[j] = g(Load(j)) (ScanLoads).
    CSampledCurve(Function g, double a, double b, const double* values);
    // The 1001 scan loads of [a, b], as Load gives them.
    static void ScanLoads(double a, double b, double* loads);

    double Load(int j) const;  // t_j, exactly b for j = 1000
    double Value(int j) const { return m_values[static_cast<size_t>(j)]; }
    double operator()(double x) const { return m_g(x); }
    double a() const { return m_a; }
    double b() const { return m_b; }

    // The last upward crossing of `level`: the largest j with g(t_j) < level <= g(t_j+1), then
    // g(x) = level solved inside [t_j, t_j+1] to 1e-9 of (b - a). None when there is no such j.
    std::optional<double> LevelCrossing(double level) const;

private:
    Function m_g;
    double m_a, m_b;
    std::array<double, kScanIntervals + 1> m_values{};
};

// The load in [a, b] where h is smallest: the smallest of the 1001 scan values, then refinement
// between its neighbours to 1e-9 of (b - a): bisection on the sign of h' when `slope` is given
// (exact to the last digits), else golden section (to about the root of the rounding of h).
// `atStart` tells whether the scan's smallest value lay at t0 (then nothing is refined). None when
// no scan value is finite.
std::optional<double> SmallestOnScan(const CSampledCurve& h, bool& atStart,
                                     const std::function<double(double)>& slope = nullptr);

// The least-squares cubic over points (x, y), kept in a centred and scaled variable so that loads
// in W and in m/s are equally well conditioned.
class CLsCubic {
public:
    // False when there are fewer than four distinct loads (the cubic is not determined).
    bool Fit(const std::vector<double>& x, const std::vector<double>& y);
    double Value(double x) const;
    double Derivative(double x) const;
    // Real roots of p'(x) = slope, ascending.
    std::vector<double> DerivativeRoots(double slope) const;
    // Residual sum of squares over the points it was fitted to.
    double ResidualSum() const { return m_dResidualSum; }

private:
    double m_dCentre = 0.0, m_dScale = 1.0;
    std::array<double, 4> m_q{};  // in u = (x - centre) / scale
    double m_dResidualSum = 0.0;
};

// Dmax rule: the line through (xs, ys) and (xn, yn); the candidates are the roots of p'(x) = slope
// inside (xs, xn); the threshold is the candidate farthest above p (distance > 0). None otherwise.
std::optional<double> DmaxRule(const CLsCubic& p, double xs, double ys, double xn, double yn);

// The points (ascending x) resampled at the 1001 scan loads of [x.front(), x.back()], y by linear
// interpolation between them (points at equal loads count by their mean).
void ResamplePoints(const std::vector<double>& x, const std::vector<double>& y, std::vector<double>& tx,
                    std::vector<double>& ty);

// Heart rate at a load: linear between the two neighbouring heart-rate points, extrapolated from the
// nearest two outside their range. Points at equal loads count by their mean heart rate.
class CHeartRateCurve {
public:
    // (load, heart rate) pairs; those with a heart rate of 0 or below are left out.
    void Set(const std::vector<double>& x, const std::vector<double>& hr);
    // None with fewer than two heart-rate points at different loads.
    std::optional<double> At(double load) const;
    // The first load (smallest) where that line, extrapolated the same way, reaches `hr`; none with
    // fewer than two heart-rate points or where it never does.
    std::optional<double> FirstLoadAt(double hr) const;

private:
    std::vector<double> m_x, m_hr;
};

}  // namespace trv
