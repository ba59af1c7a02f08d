#include "workspace/TestParamRules.h"

#include "data/InputRules.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>

namespace trv {

CTestParamRules::CTestParamRules(const TestDataType& t, const TestAnalysis& choice)
    : m_nTestType(t.m_nTestType),
      m_nLoadUnit(t.m_nLoadUnit),
      m_dStartValue(t.m_dStartValue),
      m_dIncrement(t.m_dIncrement),
      m_bIndividualLoads(t.m_bIndividualLoads != 0),
      m_nPcStepDuration(t.m_nPcStepDuration),
      m_dTrackLength(t.m_dTrackLength),
      m_nDurationSource(t.m_nDurationSource),
      m_bCompensate(t.m_bCompensate != 0),
      m_nThresholdModel(choice.m_nThresholdModel),
      m_nFitFunction(choice.m_nFitFunction) {
    m_nSpinMin = 0;
    m_nSpinMax = 10;
    m_StartEdit.enabled = m_IncrementEdit.enabled = true;
    m_StartSpin.enabled = m_IncrementSpin.enabled = true;
    m_FitList.items = {LoadStr(IDS_FIT_POLYNOMIAL), LoadStr(IDS_FIT_SPLINES)};
    Refresh();
}

void CTestParamRules::SetLoadControlsEnabled(bool enabled) {
    m_StartEdit.enabled = m_IncrementEdit.enabled = enabled;
    m_StartSpin.enabled = m_IncrementSpin.enabled = enabled;
}

// Individual load entry on the treadmill and ergometer.
void CTestParamRules::ApplyIndividualLoads() {
    if (m_bIndividualLoads) {
        m_IndividualBox.checked = true;
        SetLoadControlsEnabled(false);
        m_CompensateBox.enabled = false;
        m_bCompensate = false;
    } else {
        m_IndividualBox.checked = false;
        SetLoadControlsEnabled(true);
    }
}

void CTestParamRules::RefreshTreadmillOrErgometer(bool ergometer) {
    if (ergometer) {
        m_ModelList.items = {LoadStr(IDS_MODEL_MADER)};
        m_ModelList.selection = 0;
        m_nThresholdModel = ModelMader;
    } else {
        m_ModelList.items = {LoadStr(IDS_MODEL_MADER), LoadStr(IDS_MODEL_KEUL), LoadStr(IDS_MODEL_SIMON)};
        m_ModelList.selection = m_nThresholdModel;
    }
    m_CompensateBox.enabled = m_nDurationSource == SourceAnalyser;
    if (!m_CompensateBox.enabled) m_bCompensate = false;
    m_CompensateBox.checked = m_bCompensate;
    m_SourceList.items = {LoadStr(IDS_TP_SOURCE_PC), LoadStr(IDS_TP_SOURCE_ANALYSER)};
    if (m_nDurationSource == SourceManual) m_nDurationSource = SourceAnalyser;
    m_Slider.enabled = m_StepEdit.enabled = m_nDurationSource != SourceAnalyser;
    if (ergometer) {
        m_IndividualBox.enabled = true;
        m_nLoadUnit = UnitWatt;
        ApplyIndividualLoads();
    } else {
        ApplyIndividualLoads();
        if (m_nLoadUnit == UnitWatt) m_nLoadUnit = UnitMs;
        m_IndividualBox.enabled = true;
    }
    m_CompensateBox.checked = m_bCompensate;
    m_strStepGroup = LoadStr(IDS_TP_STEP_DURATION_GROUP);
    m_strStepUnit.clear();
    m_nSliderMin = 1;
    m_nSliderMax = 60;
    m_nSliderTick = 1;
    m_strExplanation = LoadStr(
        ergometer ? (m_nDurationSource == SourcePc ? IDS_TP_NOTE_ERGOMETER_PC : IDS_TP_NOTE_ERGOMETER_ANALYSER)
                  : (m_nDurationSource == SourcePc ? IDS_TP_NOTE_TREADMILL_PC : IDS_TP_NOTE_TREADMILL_ANALYSER));
}

void CTestParamRules::RefreshField() {
    m_CompensateBox.enabled = false;
    m_CompensateBox.checked = m_bCompensate;
    m_ModelList.items = {LoadStr(IDS_MODEL_MADER), LoadStr(IDS_MODEL_KEUL), LoadStr(IDS_MODEL_SIMON)};
    m_ModelList.selection = m_nThresholdModel;
    m_SourceList.items = {LoadStr(IDS_TP_SOURCE_PC_SPEEDS), LoadStr(IDS_TP_SOURCE_ANALYSER),
                          LoadStr(IDS_TP_SOURCE_MANUAL)};
    m_Slider.enabled = m_StepEdit.enabled = true;
    m_strStepGroup = LoadStr(IDS_TP_TRACK_LENGTH_GROUP);
    m_strStepUnit = "m";
    m_nSliderMin = 1;
    m_nSliderMax = 100;
    m_nSliderTick = 1;
    if (m_nDurationSource == SourceAnalyser || m_nDurationSource == SourceManual) {
        SetLoadControlsEnabled(false);
        m_IndividualBox.enabled = false;
        m_bIndividualLoads = false;
    } else {
        m_IndividualBox.enabled = true;
        SetLoadControlsEnabled(!m_bIndividualLoads);
    }
    if (m_bIndividualLoads) {
        m_IndividualBox.checked = true;
        SetLoadControlsEnabled(false);
        m_nDurationSource = SourcePc;
    } else {
        m_IndividualBox.checked = false;
    }
    if (m_nLoadUnit == UnitWatt) m_nLoadUnit = UnitMs;
    m_strExplanation = LoadStr(m_nDurationSource == SourceAnalyser ? IDS_TP_NOTE_FIELD_ANALYSER
                               : m_nDurationSource == SourceManual ? IDS_TP_NOTE_FIELD_MANUAL
                                                                   : IDS_TP_NOTE_FIELD_PC);
}

void CTestParamRules::ShowStep() {
    if (m_nTestType == TestField)
        m_strStepEdit = Fmt("%5.0f", m_dTrackLength);
    else
        m_strStepEdit = Fmt("%02d:%02d", m_nPcStepDuration / 60, m_nPcStepDuration % 60);
}

void CTestParamRules::Refresh() {
    m_TestTypeList.items = {LoadStr(IDS_TESTTYPE_TREADMILL), LoadStr(IDS_TESTTYPE_ERGOMETER),
                            LoadStr(IDS_TESTTYPE_FIELD)};
    if (m_nTestType < TestTreadmill || m_nTestType > TestField) m_nTestType = TestTreadmill;
    m_TestTypeList.selection = m_nTestType;
    m_SourceList.items.clear();
    m_UnitList.items = {"km/h", "m/s", "W"};
    if (m_nLoadUnit < UnitKmh || m_nLoadUnit > UnitWatt) m_nLoadUnit = UnitMs;
    if (m_nThresholdModel < ModelMader || m_nThresholdModel > ModelSimon) m_nThresholdModel = ModelMader;
    if (m_nFitFunction < FitCubic || m_nFitFunction > FitSpline) m_nFitFunction = FitCubic;
    if (m_nDurationSource < SourcePc || m_nDurationSource > SourceManual) m_nDurationSource = SourcePc;
    m_FitList.selection = m_nFitFunction;

    if (m_nTestType == TestField)
        RefreshField();
    else
        RefreshTreadmillOrErgometer(m_nTestType == TestErgometer);

    m_UnitList.selection = m_nLoadUnit;
    m_SourceList.selection = m_nDurationSource;
    m_strUnitText = LoadUnitText(m_nLoadUnit);
    m_strLoadGroup = LoadStr(m_nLoadUnit == UnitKmh  ? IDS_TP_LOAD_KMH
                             : m_nLoadUnit == UnitMs ? IDS_TP_LOAD_MS
                                                     : IDS_TP_LOAD_WATT);
    m_strStartEdit = Fmt("%2.1f", Shown(m_dStartValue));
    m_strIncrementEdit = Fmt("%2.1f", Shown(m_dIncrement));

    // The slider is redrawn at the value's position and reports it back.
    const double units = m_nTestType == TestField ? m_dTrackLength / 100.0 : m_nPcStepDuration / 10.0;
    const int pos = std::isfinite(units) ? static_cast<int>(std::clamp(units, -1.0, 1e6)) : m_nSliderMin;
    SliderMoved(std::clamp(pos, m_nSliderMin, m_nSliderMax));
}

void CTestParamRules::ChooseTestType(int index) {
    if (index < TestTreadmill || index > TestField) return;
    m_nTestType = index;
    Refresh();
}

void CTestParamRules::ChooseUnit(int index) {
    if (index < UnitKmh || index > UnitWatt) return;
    m_nLoadUnit = index;
    Refresh();
}

void CTestParamRules::ChooseSource(int index) {
    if (index < 0 || index >= static_cast<int>(m_SourceList.items.size())) return;
    m_nDurationSource = index;
    Refresh();
}

void CTestParamRules::ClickCompensate(bool checked) {
    m_bCompensate = checked;
    Refresh();
}

void CTestParamRules::ClickIndividualLoads(bool checked) {
    m_bIndividualLoads = checked;
    Refresh();
}

void CTestParamRules::ChooseModel(int index) {
    if (index < 0 || index >= static_cast<int>(m_ModelList.items.size())) return;
    TakeChoice(WithModel({m_nFitFunction, m_nThresholdModel}, index));
}

void CTestParamRules::ChooseFit(int index) {
    if (index < FitCubic || index > FitSpline) return;
    TakeChoice(WithFit({m_nFitFunction, m_nThresholdModel}, index));
}

void CTestParamRules::TakeChoice(const AnalysisChoice& c) {
    m_nThresholdModel = c.model;
    m_ModelList.selection = c.model;
    m_nFitFunction = c.fit;
    m_FitList.selection = c.fit;
}

void CTestParamRules::StepEditLostFocus(const std::string& text) {
    if (m_nTestType == TestField) {
        double metres = m_dTrackLength;
        m_nRefusal = ReadTrackLength(text, metres);
        m_dTrackLength = metres;
    } else {
        int seconds = m_nPcStepDuration;
        m_nRefusal = ReadStepDuration(text, seconds);
        m_nPcStepDuration = seconds;
    }
    Refresh();
}

void CTestParamRules::DecimalLostFocus(double& value, const std::string& text) {
    double v = 0.0;
    m_nRefusal = ReadLoadParameter(text, v);
    if (m_nRefusal == InputOk) value = Stored(v);
    Refresh();
}

bool CTestParamRules::StartValueMissing() const {
    // A start value of 0 gives the first step no load, which is almost always a slip; loads typed per
    // step and speeds from the field test's durations do not use it.
    const bool fromStartValue = !m_bIndividualLoads && !(m_nTestType == TestField && m_nDurationSource != SourcePc);
    return fromStartValue && m_dStartValue <= 0.0;
}

void CTestParamRules::StartEditLostFocus(const std::string& text) { DecimalLostFocus(m_dStartValue, text); }
void CTestParamRules::IncrementEditLostFocus(const std::string& text) { DecimalLostFocus(m_dIncrement, text); }

void CTestParamRules::Spin(double& value, std::string& text, int delta) {
    double shown = Shown(value) + delta / 10.0;
    if (shown < 0.0) shown = 0.0;
    value = Stored(shown);
    text = Fmt("%2.1f", shown);
}

void CTestParamRules::StartSpin(int delta) { Spin(m_dStartValue, m_strStartEdit, delta); }
void CTestParamRules::IncrementSpin(int delta) { Spin(m_dIncrement, m_strIncrementEdit, delta); }

void CTestParamRules::SliderMoved(int position) {
    m_nSliderPos = position;
    if (m_nTestType == TestField)
        m_dTrackLength = 100.0 * position;
    else
        m_nPcStepDuration = 10 * position;
    ShowStep();
}

void CTestParamRules::Apply(TestDataType& t, TestAnalysis& choice) const {
    t.m_nTestType = m_nTestType;
    t.m_nLoadUnit = m_nLoadUnit;
    t.m_dStartValue = m_dStartValue;
    t.m_dIncrement = m_dIncrement;
    t.m_bIndividualLoads = m_bIndividualLoads ? 1 : 0;
    t.m_nPcStepDuration = m_nPcStepDuration;
    t.m_dTrackLength = m_dTrackLength;
    t.m_nDurationSource = m_nDurationSource;
    t.m_bCompensate = m_bCompensate ? 1 : 0;
    choice.m_nThresholdModel = m_nThresholdModel;
    choice.m_nFitFunction = m_nFitFunction;
    t.m_bParamsEntered = 1;
}

}  // namespace trv
