#pragma once
// Lactate-performance curves: the least-squares cubic (normal equations, plain Gaussian
// elimination) and the natural cubic interpolating spline, with the floating-point status
// deciding whether a computation counts.
#include <array>
#include <vector>

namespace trv {

struct ChartSeries;

// Least-squares polynomial of degree m through n points. `coeff` receives m+1 coefficients in
// ascending order (a0 first) and must hold m+1 doubles (the caller sets them to 0.0 first).
// Returns 0, or -1 when a pivot column is zero, a coefficient below the highest is infinite,
// denormal or exactly 0.0, or the floating-point status shows a fault.
int PolyFit(const double* x, const double* y, int n, double* coeff, int m);

// a0 + a1 x + a2 x^2 + a3 x^3.
double PolyValue(double a0, double a1, double a2, double a3, double x);

// First derivative a1 + 2 a2 x + 3 a3 x^2.
double PolyDerivative(double a1, double a2, double a3, double x);

// The spline's cubic term t^3 - t.
inline double SplineG(double t) { return t * t * t - t; }

// Natural cubic spline set-up: fills h (knot spacings, n) and M (second derivatives, n).
// Returns 0, -2 when x is not strictly increasing, -1 when the floating-point status shows a fault.
int SplineSetup(const double* x, const double* y, int n, std::vector<double>& h, std::vector<double>& M);

// The spline on its interval i at v (x[i] <= v <= x[i+1]).
inline double SplineOnInterval(const double* x, const double* y, const double* h, const double* M, int i, double v) {
    const double t = (v - x[i]) / h[i];
    const double u = 1.0 - t;
    return t * y[i + 1] + u * y[i] + (SplineG(u) * M[i] + SplineG(t) * M[i + 1]) * h[i] * h[i] / 6.0;
}

// Spline value at v: 0 and `out`, or -1 when v lies outside [x0, x(n-1)]. At an inner knot the
// interval to the right is used.
int SplineValue(const double* x, const double* y, const std::vector<double>& h, const std::vector<double>& M, int n,
                double v, double& out);

// The fit's working storage for one test at a time: the points, the cubic's coefficients and the
// spline storage. Owned by the evaluation; the threshold search and the cursor read it.
class CCurveFit {
public:
    // Takes the points (load, lactate) in the order they were drawn.
    void SetPoints(std::vector<double> x, std::vector<double> y);
    int PointCount() const { return static_cast<int>(m_x.size()); }

    // Fits by the fitting code (0 cubic, 1 spline). False when the fit fails (fewer than three
    // points for the cubic, no point for the spline, any other code, or the routine fails).
    bool Fit(int fitCode);

    // y(v) of the current fit; false when the value cannot be computed (spline outside its knots,
    // no fit) or is not finite.
    bool Value(double v, double& out) const;
    // Value at each of `count` ascending loads `v`, NaN where it fails (as Value would): a scan
    // over many loads without searching the spline's interval anew for each.
    void ValuesAscending(const double* v, int count, double* out) const;

    // 81 points from the smallest to the largest x added to `curve` (label, colour); false when a
    // value fails (the points before it stay).
    bool Sample(ChartSeries& curve, const char* label, unsigned colour) const;

    // Residual sum of squares of the cubic over the points.
    double ResidualSum() const;

    void Release();

    int m_nFitCode = -1;  // the code of the current successful fit, -1 = none
    std::array<double, 4> m_adCoeff{};
    std::vector<double> m_h, m_M;
    std::vector<double> m_x, m_y;
};

}  // namespace trv
