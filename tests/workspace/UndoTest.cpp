// Every document command undone and redone: the file bytes come back exactly, the modified marker
// follows the saved state, and a refused command leaves neither a trace nor a history entry.
#include "WorkspaceDocs.h"
#include "data/NoticeFlags.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "workspace/TestParamRules.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

#include <functional>

using namespace trv;
using wstest::Bytes;
using wstest::Reading;

namespace {

struct Ws {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws{doc, history};
    Ws() { ws.Evaluate(); }

    // Runs `command`, then undo and redo, comparing the file bytes with those before and after.
    void RoundTrip(const std::function<uint32_t()>& command, int nameId) {
        const std::vector<uint8_t> before = Bytes(doc);
        ASSERT_NE(command(), 0u) << LoadStr(nameId);
        EXPECT_EQ(history.UndoNameId(), nameId);
        const std::vector<uint8_t> after = Bytes(doc);
        EXPECT_NE(before, after) << LoadStr(nameId);
        EXPECT_NE(ws.Undo(), 0u);
        EXPECT_EQ(Bytes(doc), before) << LoadStr(nameId);
        EXPECT_EQ(history.RedoNameId(), nameId);
        EXPECT_NE(ws.Redo(), 0u);
        EXPECT_EQ(Bytes(doc), after) << LoadStr(nameId);
    }
};

}  // namespace

TEST(Undo, ShowingTickingAndTypes) {
    Ws w;
    w.RoundTrip([&] { return w.ws.ShowTest(0, true); }, IDS_CMD_SHOW_TEST);
    w.RoundTrip([&] { return w.ws.ShowTest(1, true); }, IDS_CMD_SHOW_TEST);
    w.RoundTrip([&] { return w.ws.TickMeasurement(0, 1, false); }, IDS_CMD_UNTICK);
    w.RoundTrip([&] { return w.ws.TickMeasurement(0, 1, true); }, IDS_CMD_TICK);
    w.ws.SelectTests({0}, 0);
    w.ws.SetCurrentMeasurement(0);
    w.RoundTrip([&] { return w.ws.SetMeasType({}, MeasPreLoad); }, IDS_CMD_MEAS_TYPE);
    EXPECT_EQ(w.doc.GetTest(0).m_Steps[0].m_nMeasType, MeasPreLoad);
    w.RoundTrip([&] { return w.ws.ShowTest(1, false); }, IDS_CMD_HIDE_TEST);
    w.RoundTrip([&] { return w.ws.HideAllTests(); }, IDS_CMD_RESET_DISPLAY);
    // Undo all the way back: the sample as it was made.
    while (w.history.CanUndo()) w.ws.Undo();
    EXPECT_EQ(Bytes(w.doc), Bytes(wstest::SampleDoc()));
    EXPECT_EQ(w.ws.ShownCount(), 0);
}

TEST(Undo, ConversionRestoresTheSingleReadings) {
    Ws w;
    w.ws.SelectTests({3, 4, 5}, 3);
    w.RoundTrip([&] { return w.ws.ConvertToStepTest(); }, IDS_CMD_CONVERT);
    ASSERT_EQ(w.doc.GetTestCount(), 4);
    EXPECT_EQ(w.doc.GetTest(3).m_Steps.size(), 3u);
    w.ws.Undo();
    ASSERT_EQ(w.doc.GetTestCount(), 6);
    EXPECT_EQ(w.doc.GetTest(5).m_Steps.front().m_nMeasId, 500);
    EXPECT_EQ(w.doc.GetTest(4).m_Steps.front().m_nMeasType, MeasSingle);
}

TEST(Undo, ParametersAthleteAndCells) {
    Ws w;
    CTestParamRules rules(w.doc.GetTest(1), w.ws.Analysis(1));
    rules.ChooseUnit(UnitKmh);
    w.RoundTrip([&] { return w.ws.ApplyTestParams(1, 100, rules); }, IDS_CMD_TEST_PARAMS);
    EXPECT_EQ(w.doc.GetTest(1).m_nLoadUnit, UnitKmh);
    UserDataType u;
    u.m_strFirstName = "Jörg";
    u.m_strLastName = "Weiß";
    w.RoundTrip([&] { return w.ws.ApplyAthlete(u); }, IDS_CMD_ATHLETE);
    w.RoundTrip([&] { return w.ws.EditCell(0, 2, MeasColLactate, "4,3", nullptr); }, IDS_CMD_EDIT_LACTATE);
    EXPECT_EQ(w.doc.GetTest(0).m_Steps[2].m_nLactate, 43);
    MeasEditResult shown;
    w.RoundTrip([&] { return w.ws.EditCell(0, 2, MeasColHeartRate, "171", &shown); }, IDS_CMD_EDIT_HEART_RATE);
    EXPECT_EQ(shown.shown, "171");
    EXPECT_EQ(w.doc.GetTest(0).m_Steps[2].m_nHeartRate, 171);
}

TEST(Undo, ARefusedCommandLeavesNoTrace) {
    Ws w;
    const std::vector<uint8_t> before = Bytes(w.doc);
    MeasEditResult r;
    r.stored = true;
    EXPECT_EQ(w.ws.EditCell(0, 2, MeasColLactate, "-1", &r), 0u);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(w.ws.EditCell(0, 2, MeasColTemperature, "30", nullptr), 0u);  // not an editable column
    EXPECT_EQ(w.ws.ShowTest(4, true), 0u);
    EXPECT_EQ(w.history.Count(), 0u);
    EXPECT_FALSE(w.ws.IsModified());
    EXPECT_EQ(Bytes(w.doc), before);
}

TEST(Undo, AMergedDownloadComesOutExactly) {
    CTRVDoc doc;
    doc.m_Tests.push_back(wstest::SingleTest(30, 11));
    // A step test still running on the analyser at the last download: start 42 and step 43.
    TestDataType open = wstest::StepTest(42, 2);
    open.m_Steps.back().m_bLastStep = 0;
    open.m_bClosed = 0;
    doc.m_Tests.push_back(open);
    doc.m_Tests[0].m_Steps[0].m_bFirstStep = 1;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.MarkSaved();
    const std::vector<uint8_t> before = Bytes(doc);

    // The analyser's memory: the known readings again, two more steps of the open test (the last
    // one ends it), a new single reading, and a step whose start was overwritten (dropped).
    std::vector<PCMDataType> mem = {doc.m_Tests[0].m_Steps[0], open.m_Steps[0], open.m_Steps[1]};
    PCMDataType s44 = Reading(44, 30, MeasLoad), s45 = Reading(45, 62, MeasLoad);
    s45.m_bLastStep = 1;
    PCMDataType single = Reading(46, 14);
    single.m_bFirstStep = 1;
    PCMDataType orphan = Reading(48, 20, MeasLoad);
    mem.insert(mem.end(), {s44, s45, single, orphan});
    const auto memory = wstest::Memory(mem);

    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(history.UndoNameId(), IDS_CMD_MERGE);
    ASSERT_EQ(doc.GetTestCount(), 3);
    EXPECT_EQ(doc.GetTest(1).m_Steps.size(), 4u);
    EXPECT_EQ(doc.GetTest(1).m_bClosed, 1);
    EXPECT_EQ(doc.GetTest(2).m_Steps.front().m_nMeasId, 46);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000125");
    EXPECT_EQ(ws.SelectedTest(), 2);  // the newest test
    EXPECT_TRUE(ws.IsModified());
    EXPECT_TRUE(doc.IsModified());
    const std::vector<uint8_t> after = Bytes(doc);

    ws.Undo();
    EXPECT_EQ(Bytes(doc), before);
    ASSERT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(doc.GetTest(1).m_Steps.size(), 2u);
    EXPECT_EQ(doc.GetTest(1).m_bClosed, 0);  // open again: the next download continues it
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "");
    EXPECT_FALSE(ws.IsModified());
    EXPECT_FALSE(doc.IsModified());
    ws.Redo();
    EXPECT_EQ(Bytes(doc), after);
    EXPECT_EQ(doc.GetTest(1).m_bClosed, 1);

    // Bound to this analyser now: another one's memory is refused and leaves nothing behind.
    const size_t entries = history.Count();
    EXPECT_EQ(ws.MergeDownload(memory.data(), "ARV0000999", 3.05), 0u);
    EXPECT_EQ(history.Count(), entries);
    EXPECT_EQ(Bytes(doc), after);
    EXPECT_NE(ws.Notices() & NoticeDeviceMismatch, 0u);
    // The same memory once more from the bound analyser adds nothing but is still a download.
    EXPECT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(Bytes(doc), after);
}

TEST(Undo, TheModifiedMarkerFollowsTheSavedState) {
    Ws w;
    w.ws.MarkSaved();
    EXPECT_FALSE(w.ws.IsModified());
    w.ws.ShowTest(0, true);
    EXPECT_TRUE(w.ws.IsModified());
    EXPECT_TRUE(w.doc.IsModified());
    w.ws.Undo();
    EXPECT_FALSE(w.ws.IsModified());
    EXPECT_FALSE(w.doc.IsModified());
    w.ws.Redo();
    w.ws.ShowTest(1, true);
    w.ws.MarkSaved();  // saved with both tests shown
    w.ws.Undo();
    EXPECT_TRUE(w.ws.IsModified());
    w.ws.Redo();
    EXPECT_FALSE(w.ws.IsModified());
    // Saved, undone once, then a different change: the saved state is out of reach.
    w.ws.Undo();
    w.ws.ShowTest(2, true);
    EXPECT_FALSE(w.history.CanRedo());
    w.ws.Undo();
    EXPECT_TRUE(w.ws.IsModified());
    EXPECT_EQ(w.history.UndoNameId(), IDS_CMD_SHOW_TEST);
    // Nothing more to undo at the start of the history.
    while (w.history.CanUndo()) w.ws.Undo();
    EXPECT_EQ(w.ws.Undo(), 0u);
    EXPECT_EQ(w.history.UndoNameId(), 0);
}
