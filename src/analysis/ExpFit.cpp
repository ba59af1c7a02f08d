#include "analysis/ExpFit.h"

#include "analysis/GoldenSection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace trv {

namespace {

constexpr int kGridPerSign = 100;
constexpr double kGridLow = 1e-3;  // smallest |c·(xn - x1)| of the grid
constexpr double kGridHigh = 1e3;  // largest

// Linear least squares of y on (1, phi): the residual sum, and a and b when asked.
double ProfileFit(const std::vector<double>& phi, const std::vector<double>& y, double* a = nullptr,
                  double* b = nullptr) {
    const double n = static_cast<double>(y.size());
    double mp = 0.0, my = 0.0;
    for (size_t i = 0; i < y.size(); ++i) {
        mp += phi[i];
        my += y[i];
    }
    mp /= n;
    my /= n;
    double spp = 0.0, spy = 0.0, syy = 0.0;
    for (size_t i = 0; i < y.size(); ++i) {
        const double dp = phi[i] - mp, dy = y[i] - my;
        spp += dp * dp;
        spy += dp * dy;
        syy += dy * dy;
    }
    if (!(spp > 0.0)) return std::numeric_limits<double>::infinity();
    const double slope = spy / spp;
    if (a) *a = my - slope * mp;
    if (b) *b = slope;
    return std::max(syy - spy * slope, 0.0);
}

// The basis e^(k·(u - 1)) for k > 0 and e^(k·u) for k < 0: both stay within [0, 1] on u in [0, 1].
void Basis(const std::vector<double>& u, double k, std::vector<double>& phi) {
    phi.resize(u.size());
    for (size_t i = 0; i < u.size(); ++i) phi[i] = std::exp(k > 0.0 ? k * (u[i] - 1.0) : k * u[i]);
}

}  // namespace

double ExpFitResult::Value(double x) const { return a + bAtEnd * std::exp(c * (x - xn)); }

double ExpFitResult::DmaxLoad() const {
    const double k = c * (xn - x1);
    if (!(k > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    // ln((e^k - 1) / k) without overflow for a large k.
    const double l = k < 700.0 ? std::log(std::expm1(k) / k) : k + std::log1p(-std::exp(-k)) - std::log(k);
    return x1 + (xn - x1) * l / k;
}

double ExponentialResidual(const std::vector<double>& x, const std::vector<double>& y, double c) {
    std::vector<double> phi(x.size());
    const double xn = *std::max_element(x.begin(), x.end());
    for (size_t i = 0; i < x.size(); ++i) phi[i] = std::exp(c * (x[i] - xn));
    return ProfileFit(phi, y);
}

ExpFitResult FitExponential(const std::vector<double>& x, const std::vector<double>& y) {
    if (x.size() < 4 || y.size() != x.size()) return ExpFitResult();
    return CExpFitGrid(x).Fit(y);
}

CExpFitGrid::CExpFitGrid(const std::vector<double>& x) : m_n(x.size()) {
    if (x.size() < 4) return;
    const auto [mn, mx] = std::minmax_element(x.begin(), x.end());
    m_x1 = *mn;
    m_xn = *mx;
    const double span = m_xn - m_x1;
    if (!(span > 0.0)) return;
    m_bUsable = true;
    m_u.resize(x.size());
    for (size_t i = 0; i < x.size(); ++i) m_u[i] = (x[i] - m_x1) / span;

    // k = c·span on both signs, ascending: -1e3 .. -1e-3, 1e-3 .. 1e3.
    std::vector<double> ks;
    const double step = std::log(kGridHigh / kGridLow) / (kGridPerSign - 1);
    for (int i = kGridPerSign - 1; i >= 0; --i) ks.push_back(-kGridLow * std::exp(step * i));
    for (int i = 0; i < kGridPerSign; ++i) ks.push_back(kGridLow * std::exp(step * i));
    const double n = static_cast<double>(m_n);
    m_grid.resize(ks.size());
    std::vector<double> phi;
    for (size_t g = 0; g < ks.size(); ++g) {
        Column& c = m_grid[g];
        c.k = ks[g];
        Basis(m_u, c.k, phi);
        double mp = 0.0;
        for (double p : phi) mp += p;
        mp /= n;
        c.dp.resize(m_n);
        for (size_t i = 0; i < m_n; ++i) {
            c.dp[i] = phi[i] - mp;
            c.spp += c.dp[i] * c.dp[i];
        }
    }
}

ExpFitResult CExpFitGrid::Fit(const std::vector<double>& y) {
    ExpFitResult r;
    if (m_n < 4 || y.size() != m_n) return r;
    r.x1 = m_x1;
    r.xn = m_xn;
    if (!m_bUsable) return r;
    const double span = m_xn - m_x1;
    const double n = static_cast<double>(m_n);
    double my = 0.0;
    for (double v : y) my += v;
    my /= n;
    double syy = 0.0;
    for (double v : y) syy += (v - my) * (v - my);

    // The grid: ProfileFit's residual sum with the basis' part made once.
    size_t best = 0;
    double bestS = std::numeric_limits<double>::infinity();
    for (size_t g = 0; g < m_grid.size(); ++g) {
        const Column& c = m_grid[g];
        double s = std::numeric_limits<double>::infinity();
        if (c.spp > 0.0) {
            double spy = 0.0;
            for (size_t i = 0; i < m_n; ++i) spy += c.dp[i] * (y[i] - my);
            s = std::max(syy - spy * (spy / c.spp), 0.0);
        }
        if (s < bestS) {
            bestS = s;
            best = g;
        }
    }
    const size_t last = m_grid.size() - 1;
    // Ends of the grid: c -> -infinity, c -> 0 from either side, c -> +infinity.
    if (!std::isfinite(bestS) || best == 0 || best == last || best == kGridPerSign - 1 || best == kGridPerSign) {
        r.status = ExpFitResult::NoMinimum;
        return r;
    }
    if (m_grid[best].k < 0.0) {
        r.status = ExpFitResult::NotRising;
        return r;
    }
    auto S = [&](double k) {
        Basis(m_u, k, m_phi);
        return ProfileFit(m_phi, y);
    };
    // Golden section on ln k between the neighbouring grid values.
    double k = std::exp(GoldenSectionMin([&](double lnK) { return S(std::exp(lnK)); }, std::log(m_grid[best - 1].k),
                                         std::log(m_grid[best + 1].k), 1e-12, 100));
    if (S(k) > bestS) k = m_grid[best].k;
    Basis(m_u, k, m_phi);
    double a = 0.0, b = 0.0;
    r.residualSum = ProfileFit(m_phi, y, &a, &b);
    r.a = a;
    r.bAtEnd = b;
    r.c = k / span;
    r.status = b > 0.0 ? ExpFitResult::Ok : ExpFitResult::NotRising;
    return r;
}

}  // namespace trv
