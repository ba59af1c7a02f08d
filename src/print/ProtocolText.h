#pragma once
// The texts of the printed protocol, as UTF-8 strings with "\n" line breaks and "\t" tabs.
// The painting expands the tabs and wraps the lines inside each box.
#include "analysis/TestAnalysis.h"
#include "data/OleDateTime.h"
#include "data/Records.h"

#include <string>

namespace trv {

class CTRVDoc;

// Header band: "<first name> <last name>\nProtokoll vom <date>".
std::string ProtocolHeaderText(const UserDataType& user, const COleDateTime& today);

// Footer: the contact lines followed by "\nSeite <page> / 2".
std::string ProtocolFooterText(int page);

// Athlete box body: name, address, contact, birth date, weight, height and sex.
std::string AthleteText(const UserDataType& user);

// Analyser box body: device ID and firmware version.
std::string AnalyserText(const CTRVDoc& doc);

// Test box title, e.g. "Test 1  (Laufband)\n"; `slot` 0 for the first shown test, 1 for the second.
std::string TestTitleText(int slot, const TestDataType& test);

// Test box body above the results: date and time of the first measurement, threshold model and
// fitting function (from `choice`) and, for a field test, the track length.
std::string TestInfoText(const TestDataType& test, const TestAnalysis& choice);

// Names of a threshold model and a fitting function ("" for unknown codes).
const char* ThresholdModelName(int model);
const char* FitFunctionName(int fit);

}  // namespace trv
