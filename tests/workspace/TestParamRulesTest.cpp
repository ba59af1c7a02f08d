#include "workspace/TestParamRules.h"

#include "data/InputRules.h"

#include <gtest/gtest.h>

using namespace trv;

namespace {

TestDataType NewTest() { return TestDataType{}; }  // Laufband, m/s, 180 s, 150 m, source PC

}  // namespace

TEST(TestParamRules, StartStateOfANewTest) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    EXPECT_EQ(r.m_TestTypeList.items.size(), 3u);
    EXPECT_EQ(r.m_TestTypeList.items[2], "Feldtest");
    EXPECT_EQ(r.m_FitList.items[1], "Kubische Splines");
    EXPECT_EQ(r.m_ModelList.items.size(), 3u);
    EXPECT_EQ(r.m_SourceList.items, (std::vector<std::string>{"PC", "Arvento"}));
    EXPECT_EQ(r.m_strStepGroup, "Stufendauer");
    EXPECT_EQ(r.m_strStepUnit, "");
    EXPECT_EQ(r.m_strStepEdit, "03:00");
    EXPECT_EQ(r.m_nSliderPos, 18);
    EXPECT_EQ(r.m_nSliderMax, 60);
    EXPECT_EQ(r.m_strLoadGroup, "Geschwindigkeitsvorgabe v [m/s]");
    EXPECT_EQ(r.m_strUnitText, "m/s");
    EXPECT_EQ(r.m_strStartEdit, "0,0");
    EXPECT_EQ(r.m_strExplanation, "Die am PC einegestellte Stufendauer wird verwendet.");
    EXPECT_FALSE(r.m_CompensateBox.enabled);  // only with the analyser as source
    EXPECT_TRUE(r.m_Slider.enabled);
    EXPECT_TRUE(r.m_StartEdit.enabled);
    EXPECT_EQ(r.m_nSpinMin, 0);
    EXPECT_EQ(r.m_nSpinMax, 10);
}

TEST(TestParamRules, ErgometerForcesWattAndMader) {
    TestAnalysis keul;
    keul.m_nThresholdModel = ModelKeul;
    CTestParamRules r(NewTest(), keul);
    r.ChooseTestType(TestErgometer);
    EXPECT_EQ(r.m_nLoadUnit, UnitWatt);
    EXPECT_EQ(r.m_UnitList.selection, UnitWatt);
    EXPECT_EQ(r.m_ModelList.items, (std::vector<std::string>{"Mader-Modell"}));
    EXPECT_EQ(r.m_nThresholdModel, ModelMader);
    EXPECT_EQ(r.m_strLoadGroup, "Belastungsvorgabe P[W]");
    EXPECT_EQ(r.m_strExplanation, "Die am PC eingestellte Stufendauer wird verwendet.");
    r.ChooseUnit(UnitKmh);  // not possible on the ergometer
    EXPECT_EQ(r.m_nLoadUnit, UnitWatt);

    // Back to Laufband or on to Feldtest: W becomes m/s.
    r.ChooseTestType(TestTreadmill);
    EXPECT_EQ(r.m_nLoadUnit, UnitMs);
    r.ChooseTestType(TestErgometer);
    r.ChooseTestType(TestField);
    EXPECT_EQ(r.m_nLoadUnit, UnitMs);
}

TEST(TestParamRules, KmhValuesAreShownAndStoredConverted) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    r.ChooseUnit(UnitKmh);
    EXPECT_EQ(r.m_strLoadGroup, "Geschwindigkeitsvorgabe v [km/h]");
    r.StartEditLostFocus("10");
    EXPECT_NEAR(r.m_dStartValue, 10.0 / 3.6, 1e-12);
    EXPECT_EQ(r.m_strStartEdit, "10,0");
    r.IncrementEditLostFocus("1,5");
    EXPECT_NEAR(r.m_dIncrement, 1.5 / 3.6, 1e-12);
    EXPECT_EQ(r.m_strIncrementEdit, "1,5");
    EXPECT_EQ(r.Refusal(), 0);
    // Negative or not a number: the value stays, the reason is kept for the window.
    r.IncrementEditLostFocus("-2");
    EXPECT_NEAR(r.m_dIncrement, 1.5 / 3.6, 1e-12);
    EXPECT_EQ(r.Refusal(), IDS_IN_NEGATIVE);
    r.StartEditLostFocus("zehn");
    EXPECT_NEAR(r.m_dStartValue, 10.0 / 3.6, 1e-12);
    EXPECT_EQ(r.m_strStartEdit, "10,0");
    EXPECT_EQ(r.Refusal(), IDS_IN_NOT_A_NUMBER);

    // Up-down: 0.1 km/h per step, i.e. 1/36 m/s; never below 0.
    r.StartSpin(+1);
    EXPECT_NEAR(r.m_dStartValue, 10.0 / 3.6 + 1.0 / 36.0, 1e-12);
    EXPECT_EQ(r.m_strStartEdit, "10,1");
    r.IncrementSpin(-20);
    EXPECT_EQ(r.m_dIncrement, 0.0);
    EXPECT_EQ(r.m_strIncrementEdit, "0,0");
}

TEST(TestParamRules, StepDurationEditAndSlider) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    for (const char* text : {"5", "700", "99:99", "00:00", "245s"}) {
        r.StepEditLostFocus(text);
        EXPECT_EQ(r.m_nPcStepDuration, 180) << text;
        EXPECT_EQ(r.m_strStepEdit, "03:00") << text;
        EXPECT_EQ(r.Refusal(), IDS_IN_STEP_DURATION_RANGE) << text;
    }
    // 185 is taken, then the redrawn slider at position 18 sets 180 s.
    r.StepEditLostFocus("185");
    EXPECT_EQ(r.Refusal(), 0);
    EXPECT_EQ(r.m_nSliderPos, 18);
    EXPECT_EQ(r.m_nPcStepDuration, 180);
    // Typed as the field shows it: 04:05 = 245 s, then 240 s by the slider.
    r.StepEditLostFocus("04:05");
    EXPECT_EQ(r.m_nPcStepDuration, 240);
    EXPECT_EQ(r.m_strStepEdit, "04:00");
    r.SliderMoved(7);
    EXPECT_EQ(r.m_nPcStepDuration, 70);
    EXPECT_EQ(r.m_strStepEdit, "01:10");

    // Field test: the same controls edit the track length in 100 m units.
    r.ChooseTestType(TestField);
    EXPECT_EQ(r.m_strStepGroup, "Streckenlänge");
    EXPECT_EQ(r.m_strStepUnit, "m");
    EXPECT_EQ(r.m_nSliderMax, 100);
    EXPECT_EQ(r.m_dTrackLength, 100.0);  // 150 m: slider position 1
    r.StepEditLostFocus("400");
    EXPECT_EQ(r.m_dTrackLength, 400.0);
    EXPECT_EQ(r.m_strStepEdit, "  400");
    r.StepEditLostFocus("50");
    EXPECT_EQ(r.m_dTrackLength, 400.0);
    EXPECT_EQ(r.Refusal(), IDS_IN_TRACK_RANGE);
    r.SliderMoved(12);
    EXPECT_EQ(r.m_dTrackLength, 1200.0);
}

TEST(TestParamRules, SourceCompensationAndIndividualLoads) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    r.ChooseSource(SourceAnalyser);
    EXPECT_TRUE(r.m_CompensateBox.enabled);
    EXPECT_FALSE(r.m_Slider.enabled);
    EXPECT_FALSE(r.m_StepEdit.enabled);
    EXPECT_NE(r.m_strExplanation.find("Stop-Funktion"), std::string::npos);
    r.ClickCompensate(true);
    EXPECT_TRUE(r.m_bCompensate);
    EXPECT_TRUE(r.m_CompensateBox.checked);

    // Individual loads disable the load entry and take the compensation away.
    r.ClickIndividualLoads(true);
    EXPECT_TRUE(r.m_IndividualBox.checked);
    EXPECT_FALSE(r.m_StartEdit.enabled);
    EXPECT_FALSE(r.m_IncrementSpin.enabled);
    EXPECT_FALSE(r.m_CompensateBox.enabled);
    EXPECT_FALSE(r.m_bCompensate);
    r.ClickIndividualLoads(false);
    EXPECT_TRUE(r.m_StartEdit.enabled);

    // Back to the PC as source: no compensation.
    r.ClickCompensate(true);
    r.ChooseSource(SourcePc);
    EXPECT_FALSE(r.m_bCompensate);
    EXPECT_FALSE(r.m_CompensateBox.enabled);
}

TEST(TestParamRules, FieldTestSources) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    r.ChooseTestType(TestField);
    EXPECT_EQ(r.m_SourceList.items.size(), 3u);
    EXPECT_FALSE(r.m_CompensateBox.enabled);
    EXPECT_NE(r.m_strExplanation.find("Streckenlänge"), std::string::npos);
    r.ChooseSource(SourceManual);
    EXPECT_FALSE(r.m_StartEdit.enabled);
    EXPECT_FALSE(r.m_IncrementEdit.enabled);
    EXPECT_FALSE(r.m_IndividualBox.enabled);
    EXPECT_TRUE(r.m_Slider.enabled);
    EXPECT_NE(r.m_strExplanation.find("manuell"), std::string::npos);
    r.ChooseSource(SourceAnalyser);
    EXPECT_FALSE(r.m_IndividualBox.enabled);
    EXPECT_NE(r.m_strExplanation.find("Handmessgerät"), std::string::npos);

    // Individual loads on the field test force the PC source.
    r.ChooseSource(SourcePc);
    EXPECT_TRUE(r.m_IndividualBox.enabled);
    r.ClickIndividualLoads(true);
    EXPECT_FALSE(r.m_StartEdit.enabled);
    EXPECT_EQ(r.m_nDurationSource, SourcePc);

    // A manual source on the treadmill becomes the analyser.
    CTestParamRules m(NewTest(), TestAnalysis{});
    m.ChooseTestType(TestField);
    m.ChooseSource(SourceManual);
    m.ChooseTestType(TestTreadmill);
    EXPECT_EQ(m.m_nDurationSource, SourceAnalyser);
    EXPECT_EQ(m.m_SourceList.selection, SourceAnalyser);
}

TEST(TestParamRules, ModelAndFitCouplingAndApply) {
    CTestParamRules r(NewTest(), TestAnalysis{});
    r.ChooseFit(FitSpline);
    r.ChooseModel(ModelKeul);
    EXPECT_EQ(r.m_nFitFunction, FitCubic);
    EXPECT_EQ(r.m_FitList.selection, FitCubic);
    r.ChooseModel(ModelSimon);
    r.ChooseFit(FitSpline);
    EXPECT_EQ(r.m_nThresholdModel, ModelMader);
    EXPECT_EQ(r.m_ModelList.selection, 0);

    r.ChooseUnit(UnitKmh);
    r.StartEditLostFocus("8");
    TestDataType t = NewTest();
    TestAnalysis choice;
    r.Apply(t, choice);
    EXPECT_EQ(t.m_bParamsEntered, 1);
    EXPECT_EQ(t.m_nLoadUnit, UnitKmh);
    EXPECT_NEAR(t.m_dStartValue, 8.0 / 3.6, 1e-12);
    EXPECT_EQ(choice.m_nFitFunction, FitSpline);
    EXPECT_EQ(choice.m_nThresholdModel, ModelMader);
}

TEST(TestParamRules, StartValueZeroIsAskedAboutOnlyWhenTheLoadsComeFromIt) {
    CTestParamRules r(NewTest(), TestAnalysis{});  // treadmill, start value 0
    EXPECT_TRUE(r.StartValueMissing());
    r.StartEditLostFocus("8");
    EXPECT_FALSE(r.StartValueMissing());
    r.StartEditLostFocus("0");
    r.ClickIndividualLoads(true);  // loads typed per step
    EXPECT_FALSE(r.StartValueMissing());
    r.ClickIndividualLoads(false);
    r.ChooseTestType(TestErgometer);
    EXPECT_TRUE(r.StartValueMissing());
    // Field test: speeds from the analyser's or hand-entered durations need no start value.
    r.ChooseTestType(TestField);
    EXPECT_TRUE(r.StartValueMissing());
    r.ChooseSource(SourceAnalyser);
    EXPECT_FALSE(r.StartValueMissing());
    r.ChooseSource(SourceManual);
    EXPECT_FALSE(r.StartValueMissing());
}
