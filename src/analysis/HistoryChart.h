#pragma once
// The history's charts as plain data: one chart per test type and load unit (loads of different
// units or test types never share an axis), one series per chosen method, one point per test whose
// method is determinable, at the test's date, labelled with its load.
#include "analysis/History.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trv {

struct HistoryPoint {
    double date = 0.0;                // days since 1899-12-30 (the test's first reading)
    double load = 0.0;                // in the test's unit (km/h, m/s or W)
    std::string label;                // the load as the table shows it ("12,4")
    int row = -1;                     // row of the history
    std::optional<double> low, high;  // the load's interval (test's unit), when computed
};

struct HistorySeries {
    std::string id, label;
    uint32_t color = 0;  // 0x00BBGGRR
    std::vector<HistoryPoint> points;
};

struct HistoryChart {
    int testType = 0, loadUnit = 0;
    std::string title;                  // "Laufband (km/h)"
    std::string yTitle;                 // "Belastung [km/h]"
    std::vector<HistorySeries> series;  // every chosen method, in the chosen order, even without points
    int rows = 0;                       // tests of this type and unit
};

// The charts in the order in which their test type and unit first appear in the rows. Rows without
// a valid date have no point (there is no place for them on a date axis).
std::vector<HistoryChart> HistoryCharts(const std::vector<HistoryRow>& rows);

// The colour of the i-th chosen method (0x00BBGGRR), distinct for the first eight.
uint32_t HistoryColor(size_t i);

// A load in the test's unit as the table writes it ("%.1f" with a decimal comma; "%.0f" for W).
std::string HistoryLoadText(double shownLoad, int loadUnit);

}  // namespace trv
