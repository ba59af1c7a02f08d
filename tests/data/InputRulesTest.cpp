// Typed values before they reach a record: what is taken, what is refused and with which reason.
#include "data/InputRules.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

using namespace trv;

namespace {

// Each text is read into a value that holds 77 before; the taken ones give the value paired with them.
template <class T>
void ExpectTaken(int (*read)(std::string_view, T&), std::initializer_list<std::pair<const char*, double>> cases) {
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        T v = T(77);
        EXPECT_EQ(read(text, v), InputOk);
        EXPECT_DOUBLE_EQ(static_cast<double>(v), value);
    }
}

// A refused text gives its reason and leaves the value alone.
template <class T>
void ExpectRefused(int (*read)(std::string_view, T&), int reason, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        T v = T(77);
        EXPECT_EQ(read(text, v), reason);
        EXPECT_EQ(v, T(77));
    }
}

}  // namespace

TEST(InputRules, ReadingsOfAStep) {
    // Lactate from 0 to 30 mmol/l, truncated to tenths.
    ExpectTaken(ReadLactate, {{"4,25", 42}, {" 4.3 ", 43}, {"30", 300}, {"0", 0}});
    ExpectRefused(ReadLactate, IDS_IN_NOT_A_NUMBER, {"abc", "", "4,2x", "4,,2"});
    ExpectRefused(ReadLactate, IDS_IN_LACTATE_RANGE, {"45", "30,1", "-0,5"});
    // Heart rate a whole number up to 250; empty is none measured.
    ExpectTaken(ReadHeartRate, {{" 150 ", 150}, {"250", 250}, {"", 0}});
    ExpectRefused(ReadHeartRate, IDS_IN_HEART_RATE_RANGE, {"251"});
    ExpectRefused(ReadHeartRate, IDS_IN_NOT_A_WHOLE_NUMBER, {"150x", "150,5", "Puls", "-80"});
    // A step's duration in a table cell: minutes and seconds from 00:01 to 59:59.
    ExpectTaken(ReadCellDuration, {{"01:40", 100}, {"2:13", 133}, {"00:01", 1}, {"59:59", 3599}});
    ExpectRefused(ReadCellDuration, IDS_IN_CELL_DURATION,
                  {"00:00", "99:99", "60:00", "01:60", "100:00", "3 min", "140", "1:4", "01:400", ":40", ""});
    ExpectTaken(ReadLoad, {{"14,4", 14.4}, {"0", 0}});
    ExpectRefused(ReadLoad, IDS_IN_LOAD_NEGATIVE, {"-3"});
    ExpectRefused(ReadLoad, IDS_IN_NOT_A_NUMBER, {"schnell", ""});
}

TEST(InputRules, TestParameters) {
    // Step duration as the field shows it or in seconds as typed before, from 10 s to 10 min.
    ExpectTaken(ReadStepDuration, {{"03:00", 180}, {"185", 185}, {"0:10", 10}, {"10:00", 600}, {"600", 600}});
    ExpectRefused(ReadStepDuration, IDS_IN_STEP_DURATION_RANGE,
                  {"99:99", "00:00", "10:01", "00:09", "5", "700", "9", "0", "abc", "", "3 min", "-30"});
    // Track length in whole metres from 100 to 10000, also as "%5.0f" shows it.
    ExpectTaken(ReadTrackLength, {{"  400", 400}, {"10000", 10000}, {"100", 100}});
    ExpectRefused(ReadTrackLength, IDS_IN_TRACK_RANGE, {"99", "10001"});
    ExpectRefused(ReadTrackLength, IDS_IN_NOT_A_WHOLE_NUMBER, {"400,5", "Bahn"});
    // Start value and increment.
    ExpectTaken(ReadLoadParameter, {{"8,0", 8}});
    ExpectRefused(ReadLoadParameter, IDS_IN_NOT_A_NUMBER, {"abc"});
    ExpectRefused(ReadLoadParameter, IDS_IN_NEGATIVE, {"-1"});
}

TEST(InputRules, AthleteMeasuresAreEmptyOrPlausible) {
    ExpectTaken(ReadHeight, {{"180,6", 180.6}, {"", 0}, {"0", 0}});
    ExpectRefused(ReadHeight, IDS_IN_HEIGHT_RANGE, {"1,80", "251"});  // metres typed for centimetres
    ExpectRefused(ReadHeight, IDS_IN_NOT_A_NUMBER, {"1a80"});
    ExpectTaken(ReadWeight, {{"72,5", 72.5}});
    ExpectRefused(ReadWeight, IDS_IN_WEIGHT_RANGE, {"19", "301"});
    for (const char* text : {"12345", " 01067 ", ""}) EXPECT_EQ(CheckPostCode(text), InputOk) << text;
    for (const char* text : {"1234A", "Berlin"}) EXPECT_EQ(CheckPostCode(text), IDS_IN_POST_CODE) << text;
    EXPECT_EQ(CheckNames("Anna", "Meier"), InputOk);
    EXPECT_EQ(CheckNames("Anna", ""), IDS_IN_NAMES_REQUIRED);
    EXPECT_EQ(CheckNames("  ", "Meier"), IDS_IN_NAMES_REQUIRED);
}

TEST(InputRules, TypedDatesWithAndWithoutDots) {
    // Two-digit years: the latest such year that is not after the current one (2026). Leap days: 2000
    // has one, 1900 and 2023 have none.
    const std::pair<const char*, int> taken[] = {
        {"14.07.1994", 19940714}, {"14071994", 19940714}, {"1.2.2003", 20030201},  {"14.7.94", 19940714},
        {"140726", 20260714},     {"140727", 19270714},   {"29.02.2000", 20000229}};
    int y = 0, m = 0, d = 0;
    for (const auto& [text, expected] : taken) {
        ASSERT_TRUE(ParseTypedDate(text, 2026, y, m, d)) << text;
        EXPECT_EQ(y * 10000 + m * 100 + d, expected) << text;
    }
    for (const char* text : {"29.02.1900", "29022023", "31.04.2020", "00.01.2000", "14.13.1994", "14-07-1994",
                             "1407199", "14.07.", "14.07.199", "14.07.19940", "147.1.1994", "14..1994", "", "heute"})
        EXPECT_FALSE(ParseTypedDate(text, 2026, y, m, d)) << text;
}

TEST(InputRules, EnglishDatesWithSlashesToo) {
    const LangScope english(Lang::en);
    int y = 0, m = 0, d = 0;
    for (const char* text : {"14/07/1994", "14.07.1994", "14071994"}) {
        ASSERT_TRUE(ParseTypedDate(text, 2026, y, m, d)) << text;
        EXPECT_EQ(y * 10000 + m * 100 + d, 19940714) << text;
    }
    for (const char* text : {"14/07.1994", "07/32/1994", "14/13/1994"})
        EXPECT_FALSE(ParseTypedDate(text, 2026, y, m, d)) << text;
    EXPECT_TRUE(IsPartialDate("14/07"));
    EXPECT_EQ(BirthDateText(COleDateTime(36585.0)), "29/02/2000");
}

TEST(InputRules, BirthDateEmptyMeansNotEnteredAndIsKeptAsDayZero) {
    const COleDateTime today = COleDateTime::FromParts(2026, 12, 6, 10, 0, 0);
    COleDateTime date(123.0);
    EXPECT_EQ(ReadBirthDate("14.07.1994", today, date), InputOk);
    // 34529 days from 30.12.1899 to 14.07.1994.
    EXPECT_EQ(std::tuple(date.m_dt, date.IsValid(), BirthDateText(date)), std::tuple(34529.0, true, "14.07.1994"));
    EXPECT_EQ(ReadBirthDate("  ", today, date), InputOk);
    EXPECT_EQ(std::tuple(date.m_dt, date.IsValid(), BirthDateText(date)), std::tuple(0.0, true, ""));
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
    for (const char* t : {"", "01067"}) EXPECT_TRUE(IsPartialWholeNumber(t)) << t;
    for (const char* t : {"0106A", "1,5"}) EXPECT_FALSE(IsPartialWholeNumber(t)) << t;
    for (const char* t : {"", "14", "14.", "14.07.1994", "14071994"}) EXPECT_TRUE(IsPartialDate(t)) << t;
    for (const char* t : {"14.07.1994.", "14/07", "140719941", "14.07.19941"}) EXPECT_FALSE(IsPartialDate(t)) << t;
    for (const char* t : {"", "3", "03:", "03:00", "185"}) EXPECT_TRUE(IsPartialDuration(t)) << t;
    for (const char* t : {"03:00:", "3 min", "003:000"}) EXPECT_FALSE(IsPartialDuration(t)) << t;
}
