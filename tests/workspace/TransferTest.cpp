// Whole tests copied from one window and pasted into another: readings, IDs, types, parameters and
// fitting choice arrive unchanged, as one undoable command, by the rules of an assignment.
#include "WorkspaceDocs.h"
#include "data/ManualIds.h"
#include "res/StringIds.h"
#include "workspace/TestTransfer.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace wstest;

namespace {

// A treadmill test in km/h with pre-load and post-load readings beside two steps of the same load
// (the readings a spreadsheet paste refuses as "two steps with the same load").
TestDataType FullTest(uint16_t first) {
    TestDataType t = StepTest(first, 4);
    PCMDataType pre = Reading(static_cast<uint16_t>(first - 1), 9, MeasPreLoad);
    pre.m_nTemperature = 19;
    pre.m_nHeartRate = 0;  // never entered
    t.m_Steps.insert(t.m_Steps.begin(), pre);
    PCMDataType post = Reading(static_cast<uint16_t>(first + 4), 61, MeasPostLoad);
    post.m_nStatus = StatusHigh;
    post.m_nTemperature = 31;
    t.m_Steps.push_back(post);
    t.m_Steps[2].m_nStepDuration = 150;
    t.m_Steps[2].m_bChecked = 1;
    t.m_nLoadUnit = UnitKmh;
    t.m_nTestType = TestField;
    t.m_dTrackLength = 400.0;
    t.m_nDurationSource = SourceAnalyser;
    t.m_bCompensate = 1;
    t.m_bParamsEntered = 1;
    t.m_nPcStepDuration = 240;
    return t;
}

struct Window {
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws{doc, history};
};

std::vector<uint8_t> TestsBytes(const std::vector<TestDataType>& tests) {
    CTRVDoc d;
    d.m_Tests = tests;
    return Bytes(d);
}

}  // namespace

TEST(TestTransfer, TestsArriveByteForByteAndComeBackTheSame) {
    Window a;
    a.doc.m_Tests = {FullTest(43), StepTest(100, 3), SingleTest(251, 12)};
    a.ws.SelectTests({0, 2}, 0);
    std::vector<uint8_t> bytes;
    // The field test with Simon, the single reading with the spline.
    CTestAnalyses choices;
    choices.SetChoice(a.doc.GetTest(0), FitCubic, ModelSimon);
    choices.SetChoice(a.doc.GetTest(2), FitSpline, ModelMader);
    ASSERT_EQ(WriteTransferTests(a.doc, choices, {2, 0, 2}, bytes).message, "");
    // The layout: the mark, two tests, their choices, then the document of the two tests.
    ASSERT_GE(bytes.size(), 28u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "TRVTEST1");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 8, bytes.begin() + 28),
              (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    const std::vector<uint8_t> file(bytes.begin() + 28, bytes.end());
    EXPECT_EQ(file, TestsBytes({a.doc.GetTest(0), a.doc.GetTest(2)}));

    // Pasted into a window with a test of its own: one command, the tests as they were.
    Window b;
    b.doc.m_Tests = {StepTest(200, 4)};
    const std::vector<uint8_t> before = Bytes(b.doc);
    std::string message;
    std::vector<std::string> refusals;
    EXPECT_NE(b.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_EQ(message, "2 Tests eingefügt.");
    EXPECT_TRUE(refusals.empty());
    EXPECT_EQ(b.history.Count(), 1u);
    EXPECT_EQ(b.history.UndoNameId(), IDS_CMD_PASTE_TESTS);
    ASSERT_EQ(b.doc.GetTestCount(), 3);
    // Sorted in by first ID: 42 (field test), 200 (own), 251 (single reading).
    TestDataType field = b.doc.GetTest(0), single = b.doc.GetTest(2);
    field.m_bShowInChart = a.doc.GetTest(0).m_bShowInChart;
    single.m_bShowInChart = a.doc.GetTest(2).m_bShowInChart;
    EXPECT_EQ(TestsBytes({field, single}), TestsBytes({a.doc.GetTest(0), a.doc.GetTest(2)}));
    EXPECT_EQ(b.doc.GetTest(0).m_Steps.front().m_nMeasType, MeasPreLoad);
    EXPECT_EQ(b.doc.GetTest(0).m_Steps.back().m_nMeasType, MeasPostLoad);
    EXPECT_EQ(b.ws.Analysis(0).m_nThresholdModel, ModelSimon);
    EXPECT_EQ(b.ws.Analysis(2).m_nFitFunction, FitSpline);
    EXPECT_EQ(b.ws.SelectedTest(), 0);

    // Copied again from there: the same bytes (the pasted tests are shown, the copy says so).
    b.ws.SelectTests({0, 2}, 0);
    Window c;
    std::vector<uint8_t> again = b.ws.CopySelectedTests();
    EXPECT_NE(c.ws.PasteTests(again, message, refusals), 0u);
    std::vector<uint8_t> third;
    c.ws.SelectTests({0, 1}, 0);
    third = c.ws.CopySelectedTests();
    EXPECT_EQ(third, again);

    // Undo takes the whole paste back; redo brings it again.
    b.ws.Undo();
    EXPECT_EQ(Bytes(b.doc), before);
    b.ws.Redo();
    EXPECT_EQ(b.doc.GetTestCount(), 3);
}

TEST(TestTransfer, IdRulesOfAnAssignment) {
    Window a;
    a.doc.m_Tests = {FullTest(43), StepTest(100, 3)};
    a.ws.SelectTests({0, 1}, 0);
    const std::vector<uint8_t> bytes = a.ws.CopySelectedTests();
    ASSERT_FALSE(bytes.empty());
    std::string message;
    std::vector<std::string> refusals;

    // Twice into the same window: the second paste adds nothing and says so.
    Window b;
    ASSERT_NE(b.ws.PasteTests(bytes, message, refusals), 0u);
    const std::vector<uint8_t> once = Bytes(b.doc);
    EXPECT_EQ(b.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_EQ(message, "2 Tests waren schon im Dokument.");
    EXPECT_EQ(Bytes(b.doc), once);
    EXPECT_EQ(b.history.Count(), 1u);
    // Back into the window it came from: also nothing doubled.
    EXPECT_EQ(a.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_EQ(a.doc.GetTestCount(), 2);

    // A window that holds reading 101 with another lactate: the test of 100 is refused with the reason,
    // the field test still arrives.
    Window c;
    TestDataType other = SingleTest(101, 77);
    other.m_nTestType = TestErgometer;
    c.doc.m_Tests = {other};
    EXPECT_NE(c.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_EQ(message, "1 Test eingefügt.");
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0],
              "Test 02.03.2026 09:40 Laufband nicht eingefügt: Die Messung 00101 gibt es in diesem Dokument schon "
              "mit anderen Werten (im Test 02.03.2026 09:41 Ergometer).");
    EXPECT_EQ(c.doc.GetTestCount(), 2);

    // Part of a test held with the same content: only the rest is taken.
    Window d;
    d.doc.m_Tests = {SingleTest(100, 10)};  // the first step of test 100 as a single reading
    d.doc.m_Tests[0].m_Steps[0].m_nMeasType = MeasSingle;
    EXPECT_NE(d.ws.PasteTests(bytes, message, refusals), 0u);
    int readings = 0;
    for (const TestDataType& t : d.doc.m_Tests) readings += static_cast<int>(t.m_Steps.size());
    EXPECT_EQ(readings, 1 + 6 + 2);

    // Not our bytes (a spreadsheet's text): nothing changes.
    const std::string text = "Laktat\tHF\n1,2\t120\n";
    Window e;
    EXPECT_EQ(e.ws.PasteTests(std::vector<uint8_t>(text.begin(), text.end()), message, refusals), 0u);
    EXPECT_EQ(message, "Die Zwischenablage enthält keine Tests dieses Programms.");
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
    EXPECT_EQ(e.ws.PasteTests(cut, message, refusals), 0u);
    EXPECT_EQ(e.doc.GetTestCount(), 0);
}

TEST(TestTransfer, TypedTestsTakeFreeIdsOfTheTarget) {
    // Both windows typed a test: each numbered its readings from 60000.
    auto typed = [](int lactate) {
        TestDataType t = StepTest(kManualIdFirst, 3);
        t.m_Steps[0].m_nLactate = static_cast<uint16_t>(lactate);
        t.m_nReserved1 = kTypedTestMark;
        return t;
    };
    Window a, b;
    a.doc.m_Tests = {typed(12)};
    b.doc.m_Tests = {typed(30)};
    a.ws.SelectTests({0}, 0);
    const std::vector<uint8_t> bytes = a.ws.CopySelectedTests();
    std::string message;
    std::vector<std::string> refusals;
    EXPECT_NE(b.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_TRUE(refusals.empty());
    ASSERT_EQ(b.doc.GetTestCount(), 2);
    EXPECT_EQ(b.doc.GetTest(1).m_Steps[0].m_nMeasId, kManualIdFirst + 3);
    EXPECT_EQ(b.doc.GetTest(1).m_Steps[0].m_nLactate, 12);
    EXPECT_TRUE(IsTypedTest(b.doc.GetTest(1)));
    // Pasted again: held already, not doubled.
    EXPECT_EQ(a.ws.PasteTests(bytes, message, refusals), 0u);
    EXPECT_EQ(message, "1 Test war schon im Dokument.");
}
