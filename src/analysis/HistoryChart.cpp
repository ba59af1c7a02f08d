#include "analysis/HistoryChart.h"

#include "analysis/ThresholdMethods.h"
#include "data/Records.h"
#include "res/Format.h"

#include <utility>

namespace trv {

uint32_t HistoryColor(size_t i) {
    // Navy, red, dark green, orange, purple, teal, brown, grey.
    static const uint32_t colors[] = {0x800000, 0x0000C8, 0x008000, 0x0080FF, 0x800080, 0x808000, 0x204080, 0x606060};
    return colors[i % (sizeof colors / sizeof colors[0])];
}

std::string HistoryLoadText(double shownLoad, int loadUnit) {
    return Fmt(loadUnit == UnitWatt ? "%.0f" : "%.1f", shownLoad);
}

std::vector<HistoryChart> HistoryCharts(const std::vector<HistoryRow>& rows) {
    std::vector<HistoryChart> charts;
    for (size_t r = 0; r < rows.size(); ++r) {
        const HistoryRow& row = rows[r];
        HistoryChart* chart = nullptr;
        for (HistoryChart& c : charts)
            if (c.testType == row.testType && c.loadUnit == row.loadUnit) chart = &c;
        if (!chart) {
            HistoryChart c;
            c.testType = row.testType;
            c.loadUnit = row.loadUnit;
            c.title = FmtId(IDS_HIST_CHART_TITLE, TestTypeText(row.testType), LoadUnitText(row.loadUnit));
            c.yTitle = FmtId(IDS_HIST_AXIS_LOAD, LoadUnitText(row.loadUnit));
            for (size_t m = 0; m < row.methods.size(); ++m)
                c.series.push_back({row.methods[m].id, row.methods[m].label, HistoryColor(m), {}});
            charts.push_back(std::move(c));
            chart = &charts.back();
        }
        ++chart->rows;
        if (!row.date.IsValid()) continue;
        for (size_t m = 0; m < row.methods.size() && m < chart->series.size(); ++m) {
            const HistoryValue& v = row.methods[m];
            if (!v.ok || !v.load) continue;
            const double shown = LoadInTestUnit(*v.load, row.loadUnit);
            chart->series[m].points.push_back({row.date.m_dt, shown, HistoryLoadText(shown, row.loadUnit),
                                               static_cast<int>(r), std::nullopt, std::nullopt});
            if (v.ciLow && v.ciHigh) {
                chart->series[m].points.back().low = LoadInTestUnit(*v.ciLow, row.loadUnit);
                chart->series[m].points.back().high = LoadInTestUnit(*v.ciHigh, row.loadUnit);
            }
        }
    }
    return charts;
}

}  // namespace trv
