#pragma once
// The history with intervals: the interval of every listed method of every row, and which changes
// against the previous test of the same test type and load unit are clear.
#include "analysis/History.h"
#include "analysis/Uncertainty.h"

#include <atomic>
#include <vector>

namespace trv {

class CTRVDoc;

// Fills ciLow, ciHigh, se and changeClear of `rows` (as BuildHistory made them from `doc`), with the
// tests evaluated as the rows say. `dayToDay` is the day-to-day variation (fraction). Tests are
// computed on every core. False when cancelled (the rows are then left partly filled).
bool AddHistoryIntervals(const CTRVDoc& doc, std::vector<HistoryRow>& rows, const ErrorModel& error, double dayToDay,
                         const std::atomic<bool>* cancel = nullptr);

// changeClear of every value from the intervals already in `rows`.
void MarkClearChanges(std::vector<HistoryRow>& rows, double dayToDay);

}  // namespace trv
