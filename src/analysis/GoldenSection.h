#pragma once
// Golden-section search for the minimum of a function that is unimodal on a bracket.
#include <cmath>

namespace trv {

// Narrows [a, b] around the minimum of `f` until it is shorter than `tol` or `maxSteps` steps are
// done, and returns the midpoint of what is left. A tie (or a NaN) moves the bracket to the left.
template <typename F>
double GoldenSectionMin(F f, double a, double b, double tol, int maxSteps = 200) {
    const double invPhi = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = b - invPhi * (b - a);
    double d = a + invPhi * (b - a);
    double fc = f(c), fd = f(d);
    for (int i = 0; i < maxSteps && b - a > tol; ++i) {
        if (!(fd < fc)) {
            b = d;
            d = c;
            fd = fc;
            c = b - invPhi * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + invPhi * (b - a);
            fd = f(d);
        }
    }
    return 0.5 * (a + b);
}

}  // namespace trv
