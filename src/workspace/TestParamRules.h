#pragma once
// The coupling rules of the test-parameter dialog without a window: a working copy of a test's
// parameters and the visible state of every control. The Qt dialog shows this state and forwards
// each user action to the matching handler; a test plays the dialog the same way.
#include "analysis/TestAnalysis.h"
#include "data/Records.h"
#include "workspace/TestAnalyses.h"

#include <string>
#include <vector>

namespace trv {

struct DialogList {
    std::vector<std::string> items;
    int selection = -1;
    bool enabled = true;
};

struct DialogControl {
    bool enabled = true;
    bool checked = false;  // check boxes only
};

class CTestParamRules {
public:
    // Takes a copy of the test's parameters and its fitting choice (`choice`) and sets the dialog
    // up (up-down ranges 0..10, edits enabled, fitting-function list filled), then refreshes.
    CTestParamRules(const TestDataType& test, const TestAnalysis& choice);

    // Rebuilds the whole visible state from the working copy and applies the rules that enable,
    // disable and force controls. Ends as the redrawn slider does: step duration = 10 x position
    // (track length = 100 x position for the field test).
    void Refresh();

    // Change handlers, one per user action. Indices are list positions.
    void ChooseTestType(int index);
    void ChooseUnit(int index);
    void ChooseSource(int index);
    void ClickCompensate(bool checked);
    void ClickIndividualLoads(bool checked);
    void ChooseModel(int index);  // no refresh; Keul/Simon force the cubic
    void ChooseFit(int index);    // no refresh; the spline forces the Mader model
    void StepEditLostFocus(const std::string& text);
    void StartEditLostFocus(const std::string& text);
    void IncrementEditLostFocus(const std::string& text);
    void StartSpin(int delta);  // delta in tenths of the shown unit; updates only its edit
    void IncrementSpin(int delta);
    void SliderMoved(int position);  // updates only the step edit

    // The string-table id of why the last edit that lost the focus was refused (its value kept), or 0.
    int Refusal() const { return m_nRefusal; }
    // OK asks first when the loads come from the start value and it is 0.
    bool StartValueMissing() const;

    // OK: writes the working copy back and marks the parameters as entered; the fitting choice
    // goes to `choice`.
    void Apply(TestDataType& test, TestAnalysis& choice) const;

    // Working copy (speeds in m/s, as stored).
    int32_t m_nTestType = TestTreadmill;
    int32_t m_nLoadUnit = UnitMs;
    double m_dStartValue = 0.0;
    double m_dIncrement = 0.0;
    bool m_bIndividualLoads = false;
    int32_t m_nPcStepDuration = 180;
    double m_dTrackLength = 150.0;
    int32_t m_nDurationSource = SourcePc;
    bool m_bCompensate = false;
    int32_t m_nThresholdModel = ModelMader;
    int32_t m_nFitFunction = FitCubic;

    // Visible state, by control.
    DialogList m_TestTypeList;
    DialogList m_UnitList;
    DialogList m_SourceList;  // where the step duration comes from
    DialogList m_ModelList;
    DialogList m_FitList;
    std::string m_strStepEdit;  // "%02d:%02d" (step duration) or "%5.0f" (track length)
    DialogControl m_StepEdit;
    DialogControl m_Slider;  // beside the step edit, moving with it
    int m_nSliderMin = 1, m_nSliderMax = 60, m_nSliderPos = 18, m_nSliderTick = 1;
    std::string m_strStepGroup;      // "Stufendauer" / "Streckenlänge"
    std::string m_strStepUnit;       // "m" for the field test
    std::string m_strStartEdit;      // "%2.1f"
    std::string m_strIncrementEdit;  // "%2.1f"
    DialogControl m_StartEdit, m_StartSpin, m_IncrementEdit, m_IncrementSpin;
    int m_nSpinMin = 0, m_nSpinMax = 10;
    std::string m_strUnitText;  // the unit beside the start value and the increment
    std::string m_strLoadGroup;
    DialogControl m_IndividualBox;
    DialogControl m_CompensateBox;
    std::string m_strExplanation;  // the line below the controls

private:
    void TakeChoice(const AnalysisChoice& c);
    int m_nRefusal = 0;
    void RefreshTreadmillOrErgometer(bool ergometer);
    void RefreshField();
    void SetLoadControlsEnabled(bool enabled);
    void ApplyIndividualLoads();
    void ShowStep();
    double Shown(double stored) const { return m_nLoadUnit == UnitKmh ? stored * 3.6 : stored; }
    double Stored(double shown) const { return m_nLoadUnit == UnitKmh ? shown / 3.6 : shown; }
    void Spin(double& value, std::string& text, int delta);
    void DecimalLostFocus(double& value, const std::string& text);
};

}  // namespace trv
