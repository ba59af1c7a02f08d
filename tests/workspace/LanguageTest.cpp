// The chart in another language than the windows speak: what a printout in English from a German program
// (or the other way round) draws.
#include "WorkspaceDocs.h"
#include "res/Strings.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;

namespace {

std::string ToolTexts(const CChartModel& c) {
    std::string s;
    for (const ChartTool& t : c.tools)
        if (t.active) s += t.text + "|";
    return s;
}

}  // namespace

TEST(ChartIn, TextsInTheAskedLanguageAndTheWorkspaceUntouched) {
    CTRVDoc doc;
    doc.m_Tests.push_back(wstest::StepTest(42, 7));
    doc.GetTest(0).m_bParamsEntered = 1;
    for (PCMDataType& m : doc.GetTest(0).m_Steps) m.m_bChecked = 1;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({0}, FitCubic, ModelMader);
    const CChartModel german = ws.Chart();
    ASSERT_FALSE(german.title.lines.empty());
    EXPECT_EQ(german.title.lines[0], "Testdatum 02.03.2026");
    EXPECT_NE(ToolTexts(german).find("Madermodell:\r"), std::string::npos) << ToolTexts(german);

    const CChartModel english = ws.ChartIn(Lang::en);
    ASSERT_FALSE(english.title.lines.empty());
    EXPECT_EQ(english.title.lines[0], "Test date 02/03/2026");
    EXPECT_EQ(english.axes[AxisLeft].title, "Lactate [mmol/l]");
    EXPECT_EQ(english.axes[AxisRight].title, "Heart rate [bpm]");
    const std::string texts = ToolTexts(english);
    EXPECT_NE(texts.find("Mader model:\r"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Lactate = 4.00 mmol/l"), std::string::npos) << texts;
    EXPECT_EQ(texts.find(','), std::string::npos) << texts;  // no decimal comma left
    // The same points: only the texts differ.
    for (size_t i = 0; i < german.series.size(); ++i) {
        ASSERT_EQ(english.series[i].points.size(), german.series[i].points.size()) << i;
        for (size_t k = 0; k < german.series[i].points.size(); ++k)
            EXPECT_DOUBLE_EQ(english.series[i].points[k].y, german.series[i].points[k].y);
    }

    // The workspace keeps its German chart, and the German copy is the chart itself.
    EXPECT_EQ(ws.Chart().title.lines, german.title.lines);
    EXPECT_EQ(ToolTexts(ws.Chart()), ToolTexts(german));
    const CChartModel again = ws.ChartIn(Lang::de);
    EXPECT_EQ(again.title.lines, german.title.lines);
    EXPECT_EQ(ToolTexts(again), ToolTexts(german));
    EXPECT_EQ(CurrentLang(), Lang::de);
}
