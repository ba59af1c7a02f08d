#pragma once
// Least squares e(x) = a + b·e^(c·x) at the global minimum over every real c, and the Dmax of the
// exponential (the load where its slope equals that of the line between e(x1) and e(xn)).
//
// For a fixed c the model is linear in a and b, so the residual sum is a function of c alone. It is
// scanned on a logarithmic grid of c·(xn - x1) from 1e-3 to 1e3 on both signs and refined by golden
// section around the grid's smallest value. A smallest value at either end of the grid (the fit only
// improves as c -> 0 or c -> infinity) has no finite minimiser.
#include <cstddef>
#include <vector>

namespace trv {

struct ExpFitResult {
    enum Status { Ok, TooFew, NoMinimum, NotRising };
    Status status = TooFew;
    double a = 0.0;
    double c = 0.0;       // 1 / load unit
    double bAtEnd = 0.0;  // b·e^(c·xn): b scaled to the last load (b itself may overflow)
    double x1 = 0.0, xn = 0.0;
    double residualSum = 0.0;
    double Value(double x) const;
    // x* = (1/c)·ln((e^(c·xn) - e^(c·x1)) / (c·(xn - x1))).
    double DmaxLoad() const;
};

// Points in any order; x1 and xn are their smallest and largest load. Needs at least 4 points at
// two or more loads.
ExpFitResult FitExponential(const std::vector<double>& x, const std::vector<double>& y);

// The same fit for many lactate vectors on the same loads: the grid's basis functions, which depend
// on the loads only, are made once.
class CExpFitGrid {
public:
    explicit CExpFitGrid(const std::vector<double>& x);
    ExpFitResult Fit(const std::vector<double>& y);  // not for two threads at once

private:
    struct Column {
        double k = 0.0;
        double spp = 0.0;        // sum of dp^2
        std::vector<double> dp;  // the basis minus its mean
    };
    size_t m_n = 0;
    double m_x1 = 0.0, m_xn = 0.0;
    bool m_bUsable = false;  // at least 4 points at two or more loads
    std::vector<double> m_u;
    std::vector<Column> m_grid;
    std::vector<double> m_phi;  // scratch
};

// Residual sum of the best a and b for a given c (for checks).
double ExponentialResidual(const std::vector<double>& x, const std::vector<double>& y, double c);

}  // namespace trv
