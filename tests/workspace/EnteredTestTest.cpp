// Adding a typed or imported test through the workspace: selection, chart, undo and redo.
#include "WorkspaceDocs.h"
#include "data/ManualIds.h"
#include "data/ManualTest.h"
#include "res/StringIds.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;
using wstest::Bytes;

namespace {

TestDataType Typed(int steps) {
    ManualTestInput input;
    input.m_FirstStep = COleDateTime::FromParts(2026, 4, 1, 8, 0, 0);
    for (int i = 0; i < steps; ++i) {
        ManualStep s;
        s.m_Load = 8.0 + 2 * i;
        s.m_dLactate = 1.0 + 0.8 * i * i;
        s.m_nHeartRate = 120 + 12 * i;
        input.m_Steps.push_back(s);
    }
    TestDataType t;
    std::vector<std::string> questions;
    EXPECT_EQ(BuildManualTest(input, t, questions).message, "");
    return t;
}

}  // namespace

TEST(EnteredTest, SelectedShownAndUndoneAsOneCommand) {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    const std::vector<uint8_t> before = Bytes(doc);
    uint32_t changes = 0;
    ASSERT_TRUE(ws.AddEnteredTest(Typed(5), IDS_CMD_ENTER_TEST, changes));
    ASSERT_NE(changes, 0u);
    EXPECT_TRUE(changes & ChangeTestList);
    EXPECT_EQ(history.UndoNameId(), IDS_CMD_ENTER_TEST);
    // Behind the six tests of the sample, selected, drawn as curve L 1 and evaluated.
    ASSERT_EQ(doc.GetTestCount(), 7);
    EXPECT_EQ(ws.SelectedTest(), 6);
    EXPECT_TRUE(IsManualTest(doc, 6));
    EXPECT_EQ(doc.GetTest(6).m_bShowInChart, 1);
    EXPECT_EQ(ws.CurveSlot(6), 0);
    EXPECT_TRUE(ws.Analysis(6).m_bEvaluated);
    EXPECT_TRUE(ws.IsModified());
    const std::vector<uint8_t> after = Bytes(doc);
    ws.Undo();
    EXPECT_EQ(Bytes(doc), before);
    EXPECT_EQ(doc.GetTestCount(), 6);
    EXPECT_FALSE(ws.IsModified());
    ws.Redo();
    EXPECT_EQ(Bytes(doc), after);
    // A second typed test joins as curve L 2; a third is added but not shown.
    ASSERT_TRUE(ws.AddEnteredTest(Typed(4), IDS_CMD_IMPORT_TEST, changes));
    ASSERT_NE(changes, 0u);
    EXPECT_EQ(history.UndoNameId(), IDS_CMD_IMPORT_TEST);
    EXPECT_EQ(ws.CurveSlot(7), 1);
    ASSERT_TRUE(ws.AddEnteredTest(Typed(3), IDS_CMD_IMPORT_TEST, changes));
    ASSERT_NE(changes, 0u);
    EXPECT_EQ(doc.GetTest(8).m_bShowInChart, 0);
    EXPECT_EQ(ws.SelectedTest(), 8);
    EXPECT_EQ(doc.GetTest(8).m_Steps.front().m_nMeasId, 60009);
}

TEST(EnteredTest, NoIdsLeftIsRefusedWithAReason) {
    CTRVDoc doc;
    TestDataType full;
    for (int id = kManualIdFirst; id <= kManualIdLast - 2; ++id) {
        PCMDataType m;
        m.m_nMeasId = static_cast<uint16_t>(id);
        m.m_nMeasType = MeasLoad;
        full.m_Steps.push_back(m);
    }
    doc.m_Tests.push_back(full);
    CCommandHistory history;
    CWorkspace ws(doc, history);
    uint32_t changes = 0;
    const Result refused = ws.AddEnteredTest(Typed(3), IDS_CMD_ENTER_TEST, changes);
    EXPECT_FALSE(refused);
    EXPECT_EQ(changes, 0u);
    EXPECT_EQ(refused.message, "Das Dokument hat keinen Platz für 3 weitere manuell erfasste Messwerte.");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(doc.GetTestCount(), 1);
    EXPECT_TRUE(ws.AddEnteredTest(Typed(2), IDS_CMD_ENTER_TEST, changes));
    EXPECT_NE(changes, 0u);
}
