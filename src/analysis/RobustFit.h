#pragma once
// Readings that do not fit: the cubic fitted robustly (Tukey's bisquare) and the flag of a reading
// that the robust fit sets aside by more than the analyser's error explains. Nothing is removed; the
// user decides by unticking the reading.
#include "analysis/Uncertainty.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// The robust fit needs this many points; below, nothing is flagged.
constexpr size_t kRobustMinPoints = 6;

struct RobustCubicFit {
    bool ok = false;
    int iterations = 0;
    std::vector<double> weights;    // final bisquare weight per point (0 .. 1)
    std::vector<double> residuals;  // y - p(x) of the final fit
    double scale = 0.0;             // MAD / 0.6745 of the leverage-adjusted residuals
    double centre = 0.0, width = 1.0;
    std::array<double, 4> q{};  // coefficients in u = (x - centre) / width
    double Value(double x) const;
};

// Bisquare (tuning constant 4.685) on residuals adjusted by leverage, r / sqrt(1 - h), scale
// MAD / 0.6745, iterated until no weight changes by more than 1e-6, at most 50 times. Not ok with
// fewer than four distinct loads.
RobustCubicFit FitBisquareCubic(const std::vector<double>& x, const std::vector<double>& y);

// The points (ascending load) whose final weight is 0 and whose robust residual exceeds 2.77 sigma(L)
// (the smallest difference of two readings that is detectable at 95 %). None below 6 points.
std::vector<OutlierFlag> FlagOutliers(const ThresholdInput& input, const ErrorModel& error);

// "Messwert {Nr} ({Last}; {Laktat} mmol/l) passt nicht zur Kurve. Bitte prüfen." with the load in the
// test's unit. Nr is the measurement ID, or the reading's position in the test for a reading typed
// in by hand (whose ID the lists do not show).
std::string OutlierText(const OutlierFlag& flag, int loadUnit);

}  // namespace trv
