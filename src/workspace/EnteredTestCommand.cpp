#include "workspace/EnteredTestCommand.h"

#include "data/ManualTest.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "workspace/TestLabel.h"

#include <algorithm>

namespace trv {

CAddEnteredTestCommand::CAddEnteredTestCommand(TestDataType test, int nameId)
    : CSnapshotCommand(SnapshotScope::Document, -1, nameId,
                       ChangeTestList | ChangeMeasList | ChangeChart | ChangeShown | ChangeSelection),
      m_Test(std::move(test)) {}

bool CAddEnteredTestCommand::Apply(CTRVDoc& doc) {
    const bool show = doc.CountShownTests() < 2;
    TestDataType t = m_Test;
    t.m_bShowInChart = show ? 1 : 0;
    return AddManualTest(doc, std::move(t), m_nAdded).ok;
}

CPasteTestsCommand::CPasteTestsCommand(PastePlan plan)
    : CSnapshotCommand(SnapshotScope::Document, -1, IDS_CMD_PASTE_TESTS,
                       ChangeTestList | ChangeMeasList | ChangeChart | ChangeShown | ChangeSelection),
      m_Plan(std::move(plan)) {}

bool CPasteTestsCommand::Apply(CTRVDoc& doc) {
    m_AddedFirstIds.clear();
    m_Failed.clear();
    int shown = doc.CountShownTests();
    for (size_t i = 0; i < m_Plan.add.size(); ++i) {
        TestDataType t = m_Plan.add[i].test;
        t.m_bShowInChart = shown < 2 ? 1 : 0;
        if (m_Plan.manualIds[i]) {
            int at = -1;
            if (!AddManualTest(doc, t, at)) {
                m_Failed.push_back(FmtId(IDS_CLIP_NO_IDS, TestLabel(t).c_str()));
                m_AddedFirstIds.push_back(-1);
                continue;
            }
            m_AddedFirstIds.push_back(doc.GetTest(at).m_Steps.front().m_nMeasId);
        } else {
            m_AddedFirstIds.push_back(t.m_Steps.front().m_nMeasId);
            doc.m_Tests.push_back(std::move(t));
        }
        if (shown < 2) ++shown;
    }
    doc.SortTests();
    doc.SetModifiedFlag();
    return std::any_of(m_AddedFirstIds.begin(), m_AddedFirstIds.end(), [](int id) { return id >= 0; });
}

}  // namespace trv
