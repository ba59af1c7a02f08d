// Deleting tests and readings: one undoable command each that gives the file bytes back exactly,
// selection and chart that follow the remaining tests, the next download that does not bring a
// deleted reading back, and the question that names what goes.
#include "WorkspaceDocs.h"
#include "res/StringIds.h"
#include "workspace/DeleteCommands.h"
#include "workspace/TestLabel.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;
using wstest::Bytes;
using wstest::Reading;

namespace {

std::vector<int> FirstIds(const CTRVDoc& doc) {
    std::vector<int> ids;
    for (const TestDataType& t : doc.m_Tests) ids.push_back(t.m_Steps.empty() ? -1 : t.m_Steps.front().m_nMeasId);
    return ids;
}

std::vector<int> StepIds(const TestDataType& t) {
    std::vector<int> ids;
    for (const PCMDataType& m : t.m_Steps) ids.push_back(m.m_nMeasId);
    return ids;
}

struct Ws {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws{doc, history};
    Ws() {
        ws.MarkSaved();
        ws.Evaluate();
    }
};

}  // namespace

TEST(Delete, TestsGoAsOneCommandAndComeBackByteForByte) {
    Ws w;
    ASSERT_NE(w.ws.ShowTest(1, true), 0u);
    ASSERT_NE(w.ws.ShowTest(2, true), 0u);
    w.ws.MarkSaved();
    // Selected: test 2 (current) and test 4; deleted: tests 1 (shown as L 1) and 3.
    w.ws.SelectTests({2, 4}, 2);
    w.ws.SetCurrentMeasurement(3);
    const std::vector<uint8_t> before = Bytes(w.doc);

    ASSERT_NE(w.ws.DeleteTests({3, 1, 3, 17}), 0u);
    EXPECT_EQ(w.history.UndoNameId(), IDS_CMD_DELETE_TESTS);
    EXPECT_EQ(w.history.Count(), 3u);  // the two shown tests and the deletion
    EXPECT_EQ(FirstIds(w.doc), (std::vector<int>{42, 200, 252, 500}));
    // Old indices 0 2 4 5 are now 0 1 2 3: the selection stays on tests 200 and 252.
    EXPECT_EQ(w.ws.SelectedTests(), (std::vector<int>{1, 2}));
    EXPECT_EQ(w.ws.SelectedTest(), 1);
    EXPECT_EQ(w.ws.CurrentMeasurement(), 3);
    // Test 200 moved up to curve L 1, the only one left in the chart.
    EXPECT_EQ(w.ws.ShownCount(), 1);
    EXPECT_EQ(w.ws.CurveSlot(1), 0);
    EXPECT_EQ(w.ws.Evaluator().ShownTest(0), 1);
    EXPECT_EQ(w.ws.Evaluator().ShownTest(1), -1);
    EXPECT_TRUE(w.ws.IsModified());
    const std::vector<uint8_t> after = Bytes(w.doc);

    w.ws.Undo();
    EXPECT_EQ(Bytes(w.doc), before);
    EXPECT_FALSE(w.ws.IsModified());
    EXPECT_EQ(w.ws.ShownCount(), 2);
    EXPECT_EQ(w.ws.Evaluator().ShownTest(0), 1);
    EXPECT_EQ(w.ws.Evaluator().ShownTest(1), 2);
    EXPECT_TRUE(w.doc.m_DeletedIds.empty());
    w.ws.Redo();
    EXPECT_EQ(Bytes(w.doc), after);

    // The currently selected test itself goes: nothing is selected any more.
    w.ws.SelectTests({1}, 1);
    ASSERT_NE(w.ws.DeleteTests({1}), 0u);
    EXPECT_EQ(w.ws.SelectedTest(), -1);
    EXPECT_TRUE(w.ws.SelectedTests().empty());
    EXPECT_EQ(w.ws.ShownCount(), 0);
    // Nothing to delete: refused, no history entry.
    const size_t entries = w.history.Count();
    EXPECT_EQ(w.ws.DeleteTests({}), 0u);
    EXPECT_EQ(w.ws.DeleteTests({9}), 0u);
    EXPECT_EQ(w.history.Count(), entries);
}

TEST(Delete, ReadingsLeaveTheirTestOrTakeItAlongWhenItEmpties) {
    Ws w;
    w.ws.SelectTests({1}, 1);
    w.ws.SetCurrentMeasurement(4);
    const std::vector<uint8_t> before = Bytes(w.doc);
    // Steps 101 and 104 of test 100, the single reading 251 (its test empties), and a reading
    // that does not exist.
    ASSERT_NE(w.ws.DeleteReadings({{1, 4}, {3, 0}, {1, 1}, {1, 1}, {2, 9}}), 0u);
    EXPECT_EQ(w.history.UndoNameId(), IDS_CMD_DELETE_MEAS);
    EXPECT_EQ(FirstIds(w.doc), (std::vector<int>{42, 100, 200, 252, 500}));
    EXPECT_EQ(StepIds(w.doc.GetTest(1)), (std::vector<int>{100, 102, 103}));
    // The stored loads of the remaining steps stay as they were: 2.5, 3.5 and 4.0 m/s.
    EXPECT_DOUBLE_EQ(w.doc.GetTest(1).m_Steps[1].m_dSpeed, 3.5);
    EXPECT_DOUBLE_EQ(w.doc.GetTest(1).m_Steps[2].m_dSpeed, 4.0);
    EXPECT_EQ(w.ws.SelectedTest(), 1);
    EXPECT_EQ(w.ws.CurrentMeasurement(), -1);
    w.ws.Undo();
    EXPECT_EQ(Bytes(w.doc), before);

    // The first reading of a test goes: the test keeps its fitting choice under its new first ID.
    w.ws.ShowOnly({0}, FitSpline, ModelSimon);
    ASSERT_NE(w.ws.DeleteReadings({{0, 0}}), 0u);
    EXPECT_EQ(w.doc.GetTest(0).m_Steps.front().m_nMeasId, 43);
    EXPECT_EQ(w.ws.Analysis(0).m_nFitFunction, FitSpline);
    EXPECT_EQ(w.ws.Analysis(0).m_nThresholdModel, ModelSimon);
}

TEST(Delete, ADeletedReadingStaysAwayOnTheNextDownload) {
    // The analyser's memory: single reading 30, a closed step test 40..42 and a step test 50..51
    // still running; the document holds all of it.
    std::vector<PCMDataType> mem;
    PCMDataType single = Reading(30, 11);
    single.m_bFirstStep = 1;
    mem.push_back(single);
    for (uint16_t id = 40; id <= 42; ++id) {
        PCMDataType s = Reading(id, 10 + id - 40, MeasLoad);
        s.m_bFirstStep = id == 40;
        s.m_bLastStep = id == 42;
        mem.push_back(s);
    }
    for (uint16_t id = 50; id <= 51; ++id) {
        PCMDataType s = Reading(id, 20, MeasLoad);
        s.m_bFirstStep = id == 50;
        mem.push_back(s);
    }
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    auto memory = wstest::Memory(mem);
    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    ASSERT_EQ(FirstIds(doc), (std::vector<int>{30, 40, 50}));

    // Delete the single reading and step 41, then download the same memory: nothing comes back.
    ASSERT_NE(ws.DeleteReadings({{0, 0}, {1, 1}}), 0u);
    const std::vector<uint8_t> deleted = Bytes(doc);
    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(Bytes(doc), deleted);
    EXPECT_EQ(StepIds(doc.GetTest(0)), (std::vector<int>{40, 42}));

    // The running test is deleted; the analyser adds step 52 and a new single reading 53. Step 52
    // has no test to join any more; 53 is new.
    ASSERT_NE(ws.DeleteTests({1}), 0u);
    PCMDataType s52 = Reading(52, 25, MeasLoad);
    PCMDataType s53 = Reading(53, 9);
    s53.m_bFirstStep = 1;
    mem.push_back(s52);
    mem.push_back(s53);
    memory = wstest::Memory(mem);
    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(FirstIds(doc), (std::vector<int>{40, 53}));

    // Undo back to before the deletions: the readings are the document's again, and a download
    // leaves them where they are instead of adding them twice.
    while (history.UndoNameId() != IDS_CMD_DELETE_MEAS) ws.Undo();
    ws.Undo();
    EXPECT_TRUE(doc.m_DeletedIds.empty());
    ASSERT_EQ(FirstIds(doc), (std::vector<int>{30, 40, 50}));
    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(FirstIds(doc), (std::vector<int>{30, 40, 50, 53}));
    EXPECT_EQ(StepIds(doc.GetTest(2)), (std::vector<int>{50, 51, 52}));
}

TEST(Delete, TheQuestionNamesWhatGoes) {
    // Three treadmill tests of one morning: told apart by their start times.
    std::vector<std::string> labels;
    for (int minute : {5, 31, 58}) {
        TestDataType t;
        t.m_nTestType = TestTreadmill;
        PCMDataType m;
        m.m_nMeasType = MeasLoad;
        m.m_Time = COleDateTime::FromParts(2026, 4, 14, 10, minute, 42);
        t.m_Steps.push_back(m);
        labels.push_back(TestLabel(t));
    }
    EXPECT_EQ(DeleteQuestion(true, labels),
              "3 Tests löschen?\n\n14.04.2026 10:05 Laufband\n14.04.2026 10:31 Laufband\n14.04.2026 10:58 Laufband\n\n"
              "Mit \"Rückgängig\" (Strg+Z) lässt sich das Löschen zurücknehmen.");
    EXPECT_TRUE(DeleteQuestion(false, {"00043"}).starts_with("1 Messung löschen?\n\nID: 00043\n\n"));
    std::vector<std::string> many;
    for (int i = 1; i <= 12; ++i) many.push_back(std::to_string(i));
    EXPECT_TRUE(
        DeleteQuestion(false, many).starts_with("12 Messungen löschen?\n\nID: 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...\n\n"));
    EXPECT_EQ(DeletedMessage(true, 1), "1 Test gelöscht.");
    EXPECT_EQ(DeletedMessage(false, 4), "4 Messungen gelöscht.");
}
