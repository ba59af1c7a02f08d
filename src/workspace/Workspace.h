#pragma once
// The workspace of one document window, without the window: the selection, which tests the chart
// shows (at most two), the show button's mode, the cursors, the notice flags, the chart model with
// the evaluation of the shown tests, and every change of the document as a command of the shared
// history. The Qt view mirrors this state and forwards each click here; trv-cli and the tests drive
// it directly.
#include "analysis/ChartModel.h"
#include "analysis/Evaluator.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/Zones.h"
#include "data/AssignedTests.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "res/Strings.h"
#include "workspace/Command.h"
#include "workspace/MeasurementEdit.h"
#include "workspace/TestAnalyses.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trv {

class CDeleteCommand;
class CTestParamRules;

// Curve slot of a test: 0 for curve "L 1", 1 for "L 2", the next numbers for further shown tests in
// document order; -1 for a test not shown.
int CurveSlotOf(const CTRVDoc& doc, int test);

// What the "Test anzeigen/ neu zeichnen" button does now.
enum class ShowButtonAction { Redraw, ShowSelected, Nothing };

class CWorkspace {
public:
    // `history` belongs to the document (all windows on it share it), and so do `analyses`, the
    // tests' fitting choices and results (null: this workspace keeps its own).
    CWorkspace(CTRVDoc& doc, CCommandHistory& history, std::shared_ptr<CTestAnalyses> analyses = nullptr);

    CTRVDoc& Doc() { return m_doc; }
    const CTRVDoc& Doc() const { return m_doc; }
    const CCommandHistory& History() const { return m_history; }
    CChartModel& Chart() { return m_Chart; }
    const CChartModel& Chart() const { return m_Chart; }
    // The chart as it stands, with its texts (titles, result boxes, notices, labels) and numbers in `lang`:
    // evaluated anew on copies, so that a printout can speak another language than the windows. Nothing of
    // the workspace changes.
    CChartModel ChartIn(Lang lang) const;
    const CEvaluator& Evaluator() const { return m_Eval; }
    // The fitting choice and evaluation results of the document's tests.
    const CTestAnalyses& Analyses() const { return *m_pAnalyses; }
    const TestAnalysis& Analysis(int test) const { return m_pAnalyses->Of(m_doc, test); }
    // Index lookup for the print-out.
    ConstAnalysisOf AnalysisLookup() const {
        return [this](int test) -> const TestAnalysis& { return Analysis(test); };
    }

    // ---- selection ---------------------------------------------------------------------------
    // The selected rows of the test list as test indices (top to bottom) and the test of the
    // list's current row (-1 = none). With more than one test the show button only redraws.
    void SelectTests(const std::vector<int>& tests, int current);
    // The same without a user's action behind it (the list was refilled): the show button keeps
    // its mode.
    void SyncSelection(const std::vector<int>& tests, int current);
    // A click on a test row (-1 = no row hit): the show button offers to show a step test while
    // fewer than two tests are shown.
    void ClickTest(int test);
    int SelectedTest() const { return m_nSelectedTest; }
    const std::vector<int>& SelectedTests() const { return m_Selected; }
    bool SeveralSelected() const { return m_Selected.size() > 1; }
    // Row within the selected test; -1 = none.
    int CurrentMeasurement() const { return m_nCurrentMeas; }
    void SetCurrentMeasurement(int meas);
    // Indices that no longer name a test or measurement become -1 (after undo, another window).
    void Revalidate();

    int ShowButtonMode() const { return m_nShowMode; }
    ShowButtonAction ShowButton() const;
    // The tip of the "Test anzeigen/ neu zeichnen" button for the current state ("" when a click does nothing).
    std::string ShowButtonTip() const;

    // ---- shown tests --------------------------------------------------------------------------
    int ShownCount() const { return m_doc.CountShownTests(); }
    int CurveSlot(int test) const { return CurveSlotOf(m_doc, test); }
    // Headless set-up: exactly the tests `indices` are shown (invalid ones ignored), each with
    // the fitting function `fit` and the threshold model `model`; then the evaluation.
    void ShowOnly(const std::vector<int>& indices, int fit, int model);

    // ---- cursors ------------------------------------------------------------------------------
    bool CursorShown(int which) const { return which == 1 ? m_bCursor1 : m_bCursor2; }
    // Switches cursor 1 or 2; switching one on switches the other off.
    void ToggleCursor(int which);
    // A cursor moved: its read-out line.
    std::string CursorMoved(int tool, double x, double y);

    // ---- notices ------------------------------------------------------------------------------
    uint32_t Notices() const { return m_nNotice; }
    void SetNotices(uint32_t bits) { m_nNotice |= bits; }
    void ClearNotices(uint32_t bits) { m_nNotice &= ~bits; }
    // The "parameters missing" bits of the shown tests (0x1 for curve L1, 0x2 for every later one).
    static uint32_t ParamsMissingNotices(const CTRVDoc& doc);
    // The notice area's lines for a set of bits, in the order they are written; `holder` names the
    // window that holds the analyser ("" = none known).
    static std::vector<std::string> NoticeLines(uint32_t flags, const std::string& holder = std::string());
    // The once-a-second refresh: the bits that follow the document (no tests, athlete's name), the
    // second-window bit (`otherWindows`: more document windows are open; `holder`: the title of the
    // one connected to the analyser, if any), then the notice area.
    void RefreshNotices(bool otherWindows, const std::string& holder = std::string());
    // What the last download brought ("12 neue Messwerte übertragen", "Keine neuen Messwerte"): a
    // line of the notice area until the window takes it away ("" = none).
    const std::string& DownloadNotice() const { return m_strDownloadNotice; }
    void ClearDownloadNotice();
    // Readings of the shown tests that do not fit their curve: (test index, reading index) and the
    // notice line that names each; the notice area shows the lines, the measurement list marks them.
    struct FlaggedReading {
        int test = -1, row = -1;
        std::string notice;
        bool operator==(const FlaggedReading&) const = default;
    };
    // True when the flagged readings changed (the list then marks other rows).
    bool SetFlaggedReadings(std::vector<FlaggedReading> flagged);
    // The notice of a flagged reading; null when it fits.
    const std::string* FlaggedNotice(int test, int row) const;

    // ---- evaluation ---------------------------------------------------------------------------
    // The parameters-missing bits, the evaluation of the shown tests and their result boxes.
    void Evaluate();
    // Result boxes and cursors again (a redraw without a new evaluation).
    void SetUpChart();
    // The chart's device annotation from the document's binding.
    void ShowDeviceText();
    // "Daten exportieren": the tests `indices` with their shortened steps worked out as the
    // evaluation does (also for tests not shown), written as CSV to `path`.
    FileResult ExportCsv(const std::vector<int>& indices, const std::string& path) const;

    // ---- thresholds ----------------------------------------------------------------------------
    // Every method and the zones of each test the chart draws, worked out by Evaluate() with the
    // test's fitting function and threshold model and these zone settings (not stored in documents).
    void SetZoneSettings(const ZoneSettings& zones) { m_Zones = zones; }
    const ZoneSettings& Zones() const { return m_Zones; }
    // The results of a test the last evaluation drew; null for any other test.
    const TestThresholds* ShownThresholds(int test) const;
    // The results of any test, worked out now (the export of tests that are not shown).
    TestThresholds ThresholdsOf(int test) const;

    // ---- commands (each returns WorkspaceChange bits; 0 = refused, nothing changed) ------------
    uint32_t ShowTest(int test, bool show);
    uint32_t HideAllTests();
    uint32_t TickMeasurement(int test, int meas, bool checked);
    // PrL, Ld or AFL for the rows `rows` of the selected test (or its current measurement).
    uint32_t SetMeasType(const std::vector<int>& rows, int type);
    bool CanConvertToStepTest() const;
    // The question to ask before the conversion: the selected readings were taken on different days
    // ("" when they were all taken on one day).
    std::string ConvertQuestion() const;
    uint32_t ConvertToStepTest();
    // A step test typed in or imported (`nameId`: IDS_CMD_ENTER_TEST or IDS_CMD_IMPORT_TEST): it
    // becomes the selected test and is shown unless two are; `changes` gets what changed. Fails
    // (nothing changed) when the document has no IDs left for it.
    Result AddEnteredTest(const TestDataType& test, int nameId, uint32_t& changes);
    // Whole tests copied in another window (the bytes of WriteTransferTests), as one command; each keeps
    // its fitting choice, the first one becomes the selected test. `status` gets the status line of
    // what happened (or, when nothing was added, why: not a failure of its own, as some tests may be
    // taken and others refused), `refusals` one line per test that was not taken.
    uint32_t PasteTests(const std::vector<uint8_t>& bytes, std::string& status, std::vector<std::string>& refusals);
    // The selected tests as such bytes (empty when none is selected or they cannot be written).
    std::vector<uint8_t> CopySelectedTests() const;
    // The dialog's values for the test that was selected when it opened: `index` and the ID of its
    // first reading (a download meanwhile may have moved it; it is found again by that ID).
    uint32_t ApplyTestParams(int index, int firstId, const CTestParamRules& rules);
    uint32_t ApplyAthlete(const UserDataType& user);
    // A typed cell; `result` (may be null) says what the cell shows and whether the list refills, or
    // why the text was refused.
    uint32_t EditCell(int test, int meas, int column, const std::string& text, MeasEditResult* result);
    // The analyser the document is bound to (false: none, any analyser may fill it).
    bool BoundIdentity(std::string& deviceId, double& firmware) const;
    // The analyser's memory (3500 bytes) merged; the newest test becomes the selected one.
    uint32_t MergeDownload(const uint8_t* memory, const std::string& deviceId, double firmware);
    // Deleting tests, or readings given as (test, index within the test); a test left without
    // readings goes too. A deleted test leaves the selection and the chart; the others keep theirs.
    uint32_t DeleteTests(const std::vector<int>& tests);
    uint32_t DeleteReadings(const std::vector<std::pair<int, int>>& readings);
    // Readings the last merged download added to the document (-1: none merged yet, or refused).
    int NewReadings() const { return m_nNewReadings; }
    uint32_t Undo();
    uint32_t Redo();
    // "Tests zuordnen" into this document: tests and readings of another document arrive, as one
    // undoable command.
    uint32_t AddAssignedTests(const std::vector<TestAddition>& additions);
    // The source's tests marked "zugeordnet", or the mark taken back ("Zuordnung aufheben").
    uint32_t MarkAssigned(const std::vector<int>& tests, bool assigned);
    // The shared analyses (the fitting choices of the tests).
    const std::shared_ptr<CTestAnalyses>& SharedAnalyses() const { return m_pAnalyses; }

    // The document was saved or loaded: this state is the clean one.
    void MarkSaved();
    bool IsModified() const { return !m_history.IsClean(); }
    // ID of a test's first reading (-1 = none): how a test is found again after the list changed.
    int FirstId(int test) const;

    // "Neu mit ausgewählten Tests": the selected tests, device ID and firmware for a new document.
    void FillTransferSlot(TransferSlot& slot) const;

private:
    uint32_t Run(std::unique_ptr<CDocCommand> cmd);
    uint32_t RunDelete(std::unique_ptr<CDeleteCommand> cmd);
    uint32_t AfterChange(uint32_t changes);
    void UpdateShowModeAfterCheck();
    bool IsStepTest(int test) const;

    CTRVDoc& m_doc;
    CCommandHistory& m_history;
    CChartModel m_Chart;
    CEvaluator m_Eval;
    std::shared_ptr<CTestAnalyses> m_pAnalyses;
    std::vector<int> m_Selected;
    int m_nSelectedTest = -1;
    int m_nCurrentMeas = -1;
    int m_nShowMode = 0;
    bool m_bCursor1 = false;
    bool m_bCursor2 = false;
    uint32_t m_nNotice = 0;
    std::string m_strDownloadNotice;
    std::vector<FlaggedReading> m_Flagged;
    int m_nNewReadings = -1;
    ZoneSettings m_Zones;
    std::vector<std::pair<int, TestThresholds>> m_Thresholds;  // (test index, results) of the drawn tests
};

}  // namespace trv
