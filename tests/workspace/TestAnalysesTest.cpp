// The fitting choice and the evaluation results live beside the records: the file never sees
// them, they follow their test when tests move, and undo brings an earlier choice back.
#include "WorkspaceDocs.h"
#include "workspace/TestParamRules.h"
#include "workspace/Workspace.h"

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
    ASSERT_EQ(ReadTrv(saved, reopened).message, "");
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

TEST(TestAnalyses, PairsThatDoNotGoTogetherAreMadeValid) {
    // Keul and Simon fit with the polynomial only; the splines only with Mader.
    const auto same = [](AnalysisChoice c, int fit, int model) { return c.fit == fit && c.model == model; };
    EXPECT_TRUE(same(ValidChoice(FitSpline, ModelSimon), FitCubic, ModelSimon));
    EXPECT_TRUE(same(ValidChoice(FitSpline, ModelMader), FitSpline, ModelMader));
    EXPECT_TRUE(same(ValidChoice(7, -1), FitCubic, ModelMader));
    EXPECT_TRUE(same(ValidChoice(FitSpline, 3), FitSpline, ModelMader));
    EXPECT_TRUE(same(WithModel({FitSpline, ModelMader}, ModelKeul), FitCubic, ModelKeul));
    EXPECT_TRUE(same(WithModel({FitSpline, ModelMader}, 3), FitSpline, ModelMader));
    EXPECT_TRUE(same(WithFit({FitCubic, ModelSimon}, FitSpline), FitSpline, ModelMader));
    EXPECT_TRUE(same(WithFit({FitCubic, ModelSimon}, FitCubic), FitCubic, ModelSimon));
    EXPECT_TRUE(same(WithFit({FitCubic, ModelSimon}, -1), FitCubic, ModelSimon));
}

TEST(TestAnalyses, ThePreferredChoiceReachesEveryOpenedAndEveryNewTestWithoutAnyChange) {
    const std::vector<uint8_t> saved = Bytes(wstest::SampleDoc());
    CTRVDoc doc;
    ASSERT_EQ(ReadTrv(saved, doc).message, "");
    CCommandHistory history;
    const auto analyses = std::make_shared<CTestAnalyses>();
    analyses->UsePreferredChoice(doc, {FitCubic, ModelSimon});
    CWorkspace ws(doc, history, analyses);
    for (int i = 0; i < doc.GetTestCount(); ++i) {
        EXPECT_EQ(ws.Analysis(i).m_nThresholdModel, ModelSimon) << i;
        EXPECT_EQ(ws.Analysis(i).m_nFitFunction, FitCubic) << i;
    }
    // Opening changed nothing that a file or the undo list would see.
    EXPECT_EQ(Bytes(doc), saved);
    EXPECT_EQ(history.Count(), 0u);
    EXPECT_FALSE(ws.IsModified());
    // The test-parameter dialog starts from it.
    EXPECT_EQ(CTestParamRules(doc.GetTest(1), ws.Analysis(1)).m_nThresholdModel, ModelSimon);

    // A choice made in the settings later is for the tests that come from then on.
    analyses->SetPreferredChoice({FitSpline, ModelMader});
    PCMDataType single = wstest::Reading(600, 25);
    single.m_bFirstStep = 1;
    const auto memory = wstest::Memory({single});
    ASSERT_NE(ws.MergeDownload(memory.data(), "ARV0000125", 3.05), 0u);
    ASSERT_EQ(doc.GetTestCount(), 7);
    EXPECT_EQ(TestKey(doc.GetTest(6)), 600);
    EXPECT_EQ(ws.Analysis(6).m_nFitFunction, FitSpline);
    EXPECT_EQ(ws.Analysis(6).m_nThresholdModel, ModelMader);
    EXPECT_EQ(ws.Analysis(1).m_nThresholdModel, ModelSimon);
    EXPECT_EQ(ws.Analysis(0).m_nThresholdModel, ModelSimon);
    // The download is all the undo list holds.
    EXPECT_EQ(history.Count(), 1u);
}
