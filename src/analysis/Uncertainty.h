#pragma once
// How sure a threshold is: the analyser's measurement error, a parametric bootstrap over every
// threshold method, the interval and standard error of each method, and the rule that tells a clear
// change between two tests from the measurement error and the day-to-day variation.
//
// The bootstrap draws B replicates of a test: every lactate the methods read (points, pre-load and
// post-load readings) becomes L + e with e ~ N(0, sigma(L)^2), rounded to 0.1 mmol/l and not below 0,
// and every method is computed again with the same rules. The random numbers come from a generator
// seeded by the test's content, so the same test gives the same intervals on every machine run.
#include "analysis/ThresholdMethods.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trv {

// sigma(L) = sqrt(a^2 + (c L)^2), a in mmol/l, c as a fraction (0.03 = 3 %).
struct ErrorModel {
    double a = 0.20;
    double c = 0.03;
    double Sigma(double lactate) const;
    bool operator==(const ErrorModel&) const = default;
};

// The allowed ranges of the error model and of the day-to-day variation (fractions).
constexpr double kErrorAMax = 2.0;    // mmol/l
constexpr double kErrorCMax = 0.5;    // 50 %
constexpr double kDayToDayMax = 0.5;  // 50 %
constexpr double kDefaultDayToDay = 0.03;
constexpr int kDefaultReplicates = 1000;
// A method needs at least this share of determinable replicates for an interval.
constexpr double kMinDeterminableShare = 0.9;

// "A,C" as the command line takes it: a in mmol/l and c in percent ("0.2,3"), decimal points. False
// for anything else and for values outside 0 <= a <= kErrorAMax, 0 <= c <= 100 * kErrorCMax.
bool ParseErrorModel(const std::string& text, ErrorModel& out);

// The interval of one method.
struct MethodInterval {
    bool ok = false;                      // an interval exists
    std::optional<double> low, high, se;  // stored units
    int determinable = 0;                 // replicates in which the method was determinable
    std::string reason;                   // why there is none ("" when ok or the method itself is not determinable)
};

struct ThresholdIntervals {
    bool complete = false;  // false when cancelled
    int replicates = 0;
    uint64_t seed = 0;
    ErrorModel error;
    std::vector<MethodInterval> methods;  // catalogue order
    const MethodInterval* Find(const std::string& id) const;
};

// The seed of a test: a hash of every value the methods read.
uint64_t ContentSeed(const ThresholdInput& input);

// The intervals of every method of `input`, whose thresholds on the original data are `original`.
// A method not determinable on the original data gets no interval (and no reason of its own).
// `cancel`, when given and set, stops the computation early (the result is then not complete).
ThresholdIntervals ComputeIntervals(const ThresholdInput& input, const TestThresholds& original,
                                    const ErrorModel& error, int replicates = kDefaultReplicates,
                                    const std::atomic<bool>* cancel = nullptr);

// One replicate: the input with every lactate drawn anew (exposed for checks). `draws` receives
// how many normal numbers were used.
class CReplicateSampler {
public:
    CReplicateSampler(const ThresholdInput& input, const ErrorModel& error, uint64_t seed);
    // Fills `out` (a copy of the input with new lactates and the chart's IANS of those lactates).
    void Next(ThresholdInput& out);

private:
    double Draw(double lactate);
    double Normal();
    const ThresholdInput& m_In;
    ErrorModel m_Error;
    uint64_t m_s[4];
    bool m_bSpare = false;
    double m_dSpare = 0.0;
};

// The chart's IANS of an input whose lactates changed: the fit over the points in the chart's order
// and loads, then the threshold model, exactly as the chart's evaluation does it. Sets iansOk,
// iansLoad (stored units) and iansLactate.
void RecomputeChartIans(ThresholdInput& input);

// A clear change between two tests: |delta| > 1.96 sqrt(se1^2 + se2^2 + 2 (d m)^2), m the mean of
// the two loads, d the day-to-day variation (fraction).
double ClearChangeLimit(double se1, double se2, double load1, double load2, double dayToDay);
bool IsClearChange(double load1, double se1, double load2, double se2, double dayToDay);

// Runs body(0) .. body(count - 1) on up to `threads` threads (0: every core); each index once.
void ParallelFor(size_t count, const std::function<void(size_t)>& body, unsigned threads = 0);

struct OutlierFlag {
    uint16_t id = 0;       // measurement ID
    int row = 0;           // index in the test's readings
    double load = 0.0;     // stored units
    double lactate = 0.0;  // mmol/l
    double residual = 0.0;
};

// Everything a test's uncertainty shows, computed from the test alone: the thresholds on the original
// data, the intervals (when asked for) and the readings that do not fit.
struct TestUncertainty {
    TestThresholds thresholds;
    ThresholdIntervals intervals;  // empty methods when not asked for
    std::vector<OutlierFlag> outliers;
};
TestUncertainty ComputeTestUncertainty(const TestDataType& test, int fit, int model, const ErrorModel& error,
                                       bool intervals, const std::atomic<bool>* cancel = nullptr);

// A load with its interval as the tables show it: "245 W (238–252)", "14,2 km/h (13,9–14,6)",
// "4,21 m/s (4,15–4,27)" (W whole, km/h to 0.1, m/s to 0.01); without an interval the load alone.
// Loads in stored units.
std::string LoadWithInterval(double load, const MethodInterval* interval, int loadUnit);

// The reason of a method without an interval: "In {n} % der Wiederholungen nicht bestimmbar.", n the
// share of replicates in which it was not determinable, rounded up.
std::string NoIntervalReason(int determinable, int replicates);

}  // namespace trv
