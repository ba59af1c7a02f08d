#pragma once
// Adding a step test that was typed in, imported or pasted, as one undoable command.
#include "workspace/DocCommands.h"
#include "workspace/TestTransfer.h"

#include <string>

namespace trv {

// The test's readings get free IDs of the manual block, the tests are sorted again, and the new test
// is shown in the chart unless two tests are shown already. Refused when the document has no IDs
// left for it.
class CAddEnteredTestCommand : public CSnapshotCommand {
public:
    // `nameId`: the command's name for the undo menu (typed or imported).
    CAddEnteredTestCommand(TestDataType test, int nameId);
    int AddedTest() const { return m_nAdded; }

private:
    bool Apply(CTRVDoc& doc) override;
    TestDataType m_Test;
    int m_nAdded = -1;
};

// Tests pasted from another window (as PlanPaste planned them), as one command: they are sorted in
// among the document's tests and shown while fewer than two tests are. Refused when nothing is added.
class CPasteTestsCommand : public CSnapshotCommand {
public:
    explicit CPasteTestsCommand(PastePlan plan);
    // The ID of each added test's first reading, in the order of the plan (typed tests numbered anew;
    // -1 for a test the document had no IDs left for, which Failed() names).
    const std::vector<int>& AddedFirstIds() const { return m_AddedFirstIds; }
    const std::vector<std::string>& Failed() const { return m_Failed; }

private:
    bool Apply(CTRVDoc& doc) override;
    PastePlan m_Plan;
    std::vector<int> m_AddedFirstIds;
    std::vector<std::string> m_Failed;
};

}  // namespace trv
