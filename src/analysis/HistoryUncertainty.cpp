#include "analysis/HistoryUncertainty.h"

#include "analysis/StepTest.h"
#include "data/TRVDoc.h"

#include <algorithm>
#include <map>

namespace trv {

bool AddHistoryIntervals(const CTRVDoc& doc, std::vector<HistoryRow>& rows, const ErrorModel& error, double dayToDay,
                         const std::atomic<bool>* cancel) {
    std::vector<ThresholdIntervals> intervals(rows.size());
    ParallelFor(rows.size(), [&](size_t k) {
        if (cancel && cancel->load()) return;
        // A test without any ticked reading is evaluated as showing it would tick it (as the history does).
        TestDataType test = doc.GetTest(rows[k].index);
        if (std::none_of(test.m_Steps.begin(), test.m_Steps.end(), [](const PCMDataType& m) { return m.m_bChecked; }))
            TickForChart(test);
        intervals[k] = ComputeTestUncertainty(test, rows[k].fit, rows[k].model, error, true, cancel).intervals;
    });
    if (cancel && cancel->load()) return false;
    for (size_t k = 0; k < rows.size(); ++k)
        for (HistoryValue& v : rows[k].methods) {
            const MethodInterval* m = intervals[k].Find(v.id);
            if (!m || !m->ok) continue;
            v.ciLow = m->low;
            v.ciHigh = m->high;
            v.se = m->se;
        }
    MarkClearChanges(rows, dayToDay);
    return true;
}

void MarkClearChanges(std::vector<HistoryRow>& rows, double dayToDay) {
    std::map<std::pair<int, int>, size_t> previous;
    for (size_t k = 0; k < rows.size(); ++k) {
        const auto group = std::make_pair(rows[k].testType, rows[k].loadUnit);
        const auto prev = previous.find(group);
        for (size_t m = 0; m < rows[k].methods.size(); ++m) {
            HistoryValue& v = rows[k].methods[m];
            v.changeClear.reset();
            if (prev == previous.end() || !v.loadChange || !v.se || !v.load) continue;
            const HistoryValue& p = rows[prev->second].methods[m];
            if (!p.se || !p.load) continue;
            v.changeClear = IsClearChange(*p.load, *p.se, *v.load, *v.se, dayToDay);
        }
        previous[group] = k;
    }
}

}  // namespace trv
