#include "workspace/DeleteCommands.h"

#include "data/ManualIds.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"

#include <algorithm>

namespace trv {

namespace {

constexpr uint32_t kDeleteChanges = ChangeTestList | ChangeMeasList | ChangeChart | ChangeShown | ChangeSelection;

std::string CountText(bool tests, int count) {
    if (count == 1) return LoadStr(tests ? IDS_COUNT_ONE_TEST : IDS_COUNT_ONE_MEAS);
    return FmtId(tests ? IDS_COUNT_TESTS : IDS_COUNT_MEAS, count);
}

}  // namespace

CDeleteCommand::CDeleteCommand(int nameId, std::shared_ptr<CTestAnalyses> analyses)
    : CSnapshotCommand(SnapshotScope::Document, -1, nameId, kDeleteChanges), m_pAnalyses(std::move(analyses)) {}

int CDeleteCommand::NewIndex(int oldIndex) const {
    if (oldIndex < 0 || oldIndex >= static_cast<int>(m_NewIndex.size())) return -1;
    return m_NewIndex[static_cast<size_t>(oldIndex)];
}

bool CDeleteCommand::Remove(CTRVDoc& doc, const std::vector<std::vector<int>>& doomed,
                            const std::vector<bool>& dropTests) {
    std::vector<TestDataType> kept;
    m_NewIndex.assign(doc.m_Tests.size(), -1);
    for (size_t ti = 0; ti < doc.m_Tests.size(); ++ti) {
        TestDataType& t = doc.m_Tests[ti];
        const std::vector<int>& rows = doomed[ti];
        const int keyBefore = TestKey(t);
        const TestAnalysis choice = m_pAnalyses ? m_pAnalyses->Of(t) : TestAnalysis{};
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            const PCMDataType& m = t.m_Steps[static_cast<size_t>(*it)];
            if (!IsTypedTest(t) && m.m_nMeasId != 0 && !doc.IsDeletedId(m.m_nMeasId))
                doc.m_DeletedIds.push_back(m.m_nMeasId);
            t.m_Steps.erase(t.m_Steps.begin() + *it);
        }
        if (dropTests[ti] || (t.m_Steps.empty() && !rows.empty())) continue;
        // The fitting choice is kept by the first reading's ID: it stays with the test.
        if (m_pAnalyses && TestKey(t) != keyBefore)
            m_pAnalyses->SetChoice(t, choice.m_nFitFunction, choice.m_nThresholdModel);
        m_NewIndex[ti] = static_cast<int>(kept.size());
        kept.push_back(std::move(t));
    }
    const bool changed = kept.size() < doc.m_Tests.size() ||
                         std::any_of(doomed.begin(), doomed.end(), [](const auto& r) { return !r.empty(); });
    doc.m_Tests = std::move(kept);
    return changed;
}

CDeleteTestsCommand::CDeleteTestsCommand(std::vector<int> tests, std::shared_ptr<CTestAnalyses> analyses)
    : CDeleteCommand(IDS_CMD_DELETE_TESTS, std::move(analyses)), m_Tests(std::move(tests)) {}

bool CDeleteTestsCommand::Apply(CTRVDoc& doc) {
    std::vector<std::vector<int>> doomed(doc.m_Tests.size());
    std::vector<bool> drop(doc.m_Tests.size(), false);
    for (int i : NormalizedTestIndices(doc, m_Tests)) {
        drop[static_cast<size_t>(i)] = true;
        auto& rows = doomed[static_cast<size_t>(i)];
        for (size_t k = 0; k < doc.GetTest(i).m_Steps.size(); ++k) rows.push_back(static_cast<int>(k));
    }
    return Remove(doc, doomed, drop);
}

CDeleteReadingsCommand::CDeleteReadingsCommand(std::vector<ReadingRef> readings,
                                               std::shared_ptr<CTestAnalyses> analyses)
    : CDeleteCommand(IDS_CMD_DELETE_MEAS, std::move(analyses)), m_Readings(std::move(readings)) {}

bool CDeleteReadingsCommand::Apply(CTRVDoc& doc) {
    std::vector<std::vector<int>> doomed(doc.m_Tests.size());
    for (const auto& [test, meas] : m_Readings) {
        if (!doc.IsValidTest(test) || meas < 0 || meas >= static_cast<int>(doc.GetTest(test).m_Steps.size())) continue;
        doomed[static_cast<size_t>(test)].push_back(meas);
    }
    for (auto& rows : doomed) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    return Remove(doc, doomed, std::vector<bool>(doc.m_Tests.size(), false));
}

std::string DeleteQuestion(bool tests, const std::vector<std::string>& ids) {
    constexpr size_t kNamed = 10;
    std::string list;
    for (size_t i = 0; i < ids.size() && i < kNamed; ++i) list += (i ? ", " : "") + ids[i];
    if (ids.size() > kNamed) list += ", ...";
    std::string text = FmtId(IDS_ASK_DELETE, CountText(tests, static_cast<int>(ids.size())).c_str());
    if (tests) {
        // Tests are named by date, time and type, one a line: their IDs alone do not tell them apart.
        std::string lines;
        for (size_t i = 0; i < ids.size() && i < kNamed; ++i) lines += "\n" + ids[i];
        if (ids.size() > kNamed) lines += "\n...";
        return text + "\n" + lines + "\n\n" + LoadStr(IDS_ASK_DELETE_UNDO);
    }
    if (!list.empty()) text += "\n\n" + FmtId(IDS_ASK_DELETE_IDS, list.c_str());
    return text + "\n\n" + LoadStr(IDS_ASK_DELETE_UNDO);
}

std::string DeletedMessage(bool tests, int count) { return FmtId(IDS_STATUS_DELETED, CountText(tests, count).c_str()); }

}  // namespace trv
