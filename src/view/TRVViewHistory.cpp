// A test picked in the history: it becomes the selected test and is shown in the chart by the same
// command the test list's check box runs, so the chart never shows more than two tests.
#include "QtText.h"
#include "StringIds.h"
#include "TRVView.h"

using namespace trv;

void CTRVView::ShowHistoryTest(int index) {
    if (!GetDocument().IsValidTest(index)) return;
    SelectTestRow(index);
    if (GetDocument().GetTest(index).m_bShowInChart) return;
    const uint32_t changes = m_Ws.ShowTest(index, true);
    if (changes == 0) {
        emit statusMessage(QStr(IDS_HIST_TWO_SHOWN));
        return;
    }
    Refresh(changes);
}
