#pragma once
// Deleting tests and readings. Both are one command over the whole document, so that undo puts
// every test, reading and index back as it was.
//
// The analyser keeps its readings in its ring memory after a download, and the merge adds every
// reading whose ID the document does not hold. A deleted analyser reading therefore goes onto the
// document's list of deleted IDs, which the merge skips; undo takes it off again with the rest.
#include "workspace/DocCommands.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trv {

// A reading of the document: (test index, index within the test).
using ReadingRef = std::pair<int, int>;

class CDeleteCommand : public CSnapshotCommand {
public:
    // Old test index -> new one after the command (-1: the test is gone).
    int NewIndex(int oldIndex) const;

protected:
    CDeleteCommand(int nameId, std::shared_ptr<CTestAnalyses> analyses);
    // Removes the readings `doomed` (per test, ascending), the tests `dropTests` and every test
    // left without readings; false when nothing would go.
    bool Remove(CTRVDoc& doc, const std::vector<std::vector<int>>& doomed, const std::vector<bool>& dropTests);

private:
    std::shared_ptr<CTestAnalyses> m_pAnalyses;
    std::vector<int> m_NewIndex;
};

class CDeleteTestsCommand : public CDeleteCommand {
public:
    CDeleteTestsCommand(std::vector<int> tests, std::shared_ptr<CTestAnalyses> analyses);

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<int> m_Tests;
};

// A test whose last reading goes is deleted with it.
class CDeleteReadingsCommand : public CDeleteCommand {
public:
    CDeleteReadingsCommand(std::vector<ReadingRef> readings, std::shared_ptr<CTestAnalyses> analyses);

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<ReadingRef> m_Readings;
};

// The question before deleting `count` tests (`tests` true) or readings: "3 Tests löschen?", naming at
// most ten of them (then "..."): tests by their labels (TestLabel), one a line; readings by their IDs.
std::string DeleteQuestion(bool tests, const std::vector<std::string>& ids);
// The status line afterwards: "3 Tests gelöscht."
std::string DeletedMessage(bool tests, int count);

}  // namespace trv
