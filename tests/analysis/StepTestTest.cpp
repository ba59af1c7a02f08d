#include "Fixtures.h"
#include "analysis/StepTest.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace trv;
using trvtest::Meas;

namespace {

CTRVDoc SingleTests(int count) {
    CTRVDoc doc;
    for (int i = 0; i < count; ++i) {
        TestDataType t;
        PCMDataType m = Meas(MeasSingle, 1.0 + i);
        m.m_nMeasId = static_cast<uint16_t>(100 + i);
        t.m_Steps.push_back(m);
        doc.m_Tests.push_back(t);
    }
    return doc;
}

}  // namespace

TEST(Conversion, ThreeSelectedRowsBecomeOneStepTest) {
    CTRVDoc doc = SingleTests(4);
    // Rows 0, 1, 2 of a newest-first list of four: tests 3, 2, 1.
    std::vector<int> tests;
    for (int row : {0, 1, 2}) tests.push_back(TestIndexOfRow(row, 4));
    ASSERT_TRUE(CanConvertToStepTest(doc, tests));
    EXPECT_EQ(ConvertToStepTest(doc, tests), 1);
    ASSERT_EQ(doc.GetTestCount(), 2);
    const TestDataType& t = doc.GetTest(1);
    // Oldest first, all main loads, first and last marked: (id, type, first, last).
    std::vector<std::tuple<int, int, int, int>> steps;
    for (const PCMDataType& m : t.m_Steps)
        steps.emplace_back(m.m_nMeasId, m.m_nMeasType, m.m_bFirstStep, m.m_bLastStep);
    EXPECT_EQ(steps, (decltype(steps){{101, MeasLoad, 1, 0}, {102, MeasLoad, 0, 0}, {103, MeasLoad, 0, 1}}));
    EXPECT_EQ(doc.GetTest(0).m_Steps[0].m_nMeasId, 100);
    EXPECT_TRUE(doc.IsModified());
}

TEST(Conversion, StepTestsInTheSelection) {
    CTRVDoc doc = SingleTests(4);
    doc.GetTest(2).m_Steps[0].m_nMeasType = MeasLoad;
    EXPECT_FALSE(CanConvertToStepTest(doc, {1, 2, 3}));
    EXPECT_FALSE(CanConvertToStepTest(doc, {3}));
    // The conversion itself skips the step test.
    EXPECT_EQ(ConvertToStepTest(doc, {1, 2, 3}), 1);
    ASSERT_EQ(doc.GetTestCount(), 3);
    EXPECT_EQ(doc.GetTest(1).m_Steps.size(), 2u);
    EXPECT_EQ(doc.GetTest(1).m_Steps[1].m_nMeasId, 103);
    EXPECT_EQ(doc.GetTest(2).m_Steps[0].m_nMeasId, 102);
    CTRVDoc one = SingleTests(2);
    one.GetTest(1).m_Steps[0].m_nMeasType = MeasLoad;
    EXPECT_EQ(ConvertToStepTest(one, {0, 1}), -1);
    EXPECT_EQ(one.GetTestCount(), 2);
}

TEST(MeasType, SeveralRowsZeroLoadsOneRowKeepsThem) {
    const double lac[] = {1.5, 2.0, 3.0, 5.0};
    TestDataType t = trvtest::Treadmill(4, lac);
    t.m_bIndividualLoads = 1;  // keep the loads as they are
    TestDataType u = t;
    ASSERT_TRUE(SetMeasType(t, {3, 4}, 4, MeasPostLoad));
    EXPECT_EQ(t.m_Steps[3].m_nMeasType, MeasPostLoad);
    EXPECT_EQ(t.m_Steps[3].m_dSpeed, 0.0);
    EXPECT_EQ(t.m_Steps[4].m_dSpeed, 0.0);
    ASSERT_TRUE(SetMeasType(u, {4}, 4, MeasPostLoad));
    EXPECT_EQ(u.m_Steps[4].m_nMeasType, MeasPostLoad);
    EXPECT_NEAR(u.m_Steps[4].m_dSpeed * 3.6, 14.0, 1e-12);
    EXPECT_FALSE(SetMeasType(u, {}, -1, MeasPostLoad));
}

TEST(Loads, EveryTestTypeAndSource) {
    const double lac[] = {1.5, 2.0, 3.0};
    TestDataType t = trvtest::Treadmill(3, lac);
    t.m_dStartValue = 2.5;  // m/s
    t.m_dIncrement = 0.5;
    t.m_Steps.push_back(Meas(MeasPostLoad, 4.0));
    UpdateLoads(t);
    EXPECT_EQ(t.m_Steps[0].m_dSpeed, 0.0);  // pre-load untouched
    EXPECT_DOUBLE_EQ(t.m_Steps[1].m_dSpeed, 2.5);
    EXPECT_DOUBLE_EQ(t.m_Steps[2].m_dSpeed, 3.0);
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dSpeed, 3.5);
    EXPECT_EQ(t.m_Steps[4].m_dSpeed, 0.0);

    TestDataType e = t;
    e.m_nTestType = TestErgometer;
    e.m_nLoadUnit = UnitWatt;
    e.m_dStartValue = 100;
    e.m_dIncrement = 25;
    UpdateLoads(e);
    EXPECT_DOUBLE_EQ(e.m_Steps[3].m_dPower, 150);

    // A field test: with the analyser's durations the speed is track / duration (none for 0 s),
    // with the PC's it is the nominal one; the nominal speed is kept either way.
    TestDataType f = t;
    f.m_nTestType = TestField;
    f.m_dTrackLength = 400;
    f.m_Steps[1].m_nStepDuration = 100;
    f.m_Steps[2].m_nStepDuration = 0;
    for (auto [source, speed1, speed2] : {std::tuple{SourceAnalyser, 4.0, 0.0}, {SourcePc, 2.5, 3.0}}) {
        f.m_nDurationSource = source;
        UpdateLoads(f);
        EXPECT_DOUBLE_EQ(f.m_Steps[1].m_dSpeed, speed1) << source;
        EXPECT_DOUBLE_EQ(f.m_Steps[2].m_dSpeed, speed2) << source;
        EXPECT_DOUBLE_EQ(f.m_Steps[1].m_dNominalSpeed, 2.5);
        EXPECT_DOUBLE_EQ(f.m_Steps[2].m_dNominalSpeed, 3.0);
    }

    TestDataType manual = trvtest::Treadmill(3, lac);
    manual.m_nTestType = TestField;
    manual.m_nDurationSource = SourceManual;
    manual.m_dStartValue = 1.0;
    UpdateLoads(manual);
    EXPECT_NEAR(manual.m_Steps[1].m_dSpeed * 3.6, 8.0, 1e-12);

    TestDataType individual = trvtest::Treadmill(3, lac);
    individual.m_bIndividualLoads = 1;
    individual.m_dStartValue = 1.0;
    ASSERT_TRUE(SetMeasType(individual, {}, 2, MeasLoad));
    EXPECT_NEAR(individual.m_Steps[1].m_dSpeed * 3.6, 8.0, 1e-12);
}

TEST(Compensation, ShortenedLastStep) {
    const double lac[] = {1.5, 2.0, 3.0};
    TestDataType t = trvtest::Treadmill(3, lac);  // 8, 10, 12 km/h, increment 2 km/h
    t.m_bCompensate = 1;
    t.m_nPcStepDuration = 180;
    t.m_Steps[3].m_bDurationMeasured = 1;
    t.m_Steps[3].m_nStepDuration = 90;
    double comp = 0;
    ASSERT_TRUE(CompensatedLoad(t, 3, StepLoad(t, 3), comp));
    EXPECT_NEAR(comp, 11.0, 1e-12);  // 10 + 0.5 * 2

    // Not the last step, not timed, or at full length: no compensation.
    t.m_Steps[2].m_bDurationMeasured = 1;
    t.m_Steps[2].m_nStepDuration = 90;
    EXPECT_FALSE(CompensatedLoad(t, 2, StepLoad(t, 2), comp));
    t.m_Steps[3].m_nStepDuration = 180;
    EXPECT_FALSE(CompensatedLoad(t, 3, StepLoad(t, 3), comp));

    // Nominal from the step before when the durations come from the analyser; the last main load is
    // also the one followed by a post-load reading.
    t.m_nDurationSource = SourceAnalyser;
    t.m_Steps[3].m_bLastStep = 0;
    t.m_Steps.push_back(Meas(MeasPostLoad, 5.0));
    t.m_Steps[2].m_nStepDuration = 120;
    t.m_Steps[3].m_nStepDuration = 30;
    ASSERT_TRUE(CompensatedLoad(t, 3, StepLoad(t, 3), comp));
    EXPECT_NEAR(comp, 10.5, 1e-12);  // 10 + 0.25 * 2

    t.m_nTestType = TestField;
    EXPECT_FALSE(CompensatedLoad(t, 3, StepLoad(t, 3), comp));
    t.m_nTestType = TestTreadmill;
    t.m_bCompensate = 0;
    EXPECT_FALSE(CompensatedLoad(t, 3, StepLoad(t, 3), comp));
}
