// A test picked in the history: it becomes the selected test and the only one in the chart.
#include "TRVView.h"

using namespace trv;

void CTRVView::ShowTestAlone(int index) {
    CTRVDoc& doc = GetDocument();
    if (!doc.IsValidTest(index)) return;
    const TestDataType& test = doc.GetTest(index);
    if (test.m_Steps.empty() || test.m_Steps.front().m_nMeasType == MeasSingle) return;
    m_nSelectedTest = index;
    m_nCurrentMeas = -1;
    m_bSeveralSelected = false;
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (i != index && doc.GetTest(i).m_bShowInChart) OnTestCheckChange(i, false);
    if (!test.m_bShowInChart) {
        OnTestCheckChange(index, true);
    } else {
        RefreshLists();
        Evaluate();
    }
    SetUpChart();
}
