#include "workspace/TestAnalyses.h"

#include "data/TRVDoc.h"

namespace trv {

int TestKey(const TestDataType& test) { return test.m_Steps.empty() ? -1 : test.m_Steps.front().m_nMeasId; }

AnalysisChoice ValidChoice(int fit, int model) {
    AnalysisChoice c;
    if (model >= ModelMader && model <= ModelSimon) c.model = model;
    if (fit >= FitCubic && fit <= FitSpline) c.fit = fit;
    if (c.model != ModelMader) c.fit = FitCubic;
    return c;
}

AnalysisChoice WithModel(AnalysisChoice choice, int model) {
    if (model < ModelMader || model > ModelSimon) return choice;
    choice.model = model;
    if (model != ModelMader) choice.fit = FitCubic;
    return choice;
}

AnalysisChoice WithFit(AnalysisChoice choice, int fit) {
    if (fit < FitCubic || fit > FitSpline) return choice;
    choice.fit = fit;
    if (fit == FitSpline) choice.model = ModelMader;
    return choice;
}

const TestAnalysis& CTestAnalyses::Of(const TestDataType& test) const {
    const auto it = m_Map.find(TestKey(test));
    return it == m_Map.end() ? m_Preferred : it->second;
}

TestAnalysis& CTestAnalyses::Of(const CTRVDoc& doc, int test) {
    if (!doc.IsValidTest(test)) {
        m_Scratch = TestAnalysis{};
        return m_Scratch;
    }
    return Of(doc.GetTest(test));
}

const TestAnalysis& CTestAnalyses::Of(const CTRVDoc& doc, int test) const {
    static const TestAnalysis kNone;
    return doc.IsValidTest(test) ? Of(doc.GetTest(test)) : kNone;
}

AnalysisOf CTestAnalyses::For(const CTRVDoc& doc) {
    return [this, &doc](int test) -> TestAnalysis& { return Of(doc, test); };
}

void CTestAnalyses::UsePreferredChoice(const CTRVDoc& doc, const AnalysisChoice& choice) {
    SetPreferredChoice(choice);
    for (const TestDataType& t : doc.m_Tests) SetChoice(t, m_Preferred.m_nFitFunction, m_Preferred.m_nThresholdModel);
}

void CTestAnalyses::SetPreferredChoice(const AnalysisChoice& choice) {
    const AnalysisChoice c = ValidChoice(choice.fit, choice.model);
    m_Preferred.m_nFitFunction = c.fit;
    m_Preferred.m_nThresholdModel = c.model;
}

void CTestAnalyses::SetChoice(const TestDataType& test, int fit, int model) {
    TestAnalysis& an = Of(test);
    an.m_nFitFunction = fit;
    an.m_nThresholdModel = model;
}

}  // namespace trv
