#pragma once
// Step tests from single measurements, the measurement type commands, the loads of the main-load
// steps and the compensation of a shortened last step. Everything addresses tests and measurements
// by index; the list controls map their rows to these indices.
#include "analysis/TestAnalysis.h"
#include "data/Records.h"

#include <vector>

namespace trv {

class CTRVDoc;

// A step test: it has readings and the first is not a single measurement. Only step tests are shown.
bool IsStepTest(const TestDataType& test);

// Ticks every PrL, Ld and AFL reading, as showing the test in the chart does.
void TickForChart(TestDataType& test);

// True when at least two tests are given and every one is a single measurement (its first
// measurement has type 0): the command "In Stufentest umwandeln" is enabled.
bool CanConvertToStepTest(const CTRVDoc& doc, const std::vector<int>& testIndices);

// Joins the single measurements of the given tests (any order) into the oldest of them, which
// becomes a step test; the other tests are removed. Step tests among them are skipped.
// Returns the index of the resulting test (the new selection), or -1 when nothing was converted
// (fewer than two single measurements). Marks the document modified.
int ConvertToStepTest(CTRVDoc& doc, const std::vector<int>& testIndices);

// Sets the measurement type (1 PrL, 2 Ld, 3 AFL). With two or more selected rows every selected
// measurement gets the type (PrL and AFL also zero its speed and power); otherwise only the current
// row (-1 = none) gets it and keeps its loads. Then the loads are updated. Returns false when
// nothing was changed.
bool SetMeasType(TestDataType& test, const std::vector<int>& selectedRows, int currentRow, int newType);

// Recomputes the loads of the main-load steps from the test parameters (skipped for individual
// loads and for the manual duration source).
void UpdateLoads(TestDataType& test);

// A field-test step's speed from the track length and its duration; 0.0 for a duration of 0 s.
double SpeedFromDuration(double trackLength, int durationSeconds);

// The load of step `step` in the display unit (km/h, m/s or W).
double StepLoad(const TestDataType& test, int step);

// Whether step `step` is a shortened last step that gets compensated, and its compensated load
// (display unit). `x` is the step's load in the display unit.
bool CompensatedLoad(const TestDataType& test, int step, double x, double& compensated);

// Marks the test's shortened last step and fills the shortened-step values of `an` as the evaluation does,
// so that lists and exports of a test that is not shown in the chart carry the compensated load too.
void UpdateShortenedStep(TestDataType& test, TestAnalysis& an);

}  // namespace trv
