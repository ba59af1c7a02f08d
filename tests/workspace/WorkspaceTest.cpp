// The rules of a document window without the window: the two-test rule, ticks, selection and the
// show button, cursors, notices and the parameters-missing bits.
#include "WorkspaceDocs.h"
#include "data/NoticeFlags.h"
#include "res/Strings.h"
#include "workspace/TestParamRules.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;
using wstest::SampleDoc;

namespace {

struct Ws {
    CTRVDoc doc = SampleDoc();
    CCommandHistory history;
    CWorkspace ws{doc, history};
};

int Ticked(const TestDataType& t) {
    int n = 0;
    for (const PCMDataType& m : t.m_Steps) n += m.m_bChecked;
    return n;
}

}  // namespace

TEST(ShownTests, AtMostTwoStepTestsAndNeverASingleReading) {
    Ws w;
    EXPECT_NE(w.ws.ShowTest(0, true), 0u);
    EXPECT_EQ(Ticked(w.doc.GetTest(0)), 5);  // every step reading takes part in the curve
    EXPECT_EQ(w.ws.ShowTest(3, true), 0u);   // a single reading
    EXPECT_NE(w.ws.ShowTest(2, true), 0u);
    EXPECT_EQ(w.ws.ShowTest(1, true), 0u);  // a third test
    EXPECT_EQ(w.ws.ShownCount(), 2);
    EXPECT_FALSE(w.doc.GetTest(1).m_bShowInChart);
    EXPECT_EQ(w.history.Count(), 2u);  // refusals leave no entry
    // Slots in document order, whatever the order of ticking.
    EXPECT_EQ(w.ws.CurveSlot(0), 0);
    EXPECT_EQ(w.ws.CurveSlot(2), 1);
    EXPECT_EQ(w.ws.CurveSlot(1), -1);
    EXPECT_EQ(w.ws.Evaluator().ShownTest(1), 2);

    EXPECT_NE(w.ws.ShowTest(0, false), 0u);
    EXPECT_EQ(Ticked(w.doc.GetTest(0)), 0);
    EXPECT_EQ(w.ws.CurveSlot(2), 0);
    EXPECT_NE(w.ws.HideAllTests(), 0u);
    EXPECT_EQ(w.ws.ShownCount(), 0);
    EXPECT_EQ(w.ws.HideAllTests(), 0u);  // nothing left to hide
    EXPECT_EQ(w.ws.Notices() & NoticeNoTestShown, NoticeNoTestShown);
}

TEST(ShownTests, TicksOfSingleAndStepReadings) {
    Ws w;
    EXPECT_EQ(w.ws.TickMeasurement(3, 0, true), 0u);
    EXPECT_EQ(w.doc.GetTest(3).m_Steps[0].m_bChecked, 0);
    w.doc.GetTest(0).m_bParamsEntered = 1;
    w.ws.ShowTest(0, true);
    EXPECT_EQ(w.ws.Chart().series[SeriesLoad1].Count(), 5);
    w.ws.SelectTests({0}, 0);
    EXPECT_NE(w.ws.TickMeasurement(0, 2, false), 0u);
    EXPECT_EQ(w.ws.CurrentMeasurement(), 2);
    EXPECT_EQ(w.ws.TickMeasurement(0, 2, false), 0u);  // already unticked
    EXPECT_EQ(w.ws.TickMeasurement(0, 9, true), 0u);   // no such reading
    // The unticked step is not in the main-load series: four points remain.
    EXPECT_EQ(w.ws.Chart().series[SeriesLoad1].Count(), 4);
}

TEST(Selection, SeveralTestsAndTheShowButton) {
    Ws w;
    w.ws.ClickTest(0);
    EXPECT_EQ(w.ws.ShowButtonMode(), 1);
    EXPECT_EQ(w.ws.ShowButton(), ShowButtonAction::ShowSelected);
    EXPECT_EQ(w.ws.ShowButtonTip(), LoadStr(2199));
    w.ws.ClickTest(3);  // a single reading: the button only redraws
    EXPECT_EQ(w.ws.ShowButton(), ShowButtonAction::Redraw);
    EXPECT_EQ(w.ws.ShowButtonTip(), LoadStr(2115));

    w.ws.SelectTests({4, 3}, 4);
    EXPECT_TRUE(w.ws.SeveralSelected());
    EXPECT_EQ(w.ws.ShowButtonMode(), 0);
    w.ws.ClickTest(0);  // a click inside a several-row selection changes nothing
    EXPECT_EQ(w.ws.SelectedTest(), 4);
    ASSERT_TRUE(w.ws.CanConvertToStepTest());
    EXPECT_NE(w.ws.ConvertToStepTest(), 0u);
    ASSERT_EQ(w.doc.GetTestCount(), 5);
    EXPECT_EQ(w.ws.SelectedTest(), 3);
    EXPECT_EQ(w.doc.GetTest(3).m_Steps.size(), 2u);
    EXPECT_EQ(w.ws.ShowButtonMode(), 1);  // the new step test can be shown
    w.ws.SelectTests({0, 3}, 0);
    EXPECT_FALSE(w.ws.CanConvertToStepTest());  // a step test among them

    // Two tests shown: a step test offers nothing, a shown one redraws.
    w.ws.ShowTest(0, true);
    w.ws.ShowTest(1, true);
    w.ws.ClickTest(2);
    EXPECT_EQ(w.ws.ShowButtonMode(), 0);
    w.ws.SelectTests({2}, 2);
    EXPECT_EQ(w.ws.ShowButtonMode(), 0);
    // Three shown (as a file may hold them): the list's rule gives mode 1, but nothing can be added.
    w.doc.GetTest(2).m_bShowInChart = 1;
    w.ws.SelectTests({3}, 3);
    EXPECT_EQ(w.ws.ShowButtonMode(), 1);
    EXPECT_EQ(w.ws.ShowButton(), ShowButtonAction::Nothing);
    EXPECT_EQ(w.ws.ShowButtonTip(), "");
}

TEST(Selection, IndicesThatNoLongerExistAreDropped) {
    Ws w;
    w.ws.SelectTests({5}, 5);
    w.ws.SetCurrentMeasurement(0);
    EXPECT_EQ(w.ws.CurrentMeasurement(), 0);
    w.ws.SetCurrentMeasurement(1);  // a single test has one reading
    EXPECT_EQ(w.ws.CurrentMeasurement(), -1);
    w.doc.m_Tests.pop_back();
    w.ws.Revalidate();
    EXPECT_EQ(w.ws.SelectedTest(), -1);
    EXPECT_TRUE(w.ws.SelectedTests().empty());
}

TEST(Cursors, OneAtATime) {
    Ws w;
    w.ws.ToggleCursor(1);
    EXPECT_TRUE(w.ws.CursorShown(1));
    w.ws.ToggleCursor(2);
    EXPECT_TRUE(w.ws.CursorShown(2));
    EXPECT_FALSE(w.ws.CursorShown(1));
    EXPECT_TRUE(w.ws.Chart().tools[ToolCursor2].active);
    EXPECT_FALSE(w.ws.Chart().tools[ToolCursor1].active);
    w.ws.ToggleCursor(2);
    EXPECT_FALSE(w.ws.CursorShown(2));
    EXPECT_FALSE(w.ws.Chart().tools[ToolCursor2].active);
}

TEST(Notices, LinesInTheirOrder) {
    EXPECT_TRUE(CWorkspace::NoticeLines(0).empty());
    const auto lines = CWorkspace::NoticeLines(NoticeUnits | NoticeParams1 | NoticeNoAnalyser);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Bitte Testparameter für Kurve L1 eingeben.");
    EXPECT_EQ(lines[1], "Bitte für beide Tests die gleiche Belastungseinheit einstellen!");
    EXPECT_EQ(lines[2],
              "Kein Arvento gefunden! Bitte Gerät mittels PC-Kabel oder BT-Modul anschließen und einschalten.");
    // Never "only one window per analyser" beside "no analyser found": one line that says which window
    // holds it, or (none known) what to do either way.
    const uint32_t second = NoticeNoAnalyser | NoticeSecondWindow;
    EXPECT_EQ(CWorkspace::NoticeLines(second, "Team.trv"),
              (std::vector<std::string>{"Das Arvento ist mit dem Fenster \"Team.trv\" verbunden (pro Gerät ist nur ein "
                                        "Fenster möglich). Zur Datenübertragung bitte dort \"Daten empfangen\" wählen "
                                        "oder jenes Fenster schließen."}));
    const auto unknown = CWorkspace::NoticeLines(second);
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_TRUE(unknown[0].starts_with("Kein Arvento gefunden!")) << unknown[0];
    EXPECT_NE(unknown[0].find("anderen Fenster"), std::string::npos) << unknown[0];
    // The second-window line only comes with the missing analyser.
    EXPECT_EQ(CWorkspace::NoticeLines(NoticeSecondWindow).size(), 0u);
}

TEST(Notices, TheRefreshFollowsTheDocument) {
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.SetNotices(NoticeNoAnalyser);
    ws.RefreshNotices(true);
    EXPECT_EQ(ws.Notices(), NoticeNoTests | NoticeAthlete | NoticeNoAnalyser | NoticeSecondWindow);
    ASSERT_EQ(ws.Chart().notices.lines.size(), 3u);
    EXPECT_EQ(ws.Chart().notices.lines[0], "Bitte Messdaten vom Arvento übertragen oder vorhandene TRV-Datei laden.");
    EXPECT_EQ(ws.Chart().notices.lines[1], "Bitte Benutzerdaten eingeben.");

    doc.m_Tests.push_back(wstest::SingleTest(7, 10));
    UserDataType u;
    u.m_strFirstName = "Anna";
    u.m_strLastName = "Berg";
    EXPECT_NE(ws.ApplyAthlete(u), 0u);
    ws.ClearNotices(NoticeNoAnalyser);
    ws.RefreshNotices(true);
    // Nothing shown yet: the evaluation asks for tests to show.
    EXPECT_EQ(ws.Notices() & (NoticeNoTests | NoticeAthlete | NoticeSecondWindow), 0u);
}

TEST(Notices, ParametersMissingAsTheTestListSetsThem) {
    CTRVDoc doc;
    for (int i = 0; i < 4; ++i) {
        doc.m_Tests.push_back(wstest::StepTest(static_cast<uint16_t>(10 * (i + 1)), 3));
        doc.m_Tests.back().m_bParamsEntered = 1;
        doc.m_Tests.back().m_bShowInChart = 1;
    }
    // Shown: 0, 1, 2. Only test 1 lacks its parameters; the third shown test has them and speaks
    // for the same bit of curve L2, so nothing is left.
    doc.GetTest(1).m_bParamsEntered = 0;
    doc.GetTest(3).m_bShowInChart = 0;
    doc.GetTest(3).m_bParamsEntered = 0;  // not shown: no notice
    EXPECT_EQ(CWorkspace::ParamsMissingNotices(doc), 0u);
    doc.GetTest(1).m_bParamsEntered = 1;
    doc.GetTest(2).m_bParamsEntered = 0;
    EXPECT_EQ(CWorkspace::ParamsMissingNotices(doc), 0x2u);
    doc.GetTest(0).m_bParamsEntered = 0;
    EXPECT_EQ(CWorkspace::ParamsMissingNotices(doc), 0x3u);
}

TEST(Notices, TheWindowAndTheCommandLineAgreeBeforeAnyEvaluation) {
    // A file with two shown tests, neither with parameters, never evaluated in this session.
    CTRVDoc file = SampleDoc();
    file.GetTest(0).m_bShowInChart = 1;
    file.GetTest(2).m_bShowInChart = 1;
    CTRVDoc windowDoc = file;
    CCommandHistory h1;
    CWorkspace window(windowDoc, h1);
    window.Evaluate();  // what the window does when it opens
    CTRVDoc cliDoc = file;
    CCommandHistory h2;
    CWorkspace cli(cliDoc, h2);
    cli.ShowOnly({0, 2}, FitCubic, ModelMader);  // trv-cli evaluate FILE --tests 0,2
    EXPECT_EQ(window.Notices() & 0x3u, 0x3u);
    EXPECT_EQ(cli.Notices() & 0x3u, 0x3u);
}

TEST(Commands, TestParametersFindTheirTestAfterADownload) {
    Ws w;
    w.ws.SelectTests({2}, 2);
    const int firstId = w.ws.FirstId(2);
    EXPECT_EQ(firstId, 200);
    CTestParamRules rules(w.doc.GetTest(2), w.ws.Analysis(2));
    rules.ChooseTestType(TestErgometer);
    // Meanwhile a reading with a lower ID arrived and sorted in front of every test.
    w.doc.m_Tests.insert(w.doc.m_Tests.begin(), wstest::SingleTest(10, 20));
    EXPECT_NE(w.ws.ApplyTestParams(2, firstId, rules), 0u);
    EXPECT_EQ(w.doc.GetTest(3).m_nTestType, TestErgometer);
    EXPECT_EQ(w.doc.GetTest(3).m_bParamsEntered, 1);
    EXPECT_EQ(w.doc.GetTest(2).m_nTestType, TestTreadmill);
    EXPECT_EQ(w.ws.SelectedTest(), 3);
    // The test is gone altogether: nothing is written anywhere.
    EXPECT_EQ(w.ws.ApplyTestParams(3, 999, rules), 0u);
}

TEST(Notices, ADownloadSaysWhatItBroughtUntilTheWindowTakesItAway) {
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    auto single = [](uint16_t id) {
        PCMDataType m = wstest::Reading(id, 12);
        m.m_bFirstStep = 1;
        return m;
    };
    auto lines = [&ws] {
        ws.RefreshNotices(false);
        return ws.Chart().notices.lines;
    };
    const auto two = wstest::Memory({single(1), single(2)});
    ASSERT_NE(ws.MergeDownload(two.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(ws.NewReadings(), 2);
    // First, before the notices of the document (nothing shown, no athlete).
    ASSERT_GE(lines().size(), 2u);
    EXPECT_EQ(lines()[0], "2 neue Messwerte übertragen");

    const auto three = wstest::Memory({single(1), single(2), single(3)});
    ASSERT_NE(ws.MergeDownload(three.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(ws.NewReadings(), 1);
    EXPECT_EQ(lines()[0], "1 neuer Messwert übertragen");

    ASSERT_NE(ws.MergeDownload(three.data(), "ARV0000125", 3.05), 0u);
    EXPECT_EQ(ws.NewReadings(), 0);
    EXPECT_EQ(lines()[0], "Keine neuen Messwerte");

    ws.ClearDownloadNotice();
    EXPECT_EQ(lines(),
              (std::vector<std::string>{"Bitte Tests zur Darstellung auswählen.", "Bitte Benutzerdaten eingeben."}));

    // Another analyser's memory is refused: no count, and the line says why instead.
    ASSERT_EQ(ws.MergeDownload(three.data(), "ARV0000999", 3.05), 0u);
    EXPECT_EQ(ws.NewReadings(), -1);
    EXPECT_EQ(lines().back(), "Geräte-ID stimmt mit keiner der angeschlossenen Geräte überein.");
    EXPECT_EQ(ws.DownloadNotice(), "");
}

TEST(ShownTests, ConvertingReadingsOfDifferentDaysAsksFirst) {
    Ws w;
    // Readings 251 and 252 of one morning: no question.
    w.ws.SelectTests({3, 4}, 3);
    EXPECT_EQ(w.ws.ConvertQuestion(), "");
    // Reading 500 taken two days later.
    w.doc.GetTest(5).m_Steps[0].m_Time = COleDateTime::FromParts(2026, 3, 4, 17, 30, 0);
    w.ws.SelectTests({3, 4, 5}, 3);
    ASSERT_TRUE(w.ws.CanConvertToStepTest());
    EXPECT_EQ(w.ws.ConvertQuestion(),
              "Die ausgewählten Messungen stammen von 2 verschiedenen Tagen (02.03.2026, 04.03.2026). Trotzdem zu "
              "einem Stufentest zusammenfassen?");
}
