#pragma once
// The zones of one test handed on to the tools athletes train with:
// - GoldenCheetah's zone files in the athlete's config folder: "power.zones" (tests in W),
//   "hr.zones" (tests with heart rates) and "run-pace.zones" (tests in km/h or m/s). Each gets a
//   range starting at the test's date; an existing file keeps every other range, comment and line
//   byte for byte, and a file that GoldenCheetah could not read is never overwritten.
// - intervals.icu: the sport settings as a JSON object (ftp, lthr, max_hr, threshold_pace,
//   power_zones, hr_zones, pace_zones and their *_zone_names).
// The zones are those of TestThresholds (its zone model); the anchor loads come from its zoneModel.
#include "analysis/ThresholdMethods.h"

#include <string>
#include <vector>

namespace trv {

struct TestDataType;

// The highest heart rate of the test's ticked readings; none without any.
std::optional<int> HighestHeartRate(const TestDataType& test);

// The range of a test for each zone file: a header line "yyyy/MM/dd: ..." and its lines, ending with
// an empty line. "" when the file does not apply to the test (no power, no heart rate, no speed) or
// its anchor is missing.
std::string GcPowerRange(const TestDataType& test, const TestThresholds& r);
std::string GcHrRange(const TestDataType& test, const TestThresholds& r);
std::string GcPaceRange(const TestDataType& test, const TestThresholds& r);

// Puts `range` (as above) into the text of a zone file: replaces the range that starts on the same
// date, or inserts it before the first later range (and the comments just above it), or appends it.
// Every other byte stays. False, with the 1-based number of the first line GoldenCheetah could not
// read, when `existing` is damaged.
bool MergeGcRange(const std::string& existing, const std::string& range, std::string& merged, int& badLine);

struct GcExportResult {
    bool ok = false;
    std::string message;             // German: the error, or what was written
    std::vector<std::string> files;  // the files written
    std::vector<std::string> notes;  // German: files left out and why
};

// Writes the applicable zone files of the test into `dir` (which must exist). Every file is checked
// before the first is written; each is written safely (a complete new file or the old one).
GcExportResult WriteGoldenCheetahZones(const std::string& dir, const TestDataType& test, const TestThresholds& r);

// The intervals.icu sport settings of the test's zones (one line of JSON, UTF-8).
std::string IntervalsIcuJson(const TestDataType& test, const TestThresholds& r);

// A number for a file or JSON: decimal point, at most `decimals` decimals, no trailing zeros.
std::string PlainNumber(double v, int decimals);

}  // namespace trv
