#pragma once
// Adding a step test that was typed in, imported or pasted, as one undoable command.
#include "workspace/DocCommands.h"

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

}  // namespace trv
