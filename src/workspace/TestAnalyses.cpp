#include "TestAnalyses.h"

#include "TRVDoc.h"

namespace trv {

int TestKey(const TestDataType& test) { return test.m_Steps.empty() ? -1 : test.m_Steps.front().m_nMeasId; }

const TestAnalysis& CTestAnalyses::Of(const TestDataType& test) const {
    static const TestAnalysis kNone;
    const auto it = m_Map.find(TestKey(test));
    return it == m_Map.end() ? kNone : it->second;
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

void CTestAnalyses::SetChoice(const TestDataType& test, int fit, int model) {
    TestAnalysis& an = Of(test);
    an.m_nFitFunction = fit;
    an.m_nThresholdModel = model;
}

}  // namespace trv
