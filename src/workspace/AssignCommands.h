#pragma once
// The commands of "Tests zuordnen" in a window: a target document receiving tests, and the source's
// tests marked "zugeordnet" or the mark taken back ("Zuordnung aufheben").
#include "data/AssignedTests.h"
#include "workspace/DocCommands.h"

#include <memory>
#include <vector>

namespace trv {

// Tests and readings of another document arrive (with their fitting choice where known).
class CAddAssignedTestsCommand : public CSnapshotCommand {
public:
    CAddAssignedTestsCommand(std::vector<TestAddition> additions, std::shared_ptr<CTestAnalyses> analyses);

private:
    bool Apply(CTRVDoc& doc) override;
    void Restored(const CTRVDoc& doc, bool after) override;
    std::vector<TestAddition> m_Additions;
    std::shared_ptr<CTestAnalyses> m_pAnalyses;
};

// The mark "zugeordnet" of tests set or cleared; refused when no test's mark changes.
class CMarkAssignedCommand : public CSnapshotCommand {
public:
    CMarkAssignedCommand(std::vector<int> tests, bool assigned);

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<int> m_Tests;
    bool m_bAssigned;
};

}  // namespace trv
