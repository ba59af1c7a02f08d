// The fitting choice and the evaluation results live beside the records: the file never sees
// them, they follow their test when tests move, and undo brings an earlier choice back.
#include "TestParamRules.h"
#include "Workspace.h"
#include "WorkspaceDocs.h"

#include <gtest/gtest.h>

#include <memory>

using namespace trv;
using wstest::Bytes;

namespace {

// Test parameters for test `index` of `ws` with the fitting choice `fit` / `model`.
uint32_t ApplyChoice(CWorkspace& ws, int index, int fit, int model) {
    CTestParamRules rules(ws.Doc().GetTest(index), ws.Analysis(index));
    rules.ChooseFit(fit);
    rules.ChooseModel(model);
    return ws.ApplyTestParams(index, ws.FirstId(index), rules);
}

}  // namespace

TEST(TestAnalyses, EvaluatingChangesNoFileByteAndTheFileKeepsNoResults) {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ASSERT_NE(ws.ShowTest(0, true), 0u);
    ASSERT_NE(ws.ShowTest(1, true), 0u);
    ASSERT_NE(ApplyChoice(ws, 0, FitCubic, ModelKeul), 0u);
    ASSERT_NE(ApplyChoice(ws, 1, FitSpline, ModelMader), 0u);
    const std::vector<uint8_t> saved = Bytes(doc);
    ws.Evaluate();
    ws.SetUpChart();
    ASSERT_EQ(ws.Analysis(0).m_bEvaluated, 1);
    ASSERT_EQ(ws.Analysis(1).m_bEvaluated, 1);
    EXPECT_EQ(Bytes(doc), saved);

    // The saved file opened again: no test is evaluated, and the choice is the default one.
    CTRVDoc reopened;
    std::string error;
    ASSERT_TRUE(ReadTrv(saved, reopened, error)) << error;
    CCommandHistory h2;
    const CWorkspace fresh(reopened, h2);
    for (int i = 0; i < reopened.GetTestCount(); ++i) {
        EXPECT_EQ(fresh.Analysis(i).m_bEvaluated, 0) << i;
        EXPECT_EQ(fresh.Analysis(i).m_nFitFunction, FitCubic) << i;
        EXPECT_EQ(fresh.Analysis(i).m_nThresholdModel, ModelMader) << i;
    }
    EXPECT_EQ(Bytes(reopened), saved);
}

TEST(TestAnalyses, UndoOfTestParametersBringsTheEarlierChoiceAndResultsBack) {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ASSERT_NE(ws.ShowTest(1, true), 0u);
    ASSERT_NE(ApplyChoice(ws, 1, FitCubic, ModelKeul), 0u);
    // Lactate 1.0, 1.5, 2.2, 3.4, 5.1 at 2.5 .. 4.5 m/s rises at most 3.4 mmol/l per m/s between
    // two steps, short of Keul's tangent slope of 4.45 in m/s: not determinable.
    ASSERT_EQ(ws.Analysis(1).m_bEvaluated, 1);
    EXPECT_EQ(ws.Analysis(1).m_bIansFailed, 1);
    const double keulLoad = ws.Analysis(1).m_dIansLoad;

    ASSERT_NE(ApplyChoice(ws, 1, FitSpline, ModelMader), 0u);
    EXPECT_EQ(ws.Analysis(1).m_nFitFunction, FitSpline);
    EXPECT_EQ(ws.Analysis(1).m_nThresholdModel, ModelMader);
    // 4.0 mmol/l lies between the steps at 4.0 and 4.5 m/s.
    EXPECT_EQ(ws.Analysis(1).m_bIansFailed, 0);
    const double maderLoad = ws.Analysis(1).m_dIansLoad;
    EXPECT_GT(maderLoad, 4.0);
    EXPECT_LT(maderLoad, 4.5);
    EXPECT_NE(maderLoad, keulLoad);

    ASSERT_NE(ws.Undo(), 0u);
    EXPECT_EQ(ws.Analysis(1).m_nFitFunction, FitCubic);
    EXPECT_EQ(ws.Analysis(1).m_nThresholdModel, ModelKeul);
    EXPECT_DOUBLE_EQ(ws.Analysis(1).m_dIansLoad, keulLoad);
    EXPECT_EQ(ws.Analysis(1).m_bIansFailed, 1);
    ASSERT_NE(ws.Redo(), 0u);
    EXPECT_EQ(ws.Analysis(1).m_nFitFunction, FitSpline);
    EXPECT_DOUBLE_EQ(ws.Analysis(1).m_dIansLoad, maderLoad);
    // Back before the first parameters: the default choice again.
    ASSERT_NE(ws.Undo(), 0u);
    ASSERT_NE(ws.Undo(), 0u);
    EXPECT_EQ(ws.Analysis(1).m_nFitFunction, FitCubic);
    EXPECT_EQ(ws.Analysis(1).m_nThresholdModel, ModelMader);
}

TEST(TestAnalyses, TheChoiceFollowsItsTestWhenTestsMove) {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ASSERT_NE(ApplyChoice(ws, 2, FitCubic, ModelSimon), 0u);
    // A reading with a lower ID sorted in front of every test (another window's download).
    doc.m_Tests.insert(doc.m_Tests.begin(), wstest::SingleTest(10, 20));
    EXPECT_EQ(ws.Analysis(3).m_nThresholdModel, ModelSimon);
    EXPECT_EQ(ws.Analysis(2).m_nThresholdModel, ModelMader);
    EXPECT_EQ(ws.Analysis(0).m_nThresholdModel, ModelMader);
    EXPECT_EQ(TestKey(doc.GetTest(3)), 200);
    EXPECT_EQ(TestKey(TestDataType{}), -1);
}

TEST(TestAnalyses, WindowsOnOneDocumentShareTheChoiceAndUndoOutlivesAClosedWindow) {
    CTRVDoc doc = wstest::SampleDoc();
    CCommandHistory history;
    const auto shared = std::make_shared<CTestAnalyses>();
    CWorkspace second(doc, history, shared);
    {
        CWorkspace first(doc, history, shared);
        ASSERT_NE(ApplyChoice(first, 0, FitSpline, ModelMader), 0u);
        EXPECT_EQ(second.Analysis(0).m_nFitFunction, FitSpline);
    }
    ASSERT_NE(second.Undo(), 0u);
    EXPECT_EQ(second.Analysis(0).m_nFitFunction, FitCubic);
    EXPECT_EQ(doc.GetTest(0).m_bParamsEntered, 0);
}
