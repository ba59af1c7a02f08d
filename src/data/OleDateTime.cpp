#include "data/OleDateTime.h"

#include "res/Strings.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace trv {

namespace {
// Days from 1970-01-01 of a civil date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}
const int64_t kOleEpochFromUnix = DaysFromCivil(1899, 12, 30);  // -25569

int DaysInMonth(int y, int m) {
    static const int k[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return k[m - 1];
}
}  // namespace

int64_t CivilToOleDays(int year, int month, int day) {
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kOleEpochFromUnix;
}

void OleDaysToCivil(int64_t days, int& year, int& month, int& day) {
    CivilFromDays(days + kOleEpochFromUnix, year, month, day);
}

COleDateTime COleDateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return COleDateTime(0.0, invalid);
    const double days = static_cast<double>(CivilToOleDays(year, month, day));
    const double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
    return COleDateTime(days >= 0 ? days + frac : days - frac, valid);
}

COleDateTime COleDateTime::Now() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return FromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

bool COleDateTime::GetParts(DateParts& p) const {
    if (m_status != valid || !std::isfinite(m_dt) || std::fabs(m_dt) > 3e6) return false;
    const double whole = std::trunc(m_dt);
    int64_t days = static_cast<int64_t>(whole);
    int64_t secs = std::llround(std::fabs(m_dt - whole) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        days += 1;
    }
    OleDaysToCivil(days, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return true;
}

std::string COleDateTime::FormatDate() const {
    DateParts p;
    if (!GetParts(p)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, CurrentLang() == Lang::en ? "%02d/%02d/%04d" : "%02d.%02d.%04d", p.day, p.month,
                  p.year);
    return buf;
}

std::string COleDateTime::FormatTime() const {
    DateParts p;
    if (!GetParts(p)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    return buf;
}

std::string COleDateTime::FormatIso() const {
    DateParts p;
    if (!GetParts(p)) return {};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
    return buf;
}

bool LocalToCompactTime(const COleDateTime& t, uint32_t& seconds) {
    DateParts p;
    if (!t.GetParts(p) || p.year < 1900) return false;
    // The system's conversion is slow (it looks at the zone file every time), and documents hold many
    // readings of the same hour: convert the start of the hour once and add minutes and seconds.
    // Daylight saving time changes on whole hours, so this is the same result.
    struct HourCache {
        int year = 0, month = 0, day = 0, hour = -1;
        std::time_t start = 0;
    };
    thread_local HourCache cache;
    if (cache.year != p.year || cache.month != p.month || cache.day != p.day || cache.hour != p.hour) {
        std::tm tm{};
        tm.tm_year = p.year - 1900;
        tm.tm_mon = p.month - 1;
        tm.tm_mday = p.day;
        tm.tm_hour = p.hour;
        tm.tm_isdst = -1;
        cache = HourCache{p.year, p.month, p.day, p.hour, std::mktime(&tm)};
    }
    const std::time_t r = cache.start + p.minute * 60 + p.second;
    if (cache.start == static_cast<std::time_t>(-1) || r < 0 || r > static_cast<std::time_t>(UINT32_MAX)) return false;
    seconds = static_cast<uint32_t>(r);
    return true;
}

COleDateTime CompactTimeToLocal(uint32_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return COleDateTime(0.0, COleDateTime::invalid);
    return COleDateTime::FromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

}  // namespace trv
