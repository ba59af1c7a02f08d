// Typed values before they reach a record: what is taken, what is refused and with which reason.
#include "InputRules.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(InputRules, LactateIsANumberFromZeroToThirty) {
    uint16_t tenths = 77;
    EXPECT_EQ(ReadLactate("4,25", tenths), InputOk);
    EXPECT_EQ(tenths, 42);  // truncated to tenths
    EXPECT_EQ(ReadLactate(" 4.3 ", tenths), InputOk);
    EXPECT_EQ(tenths, 43);
    EXPECT_EQ(ReadLactate("30", tenths), InputOk);
    EXPECT_EQ(tenths, 300);
    EXPECT_EQ(ReadLactate("0", tenths), InputOk);
    EXPECT_EQ(tenths, 0);
    tenths = 77;
    for (const char* text : {"abc", "", "4,2x", "4,,2"})
        EXPECT_EQ(ReadLactate(text, tenths), IDS_IN_NOT_A_NUMBER) << text;
    for (const char* text : {"45", "30,1", "-0,5"}) EXPECT_EQ(ReadLactate(text, tenths), IDS_IN_LACTATE_RANGE) << text;
    EXPECT_EQ(tenths, 77);  // a refused text leaves the value alone
}

TEST(InputRules, HeartRateIsAWholeNumberUpTo250) {
    int32_t bpm = 99;
    EXPECT_EQ(ReadHeartRate(" 150 ", bpm), InputOk);
    EXPECT_EQ(bpm, 150);
    EXPECT_EQ(ReadHeartRate("250", bpm), InputOk);
    EXPECT_EQ(bpm, 250);
    EXPECT_EQ(ReadHeartRate("", bpm), InputOk);  // none measured
    EXPECT_EQ(bpm, 0);
    bpm = 99;
    EXPECT_EQ(ReadHeartRate("251", bpm), IDS_IN_HEART_RATE_RANGE);
    for (const char* text : {"150x", "150,5", "Puls", "-80"})
        EXPECT_EQ(ReadHeartRate(text, bpm), IDS_IN_NOT_A_WHOLE_NUMBER) << text;
    EXPECT_EQ(bpm, 99);
}

TEST(InputRules, CellDurationIsMinutesAndSecondsUpTo5959) {
    int s = -1;
    EXPECT_EQ(ReadCellDuration("01:40", s), InputOk);
    EXPECT_EQ(s, 100);
    EXPECT_EQ(ReadCellDuration("2:13", s), InputOk);
    EXPECT_EQ(s, 133);
    EXPECT_EQ(ReadCellDuration("00:01", s), InputOk);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(ReadCellDuration("59:59", s), InputOk);
    EXPECT_EQ(s, 3599);
    s = -1;
    for (const char* text : {"00:00", "99:99", "60:00", "01:60", "100:00", "3 min", "140", "1:4", "01:400", ":40", ""})
        EXPECT_EQ(ReadCellDuration(text, s), IDS_IN_CELL_DURATION) << text;
    EXPECT_EQ(s, -1);
}

TEST(InputRules, LoadIsANumberThatIsNotNegative) {
    double v = -1;
    EXPECT_EQ(ReadLoad("14,4", v), InputOk);
    EXPECT_DOUBLE_EQ(v, 14.4);
    EXPECT_EQ(ReadLoad("0", v), InputOk);
    EXPECT_DOUBLE_EQ(v, 0.0);
    EXPECT_EQ(ReadLoad("-3", v), IDS_IN_LOAD_NEGATIVE);
    EXPECT_EQ(ReadLoad("schnell", v), IDS_IN_NOT_A_NUMBER);
    EXPECT_EQ(ReadLoad("", v), IDS_IN_NOT_A_NUMBER);
}

TEST(InputRules, StepDurationAsShownOrInSecondsFromTenSecondsToTenMinutes) {
    int s = -1;
    // As the field shows it, and in seconds as typed before.
    EXPECT_EQ(ReadStepDuration("03:00", s), InputOk);
    EXPECT_EQ(s, 180);
    EXPECT_EQ(ReadStepDuration("185", s), InputOk);
    EXPECT_EQ(s, 185);
    EXPECT_EQ(ReadStepDuration("0:10", s), InputOk);
    EXPECT_EQ(s, 10);
    EXPECT_EQ(ReadStepDuration("10:00", s), InputOk);
    EXPECT_EQ(s, 600);
    EXPECT_EQ(ReadStepDuration("600", s), InputOk);
    s = -1;
    for (const char* text : {"99:99", "00:00", "10:01", "00:09", "5", "700", "9", "0", "abc", "", "3 min", "-30"})
        EXPECT_EQ(ReadStepDuration(text, s), IDS_IN_STEP_DURATION_RANGE) << text;
    EXPECT_EQ(s, -1);
}

TEST(InputRules, TrackLengthInWholeMetresFrom100To10000) {
    double m = -1;
    EXPECT_EQ(ReadTrackLength("  400", m), InputOk);  // as "%5.0f" shows it
    EXPECT_DOUBLE_EQ(m, 400.0);
    EXPECT_EQ(ReadTrackLength("10000", m), InputOk);
    EXPECT_EQ(ReadTrackLength("100", m), InputOk);
    EXPECT_DOUBLE_EQ(m, 100.0);
    EXPECT_EQ(ReadTrackLength("99", m), IDS_IN_TRACK_RANGE);
    EXPECT_EQ(ReadTrackLength("10001", m), IDS_IN_TRACK_RANGE);
    EXPECT_EQ(ReadTrackLength("400,5", m), IDS_IN_NOT_A_WHOLE_NUMBER);
    EXPECT_EQ(ReadTrackLength("Bahn", m), IDS_IN_NOT_A_WHOLE_NUMBER);
    EXPECT_DOUBLE_EQ(m, 100.0);
}

TEST(InputRules, StartValueAndIncrementAreNumbersNotNegative) {
    double v = 7;
    EXPECT_EQ(ReadLoadParameter("8,0", v), InputOk);
    EXPECT_DOUBLE_EQ(v, 8.0);
    EXPECT_EQ(ReadLoadParameter("abc", v), IDS_IN_NOT_A_NUMBER);
    EXPECT_EQ(ReadLoadParameter("-1", v), IDS_IN_NEGATIVE);
    EXPECT_DOUBLE_EQ(v, 8.0);
}

TEST(InputRules, AthleteMeasuresAreEmptyOrPlausible) {
    double cm = -1, kg = -1;
    EXPECT_EQ(ReadHeight("180,6", cm), InputOk);
    EXPECT_DOUBLE_EQ(cm, 180.6);
    EXPECT_EQ(ReadHeight("", cm), InputOk);
    EXPECT_DOUBLE_EQ(cm, 0.0);
    EXPECT_EQ(ReadHeight("0", cm), InputOk);
    EXPECT_EQ(ReadHeight("1,80", cm), IDS_IN_HEIGHT_RANGE);  // metres typed for centimetres
    EXPECT_EQ(ReadHeight("251", cm), IDS_IN_HEIGHT_RANGE);
    EXPECT_EQ(ReadHeight("1a80", cm), IDS_IN_NOT_A_NUMBER);
    EXPECT_EQ(ReadWeight("72,5", kg), InputOk);
    EXPECT_DOUBLE_EQ(kg, 72.5);
    EXPECT_EQ(ReadWeight("19", kg), IDS_IN_WEIGHT_RANGE);
    EXPECT_EQ(ReadWeight("301", kg), IDS_IN_WEIGHT_RANGE);
    EXPECT_DOUBLE_EQ(kg, 72.5);

    EXPECT_EQ(CheckPostCode("12345"), InputOk);
    EXPECT_EQ(CheckPostCode(" 01067 "), InputOk);
    EXPECT_EQ(CheckPostCode(""), InputOk);
    EXPECT_EQ(CheckPostCode("1234A"), IDS_IN_POST_CODE);
    EXPECT_EQ(CheckPostCode("Berlin"), IDS_IN_POST_CODE);

    EXPECT_EQ(CheckNames("Anna", "Meier"), InputOk);
    EXPECT_EQ(CheckNames("Anna", ""), IDS_IN_NAMES_REQUIRED);
    EXPECT_EQ(CheckNames("  ", "Meier"), IDS_IN_NAMES_REQUIRED);
}

TEST(InputRules, TypedDatesWithAndWithoutDots) {
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(ParseTypedDate("14.07.1994", 2026, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 19940714);
    ASSERT_TRUE(ParseTypedDate("14071994", 2026, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 19940714);
    ASSERT_TRUE(ParseTypedDate("1.2.2003", 2026, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 20030201);
    // Two-digit years: the latest such year that is not after the current one.
    ASSERT_TRUE(ParseTypedDate("14.7.94", 2026, y, m, d));
    EXPECT_EQ(y, 1994);
    ASSERT_TRUE(ParseTypedDate("140726", 2026, y, m, d));
    EXPECT_EQ(y, 2026);
    ASSERT_TRUE(ParseTypedDate("140727", 2026, y, m, d));
    EXPECT_EQ(y, 1927);
    // Leap days: 2000 has one, 1900 and 2023 have none.
    EXPECT_TRUE(ParseTypedDate("29.02.2000", 2026, y, m, d));
    EXPECT_FALSE(ParseTypedDate("29.02.1900", 2026, y, m, d));
    EXPECT_FALSE(ParseTypedDate("29022023", 2026, y, m, d));
    for (const char* text : {"31.04.2020", "00.01.2000", "14.13.1994", "14-07-1994", "1407199", "14.07.", "14.07.199",
                             "14.07.19940", "147.1.1994", "14..1994", "", "heute"})
        EXPECT_FALSE(ParseTypedDate(text, 2026, y, m, d)) << text;
}

TEST(InputRules, BirthDateEmptyMeansNotEnteredAndIsKeptAsDayZero) {
    const COleDateTime today = COleDateTime::FromParts(2026, 12, 6, 10, 0, 0);
    COleDateTime date(123.0);
    EXPECT_EQ(ReadBirthDate("14.07.1994", today, date), InputOk);
    EXPECT_DOUBLE_EQ(date.m_dt, 34529.0);  // days from 30.12.1899 to 14.07.1994
    EXPECT_TRUE(date.IsValid());
    EXPECT_EQ(BirthDateText(date), "14.07.1994");
    EXPECT_EQ(ReadBirthDate("  ", today, date), InputOk);
    EXPECT_DOUBLE_EQ(date.m_dt, 0.0);
    EXPECT_TRUE(date.IsValid());
    EXPECT_EQ(BirthDateText(date), "");
    EXPECT_EQ(BirthDateText(COleDateTime(36585.0, COleDateTime::invalid)), "");
    EXPECT_EQ(BirthDateText(COleDateTime(36585.0)), "29.02.2000");

    EXPECT_EQ(ReadBirthDate("06.12.2026", today, date), InputOk);  // born today
    date = COleDateTime(123.0);
    EXPECT_EQ(ReadBirthDate("07.12.2026", today, date), IDS_IN_DATE_FUTURE);
    EXPECT_EQ(ReadBirthDate("30.07.19944", today, date), IDS_IN_DATE_FORM);
    EXPECT_DOUBLE_EQ(date.m_dt, 123.0);
}

TEST(InputRules, FieldsRefuseKeysThatCannotLeadToAValidEntry) {
    for (const char* t : {"", "1", "12,", "12,5", ".5"}) EXPECT_TRUE(IsPartialDecimal(t)) << t;
    for (const char* t : {"a", "12,5,", "1.2,3", "-1", "1 2"}) EXPECT_FALSE(IsPartialDecimal(t)) << t;
    EXPECT_TRUE(IsPartialWholeNumber(""));
    EXPECT_TRUE(IsPartialWholeNumber("01067"));
    EXPECT_FALSE(IsPartialWholeNumber("0106A"));
    EXPECT_FALSE(IsPartialWholeNumber("1,5"));
    for (const char* t : {"", "14", "14.", "14.07.1994", "14071994"}) EXPECT_TRUE(IsPartialDate(t)) << t;
    for (const char* t : {"14.07.1994.", "14/07", "140719941", "14.07.19941"}) EXPECT_FALSE(IsPartialDate(t)) << t;
    for (const char* t : {"", "3", "03:", "03:00", "185"}) EXPECT_TRUE(IsPartialDuration(t)) << t;
    for (const char* t : {"03:00:", "3 min", "003:000"}) EXPECT_FALSE(IsPartialDuration(t)) << t;
}
