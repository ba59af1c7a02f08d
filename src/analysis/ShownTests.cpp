#include "ShownTests.h"

#include "TRVDoc.h"

namespace trv {

void ShowOnlyTests(CTRVDoc& doc, const std::vector<int>& indices, int fit, int model) {
    for (TestDataType& t : doc.m_Tests) t.m_bShowInChart = 0;
    for (int i : indices) {
        if (!doc.IsValidTest(i)) continue;
        TestDataType& t = doc.GetTest(i);
        t.m_bShowInChart = 1;
        t.m_Analysis.m_nFitFunction = fit;
        t.m_Analysis.m_nThresholdModel = model;
    }
}

uint32_t ParamsMissingNotices(const CTRVDoc& doc) {
    // As the test list does it: every shown test after the first speaks for the bit of curve L2, in
    // document order, a test with parameters clearing what one without them set.
    uint32_t flags = 0;
    int slot = 0;
    for (const TestDataType& t : doc.m_Tests) {
        if (!t.m_bShowInChart) continue;
        const uint32_t bit = slot == 0 ? NoticeParams1 : NoticeParams2;
        if (t.m_bParamsEntered)
            flags &= ~bit;
        else
            flags |= bit;
        ++slot;
    }
    return flags;
}

uint32_t EvaluateTests(CTRVDoc& doc, const std::vector<int>& indices, int fit, int model, CEvaluator& evaluator,
                       CChartModel& chart) {
    ShowOnlyTests(doc, indices, fit, model);
    uint32_t flags = ParamsMissingNotices(doc);
    chart.ApplyStartup();
    chart.ResetSeries();
    evaluator.Evaluate(doc, chart, flags);
    evaluator.SetUpResults(doc, chart, flags);
    return flags;
}

}  // namespace trv
