#include "workspace/Workspace.h"

#include "analysis/StepTest.h"
#include "data/CsvExport.h"
#include "data/DeviceIdentity.h"
#include "data/ManualIds.h"
#include "data/NoticeFlags.h"
#include "device/MemorySlot.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "workspace/AssignCommands.h"
#include "workspace/DeleteCommands.h"
#include "workspace/DocCommands.h"
#include "workspace/EnteredTestCommand.h"
#include "workspace/TestParamRules.h"
#include "workspace/TestTransfer.h"

#include <algorithm>
#include <map>

namespace trv {

CWorkspace::CWorkspace(CTRVDoc& doc, CCommandHistory& history, std::shared_ptr<CTestAnalyses> analyses)
    : m_doc(doc), m_history(history), m_pAnalyses(analyses ? std::move(analyses) : std::make_shared<CTestAnalyses>()) {
    m_Chart.ApplyStartup();
}

// ---- selection -----------------------------------------------------------------------------------

bool CWorkspace::IsStepTest(int test) const { return m_doc.IsValidTest(test) && trv::IsStepTest(m_doc.GetTest(test)); }

void CWorkspace::SyncSelection(const std::vector<int>& tests, int current) {
    m_Selected.clear();
    for (int t : tests)
        if (m_doc.IsValidTest(t)) m_Selected.push_back(t);
    m_nSelectedTest = m_doc.IsValidTest(current) ? current : -1;
}

void CWorkspace::SelectTests(const std::vector<int>& tests, int current) {
    SyncSelection(tests, current);
    if (SeveralSelected()) {
        m_nShowMode = 0;
        return;
    }
    m_nShowMode = IsStepTest(m_nSelectedTest) && ShownCount() != 2 ? 1 : 0;
}

void CWorkspace::ClickTest(int test) {
    if (!m_doc.IsValidTest(test)) {
        m_nSelectedTest = -1;
        return;
    }
    if (SeveralSelected()) return;
    m_nSelectedTest = test;
    m_nShowMode = IsStepTest(test) && ShownCount() < 2 ? 1 : 0;
}

void CWorkspace::SetCurrentMeasurement(int meas) {
    const bool valid = m_doc.IsValidTest(m_nSelectedTest) && meas >= 0 &&
                       meas < static_cast<int>(m_doc.GetTest(m_nSelectedTest).m_Steps.size());
    m_nCurrentMeas = valid ? meas : -1;
}

void CWorkspace::Revalidate() {
    std::erase_if(m_Selected, [&](int t) { return !m_doc.IsValidTest(t); });
    if (!m_doc.IsValidTest(m_nSelectedTest)) m_nSelectedTest = -1;
    SetCurrentMeasurement(m_nCurrentMeas);
}

void CWorkspace::UpdateShowModeAfterCheck() {
    if (!SeveralSelected() && m_doc.IsValidTest(m_nSelectedTest) && !m_doc.GetTest(m_nSelectedTest).m_Steps.empty())
        m_nShowMode = IsStepTest(m_nSelectedTest) && ShownCount() != 2 ? 1 : 0;
}

ShowButtonAction CWorkspace::ShowButton() const {
    const bool shown = m_doc.IsValidTest(m_nSelectedTest) && m_doc.GetTest(m_nSelectedTest).m_bShowInChart;
    if (m_nShowMode == 0 || shown) return ShowButtonAction::Redraw;
    return ShownCount() < 2 ? ShowButtonAction::ShowSelected : ShowButtonAction::Nothing;
}

std::string CWorkspace::ShowButtonTip() const {
    switch (ShowButton()) {
        case ShowButtonAction::Redraw:
            return LoadStr(IDS_SHOW_REFRESH);
        case ShowButtonAction::ShowSelected:
            return LoadStr(IDS_SHOW_CURVE);
        case ShowButtonAction::Nothing:
            break;
    }
    return std::string();
}

// ---- shown tests ---------------------------------------------------------------------------------

int CurveSlotOf(const CTRVDoc& doc, int test) {
    if (!doc.IsValidTest(test) || !doc.GetTest(test).m_bShowInChart) return -1;
    int slot = 0;
    for (int i = 0; i < test; ++i)
        if (doc.GetTest(i).m_bShowInChart) ++slot;
    return slot;
}

void CWorkspace::ShowOnly(const std::vector<int>& indices, int fit, int model) {
    for (TestDataType& t : m_doc.m_Tests) t.m_bShowInChart = 0;
    for (int i : indices) {
        if (!m_doc.IsValidTest(i)) continue;
        TestDataType& t = m_doc.GetTest(i);
        t.m_bShowInChart = 1;
        m_pAnalyses->SetChoice(t, fit, model);
    }
    m_Chart.ResetSeries();
    Evaluate();
}

// ---- cursors -------------------------------------------------------------------------------------

void CWorkspace::ToggleCursor(int which) {
    bool& mine = which == 1 ? m_bCursor1 : m_bCursor2;
    bool& other = which == 1 ? m_bCursor2 : m_bCursor1;
    if (mine) {
        mine = false;
        m_Chart.cursorText.Clear();
    } else {
        mine = true;
        other = false;
    }
    m_Chart.tools[ToolCursor1].active = m_bCursor1;
    m_Chart.tools[ToolCursor2].active = m_bCursor2;
}

std::string CWorkspace::CursorMoved(int tool, double x, double y) {
    return m_Eval.CursorReadout(m_doc, m_Chart, tool, x, y);
}

// ---- notices -------------------------------------------------------------------------------------

uint32_t CWorkspace::ParamsMissingNotices(const CTRVDoc& doc) {
    // Every shown test after the first speaks for the bit of curve L2, in document order; a test
    // with parameters clears what one without them set.
    uint32_t flags = 0;
    int slot = 0;
    for (const TestDataType& t : doc.m_Tests) {
        if (!t.m_bShowInChart) continue;
        const uint32_t bit = slot == 0 ? NoticeParams1 : NoticeParams2;
        if (t.m_bParamsEntered)
            flags &= ~bit;
        else
            flags |= bit;
        ++slot;
    }
    return flags;
}

std::vector<std::string> CWorkspace::NoticeLines(uint32_t flags, const std::string& holder) {
    struct Line {
        uint32_t bit;
        int id;
    };
    static const Line kLines[] = {{NoticeNoTests, IDS_NOTICE_NO_TESTS},
                                  {NoticeParams1, IDS_NOTICE_PARAMS1},
                                  {NoticeParams2, IDS_NOTICE_PARAMS2},
                                  {NoticeIans1, IDS_NOTICE_IANS1},
                                  {NoticeIans2, IDS_NOTICE_IANS2},
                                  {NoticeFit1, IDS_NOTICE_FIT1},
                                  {NoticeFit2, IDS_NOTICE_FIT2},
                                  {NoticeNoTestShown, IDS_NOTICE_NO_TEST_SHOWN},
                                  {NoticeUnits, IDS_NOTICE_UNITS},
                                  {NoticeAthlete, IDS_NOTICE_ATHLETE},
                                  {NoticeDeviceMismatch, IDS_NOTICE_DEVICE_MISMATCH}};
    std::vector<std::string> lines;
    for (const Line& l : kLines)
        if (flags & l.bit) lines.emplace_back(LoadStr(l.id));
    if (flags & NoticeNoAnalyser) {
        // One line, never "only one window" beside "no analyser found": with a window that holds the
        // analyser that window is named; otherwise another window may be the reason or none.
        if ((flags & NoticeSecondWindow) && !holder.empty())
            lines.emplace_back(FmtId(IDS_NOTICE_HELD_BY_WINDOW, holder.c_str()));
        else if (flags & NoticeSecondWindow)
            lines.emplace_back(LoadStr(IDS_NOTICE_NO_ANALYSER_WINDOWS));
        else
            lines.emplace_back(LoadStr(IDS_NOTICE_NO_ANALYSER));
    }
    return lines;
}

void CWorkspace::RefreshNotices(bool otherWindows, const std::string& holder) {
    if (m_doc.m_Tests.empty())
        m_nNotice |= NoticeNoTests;
    else
        m_nNotice &= ~NoticeNoTests;
    const UserDataType& u = m_doc.m_UserData;
    if (u.m_strFirstName.empty() || u.m_strLastName.empty())
        m_nNotice |= NoticeAthlete;
    else
        m_nNotice &= ~NoticeAthlete;
    // Another window may hold the analyser's port.
    if (m_nNotice & NoticeNoAnalyser) {
        if (otherWindows)
            m_nNotice |= NoticeSecondWindow;
        else
            m_nNotice &= ~NoticeSecondWindow;
    }
    m_Chart.notices.Clear();
    // The news of a download first: it is what the user is looking for right now.
    if (!m_strDownloadNotice.empty()) m_Chart.notices.Add(m_strDownloadNotice);
    for (const std::string& line : NoticeLines(m_nNotice, otherWindows ? holder : std::string()))
        m_Chart.notices.Add(line);
    for (const FlaggedReading& f : m_Flagged) m_Chart.notices.Add(f.notice);
    m_Chart.thirdText.Clear();
}

bool CWorkspace::SetFlaggedReadings(std::vector<FlaggedReading> flagged) {
    if (flagged == m_Flagged) return false;
    m_Flagged = std::move(flagged);
    return true;
}

const std::string* CWorkspace::FlaggedNotice(int test, int row) const {
    for (const FlaggedReading& f : m_Flagged)
        if (f.test == test && f.row == row) return &f.notice;
    return nullptr;
}

void CWorkspace::ClearDownloadNotice() { m_strDownloadNotice.clear(); }

// ---- evaluation ----------------------------------------------------------------------------------

void CWorkspace::Evaluate() {
    m_nNotice = (m_nNotice & ~static_cast<uint32_t>(NoticeParams1 | NoticeParams2)) | ParamsMissingNotices(m_doc);
    const AnalysisOf analysisOf = m_pAnalyses->For(m_doc);
    m_Eval.Evaluate(m_doc, analysisOf, m_Chart, m_nNotice);
    m_Eval.SetUpResults(m_doc, analysisOf, m_Chart, m_nNotice);
    m_Thresholds.clear();
    for (int slot = 0; slot < 2; ++slot) {
        const int test = m_Eval.ShownTest(slot);
        // A second test in another unit is not drawn: its loads would not fit the chart's axis.
        if (!m_doc.IsValidTest(test) || (slot == 1 && (m_nNotice & NoticeUnits))) continue;
        m_Thresholds.emplace_back(test, ThresholdsOf(test));
    }
}

CChartModel CWorkspace::ChartIn(Lang lang) const {
    const LangScope scope(lang);
    CTRVDoc doc = m_doc;
    CTestAnalyses analyses = *m_pAnalyses;
    CEvaluator eval = m_Eval;
    CChartModel chart = m_Chart;
    uint32_t notice = m_nNotice;
    chart.ApplyStartup();
    const AnalysisOf analysisOf = analyses.For(doc);
    eval.Evaluate(doc, analysisOf, chart, notice);
    eval.SetUpResults(doc, analysisOf, chart, notice);
    chart.tools[ToolCursor1].active = m_bCursor1;
    chart.tools[ToolCursor2].active = m_bCursor2;
    chart.cursorText.Clear();
    chart.notices.Clear();
    for (const std::string& line : NoticeLines(notice)) chart.notices.Add(line);
    if (IsDeviceBound(doc)) chart.ShowDeviceText(doc.m_strDeviceId, doc.m_dFirmware);
    return chart;
}

const TestThresholds* CWorkspace::ShownThresholds(int test) const {
    for (const auto& [index, result] : m_Thresholds)
        if (index == test) return &result;
    return nullptr;
}

TestThresholds CWorkspace::ThresholdsOf(int test) const {
    if (!m_doc.IsValidTest(test)) return {};
    const TestAnalysis& an = Analysis(test);
    return ComputeTestThresholds(m_doc.GetTest(test), an.m_nFitFunction, an.m_nThresholdModel, m_Zones);
}

void CWorkspace::SetUpChart() {
    m_Eval.SetUpResults(m_doc, m_pAnalyses->For(m_doc), m_Chart, m_nNotice);
    m_Chart.tools[ToolCursor1].active = m_bCursor1;
    m_Chart.tools[ToolCursor2].active = m_bCursor2;
}

void CWorkspace::ShowDeviceText() {
    if (IsDeviceBound(m_doc)) m_Chart.ShowDeviceText(m_doc.m_strDeviceId, m_doc.m_dFirmware);
}

FileResult CWorkspace::ExportCsv(const std::vector<int>& indices, const std::string& path) const {
    // The compensated load of a shortened step comes from an evaluation; a test that is not shown
    // gets it worked out on a copy, so that the document stays as it is.
    CTRVDoc doc = m_doc;
    std::map<int, double> compensated;
    for (int i : indices) {
        if (!doc.IsValidTest(i)) continue;
        TestAnalysis an = m_pAnalyses->Of(m_doc, i);
        UpdateShortenedStep(doc.GetTest(i), an);
        compensated[i] = an.m_dShortCompLoad;
    }
    return trv::ExportCsv(doc, indices, path, [&](int test) {
        const auto it = compensated.find(test);
        return it == compensated.end() ? 0.0 : it->second;
    });
}

// ---- commands ------------------------------------------------------------------------------------

uint32_t CWorkspace::Run(std::unique_ptr<CDocCommand> cmd) {
    const uint32_t changes = cmd->Changes();
    if (!m_history.Run(m_doc, std::move(cmd))) return ChangeNone;
    return AfterChange(changes);
}

uint32_t CWorkspace::AfterChange(uint32_t changes) {
    m_doc.SetModifiedFlag(!m_history.IsClean());
    Revalidate();
    if (changes & ChangeShown) m_Chart.ResetSeries();
    if (changes & (ChangeChart | ChangeShown)) {
        Evaluate();
        SetUpChart();
    }
    return changes | ChangeModified;
}

uint32_t CWorkspace::ShowTest(int test, bool show) {
    const uint32_t changes = Run(std::make_unique<CShowTestCommand>(test, show));
    if (changes) UpdateShowModeAfterCheck();
    return changes;
}

uint32_t CWorkspace::HideAllTests() {
    const uint32_t changes = Run(std::make_unique<CHideAllTestsCommand>());
    if (changes) UpdateShowModeAfterCheck();
    return changes;
}

uint32_t CWorkspace::TickMeasurement(int test, int meas, bool checked) {
    if (test == m_nSelectedTest) SetCurrentMeasurement(meas);
    return Run(std::make_unique<CTickMeasurementCommand>(test, meas, checked));
}

uint32_t CWorkspace::SetMeasType(const std::vector<int>& rows, int type) {
    if (!m_doc.IsValidTest(m_nSelectedTest)) return ChangeNone;
    return Run(std::make_unique<CSetMeasTypeCommand>(m_nSelectedTest, rows, m_nCurrentMeas, type));
}

bool CWorkspace::CanConvertToStepTest() const { return trv::CanConvertToStepTest(m_doc, m_Selected); }

std::string CWorkspace::ConvertQuestion() const {
    // Readings of one step test are taken within an hour or two: different days are a slip of the mouse.
    std::vector<std::string> days;
    for (int t : m_Selected) {
        if (!m_doc.IsValidTest(t)) continue;
        for (const PCMDataType& m : m_doc.GetTest(t).m_Steps) {
            const std::string day = m.m_Time.FormatDate();
            if (!day.empty() && std::find(days.begin(), days.end(), day) == days.end()) days.push_back(day);
        }
    }
    if (days.size() < 2) return {};
    std::string list;
    for (size_t i = 0; i < days.size() && i < 5; ++i) list += (i ? ", " : "") + days[i];
    if (days.size() > 5) list += ", ...";
    return FmtId(IDS_ASK_CONVERT_DAYS, static_cast<int>(days.size()), list.c_str());
}

uint32_t CWorkspace::ConvertToStepTest() {
    auto cmd = std::make_unique<CConvertToStepTestCommand>(m_Selected);
    CConvertToStepTestCommand* c = cmd.get();
    const uint32_t changes = Run(std::move(cmd));
    if (!changes) return ChangeNone;
    m_Selected = {c->ResultTest()};
    m_nSelectedTest = c->ResultTest();
    m_nCurrentMeas = -1;
    // As after a click on the new step test: "Test anzeigen" adds it to the chart.
    m_nShowMode = ShownCount() < 2 ? 1 : 0;
    return changes;
}

Result CWorkspace::AddEnteredTest(const TestDataType& test, int nameId, uint32_t& changes) {
    changes = ChangeNone;
    // Known before the command runs: a refused command does not outlive Run().
    if (AllocateManualIds(m_doc, test.m_Steps.size()).empty())
        return Result::Fail(FmtId(IDS_MAN_NO_IDS_LEFT, static_cast<int>(test.m_Steps.size())));
    auto cmd = std::make_unique<CAddEnteredTestCommand>(test, nameId);
    CAddEnteredTestCommand* c = cmd.get();
    changes = Run(std::move(cmd));
    if (!changes) return Result::Ok();
    m_Selected = {c->AddedTest()};
    m_nSelectedTest = c->AddedTest();
    m_nCurrentMeas = -1;
    UpdateShowModeAfterCheck();
    return Result::Ok();
}

uint32_t CWorkspace::PasteTests(const std::vector<uint8_t>& bytes, std::string& status,
                                std::vector<std::string>& refusals) {
    refusals.clear();
    std::vector<TransferTest> tests;
    if (const Result read = ReadTransferTests(bytes, tests); !read) {
        status = read.message;
        return ChangeNone;
    }
    PastePlan plan = PlanPaste(m_doc, tests);
    refusals = plan.refusals;
    const int held = plan.alreadyHeld;
    std::vector<AnalysisChoice> choices;
    for (const TransferTest& t : plan.add) choices.push_back(t.choice);
    uint32_t changes = ChangeNone;
    std::vector<int> firstIds;
    if (!plan.add.empty()) {
        auto cmd = std::make_unique<CPasteTestsCommand>(std::move(plan));
        CPasteTestsCommand* c = cmd.get();
        // Read before Run(): a refused command does not outlive it.
        const uint32_t expected = cmd->Changes();
        if (m_history.Run(m_doc, std::move(cmd))) {
            firstIds = c->AddedFirstIds();
            for (const std::string& f : c->Failed()) refusals.push_back(f);
            changes = expected;
        }
    }
    int added = 0;
    if (changes) {
        // The fitting choices follow the tests (kept by the ID of their first reading).
        for (size_t i = 0; i < firstIds.size() && i < choices.size(); ++i)
            for (int k = 0; k < m_doc.GetTestCount() && firstIds[i] >= 0; ++k)
                if (FirstId(k) == firstIds[i])
                    m_pAnalyses->SetChoice(m_doc.GetTest(k), choices[i].fit, choices[i].model);
        changes = AfterChange(changes);
        int first = -1;
        for (int id : firstIds)
            if (id >= 0) {
                ++added;
                if (first < 0) first = id;
            }
        for (int k = 0; k < m_doc.GetTestCount(); ++k)
            if (FirstId(k) == first) {
                m_Selected = {k};
                m_nSelectedTest = k;
                m_nCurrentMeas = -1;
            }
        UpdateShowModeAfterCheck();
    }
    status = PastedMessage(added, held);
    if (status.empty() && refusals.empty()) status = LoadStr(IDS_CLIP_NOT_TESTS);
    return changes;
}

std::vector<uint8_t> CWorkspace::CopySelectedTests() const {
    std::vector<uint8_t> bytes;
    if (m_Selected.empty() || !WriteTransferTests(m_doc, *m_pAnalyses, m_Selected, bytes)) bytes.clear();
    return bytes;
}

int CWorkspace::FirstId(int test) const {
    if (!m_doc.IsValidTest(test) || m_doc.GetTest(test).m_Steps.empty()) return -1;
    return m_doc.GetTest(test).m_Steps.front().m_nMeasId;
}

uint32_t CWorkspace::ApplyTestParams(int index, int firstId, const CTestParamRules& rules) {
    int edited = FirstId(index) == firstId ? index : -1;
    for (int i = 0; edited < 0 && i < m_doc.GetTestCount(); ++i)
        if (FirstId(i) == firstId) edited = i;
    if (edited < 0) return ChangeNone;
    const uint32_t changes = Run(std::make_unique<CApplyTestParamsCommand>(edited, rules, m_pAnalyses));
    if (changes && edited != m_nSelectedTest) {
        m_nSelectedTest = edited;
        m_Selected = {edited};
        m_nCurrentMeas = -1;
        return changes | ChangeSelection;
    }
    return changes;
}

uint32_t CWorkspace::AddAssignedTests(const std::vector<TestAddition>& additions) {
    return Run(std::make_unique<CAddAssignedTestsCommand>(additions, m_pAnalyses));
}

uint32_t CWorkspace::MarkAssigned(const std::vector<int>& tests, bool assigned) {
    return Run(std::make_unique<CMarkAssignedCommand>(tests, assigned));
}

uint32_t CWorkspace::ApplyAthlete(const UserDataType& user) {
    return Run(std::make_unique<CApplyAthleteCommand>(user));
}

uint32_t CWorkspace::EditCell(int test, int meas, int column, const std::string& text, MeasEditResult* result) {
    if (result) *result = MeasEditResult{};
    if (!m_doc.IsValidTest(test)) return ChangeNone;
    // A refused text leaves no command behind; why it was refused comes from a trial on a copy.
    TestDataType trial = m_doc.GetTest(test);
    if (const MeasEditResult probe = ApplyMeasurementEdit(trial, meas, column, text); !probe.stored) {
        if (result) *result = probe;
        return ChangeNone;
    }
    auto cmd = std::make_unique<CEditCellCommand>(test, meas, column, text);
    CEditCellCommand* c = cmd.get();
    const uint32_t changes = Run(std::move(cmd));
    if (result) *result = changes ? c->Result() : MeasEditResult{};
    return changes;
}

bool CWorkspace::BoundIdentity(std::string& deviceId, double& firmware) const {
    return trv::BoundIdentity(m_doc, deviceId, firmware);
}

uint32_t CWorkspace::MergeDownload(const uint8_t* memory, const std::string& deviceId, double firmware) {
    const int before = m_doc.CountReadings();
    const uint32_t changes = Run(std::make_unique<CMergeDownloadCommand>(DecodeMemory(memory), deviceId, firmware));
    if (!changes) {
        // Bound to another analyser meanwhile (another window's download): nothing is taken.
        m_nNotice |= NoticeDeviceMismatch;
        m_nNewReadings = -1;
        m_strDownloadNotice.clear();
        return ChangeNone;
    }
    m_nNewReadings = m_doc.CountReadings() - before;
    if (m_nNewReadings == 0)
        m_strDownloadNotice = LoadStr(IDS_NOTICE_NOTHING_NEW);
    else if (m_nNewReadings == 1)
        m_strDownloadNotice = LoadStr(IDS_NOTICE_DOWNLOADED_ONE);
    else
        m_strDownloadNotice = FmtId(IDS_NOTICE_DOWNLOADED, m_nNewReadings);
    // The newest test of the download, not a typed test that sorts behind it.
    m_nSelectedTest = LastAnalyserTest(m_doc);
    m_Selected.clear();
    if (m_nSelectedTest >= 0) m_Selected.push_back(m_nSelectedTest);
    m_nCurrentMeas = -1;
    return changes;
}

uint32_t CWorkspace::RunDelete(std::unique_ptr<CDeleteCommand> cmd) {
    CDeleteCommand* c = cmd.get();
    // The command's index map outlives Run() only when it succeeds; the selection is moved before
    // the evaluation that Run() starts, so it looks at the remaining tests.
    const uint32_t changes = cmd->Changes();
    if (!m_history.Run(m_doc, std::move(cmd))) return ChangeNone;
    std::vector<int> selected;
    for (int t : m_Selected)
        if (const int n = c->NewIndex(t); n >= 0) selected.push_back(n);
    m_Selected = selected;
    m_nSelectedTest = c->NewIndex(m_nSelectedTest);
    if (m_nSelectedTest < 0) m_nCurrentMeas = -1;
    const uint32_t done = AfterChange(changes);
    UpdateShowModeAfterCheck();
    return done;
}

uint32_t CWorkspace::DeleteTests(const std::vector<int>& tests) {
    return RunDelete(std::make_unique<CDeleteTestsCommand>(tests, m_pAnalyses));
}

uint32_t CWorkspace::DeleteReadings(const std::vector<std::pair<int, int>>& readings) {
    const uint32_t changes = RunDelete(std::make_unique<CDeleteReadingsCommand>(readings, m_pAnalyses));
    // The rows below a deleted one moved up: no row stays current.
    if (changes) m_nCurrentMeas = -1;
    return changes;
}

uint32_t CWorkspace::Undo() {
    const CDocCommand* c = m_history.Undo(m_doc);
    return c ? AfterChange(c->Changes()) : ChangeNone;
}

uint32_t CWorkspace::Redo() {
    const CDocCommand* c = m_history.Redo(m_doc);
    return c ? AfterChange(c->Changes()) : ChangeNone;
}

void CWorkspace::MarkSaved() {
    m_history.SetClean();
    m_doc.SetModifiedFlag(false);
}

void CWorkspace::FillTransferSlot(TransferSlot& slot) const { trv::FillTransferSlot(m_doc, m_Selected, slot); }

}  // namespace trv
