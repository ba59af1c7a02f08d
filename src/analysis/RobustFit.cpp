#include "analysis/RobustFit.h"

#include "data/ManualIds.h"
#include "data/Records.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

namespace trv {

namespace {

constexpr double kTuning = 4.685;
constexpr double kMadToSigma = 0.6745;
constexpr double kWeightTolerance = 1e-6;
constexpr int kMaxIterations = 50;
constexpr double kDetectable = 2.77;  // 1.96 * sqrt(2)

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    const size_t m = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(m), v.end());
    const double hi = v[m];
    if (v.size() % 2) return hi;
    const double lo = *std::max_element(v.begin(), v.begin() + static_cast<long>(m));
    return 0.5 * (lo + hi);
}

}  // namespace

double RobustCubicFit::Value(double x) const {
    const double u = (x - centre) / width;
    return q[0] + u * (q[1] + u * (q[2] + u * q[3]));
}

RobustCubicFit FitBisquareCubic(const std::vector<double>& x, const std::vector<double>& y) {
    RobustCubicFit r;
    const size_t n = x.size();
    if (y.size() != n || n < 4) return r;
    std::vector<double> distinct(x);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() < 4) return r;
    r.centre = 0.5 * (distinct.front() + distinct.back());
    r.width = 0.5 * (distinct.back() - distinct.front());
    const auto N = static_cast<Eigen::Index>(n);
    Eigen::MatrixXd X(N, 4);
    Eigen::VectorXd Y(N);
    for (Eigen::Index i = 0; i < N; ++i) {
        const double u = (x[static_cast<size_t>(i)] - r.centre) / r.width;
        X(i, 0) = 1.0;
        X(i, 1) = u;
        X(i, 2) = u * u;
        X(i, 3) = u * u * u;
        Y(i) = y[static_cast<size_t>(i)];
    }
    // Leverage of the unweighted fit: the squared row norms of the thin Q.
    const Eigen::HouseholderQR<Eigen::MatrixXd> qr(X);
    const Eigen::MatrixXd Q = qr.householderQ() * Eigen::MatrixXd::Identity(N, 4);
    std::vector<double> adjust(n);
    for (Eigen::Index i = 0; i < N; ++i) {
        const double h = std::min(Q.row(i).squaredNorm(), 0.9999);
        adjust[static_cast<size_t>(i)] = 1.0 / std::sqrt(1.0 - h);
    }

    Eigen::VectorXd w = Eigen::VectorXd::Ones(N);
    Eigen::Vector4d q = Eigen::Vector4d::Zero();
    auto solve = [&](const Eigen::VectorXd& weights, Eigen::Vector4d& out) {
        int used = 0;
        for (Eigen::Index i = 0; i < N; ++i) used += weights(i) > 0.0;
        if (used < 4) return false;
        const Eigen::VectorXd sw = weights.array().sqrt();
        const Eigen::MatrixXd WX = sw.asDiagonal() * X;
        const Eigen::VectorXd WY = sw.asDiagonal() * Y;
        const auto dec = WX.colPivHouseholderQr();
        if (dec.rank() < 4) return false;
        out = dec.solve(WY);
        return out.allFinite();
    };
    if (!solve(w, q)) return r;
    std::vector<double> radj(n), absAdj(n);
    double floor = 1.0;
    for (double v : y) floor = std::max(floor, std::fabs(v));
    floor *= 1e-9;
    for (int it = 1; it <= kMaxIterations; ++it) {
        r.iterations = it;
        const Eigen::VectorXd res = Y - X * q;
        for (size_t i = 0; i < n; ++i) {
            radj[i] = res(static_cast<Eigen::Index>(i)) * adjust[i];
            absAdj[i] = std::fabs(radj[i]);
        }
        // The median absolute deviation of the adjusted residuals, without the p - 1 smallest of them
        // (a cubic pulls that many residuals towards 0 whatever the noise).
        std::vector<double> sorted(absAdj);
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(sorted.begin(), sorted.begin() + 3);
        double s = Median(sorted) / kMadToSigma;
        // A fit through every point: no residual to scale by, so only exact fits keep their weight.
        s = std::max(s, floor);
        r.scale = s;
        Eigen::VectorXd next(N);
        double change = 0.0;
        for (Eigen::Index i = 0; i < N; ++i) {
            const double u = radj[static_cast<size_t>(i)] / (kTuning * s);
            next(i) = std::fabs(u) < 1.0 ? (1.0 - u * u) * (1.0 - u * u) : 0.0;
            change = std::max(change, std::fabs(next(i) - w(i)));
        }
        Eigen::Vector4d nq;
        if (!solve(next, nq)) break;  // too few points keep a weight: stay with the last fit
        w = next;
        q = nq;
        if (change <= kWeightTolerance) break;
    }
    r.ok = true;
    for (int i = 0; i < 4; ++i) r.q[static_cast<size_t>(i)] = q(i);
    r.weights.assign(w.data(), w.data() + n);
    r.residuals.resize(n);
    for (size_t i = 0; i < n; ++i) r.residuals[i] = y[i] - r.Value(x[i]);
    return r;
}

std::vector<OutlierFlag> FlagOutliers(const ThresholdInput& in, const ErrorModel& error) {
    std::vector<OutlierFlag> flags;
    if (in.x.size() < kRobustMinPoints) return flags;
    const RobustCubicFit fit = FitBisquareCubic(in.x, in.y);
    if (!fit.ok) return flags;
    for (size_t i = 0; i < in.x.size(); ++i) {
        if (fit.weights[i] != 0.0 || !(std::fabs(fit.residuals[i]) > kDetectable * error.Sigma(in.y[i]))) continue;
        OutlierFlag f;
        f.id = i < in.ids.size() ? in.ids[i] : 0;
        f.row = i < in.rows.size() ? in.rows[i] : static_cast<int>(i);
        f.load = in.x[i];
        f.lactate = in.y[i];
        f.residual = fit.residuals[i];
        flags.push_back(f);
    }
    return flags;
}

std::string OutlierText(const OutlierFlag& flag, int loadUnit) {
    const std::string nr = IsManualMeasId(flag.id) ? Fmt("%d", flag.row + 1) : Fmt("%u", unsigned{flag.id});
    const double load = LoadInTestUnit(flag.load, loadUnit);
    const std::string loadText = loadUnit == UnitWatt  ? Fmt("%.0f W", load)
                                 : loadUnit == UnitKmh ? Fmt("%.1f km/h", load)
                                                       : Fmt("%.2f m/s", load);
    return FmtId(IDS_OUTLIER_NOTICE, nr.c_str(), loadText.c_str(), Fmt("%.1f", flag.lactate).c_str());
}

}  // namespace trv
