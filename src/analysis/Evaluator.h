#pragma once
// The evaluation of the shown tests into the chart model: series, fits, thresholds, notice flags.
//
// The workspace owns one CEvaluator next to its chart model, its notice flags and the tests'
// analyses (`an`: fitting choice in, results out) and calls
//   Evaluate(doc, an, chart, flags) after every change that affects the display (view opened,
//                                   download, athlete dialog, check boxes or selection changed, load
//                                   update, the redraw buttons, a legend click),
//   SetUpResults(doc, an, chart, flags) right after it (and whenever the chart is set up again): fills
//                                   the result boxes (ToolResult1, ToolResult2) and switches them on or off,
//   CursorReadout(...)              on every cursor move; it writes the chart's cursor text.
//
// Notice bits Evaluate sets and clears: 0x4 / 0x8 (curve of test 1 / 2 not fitted), 0x10 / 0x20
// (threshold of test 1 / 2 not determinable), 0x40 (no test shown: the word becomes exactly 0x40),
// 0x100 (the shown tests have different load units). It only reads 0x1 / 0x2 (parameters missing,
// set by the test list). The bits of a test that is not evaluated in a run are cleared.
#include "analysis/ChartModel.h"
#include "analysis/CurveFit.h"
#include "analysis/TestAnalysis.h"
#include "data/NoticeFlags.h"

#include <array>
#include <cstdint>
#include <string>

namespace trv {

class CTRVDoc;
struct TestDataType;

class CEvaluator {
public:
    // Rebuilds all series and the results of the shown tests (test 1 = first shown test in document
    // order, test 2 = the second; further shown tests are ignored). Reads the fitting choice from
    // and writes the results into `analysisOf(test)`.
    void Evaluate(CTRVDoc& doc, const AnalysisOf& analysisOf, CChartModel& chart, uint32_t& noticeFlags);

    // Result boxes: the result text of each shown, evaluated test with entered parameters goes into
    // ToolResult1 (test 1) or ToolResult2 (test 2), which is switched on only when the test's fit and
    // threshold bits and the units bit are clear; otherwise it is switched off and emptied.
    void SetUpResults(const CTRVDoc& doc, const AnalysisOf& analysisOf, CChartModel& chart, uint32_t noticeFlags) const;

    // Cursor move: clears the cursor text, then for ToolCursor1 (test 1 shown) or ToolCursor2 (test 2 shown)
    // adds the read-out line at (x, y). Returns the line ("" when none).
    std::string CursorReadout(const CTRVDoc& doc, CChartModel& chart, int toolIndex, double x, double y) const;

    // The document index of the test shown as test 1 (slot 0) or test 2 (slot 1); -1 = none.
    int ShownTest(int slot) const { return slot == 0 || slot == 1 ? m_anShownTest[slot] : -1; }
    int ShownCount() const { return m_nShownCount; }

    int32_t m_nLoadUnit1 = -1;    // load unit of test 1, for the unit check
    std::string m_strSymbol;      // "v" or "P"
    std::string m_strUnit;        // "km/h", "m/s" or "W"
    bool m_bCurve1Active = true;  // SeriesCurve1 and SeriesCurve2 active when the evaluation ran
    bool m_bCurve2Active = true;

private:
    void EvaluateTest(TestDataType& test, TestAnalysis& an, int slot, CChartModel& chart, uint32_t& noticeFlags);
    void AddPoints(TestDataType& test, TestAnalysis& an, int slot, CChartModel& chart);

    std::array<int, 2> m_anShownTest{-1, -1};
    int m_nShownCount = 0;
    CCurveFit m_Fit;  // the fit's working storage, one test at a time
};

}  // namespace trv
