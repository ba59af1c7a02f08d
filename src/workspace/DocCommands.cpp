#include "workspace/DocCommands.h"

#include "analysis/StepTest.h"
#include "data/DeviceIdentity.h"
#include "res/StringIds.h"

#include <algorithm>

namespace trv {

namespace {

constexpr uint32_t kListsAndChart = ChangeTestList | ChangeMeasList | ChangeChart;
constexpr uint32_t kShown = kListsAndChart | ChangeShown;

int EditNameId(int column) {
    switch (column) {
        case MeasColDuration:
            return IDS_CMD_EDIT_DURATION;
        case MeasColLoad:
            return IDS_CMD_EDIT_LOAD;
        case MeasColHeartRate:
            return IDS_CMD_EDIT_HEART_RATE;
        default:
            return IDS_CMD_EDIT_LACTATE;
    }
}

}  // namespace

bool CSnapshotCommand::Do(CTRVDoc& doc) {
    if (m_eScope == SnapshotScope::Test && !doc.IsValidTest(m_nTest)) return false;
    m_Before = Take(doc);
    if (!Apply(doc)) {
        Restore(doc, m_Before);
        return false;
    }
    m_After = Take(doc);
    return true;
}

CSnapshotCommand::Snapshot CSnapshotCommand::Take(const CTRVDoc& doc) const {
    Snapshot s;
    switch (m_eScope) {
        case SnapshotScope::Test:
            s.tests.push_back(doc.GetTest(m_nTest));
            break;
        case SnapshotScope::Athlete:
            s.user = doc.m_UserData;
            break;
        case SnapshotScope::Document:
            s.tests = doc.m_Tests;
            s.downloaded = doc.m_Downloaded;
            s.user = doc.m_UserData;
            s.deviceId = doc.m_strDeviceId;
            s.firmware = doc.m_dFirmware;
            s.bound = doc.m_bDeviceBound;
            s.deletedIds = doc.m_DeletedIds;
            break;
    }
    return s;
}

void CSnapshotCommand::Restore(CTRVDoc& doc, const Snapshot& s) const {
    switch (m_eScope) {
        case SnapshotScope::Test:
            if (doc.IsValidTest(m_nTest)) doc.GetTest(m_nTest) = s.tests.front();
            break;
        case SnapshotScope::Athlete:
            doc.m_UserData = s.user;
            break;
        case SnapshotScope::Document:
            doc.m_Tests = s.tests;
            doc.m_Downloaded = s.downloaded;
            doc.m_UserData = s.user;
            doc.m_strDeviceId = s.deviceId;
            doc.m_dFirmware = s.firmware;
            doc.m_bDeviceBound = s.bound;
            doc.m_DeletedIds = s.deletedIds;
            break;
    }
}

// ---- showing tests -----------------------------------------------------------------------------

CShowTestCommand::CShowTestCommand(int test, bool show)
    : CSnapshotCommand(SnapshotScope::Test, test, show ? IDS_CMD_SHOW_TEST : IDS_CMD_HIDE_TEST, kShown),
      m_bShow(show) {}

bool CShowTestCommand::Apply(CTRVDoc& doc) {
    TestDataType& t = doc.GetTest(m_nTest);
    if (m_bShow) {
        // Single readings are never shown, and never more than two tests.
        if (t.m_bShowInChart || !IsStepTest(t) || doc.CountShownTests() >= 2) return false;
        t.m_bShowInChart = 1;
        TickForChart(t);
    } else {
        if (!t.m_bShowInChart) return false;
        t.m_bShowInChart = 0;
        for (PCMDataType& m : t.m_Steps) m.m_bChecked = 0;
    }
    return true;
}

CHideAllTestsCommand::CHideAllTestsCommand()
    : CSnapshotCommand(SnapshotScope::Document, -1, IDS_CMD_RESET_DISPLAY, kShown) {}

bool CHideAllTestsCommand::Apply(CTRVDoc& doc) {
    bool any = false;
    for (TestDataType& t : doc.m_Tests) {
        if (!t.m_bShowInChart) continue;
        any = true;
        t.m_bShowInChart = 0;
        for (PCMDataType& m : t.m_Steps) m.m_bChecked = 0;
    }
    return any;
}

CTickMeasurementCommand::CTickMeasurementCommand(int test, int meas, bool checked)
    : CSnapshotCommand(SnapshotScope::Test, test, checked ? IDS_CMD_TICK : IDS_CMD_UNTICK,
                       ChangeMeasList | ChangeChart),
      m_nMeas(meas),
      m_bChecked(checked) {}

bool CTickMeasurementCommand::Apply(CTRVDoc& doc) {
    TestDataType& t = doc.GetTest(m_nTest);
    if (m_nMeas < 0 || m_nMeas >= static_cast<int>(t.m_Steps.size())) return false;
    PCMDataType& m = t.m_Steps[static_cast<size_t>(m_nMeas)];
    // A single reading takes no part in a curve.
    if (m_bChecked && m.m_nMeasType == MeasSingle) return false;
    if ((m.m_bChecked != 0) == m_bChecked) return false;
    m.m_bChecked = m_bChecked ? 1 : 0;
    return true;
}

// ---- types, conversion, parameters --------------------------------------------------------------

CSetMeasTypeCommand::CSetMeasTypeCommand(int test, std::vector<int> rows, int current, int type)
    : CSnapshotCommand(SnapshotScope::Test, test, IDS_CMD_MEAS_TYPE, kListsAndChart),
      m_Rows(std::move(rows)),
      m_nCurrent(current),
      m_nType(type) {}

bool CSetMeasTypeCommand::Apply(CTRVDoc& doc) { return SetMeasType(doc.GetTest(m_nTest), m_Rows, m_nCurrent, m_nType); }

CConvertToStepTestCommand::CConvertToStepTestCommand(std::vector<int> tests)
    : CSnapshotCommand(SnapshotScope::Document, -1, IDS_CMD_CONVERT, ChangeTestList | ChangeMeasList | ChangeSelection),
      m_Tests(std::move(tests)) {}

bool CConvertToStepTestCommand::Apply(CTRVDoc& doc) {
    if (!CanConvertToStepTest(doc, m_Tests)) return false;
    m_nResult = ConvertToStepTest(doc, m_Tests);
    return m_nResult >= 0;
}

CApplyTestParamsCommand::CApplyTestParamsCommand(int test, const CTestParamRules& rules,
                                                 std::shared_ptr<CTestAnalyses> analyses)
    : CSnapshotCommand(SnapshotScope::Test, test, IDS_CMD_TEST_PARAMS, kListsAndChart),
      m_Rules(rules),
      m_pAnalyses(std::move(analyses)) {}

bool CApplyTestParamsCommand::Apply(CTRVDoc& doc) {
    TestDataType& t = doc.GetTest(m_nTest);
    TestAnalysis& an = m_pAnalyses->Of(t);
    m_ChoiceBefore = an;
    m_Rules.Apply(t, an);
    m_ChoiceAfter = an;
    UpdateLoads(t);
    return true;
}

void CApplyTestParamsCommand::Restored(const CTRVDoc& doc, bool after) {
    if (!doc.IsValidTest(m_nTest)) return;
    const TestAnalysis& c = after ? m_ChoiceAfter : m_ChoiceBefore;
    m_pAnalyses->SetChoice(doc.GetTest(m_nTest), c.m_nFitFunction, c.m_nThresholdModel);
}

CApplyAthleteCommand::CApplyAthleteCommand(UserDataType user)
    : CSnapshotCommand(SnapshotScope::Athlete, -1, IDS_CMD_ATHLETE, ChangeChart), m_User(std::move(user)) {}

bool CApplyAthleteCommand::Apply(CTRVDoc& doc) {
    doc.m_UserData = m_User;
    return true;
}

CEditCellCommand::CEditCellCommand(int test, int meas, int column, std::string text)
    : CSnapshotCommand(SnapshotScope::Test, test, EditNameId(column), ChangeMeasList | ChangeChart),
      m_nMeas(meas),
      m_nColumn(column),
      m_strText(std::move(text)) {}

bool CEditCellCommand::Apply(CTRVDoc& doc) {
    m_Result = ApplyMeasurementEdit(doc.GetTest(m_nTest), m_nMeas, m_nColumn, m_strText);
    return m_Result.stored;
}

// ---- download ---------------------------------------------------------------------------------

bool BoundIdentity(const CTRVDoc& doc, std::string& deviceId, double& firmware) {
    if (!IsDeviceBound(doc)) return false;
    deviceId = doc.m_strDeviceId;
    firmware = doc.m_dFirmware;
    return true;
}

bool AcceptsAnalyser(const CTRVDoc& doc, const std::string& deviceId) {
    std::string bound;
    double firmware = 0.0;
    return !BoundIdentity(doc, bound, firmware) || deviceId == bound;
}

CMergeDownloadCommand::CMergeDownloadCommand(std::vector<PCMDataType> slots, std::string deviceId, double firmware)
    : CSnapshotCommand(SnapshotScope::Document, -1, IDS_CMD_MERGE, ChangeAll),
      m_Slots(std::move(slots)),
      m_strDeviceId(std::move(deviceId)),
      m_dFirmware(firmware) {}

bool CMergeDownloadCommand::Apply(CTRVDoc& doc) {
    if (!AcceptsAnalyser(doc, m_strDeviceId)) return false;
    if (!IsDeviceBound(doc)) {
        doc.m_strDeviceId = m_strDeviceId;
        doc.m_dFirmware = m_dFirmware;
    }
    doc.MergeDeviceMemory(m_Slots);
    doc.m_bDeviceBound = true;
    return true;
}

}  // namespace trv
