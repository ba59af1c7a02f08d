#pragma once
// The fitting choice and the evaluation results of a document's tests, which no file stores.
//
// They are kept by test key, the measurement ID of the test's first reading, not by index: a
// merged download sorts the tests anew, a conversion removes tests, undo puts whole lists back,
// and each of these moves tests under their indices. The first reading's ID stays with its test
// through all of them (IDs are unique in a document, the merge only appends to a test, and no
// edit changes an ID), so the choice made for a test follows it. A test without readings has
// nothing to evaluate; all such tests share one entry.
#include "analysis/TestAnalysis.h"

#include <map>

namespace trv {

class CTRVDoc;

// The key of a test: the ID of its first reading; -1 for a test without readings.
int TestKey(const TestDataType& test);

// A fitting choice: function and threshold model.
struct AnalysisChoice {
    int fit = FitCubic;
    int model = ModelMader;
};

// The pairs the evaluation knows: Keul and Simon fit with the polynomial, the splines go with Mader
// only. A code out of range becomes the default; of a pair that does not go together the model stays.
AnalysisChoice ValidChoice(int fit, int model);
// A model or function chosen (out of range: no change); the other one follows where the pair would
// not go together.
AnalysisChoice WithModel(AnalysisChoice choice, int model);
AnalysisChoice WithFit(AnalysisChoice choice, int fit);

class CTestAnalyses {
public:
    // The analysis of `test` (a default one with the preferred choice, not evaluated, when none is
    // kept yet).
    TestAnalysis& Of(const TestDataType& test) { return m_Map.try_emplace(TestKey(test), m_Preferred).first->second; }
    const TestAnalysis& Of(const TestDataType& test) const;
    // The same by index into `doc` (an invalid index gives a scratch default).
    TestAnalysis& Of(const CTRVDoc& doc, int test);
    const TestAnalysis& Of(const CTRVDoc& doc, int test) const;
    // Lookup by index, for the analysis functions.
    AnalysisOf For(const CTRVDoc& doc);

    // The fitting choice of a test: function and threshold model.
    void SetChoice(const TestDataType& test, int fit, int model);

    // The lab's preferred choice (the program's settings; documents do not store one): every test of
    // `doc` gets it now, and every test without a choice yet (downloaded, typed or imported later)
    // when it is first asked for. Nothing of the document changes.
    void UsePreferredChoice(const CTRVDoc& doc, const AnalysisChoice& choice);
    // Only for the tests that come from now on.
    void SetPreferredChoice(const AnalysisChoice& choice);
    AnalysisChoice PreferredChoice() const { return {m_Preferred.m_nFitFunction, m_Preferred.m_nThresholdModel}; }

private:
    std::map<int, TestAnalysis> m_Map;
    TestAnalysis m_Preferred;
    TestAnalysis m_Scratch;
};

}  // namespace trv
