#include "analysis/CurveRules.h"

#include "analysis/GoldenSection.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace trv {

namespace {

constexpr double kSolveTolerance = 1e-9;  // of (b - a)

// Sorted (x, y) with equal x replaced by one point at the mean y.
void MergeEqualLoads(std::vector<double>& x, std::vector<double>& y) {
    std::vector<size_t> order(x.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return x[a] < x[b]; });
    std::vector<double> mx, my;
    for (size_t k = 0; k < order.size();) {
        size_t e = k;
        double sum = 0.0;
        while (e < order.size() && x[order[e]] == x[order[k]]) sum += y[order[e++]];
        mx.push_back(x[order[k]]);
        my.push_back(sum / static_cast<double>(e - k));
        k = e;
    }
    x.swap(mx);
    y.swap(my);
}

}  // namespace

CSampledCurve::CSampledCurve(Function g, double a, double b) : m_g(std::move(g)), m_a(a), m_b(b) {
    for (int j = 0; j <= kScanIntervals; ++j) m_values[static_cast<size_t>(j)] = m_g(Load(j));
}

CSampledCurve::CSampledCurve(Function g, double a, double b, const double* values) : m_g(std::move(g)), m_a(a), m_b(b) {
    std::copy(values, values + kScanIntervals + 1, m_values.begin());
}

double CSampledCurve::Load(int j) const {
    if (j >= kScanIntervals) return m_b;
    return m_a + (m_b - m_a) * static_cast<double>(j) / kScanIntervals;
}

void CSampledCurve::ScanLoads(double a, double b, double* loads) {
    for (int j = 0; j < kScanIntervals; ++j) loads[j] = a + (b - a) * static_cast<double>(j) / kScanIntervals;
    loads[kScanIntervals] = b;
}

std::optional<double> CSampledCurve::LevelCrossing(double level) const {
    int found = -1;
    for (int j = kScanIntervals - 1; j >= 0; --j)
        if (Value(j) < level && level <= Value(j + 1)) {
            found = j;
            break;
        }
    if (found < 0) return std::nullopt;
    double lo = Load(found);
    double hi = Load(found + 1);
    if (Value(found + 1) == level) return hi;
    const double tol = kSolveTolerance * (m_b - m_a);
    while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        if (m_g(mid) < level)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

std::optional<double> SmallestOnScan(const CSampledCurve& h, bool& atStart,
                                     const std::function<double(double)>& slope) {
    atStart = false;
    int best = -1;
    for (int j = 0; j <= kScanIntervals; ++j)
        if (std::isfinite(h.Value(j)) && (best < 0 || h.Value(j) < h.Value(best))) best = j;
    if (best < 0) return std::nullopt;
    if (best == 0) {
        atStart = true;
        return h.Load(0);
    }
    double lo = h.Load(best - 1);
    double hi = h.Load(std::min(best + 1, kScanIntervals));
    const double tol = kSolveTolerance * (h.b() - h.a());
    if (slope && slope(lo) < 0.0 && slope(hi) > 0.0) {
        while (hi - lo > tol) {
            const double mid = 0.5 * (lo + hi);
            if (mid <= lo || mid >= hi) break;
            if (slope(mid) < 0.0)
                lo = mid;
            else
                hi = mid;
        }
        return 0.5 * (lo + hi);
    }
    // Golden section between the neighbours of the scan's smallest value.
    const double x = GoldenSectionMin([&](double load) { return h(load); }, lo, hi, tol);
    // The scan value itself wins when the bracket's interior is no lower (a minimum at xn).
    return h(x) <= h.Value(best) ? x : h.Load(best);
}

bool CLsCubic::Fit(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = x.size();
    std::vector<double> distinct(x);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() < 4 || y.size() != n) return false;
    m_dCentre = 0.5 * (distinct.front() + distinct.back());
    m_dScale = 0.5 * (distinct.back() - distinct.front());
    Eigen::MatrixXd V(static_cast<Eigen::Index>(n), 4);
    Eigen::VectorXd Y(static_cast<Eigen::Index>(n));
    for (size_t k = 0; k < n; ++k) {
        const double u = (x[k] - m_dCentre) / m_dScale;
        const auto r = static_cast<Eigen::Index>(k);
        V(r, 0) = 1.0;
        V(r, 1) = u;
        V(r, 2) = u * u;
        V(r, 3) = u * u * u;
        Y(r) = y[k];
    }
    const Eigen::Vector4d q = V.colPivHouseholderQr().solve(Y);
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(q(i))) return false;
        m_q[static_cast<size_t>(i)] = q(i);
    }
    m_dResidualSum = (V * q - Y).squaredNorm();
    return true;
}

double CLsCubic::Value(double x) const {
    const double u = (x - m_dCentre) / m_dScale;
    return m_q[0] + u * (m_q[1] + u * (m_q[2] + u * m_q[3]));
}

double CLsCubic::Derivative(double x) const {
    const double u = (x - m_dCentre) / m_dScale;
    return (m_q[1] + u * (2.0 * m_q[2] + 3.0 * u * m_q[3])) / m_dScale;
}

std::vector<double> CLsCubic::DerivativeRoots(double slope) const {
    // 3 q3 u^2 + 2 q2 u + (q1 - slope * scale) = 0 in the scaled variable.
    const double A = 3.0 * m_q[3];
    const double B = 2.0 * m_q[2];
    const double C = m_q[1] - slope * m_dScale;
    std::vector<double> u;
    if (A == 0.0) {
        if (B != 0.0) u.push_back(-C / B);
    } else {
        const double disc = B * B - 4.0 * A * C;
        if (disc >= 0.0) {
            // The stable form: no cancellation between -B and the root of the discriminant.
            const double q = -0.5 * (B + std::copysign(std::sqrt(disc), B));
            if (q != 0.0) {
                u.push_back(q / A);
                u.push_back(C / q);
            } else {
                u.push_back(0.0);
            }
        }
    }
    std::vector<double> roots;
    for (double v : u)
        if (std::isfinite(v)) roots.push_back(m_dCentre + v * m_dScale);
    std::sort(roots.begin(), roots.end());
    return roots;
}

std::optional<double> DmaxRule(const CLsCubic& p, double xs, double ys, double xn, double yn) {
    if (!(xn > xs)) return std::nullopt;
    const double slope = (yn - ys) / (xn - xs);
    std::optional<double> best;
    // Above the line by more than rounding: a straight set of points has no farthest point.
    double bestDistance = 1e-9 * std::max({std::fabs(ys), std::fabs(yn), 1.0});
    for (double x : p.DerivativeRoots(slope)) {
        if (!(x > xs && x < xn)) continue;
        const double distance = ys + slope * (x - xs) - p.Value(x);
        if (distance > bestDistance) {
            bestDistance = distance;
            best = x;
        }
    }
    return best;
}

void ResamplePoints(const std::vector<double>& x, const std::vector<double>& y, std::vector<double>& tx,
                    std::vector<double>& ty) {
    tx.assign(kScanIntervals + 1, 0.0);
    ty.assign(kScanIntervals + 1, 0.0);
    if (x.empty()) return;
    std::vector<double> mx(x), my(y);
    my.resize(mx.size(), 0.0);
    MergeEqualLoads(mx, my);
    const double a = mx.front();
    const double b = mx.back();
    size_t k = 0;
    for (int j = 0; j <= kScanIntervals; ++j) {
        const double t = j == kScanIntervals ? b : a + (b - a) * j / kScanIntervals;
        while (k + 2 < mx.size() && t > mx[k + 1]) ++k;
        tx[static_cast<size_t>(j)] = t;
        if (mx.size() == 1) {
            ty[static_cast<size_t>(j)] = my[0];
            continue;
        }
        const double w = (t - mx[k]) / (mx[k + 1] - mx[k]);
        ty[static_cast<size_t>(j)] = my[k] + w * (my[k + 1] - my[k]);
    }
}

void CHeartRateCurve::Set(const std::vector<double>& x, const std::vector<double>& hr) {
    m_x.clear();
    m_hr.clear();
    for (size_t k = 0; k < x.size() && k < hr.size(); ++k)
        if (hr[k] > 0.0 && std::isfinite(x[k])) {
            m_x.push_back(x[k]);
            m_hr.push_back(hr[k]);
        }
    MergeEqualLoads(m_x, m_hr);
}

std::optional<double> CHeartRateCurve::At(double load) const {
    const size_t n = m_x.size();
    if (n < 2 || !std::isfinite(load)) return std::nullopt;
    size_t k = 0;  // the segment [k, k+1]; the first or last outside the range
    while (k + 2 < n && load > m_x[k + 1]) ++k;
    const double slope = (m_hr[k + 1] - m_hr[k]) / (m_x[k + 1] - m_x[k]);
    const double h = m_hr[k] + slope * (load - m_x[k]);
    if (!std::isfinite(h)) return std::nullopt;
    return h;
}

std::optional<double> CHeartRateCurve::FirstLoadAt(double hr) const {
    const size_t n = m_x.size();
    if (n < 2 || !std::isfinite(hr)) return std::nullopt;
    const double inf = std::numeric_limits<double>::infinity();
    // The line of segment k between the loads lo and hi.
    auto on = [&](size_t k, double lo, double hi) -> std::optional<double> {
        const double slope = (m_hr[k + 1] - m_hr[k]) / (m_x[k + 1] - m_x[k]);
        if (slope == 0.0) return hr == m_hr[k] ? std::optional<double>(std::isfinite(lo) ? lo : m_x[k]) : std::nullopt;
        const double x = m_x[k] + (hr - m_hr[k]) / slope;
        if (std::isfinite(x) && x >= lo && x <= hi) return x;
        return std::nullopt;
    };
    if (auto x = on(0, -inf, m_x[0])) return x;
    for (size_t k = 0; k + 1 < n; ++k)
        if (auto x = on(k, m_x[k], m_x[k + 1])) return x;
    return on(n - 2, m_x[n - 1], inf);
}

}  // namespace trv
