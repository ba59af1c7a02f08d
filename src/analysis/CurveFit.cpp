#include "analysis/CurveFit.h"

#include "analysis/ChartModel.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

namespace trv {

namespace {

// The faults that make a computation fail; inexact does not. (There is no portable denormal flag;
// a denormal result also raises underflow.)
constexpr int kFaults = FE_OVERFLOW | FE_UNDERFLOW | FE_DIVBYZERO | FE_INVALID;

bool FaultRaised() { return std::fetestexcept(kFaults) != 0; }

constexpr double kMaxDouble = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();

}  // namespace

int PolyFit(const double* x, const double* y, int n, double* coeff, int m) {
    if (m < 0 || n < 0 || !x || !y || !coeff) return -1;
    std::feclearexcept(FE_ALL_EXCEPT);
    const int size = m + 1;
    std::vector<std::vector<double>> A(static_cast<size_t>(size), std::vector<double>(static_cast<size_t>(size), 0.0));
    std::vector<double> b(static_cast<size_t>(size), 0.0);
    for (int i = 0; i <= m; ++i) {
        for (int j = 0; j <= i; ++j) {
            double s = 0.0;
            for (int k = 0; k < n; ++k) s += std::pow(x[k], i + j);
            A[i][j] = s;
            A[j][i] = s;
        }
        double s = 0.0;
        for (int k = 0; k < n; ++k) s += std::pow(x[k], i) * y[k];
        b[i] = s;
    }

    for (int c = 0; c < m; ++c) {
        if (A[c][c] == 0.0) {
            int r = c + 1;
            while (r <= m && A[r][c] == 0.0) ++r;
            if (r > m) return -1;
            std::swap(A[c], A[r]);
            std::swap(b[c], b[r]);
        }
        for (int r = c + 1; r <= m; ++r) {
            const double f = A[r][c] / A[c][c];
            for (int j = c + 1; j <= m; ++j) A[r][j] -= f * A[c][j];
            b[r] -= f * b[c];
            A[r][c] = 0.0;
        }
    }

    coeff[m] = b[m] / A[m][m];
    for (int i = m - 1; i >= 0; --i) {
        double s = b[i];
        for (int j = i + 1; j <= m; ++j) s -= A[i][j] * coeff[j];
        coeff[i] = s / A[i][i];
        const double a = std::fabs(coeff[i]);
        // NaN compares false everywhere; the invalid flag that produced it catches it below.
        if (a > kMaxDouble || a < kMinNormal || FaultRaised() || std::isnan(coeff[i])) {
            std::feclearexcept(FE_ALL_EXCEPT);
            return -1;
        }
    }
    return 0;
}

double PolyValue(double a0, double a1, double a2, double a3, double x) {
    return a1 * x + a0 + a2 * x * x + a3 * x * x * x;
}

double PolyDerivative(double a1, double a2, double a3, double x) { return 2.0 * a2 * x + a1 + 3.0 * a3 * x * x; }

int SplineSetup(const double* x, const double* y, int n, std::vector<double>& h, std::vector<double>& M) {
    h.assign(static_cast<size_t>(std::max(n, 0)), 0.0);
    M.assign(static_cast<size_t>(std::max(n, 0)), 0.0);
    for (int i = 1; i < n; ++i)
        if (!(x[i] > x[i - 1])) return -2;
    std::feclearexcept(FE_ALL_EXCEPT);
    std::vector<double> d(static_cast<size_t>(std::max(n, 0)), 0.0);
    std::vector<double> r(static_cast<size_t>(std::max(n, 0)), 0.0);
    for (int i = 1; i <= n - 2; ++i) d[i] = 2.0 * (x[i + 1] - x[i - 1]);
    for (int i = 0; i <= n - 2; ++i) h[i] = x[i + 1] - x[i];
    for (int i = 1; i <= n - 2; ++i) r[i] = 6.0 * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1]);
    if (n > 0) {
        M[0] = 0.0;
        M[n - 1] = 0.0;
    }
    for (int i = 1; i <= n - 3; ++i) {
        r[i + 1] -= r[i] * h[i] / d[i];
        d[i + 1] -= h[i] * h[i] / d[i];
    }
    for (int i = n - 2; i >= 1; --i) M[i] = (r[i] - h[i] * M[i + 1]) / d[i];
    return FaultRaised() ? -1 : 0;
}

int SplineValue(const double* x, const double* y, const std::vector<double>& h, const std::vector<double>& M, int n,
                double v, double& out) {
    // The last k with x[k] <= v <= x[k+1]. Over strictly increasing knots (the set-up refuses
    // others) that is the last knot at or below v, or the last interval when v is the last knot.
    if (n < 2 || !(v >= x[0]) || !(v <= x[n - 1])) return -1;
    int i = static_cast<int>(std::upper_bound(x, x + n, v) - x) - 1;
    if (i > n - 2) i = n - 2;
    if (!(x[i] <= v && x[i + 1] >= v)) return -1;
    out = SplineOnInterval(x, y, h.data(), M.data(), i, v);
    return 0;
}

void CCurveFit::SetPoints(std::vector<double> x, std::vector<double> y) {
    m_x = std::move(x);
    m_y = std::move(y);
    m_y.resize(m_x.size(), 0.0);
    m_nFitCode = -1;
}

bool CCurveFit::Fit(int fitCode) {
    m_nFitCode = -1;
    const int n = PointCount();
    if (fitCode == 0) {
        if (n < 3) return false;
        m_adCoeff = {0.0, 0.0, 0.0, 0.0};
        if (PolyFit(m_x.data(), m_y.data(), n, m_adCoeff.data(), 3) != 0) return false;
        // The highest coefficient is not checked by the routine; a result we would draw or print
        // must still be finite.
        for (double a : m_adCoeff)
            if (!std::isfinite(a)) return false;
    } else if (fitCode == 1) {
        if (n < 1) return false;
        if (SplineSetup(m_x.data(), m_y.data(), n, m_h, m_M) != 0) return false;
    } else {
        return false;
    }
    m_nFitCode = fitCode;
    return true;
}

bool CCurveFit::Value(double v, double& out) const {
    if (m_nFitCode == 0) {
        out = PolyValue(m_adCoeff[0], m_adCoeff[1], m_adCoeff[2], m_adCoeff[3], v);
    } else if (m_nFitCode == 1) {
        if (SplineValue(m_x.data(), m_y.data(), m_h, m_M, PointCount(), v, out) != 0) return false;
    } else {
        return false;
    }
    return std::isfinite(out);
}

void CCurveFit::ValuesAscending(const double* v, int count, double* out) const {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    if (m_nFitCode != 1) {
        for (int k = 0; k < count; ++k) {
            double value = 0.0;
            out[k] = Value(v[k], value) ? value : kNaN;
        }
        return;
    }
    // The interval SplineValue takes: the last knot at or below v, at most the last but one.
    const int n = PointCount();
    const double* x = m_x.data();
    int i = 0;
    for (int k = 0; k < count; ++k) {
        const double load = v[k];
        out[k] = kNaN;
        if (n < 2 || !(load >= x[0]) || !(load <= x[n - 1])) continue;
        while (i < n - 2 && x[i + 1] <= load) ++i;
        if (!(x[i] <= load && x[i + 1] >= load)) continue;
        const double value = SplineOnInterval(x, m_y.data(), m_h.data(), m_M.data(), i, load);
        if (std::isfinite(value)) out[k] = value;
    }
}

bool CCurveFit::Sample(ChartSeries& curve, const char* label, unsigned colour) const {
    if (m_x.empty()) return false;
    const auto [mn, mx] = std::minmax_element(m_x.begin(), m_x.end());
    const double xmin = *mn;
    const double xmax = *mx;
    const double step = (xmax - xmin) / 80.0;
    for (int i = 0; i <= 80; ++i) {
        // xmin + 80 * step can land one rounding step beyond xmax, outside the spline's knots.
        const double v = std::min(xmin + i * step, xmax);
        double y = 0.0;
        if (!Value(v, y)) return false;
        curve.Add(v, y, label, colour);
    }
    return true;
}

double CCurveFit::ResidualSum() const {
    double s = 0.0;
    for (size_t k = 0; k < m_x.size(); ++k) {
        const double e = m_y[k] - PolyValue(m_adCoeff[0], m_adCoeff[1], m_adCoeff[2], m_adCoeff[3], m_x[k]);
        s += e * e;
    }
    return s;
}

void CCurveFit::Release() {
    m_h.clear();
    m_M.clear();
    m_x.clear();
    m_y.clear();
}

}  // namespace trv
