#pragma once
// Showing a chosen set of tests and evaluating them, as the view does when the user ticks tests
// in the test list; used by the headless commands (evaluation, printed protocol).
#include "ChartModel.h"
#include "Evaluator.h"

#include <cstdint>
#include <vector>

namespace trv {

class CTRVDoc;

// Exactly the tests `indices` are shown in the chart (invalid indices are ignored); each of them
// gets the fitting function `fit` and the threshold model `model`.
void ShowOnlyTests(CTRVDoc& doc, const std::vector<int>& indices, int fit, int model);

// The "parameters missing" notices the test list sets for the shown tests, in document order: 0x1
// for the first shown test, 0x2 for every later one; set by a test without parameters entered,
// cleared by one with them.
uint32_t ParamsMissingNotices(const CTRVDoc& doc);

// ShowOnlyTests, then the evaluation with its result boxes on a chart in its first-update state.
// Returns the notice flags.
uint32_t EvaluateTests(CTRVDoc& doc, const std::vector<int>& indices, int fit, int model, CEvaluator& evaluator,
                       CChartModel& chart);

}  // namespace trv
