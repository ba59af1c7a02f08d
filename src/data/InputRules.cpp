#include "data/InputRules.h"

#include "res/Strings.h"

#include "data/ManualTest.h"
#include "res/Format.h"

#include <cctype>
#include <cmath>

namespace trv {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s) {
    for (char c : s)
        if (!IsDigit(c)) return false;
    return !s.empty();
}

// Digits only, at most `maxDigits` of them.
bool ReadDigits(std::string_view s, size_t maxDigits, int& value) {
    if (!AllDigits(s) || s.size() > maxDigits) return false;
    value = 0;
    for (char c : s) value = value * 10 + (c - '0');
    return true;
}

// A whole number as a whole: optional blanks around, no sign, no fraction.
bool ReadWhole(std::string_view text, long& value) {
    const std::string_view t = Trim(text);
    if (!AllDigits(t) || t.size() > 9) return false;
    value = 0;
    for (char c : t) value = value * 10 + (c - '0');
    return true;
}

// "m:ss" or "mm:ss"; the seconds below 60.
bool ReadMinutesSeconds(std::string_view text, int& seconds) {
    const std::string_view t = Trim(text);
    const size_t colon = t.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || t.size() != colon + 3) return false;
    int minutes = 0, secs = 0;
    if (!ReadDigits(t.substr(0, colon), 2, minutes) || !ReadDigits(t.substr(colon + 1), 2, secs) || secs >= 60)
        return false;
    seconds = minutes * 60 + secs;
    return true;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// A number from 0 (or empty: not entered) or within [lo, hi].
int ReadOptionalMeasure(std::string_view text, double lo, double hi, int rangeReason, double& value) {
    if (Trim(text).empty()) {
        value = 0.0;
        return InputOk;
    }
    double v = 0.0;
    if (!ParseDecimal(text, v) || !std::isfinite(v)) return IDS_IN_NOT_A_NUMBER;
    if (v != 0.0 && (v < lo || v > hi)) return rangeReason;
    value = v;
    return InputOk;
}

}  // namespace

int ReadLactate(std::string_view text, uint16_t& tenths) {
    double v = 0.0;
    if (!ParseDecimal(text, v) || !std::isfinite(v)) return IDS_IN_NOT_A_NUMBER;
    // An import asks about such values for a whole table; a single cell simply refuses them.
    if (v < 0.0 || v > kLactateQuestionAbove) return IDS_IN_LACTATE_RANGE;
    // Tenths, truncated; the small allowance keeps 4,3 (42.99999... tenths in binary) at 43.
    tenths = static_cast<uint16_t>(std::floor(v * 10.0 + 1e-9));
    return InputOk;
}

int ReadHeartRate(std::string_view text, int32_t& bpm) {
    if (Trim(text).empty()) {
        bpm = 0;
        return InputOk;
    }
    long v = 0;
    if (!ReadWhole(text, v)) return IDS_IN_NOT_A_WHOLE_NUMBER;
    if (v > kHeartRateQuestionAbove) return IDS_IN_HEART_RATE_RANGE;
    bpm = static_cast<int32_t>(v);
    return InputOk;
}

int ReadCellDuration(std::string_view text, int& seconds) {
    int s = 0;
    if (!ReadMinutesSeconds(text, s) || s <= 0 || s > 59 * 60 + 59) return IDS_IN_CELL_DURATION;
    seconds = s;
    return InputOk;
}

int ReadLoad(std::string_view text, double& value) {
    double v = 0.0;
    if (!ParseDecimal(text, v) || !std::isfinite(v)) return IDS_IN_NOT_A_NUMBER;
    if (v < 0.0) return IDS_IN_LOAD_NEGATIVE;
    value = v;
    return InputOk;
}

int ReadStepDuration(std::string_view text, int& seconds) {
    int s = 0;
    long plain = 0;
    if (Trim(text).find(':') != std::string_view::npos) {
        if (!ReadMinutesSeconds(text, s)) return IDS_IN_STEP_DURATION_RANGE;
    } else if (ReadWhole(text, plain)) {
        if (plain > 600) return IDS_IN_STEP_DURATION_RANGE;
        s = static_cast<int>(plain);
    } else {
        return IDS_IN_STEP_DURATION_RANGE;
    }
    if (s < 10 || s > 600) return IDS_IN_STEP_DURATION_RANGE;
    seconds = s;
    return InputOk;
}

int ReadTrackLength(std::string_view text, double& metres) {
    long v = 0;
    if (!ReadWhole(text, v)) return IDS_IN_NOT_A_WHOLE_NUMBER;
    if (v < 100 || v > 10000) return IDS_IN_TRACK_RANGE;
    metres = static_cast<double>(v);
    return InputOk;
}

int ReadLoadParameter(std::string_view text, double& value) {
    double v = 0.0;
    if (!ParseDecimal(text, v) || !std::isfinite(v)) return IDS_IN_NOT_A_NUMBER;
    if (v < 0.0) return IDS_IN_NEGATIVE;
    value = v;
    return InputOk;
}

int ReadHeight(std::string_view text, double& cm) {
    return ReadOptionalMeasure(text, 50.0, 250.0, IDS_IN_HEIGHT_RANGE, cm);
}

int ReadWeight(std::string_view text, double& kg) {
    return ReadOptionalMeasure(text, 20.0, 300.0, IDS_IN_WEIGHT_RANGE, kg);
}

int CheckPostCode(std::string_view text) {
    const std::string_view t = Trim(text);
    return t.empty() || AllDigits(t) ? InputOk : IDS_IN_POST_CODE;
}

int CheckNames(std::string_view first, std::string_view last) {
    return Trim(first).empty() || Trim(last).empty() ? IDS_IN_NAMES_REQUIRED : InputOk;
}

bool ParseTypedDate(std::string_view text, int currentYear, int& year, int& month, int& day) {
    const std::string_view t = Trim(text);
    std::string_view d, m, y;
    // "dd.mm.yyyy" as German writes it; in English also "dd/mm/yyyy" as British English does.
    const size_t dot1 = t.find_first_of(CurrentLang() == Lang::en ? "./" : ".");
    if (dot1 != std::string_view::npos) {
        const size_t dot2 = t.find(t[dot1], dot1 + 1);
        if (dot2 == std::string_view::npos) return false;
        d = t.substr(0, dot1);
        m = t.substr(dot1 + 1, dot2 - dot1 - 1);
        y = t.substr(dot2 + 1);
        if (d.empty() || d.size() > 2 || m.empty() || m.size() > 2) return false;
    } else if (t.size() == 8 || t.size() == 6) {
        d = t.substr(0, 2);
        m = t.substr(2, 2);
        y = t.substr(4);
    } else {
        return false;
    }
    int dd = 0, mm = 0, yy = 0;
    if (!ReadDigits(d, 2, dd) || !ReadDigits(m, 2, mm) || !ReadDigits(y, 4, yy)) return false;
    if (y.size() == 2) {
        const int century = currentYear - currentYear % 100;
        yy += century;
        if (yy > currentYear) yy -= 100;
    } else if (y.size() != 4) {
        return false;
    }
    if (mm < 1 || mm > 12 || dd < 1 || dd > DaysInMonth(yy, mm)) return false;
    year = yy;
    month = mm;
    day = dd;
    return true;
}

int ReadBirthDate(std::string_view text, const COleDateTime& today, COleDateTime& date) {
    if (Trim(text).empty()) {
        date = COleDateTime(0.0);
        return InputOk;
    }
    DateParts now;
    if (!today.GetParts(now)) now.year = 9999;
    int y = 0, m = 0, d = 0;
    if (!ParseTypedDate(text, now.year, y, m, d) || y < 1800) return IDS_IN_DATE_FORM;
    if (CivilToOleDays(y, m, d) > CivilToOleDays(now.year, now.month, now.day)) return IDS_IN_DATE_FUTURE;
    date = COleDateTime::FromParts(y, m, d, 0, 0, 0);
    return InputOk;
}

std::string BirthDateText(const COleDateTime& date) {
    if (!date.IsValid() || date.m_dt == 0.0) return {};
    return date.FormatDate();
}

bool IsPartialDecimal(std::string_view text) {
    int separators = 0;
    for (char c : text) {
        if (c == ',' || c == '.')
            ++separators;
        else if (!IsDigit(c))
            return false;
    }
    return separators <= 1;
}

bool IsPartialWholeNumber(std::string_view text) { return text.empty() || AllDigits(text); }

bool IsPartialDate(std::string_view text) {
    int dots = 0;
    for (char c : text) {
        if (c == '.' || (c == '/' && CurrentLang() == Lang::en))
            ++dots;
        else if (!IsDigit(c))
            return false;
    }
    return dots <= 2 && text.size() <= (dots == 0 ? 8u : 10u);
}

bool IsPartialDuration(std::string_view text) {
    int colons = 0;
    for (char c : text) {
        if (c == ':')
            ++colons;
        else if (!IsDigit(c))
            return false;
    }
    return colons <= 1 && text.size() <= 5;
}

}  // namespace trv
