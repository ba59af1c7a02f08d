#pragma once
// A date-time as the analyser's documents keep it: days since 1899-12-30 00:00 as a double
// (the fraction is the time of day) plus a status. Days before 1899-12-30 are negative; their
// fraction still counts forward from midnight (-1.25 is 29.12.1899 06:00).
#include <cstdint>
#include <string>

namespace trv {

struct DateParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

struct COleDateTime {
    enum Status : int32_t { valid = 0, invalid = 1, null = 2 };

    double m_dt = 0.0;
    int32_t m_status = valid;

    COleDateTime() = default;
    COleDateTime(double dt, int32_t status = valid) : m_dt(dt), m_status(status) {}

    // From calendar fields (local time). Out-of-range fields give an invalid value.
    static COleDateTime FromParts(int year, int month, int day, int hour, int minute, int second);
    static COleDateTime FromParts(const DateParts& p) {
        return FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
    }
    // The current local time, to the second.
    static COleDateTime Now();

    bool IsValid() const { return m_status == valid; }
    // Calendar fields, rounded to the nearest second. False for a value that is not valid or out of range.
    bool GetParts(DateParts& p) const;

    // "dd.MM.yyyy" (in English "dd/MM/yyyy", CurrentLang()) and "hh:mm:ss"; "" when not valid.
    std::string FormatDate() const;
    std::string FormatTime() const;
    // "YYYY-MM-DDTHH:MM:SS"; "" when not valid.
    std::string FormatIso() const;

    bool operator==(const COleDateTime&) const = default;
};

// Seconds since 1970 (UTC) of a local date-time, as the document file's compact time.
// False when the date lies outside 1900.. or the count does not fit 32 bits unsigned.
bool LocalToCompactTime(const COleDateTime& t, uint32_t& seconds);
// The local date-time of a compact time (daylight saving time as the system decides for that date).
COleDateTime CompactTimeToLocal(uint32_t seconds);

// Day number of a civil date relative to 1899-12-30 (proleptic Gregorian).
int64_t CivilToOleDays(int year, int month, int day);
void OleDaysToCivil(int64_t days, int& year, int& month, int& day);

}  // namespace trv
