// Editing cells of the measurement list: which cells open, what a typed text stores and shows,
// which entries are refused, and the row colours.
#include "workspace/MeasurementEdit.h"

#include "data/InputRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace trv;

namespace {

// A field test on a 400 m track with hand-entered durations: PrL, three Ld steps, AFL.
TestDataType FieldTest() {
    TestDataType t;
    t.m_nTestType = TestField;
    t.m_nDurationSource = SourceManual;
    t.m_nLoadUnit = UnitKmh;
    t.m_dTrackLength = 400.0;
    for (uint8_t type : {MeasPreLoad, MeasLoad, MeasLoad, MeasLoad, MeasPostLoad}) {
        PCMDataType m;
        m.m_nMeasType = type;
        m.m_nStatus = StatusNormal;
        m.m_nLactate = 20;
        m.m_nHeartRate = 120;
        m.m_dSpeed = type == MeasLoad ? 3.0 : 0.0;
        t.m_Steps.push_back(m);
    }
    return t;
}

}  // namespace

TEST(MeasurementEdit, EditableColumnsFollowTheTestParameters) {
    TestDataType t = FieldTest();
    EXPECT_TRUE(IsEditableMeasColumn(t, MeasColDuration));
    EXPECT_FALSE(IsEditableMeasColumn(t, MeasColLoad));
    EXPECT_TRUE(IsEditableMeasColumn(t, MeasColLactate));
    EXPECT_TRUE(IsEditableMeasColumn(t, MeasColHeartRate));
    for (int c : {0, 1, 6, 7, -1}) EXPECT_FALSE(IsEditableMeasColumn(t, c));
    t.m_bIndividualLoads = 1;
    EXPECT_TRUE(IsEditableMeasColumn(t, MeasColLoad));
    // Durations from the PC or the analyser, or a treadmill test: not typed.
    t.m_nDurationSource = SourcePc;
    EXPECT_FALSE(IsEditableMeasColumn(t, MeasColDuration));
    t.m_nDurationSource = SourceAnalyser;
    EXPECT_FALSE(IsEditableMeasColumn(t, MeasColDuration));
    t.m_nDurationSource = SourceManual;
    t.m_nTestType = TestTreadmill;
    EXPECT_FALSE(IsEditableMeasColumn(t, MeasColDuration));
}

TEST(MeasurementEdit, LactateIsStoredInTenthsTruncated) {
    TestDataType t = FieldTest();
    MeasEditResult r = ApplyMeasurementEdit(t, 1, MeasColLactate, "4.25");
    EXPECT_TRUE(r.stored);
    EXPECT_TRUE(r.refill);
    EXPECT_EQ(t.m_Steps[1].m_nLactate, 42);
    EXPECT_EQ(r.shown, "4,2");
    EXPECT_EQ(r.reason, 0);
    // 4,3 is 42.999... tenths in binary: still 43.
    ApplyMeasurementEdit(t, 1, MeasColLactate, "4,3");
    EXPECT_EQ(t.m_Steps[1].m_nLactate, 43);
    EXPECT_TRUE(ApplyMeasurementEdit(t, 1, MeasColLactate, "30,0").stored);
    EXPECT_EQ(t.m_Steps[1].m_nLactate, 300);
}

TEST(MeasurementEdit, HeartRateIsAWholeNumberUpTo250) {
    TestDataType t = FieldTest();
    MeasEditResult r = ApplyMeasurementEdit(t, 2, MeasColHeartRate, " 150 ");
    EXPECT_TRUE(r.stored);
    EXPECT_FALSE(r.refill);
    EXPECT_EQ(t.m_Steps[2].m_nHeartRate, 150);
    EXPECT_EQ(r.shown, "150");
    // Emptied: no heart rate measured.
    EXPECT_TRUE(ApplyMeasurementEdit(t, 2, MeasColHeartRate, "").stored);
    EXPECT_EQ(t.m_Steps[2].m_nHeartRate, 0);
}

TEST(MeasurementEdit, RefusedEntriesLeaveTheReadingAsItWasAndSayWhy) {
    // Reason 0: any reason will do.
    const struct {
        int row, col, reason;
        std::vector<const char*> texts;
    } cases[] = {
        {1, MeasColLactate, 0, {"", "-1,5", "30,1"}},
        {1, MeasColLactate, IDS_IN_NOT_A_NUMBER, {"viel"}},
        {1, MeasColLactate, IDS_IN_LACTATE_RANGE, {"45"}},
        {2, MeasColHeartRate, 0, {"150x", "Puls", "-80"}},
        {2, MeasColHeartRate, IDS_IN_HEART_RATE_RANGE, {"251"}},
        // No colon, three minute digits, beyond 59:59, seconds of 60, no time at all.
        {1, MeasColDuration, IDS_IN_CELL_DURATION, {"3 min", "001:40", "99:99", "60:00", "00:00", "-1:00", ""}},
        // Pre-load and post-load rows have no step duration and no load.
        {0, MeasColDuration, IDS_IN_DURATION_ROW, {"01:40"}},
        {0, MeasColLoad, IDS_IN_LOAD_ROW, {"8"}},
        {4, MeasColLoad, 0, {"8"}},
        {2, MeasColLoad, IDS_IN_LOAD_NEGATIVE, {"-3"}},
        {2, MeasColLoad, IDS_IN_NOT_A_NUMBER, {"zwölf"}},
    };
    for (const auto& c : cases)
        for (const char* text : c.texts) {
            SCOPED_TRACE(std::string("column ") + std::to_string(c.col) + " '" + text + "'");
            TestDataType t = FieldTest();
            t.m_bIndividualLoads = 1;
            const PCMDataType before = t.m_Steps[static_cast<size_t>(c.row)];
            const MeasEditResult r = ApplyMeasurementEdit(t, c.row, c.col, text);
            EXPECT_FALSE(r.stored);
            EXPECT_TRUE(c.reason == 0 ? r.reason != 0 : r.reason == c.reason) << r.reason;
            const PCMDataType& after = t.m_Steps[static_cast<size_t>(c.row)];
            EXPECT_EQ(after.m_nLactate, before.m_nLactate);
            EXPECT_EQ(after.m_nHeartRate, before.m_nHeartRate);
            EXPECT_DOUBLE_EQ(after.m_dSpeed, before.m_dSpeed);
            EXPECT_DOUBLE_EQ(after.m_dPower, before.m_dPower);
        }
}

TEST(MeasurementEdit, FieldStepDurationSetsTheSpeedFromTheTrack) {
    TestDataType t = FieldTest();
    // 400 m in 1:40 = 100 s: 4.0 m/s.
    MeasEditResult r = ApplyMeasurementEdit(t, 1, MeasColDuration, "01:40");
    ASSERT_TRUE(r.stored);
    EXPECT_DOUBLE_EQ(t.m_Steps[1].m_dSpeed, 4.0);
    EXPECT_EQ(r.shown, "01:40");
    EXPECT_TRUE(r.refill);
    // 2:13 = 133 s: 400 / 133 m/s, shown again as 02:13.
    r = ApplyMeasurementEdit(t, 2, MeasColDuration, "02:13");
    EXPECT_DOUBLE_EQ(t.m_Steps[2].m_dSpeed, 400.0 / 133.0);
    EXPECT_EQ(r.shown, "02:13");
    // One digit for the minutes: 1:20 = 80 s, 5.0 m/s.
    ApplyMeasurementEdit(t, 3, MeasColDuration, "1:20");
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dSpeed, 5.0);
    ApplyMeasurementEdit(t, 3, MeasColDuration, "59:59");
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dSpeed, 400.0 / 3599.0);
    // Not editable at all for a treadmill test.
    t.m_nTestType = TestTreadmill;
    EXPECT_FALSE(ApplyMeasurementEdit(t, 1, MeasColDuration, "01:40").stored);
}

TEST(MeasurementEdit, LoadInTheTestsUnitOnMainLoadRowsOnly) {
    TestDataType t = FieldTest();
    EXPECT_FALSE(ApplyMeasurementEdit(t, 1, MeasColLoad, "14,4").stored);  // no individual loads
    t.m_bIndividualLoads = 1;
    MeasEditResult r = ApplyMeasurementEdit(t, 1, MeasColLoad, "14,4");  // km/h
    ASSERT_TRUE(r.stored);
    EXPECT_NEAR(t.m_Steps[1].m_dSpeed, 4.0, 1e-12);
    EXPECT_EQ(r.shown, "14,4");
    t.m_nLoadUnit = UnitMs;
    ApplyMeasurementEdit(t, 2, MeasColLoad, "3.75");
    EXPECT_DOUBLE_EQ(t.m_Steps[2].m_dSpeed, 3.75);
    t.m_nLoadUnit = UnitWatt;
    r = ApplyMeasurementEdit(t, 3, MeasColLoad, "250");
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dPower, 250.0);
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dSpeed, 3.0);
    EXPECT_EQ(r.shown, "250,0");
}

TEST(MeasurementEdit, RowColoursByTypeStateAndStatus) {
    PCMDataType m;
    m.m_nStatus = StatusNormal;
    m.m_nMeasType = MeasPostLoad;
    m.m_bChecked = 1;
    MeasRowColors c = MeasurementRowColors(m);
    EXPECT_TRUE(c.hasBackground);
    EXPECT_EQ(c.background, 0xFFC8C8u);  // RGB(200, 200, 255)
    EXPECT_FALSE(c.hasText);
    m.m_bChecked = 0;
    EXPECT_EQ(MeasurementRowColors(m).background, 0xFFE6E6u);  // RGB(230, 230, 255)

    m.m_nMeasType = MeasLoad;
    c = MeasurementRowColors(m);
    EXPECT_EQ(c.background, 0xE6E6FFu);  // RGB(255, 230, 230)
    EXPECT_TRUE(c.hasText);
    EXPECT_EQ(c.text, 0x000000u);
    m.m_bChecked = 1;
    m.m_bShortened = 1;
    m.m_bDurationMeasured = 1;
    c = MeasurementRowColors(m);
    EXPECT_EQ(c.background, 0xC8C8FFu);  // RGB(255, 200, 200)
    EXPECT_EQ(c.text, 0xFF0000u);        // blue
    m.m_bDurationMeasured = 0;
    EXPECT_EQ(MeasurementRowColors(m).text, 0x000000u);

    // "High": grey text whatever the type.
    m.m_nStatus = StatusHigh;
    EXPECT_EQ(MeasurementRowColors(m).text, 0x969696u);
    m.m_nMeasType = MeasSingle;
    c = MeasurementRowColors(m);
    EXPECT_FALSE(c.hasBackground);
    EXPECT_TRUE(c.hasText);
    EXPECT_EQ(c.text, 0x969696u);
    m.m_nStatus = StatusTimed;
    EXPECT_FALSE(MeasurementRowColors(m).hasText);
}
