#pragma once
// The individual anaerobic threshold (IANS) on a fitted curve, the heart rate and running times
// at it, and the texts that show the results: the chart's result box, the cursor read-out and the
// printed results.
#include "analysis/TestAnalysis.h"
#include "data/Records.h"

#include <string>

namespace trv {

class CCurveFit;
struct ChartSeries;

// Lactate level of the Mader model, mmol/l.
constexpr double kMaderLactate = 4.0;

// Tangent angle in degrees of the Keul (1) and Simon (2) models for a speed unit; false for the
// Mader model and for the unit W (those models are not offered there).
bool TangentAngle(int model, int loadUnit, double& angle);
// Slope of the tangent for an angle in degrees (with pi taken as 3.14159265).
double TangentSlope(double angleDegrees);

// Mader: the load where the curve reaches 4.0 mmol/l, by bisection between lo and hi.
// `load` receives the last midpoint (also on failure). False when 100 halvings do not reach the
// tolerance or a curve value fails.
bool FindMaderThreshold(const CCurveFit& fit, double lo, double hi, double& load);

// Keul / Simon: the load where the cubic's slope reaches `slope`, by bisection on the derivative.
// `load` receives the last midpoint (also on failure). Only for a cubic fit.
bool FindTangentThreshold(const CCurveFit& fit, double slope, double lo, double hi, double& load);

// Heart rate at `load` by linear interpolation on a heart-rate series (x = load, y = beats/min),
// extrapolating from the first two points below the first point; -1.0 when there is none (fewer
// than two points, no point at or beyond the load, or two points at the same load).
double HeartRateAt(const ChartSeries& hr, double load);

// Whole seconds for 1000 m and for the track at `load` (km/h or m/s), truncated toward zero.
// A load that is not a positive speed gives 0 s for both.
void FieldTimes(double load, int loadUnit, double trackLength, int32_t& time1000, int32_t& timeTrack);

// Runs the threshold model of `an` on the current fit and stores the results in `an`:
// load, lactate, angle, failed flag, heart rate (from `hr` when `hrActive`), the field-test times
// and the evaluated flag. `curve` is the sampled curve (its x range bounds the searches).
// Returns true when the threshold was determined.
bool DetermineThreshold(const TestDataType& test, TestAnalysis& an, const CCurveFit& fit, const ChartSeries& curve,
                        const ChartSeries& hr, bool hrActive);

// Axis symbol "v" / "P" and unit text "km/h" / "m/s" / "W" of a load unit.
const char* LoadSymbol(int loadUnit);

// The chart's result box text of an evaluated test ("\r" line breaks).
std::string ResultText(const TestDataType& test, const TestAnalysis& an);

// The printed results of a test (tab-separated lines).
std::string PrintedResultText(const TestDataType& test, const TestAnalysis& an);

// The cursor read-out line for cursor `cursor` (1 or 2) at (x, y) on the curve of `test`, with the
// heart rate from `hr` when that series has it.
std::string CursorText(int cursor, const TestDataType& test, double x, double y, const ChartSeries& hr);

}  // namespace trv
