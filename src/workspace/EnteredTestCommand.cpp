#include "workspace/EnteredTestCommand.h"

#include "data/ManualTest.h"

namespace trv {

CAddEnteredTestCommand::CAddEnteredTestCommand(TestDataType test, int nameId)
    : CSnapshotCommand(SnapshotScope::Document, -1, nameId,
                       ChangeTestList | ChangeMeasList | ChangeChart | ChangeShown | ChangeSelection),
      m_Test(std::move(test)) {}

bool CAddEnteredTestCommand::Apply(CTRVDoc& doc) {
    const bool show = doc.CountShownTests() < 2;
    TestDataType t = m_Test;
    t.m_bShowInChart = show ? 1 : 0;
    std::string error;
    m_nAdded = AddManualTest(doc, std::move(t), error);
    return m_nAdded >= 0;
}

}  // namespace trv
