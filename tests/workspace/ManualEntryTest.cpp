// The rules of the manual entry dialog, without its widgets.
#include "workspace/ManualEntry.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(ManualEntry, TypedRowsBecomeAStepTest) {
    CManualEntry e;
    e.m_FirstStep = COleDateTime::FromParts(2026, 6, 1, 10, 0, 0);
    e.SetTestType(TestErgometer);  // W, from 100 W in steps of 50 W
    EXPECT_EQ(e.m_nLoadUnit, UnitWatt);
    EXPECT_EQ(e.RowCount(), 1);
    const char* rows[][6] = {{"PrL", "", "0,9", "70", "", ""},
                             {"", "", "1,1", "118", "", ""},
                             {"Ld", "", "1.7", "137", "", ""},
                             {"", "", "3,4", "158", "", ""},
                             {"AFL", "", "5,0", "150", "", "3"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < CManualEntry::ColumnCount; ++c) e.SetCell(r, c, rows[r][c]);
    EXPECT_EQ(e.RowCount(), 6);  // one empty row waits at the end
    // Main-load rows show their load from start and increment and cannot be typed into.
    EXPECT_EQ(e.ShownText(3, CManualEntry::ColLoad), "200,0");
    EXPECT_FALSE(e.IsEditable(3, CManualEntry::ColLoad));
    EXPECT_EQ(e.ShownText(0, CManualEntry::ColLoad), "");
    EXPECT_FALSE(e.IsColumnUsed(CManualEntry::ColDuration));
    TestDataType t;
    std::vector<std::string> q;
    ASSERT_EQ(e.Build(t, q).message, "");
    ASSERT_EQ(t.m_Steps.size(), 5u);
    EXPECT_DOUBLE_EQ(t.m_Steps[1].m_dPower, 100.0);
    EXPECT_DOUBLE_EQ(t.m_Steps[3].m_dPower, 200.0);
    EXPECT_EQ(t.m_Steps[2].m_nLactate, 17);
    // Last step at 10:06 (three steps of 3 min), the post-load reading 3 minutes later.
    EXPECT_EQ(t.m_Steps[4].m_Time.FormatIso(), "2026-06-01T10:09:00");
    EXPECT_EQ(t.m_Steps[0].m_Time.FormatIso(), "2026-06-01T09:59:00");
}

TEST(ManualEntry, CellsSayWhyTheyCannotBeTaken) {
    CManualEntry e;
    e.m_bIndividualLoads = true;
    e.SetCell(0, CManualEntry::ColLoad, "10,5");
    e.SetCell(0, CManualEntry::ColLactate, "zwei");
    e.SetCell(0, CManualEntry::ColHeartRate, "-3");
    e.SetCell(1, CManualEntry::ColType, "Ruhe");
    e.SetCell(2, CManualEntry::ColHeartRate, "150");
    EXPECT_EQ(e.CellError(0, CManualEntry::ColLoad), "");
    EXPECT_EQ(e.CellError(0, CManualEntry::ColLactate), "Keine Zahl.");
    EXPECT_EQ(e.CellError(0, CManualEntry::ColHeartRate), "Darf nicht negativ sein.");
    EXPECT_EQ(e.CellError(1, CManualEntry::ColType), "Erwartet PrL, Ld oder AFL.");
    EXPECT_EQ(e.CellError(2, CManualEntry::ColLoad), "Fehlt.");
    EXPECT_EQ(e.CellError(2, CManualEntry::ColLactate), "Fehlt.");
    EXPECT_EQ(e.CellError(3, CManualEntry::ColLactate), "");  // the empty row at the end
    TestDataType t;
    std::vector<std::string> q;
    const Result built = e.Build(t, q);
    EXPECT_FALSE(built);
    EXPECT_EQ(built.message, "Zeile 1: \"zwei\" ist kein Laktatwert.");
    // A field test types its durations; 00:00 is none.
    e.SetTestType(TestField);
    e.SetCell(0, CManualEntry::ColDuration, "00:00");
    EXPECT_EQ(e.CellError(0, CManualEntry::ColDuration), "Erwartet mm:ss oder Sekunden (größer als 0).");
    e.SetCell(0, CManualEntry::ColDuration, "04:30");
    EXPECT_EQ(e.CellError(0, CManualEntry::ColDuration), "");
}

TEST(ManualEntry, HeartRatesAreWholeAndNoLactateIsZero) {
    struct Case {
        int column;
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {CManualEntry::ColHeartRate, "1,1", "Bitte eine ganze Zahl eingeben."},
        {CManualEntry::ColHeartRate, "152,5", "Bitte eine ganze Zahl eingeben."},
        {CManualEntry::ColHeartRate, "152", ""},
        {CManualEntry::ColHeartRate, "", ""},  // not measured
        {CManualEntry::ColLactate, "0,0", "Ein Laktatwert unter 0,1 mmol/l ist keine Messung."},
        {CManualEntry::ColLactate, "0", "Ein Laktatwert unter 0,1 mmol/l ist keine Messung."},
        {CManualEntry::ColLactate, "0,1", ""},
        {CManualEntry::ColLactate, "High", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CManualEntry e;
        e.SetCell(0, CManualEntry::ColLactate, "2,0");
        e.SetCell(0, c.column, c.text);
        EXPECT_EQ(e.CellError(0, c.column), c.why);
    }
}
