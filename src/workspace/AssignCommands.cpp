#include "workspace/AssignCommands.h"

#include "res/Strings.h"

namespace trv {

CAddAssignedTestsCommand::CAddAssignedTestsCommand(std::vector<TestAddition> additions,
                                                   std::shared_ptr<CTestAnalyses> analyses)
    : CSnapshotCommand(SnapshotScope::Document, -1, IDS_CMD_ASSIGN_ADD, ChangeTestList | ChangeMeasList | ChangeChart),
      m_Additions(std::move(additions)),
      m_pAnalyses(std::move(analyses)) {}

bool CAddAssignedTestsCommand::Apply(CTRVDoc& doc) {
    if (m_Additions.empty()) return false;
    ApplyTestAdditions(doc, m_Additions);
    Restored(doc, true);
    return true;
}

void CAddAssignedTestsCommand::Restored(const CTRVDoc& doc, bool after) {
    // The tests' fitting choice comes along; keyed by the first reading's ID, it needs no undo of
    // its own (the tests are gone again after an undo).
    if (!after || !m_pAnalyses) return;
    for (const TestAddition& a : m_Additions) {
        if (a.intoTest >= 0 || a.fit < 0 || a.model < 0 || a.test.m_Steps.empty()) continue;
        for (const TestDataType& t : doc.m_Tests)
            if (!t.m_Steps.empty() && t.m_Steps.front().m_nMeasId == a.test.m_Steps.front().m_nMeasId)
                m_pAnalyses->SetChoice(t, a.fit, a.model);
    }
}

CMarkAssignedCommand::CMarkAssignedCommand(std::vector<int> tests, bool assigned)
    : CSnapshotCommand(SnapshotScope::Document, -1, assigned ? IDS_CMD_ASSIGN_MARK : IDS_CMD_ASSIGN_UNMARK,
                       ChangeTestList),
      m_Tests(std::move(tests)),
      m_bAssigned(assigned) {}

bool CMarkAssignedCommand::Apply(CTRVDoc& doc) {
    int changed = 0;
    for (int i : NormalizedTestIndices(doc, m_Tests)) {
        TestDataType& t = doc.GetTest(i);
        if (IsAssignedTest(t) == m_bAssigned) continue;
        SetAssigned(t, m_bAssigned);
        ++changed;
    }
    return changed > 0;
}

}  // namespace trv
