#pragma once
// What a typed value may be before it goes into a record: the cells of the measurement list and the
// fields of the two dialogs read their text here. A refused text leaves the record as it was and
// comes back with the string-table id of the German reason, for the window to show.
#include "data/OleDateTime.h"
#include "res/StringIds.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace trv {

// Reasons are string-table ids (IDS_IN_...); InputOk when the text was taken. IDS_IN_START_ZERO is
// not a refusal but the question a window asks before it takes a start value of 0.
constexpr int InputOk = 0;

// Measurement cells. Lactate: a number from 0 to 30 mmol/l, stored in tenths (truncated). Heart rate:
// a whole number from 0 to 250; an empty text is 0 (none measured). Step duration: "m:ss" or "mm:ss"
// from 00:01 to 59:59. Load: a number, not negative, in the unit shown.
int ReadLactate(std::string_view text, uint16_t& tenths);
int ReadHeartRate(std::string_view text, int32_t& bpm);
int ReadCellDuration(std::string_view text, int& seconds);
int ReadLoad(std::string_view text, double& value);

// Test-parameter fields. The step duration as shown ("03:00") or in seconds ("185"), from 10 s to
// 10 min; the track length in whole metres from 100 to 10000; start value and increment as numbers,
// not negative, in the unit shown.
int ReadStepDuration(std::string_view text, int& seconds);
int ReadTrackLength(std::string_view text, double& metres);
int ReadLoadParameter(std::string_view text, double& value);

// Athlete fields. Height (cm) and weight (kg): empty or 0 for "not entered", else 50..250 cm and
// 20..300 kg. Post code: digits only (empty allowed). First and last name: both required.
int ReadHeight(std::string_view text, double& cm);
int ReadWeight(std::string_view text, double& kg);
int CheckPostCode(std::string_view text);
int CheckNames(std::string_view first, std::string_view last);

// A typed date: "14.07.1994", "14.7.94", "14071994" or "140794". A two-digit year is the latest year
// with those digits that is not after `currentYear`. False for any other form or a day that does
// not exist.
bool ParseTypedDate(std::string_view text, int currentYear, int& year, int& month, int& day);

// The birth date as typed: empty for "not entered" (stored as day 0, 30.12.1899, as documents have
// always kept it); otherwise a date that is not after `today`.
int ReadBirthDate(std::string_view text, const COleDateTime& today, COleDateTime& date);
// What the birth-date field shows: "" for day 0 and for a date that is not valid, else "dd.MM.yyyy".
std::string BirthDateText(const COleDateTime& date);

// Whether a text being typed can still become a valid entry (the fields refuse other keys):
// decimal numbers (digits, one comma or point), whole numbers, dates (digits and dots), durations
// (digits and one colon).
bool IsPartialDecimal(std::string_view text);
bool IsPartialWholeNumber(std::string_view text);
bool IsPartialDate(std::string_view text);
bool IsPartialDuration(std::string_view text);

}  // namespace trv
