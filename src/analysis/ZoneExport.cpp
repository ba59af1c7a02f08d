#include "analysis/ZoneExport.h"

#include "analysis/History.h"
#include "data/Records.h"
#include "data/SafeFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <regex>
#include <tuple>

namespace trv {

namespace {

// "yyyy/MM/dd" of the test's first reading; "" without a valid date.
std::string GcDate(const TestDataType& test) {
    DateParts p;
    if (!HistoryDate(test).GetParts(p)) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", p.year, p.month, p.day);
    return buf;
}

// A name or description as a zone line can hold it: no comma, no comment sign, no line break, not
// starting with a blank.
std::string GcText(std::string s, const std::string& fallback) {
    for (char& c : s)
        if (c == ',' || c == '#' || c == '\n' || c == '\r' || c == '\t') c = ' ';
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return fallback;
    s.erase(0, first);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string Rounded(double v) { return PlainNumber(std::round(v), 0); }

// The zone lines "name,desc,lo" with lo from `low(zone)` for every zone but the first (0); "" when
// a lower bound is missing.
template <typename Low>
std::string ZoneLines(const TestThresholds& r, Low low) {
    std::string out;
    for (size_t i = 0; i < r.zones.size(); ++i) {
        const ZoneResult& z = r.zones[i];
        std::string lo = "0";
        if (i > 0) {
            const std::optional<std::string> v = low(z);
            if (!v) return {};
            lo = *v;
        }
        out += GcText(z.code, "Z" + std::to_string(i + 1)) + "," + GcText(z.name, z.code) + "," + lo + "\n";
    }
    return out;
}

constexpr size_t kMaxLine = 1000;

// A classified line of a zone file.
enum class LineKind { Blank, Comment, Defaults, Range, Setting, Zone, Bad };

struct Line {
    std::string text;  // with its line end
    LineKind kind = LineKind::Bad;
    std::tuple<int, int, int> date{0, 0, 0};  // of a range; BEGIN is 0/0/0
};

const std::regex& DefaultsRx() {
    static const std::regex rx(R"(^\s*(?:zone)?\s*defaults?\s*:?\s*$)", std::regex::icase);
    return rx;
}
const std::regex& RangeRx() {
    static const std::regex rx(R"(^\s*(?:from\s+)?(?:(\d{4})[-/](\d{1,2})[-/](\d{1,2})|BEGIN)(.*)$)",
                               std::regex::icase);
    return rx;
}
const std::regex& RangeTailRx() {
    static const std::regex rx(
        R"(^(?:\s+(?:until|to|-)\s+(?:\d{4}[-/]\d{1,2}[-/]\d{1,2}|END)?)?\s*[,:]?\s*(?:[A-Za-z']+\s*=\s*[\d.]+\s*[,:]?\s*)*:?\s*$)",
        std::regex::icase);
    return rx;
}
const std::regex& SettingRx() {
    static const std::regex rx(R"(^\s*[A-Za-z']+\s*=\s*[\d.]+\s*$)");
    return rx;
}
const std::regex& ZoneRx() {
    static const std::regex rx(R"(^\s*[^ ,][^,]*,\s*[^ ,][^,]*,\s*[\d.]+\s*%?\s*(?:,\s*(?:[\d.]+|MAX)\s*%?\s*)?$)",
                               std::regex::icase);
    return rx;
}

bool ValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == 0) return false;
        const size_t more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (more == 9 || i + more >= s.size() + (more == 0 ? 1 : 0)) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += more + 1;
    }
    return true;
}

Line Classify(const std::string& raw) {
    Line l;
    l.text = raw;
    // No zone file has lines this long; the patterns below need not see them.
    if (raw.size() > kMaxLine) return l;
    std::string s = raw;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    const size_t hash = s.find('#');
    const bool hasComment = hash != std::string::npos;
    if (hasComment) s.erase(hash);
    if (s.find_first_not_of(" \t") == std::string::npos) {
        l.kind = hasComment ? LineKind::Comment : LineKind::Blank;
        return l;
    }
    std::smatch m;
    if (std::regex_match(s, DefaultsRx())) {
        l.kind = LineKind::Defaults;
    } else if (std::regex_match(s, m, RangeRx()) && std::regex_match(m[4].str(), RangeTailRx())) {
        l.kind = LineKind::Range;
        if (m[1].matched) {
            const int y = std::stoi(m[1].str()), mo = std::stoi(m[2].str()), d = std::stoi(m[3].str());
            if (mo < 1 || mo > 12 || d < 1 || d > 31) return l.kind = LineKind::Bad, l;
            l.date = {y, mo, d};
        }
    } else if (std::regex_match(s, SettingRx())) {
        l.kind = LineKind::Setting;
    } else if (std::regex_match(s, ZoneRx())) {
        l.kind = LineKind::Zone;
    }
    return l;
}

std::tuple<int, int, int> DateOf(const std::string& range) {
    const Line l = Classify(range.substr(0, range.find('\n')));
    return l.date;
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

template <typename T, typename F>
std::string JsonArray(const std::vector<T>& v, F item) {
    std::string out = "[";
    for (size_t i = 0; i < v.size(); ++i) out += (i ? "," : "") + item(v[i]);
    return out + "]";
}

}  // namespace

std::string PlainNumber(double v, int decimals) {
    if (!std::isfinite(v)) return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::optional<int> HighestHeartRate(const TestDataType& test) {
    int best = 0;
    for (const PCMDataType& m : test.m_Steps)
        if (m.m_bChecked && m.m_nHeartRate > best) best = m.m_nHeartRate;
    return best > 0 ? std::optional<int>(best) : std::nullopt;
}

std::string GcPowerRange(const TestDataType& test, const TestThresholds& r) {
    const std::string date = GcDate(test);
    const ZoneModelOutcome& o = r.zoneModel;
    if (date.empty() || r.loadUnit != UnitWatt || r.zones.empty() || !o.lt2.load) return {};
    const std::string zones = ZoneLines(
        r, [](const ZoneResult& z) { return z.loadFrom ? std::optional(Rounded(*z.loadFrom)) : std::nullopt; });
    if (zones.empty()) return {};
    const std::string cp = Rounded(*o.lt2.load);
    std::string out = date + ": CP=" + cp + "\n";
    if (o.lt1.load) out += "AeT=" + Rounded(*o.lt1.load) + "\n";
    out += "FTP=" + cp + "\n";
    return out + zones + "\n";
}

std::string GcHrRange(const TestDataType& test, const TestThresholds& r) {
    const std::string date = GcDate(test);
    const ZoneModelOutcome& o = r.zoneModel;
    if (date.empty() || r.zones.empty() || !o.lt2.heartRate || !(*o.lt2.heartRate > 0.0)) return {};
    const std::string zones = ZoneLines(r, [](const ZoneResult& z) {
        return z.heartRateFrom ? std::optional(Rounded(*z.heartRateFrom)) : std::nullopt;
    });
    if (zones.empty()) return {};
    std::string out = date + ": LT=" + Rounded(*o.lt2.heartRate);
    if (const std::optional<int> max = HighestHeartRate(test)) out += ", MaxHr=" + std::to_string(*max);
    if (o.lt1.heartRate && *o.lt1.heartRate > 0.0) out += ", AeT=" + Rounded(*o.lt1.heartRate);
    return out + "\n" + zones + "\n";
}

std::string GcPaceRange(const TestDataType& test, const TestThresholds& r) {
    const std::string date = GcDate(test);
    const ZoneModelOutcome& o = r.zoneModel;
    if (date.empty() || r.loadUnit == UnitWatt || r.zones.empty() || !o.lt2.load) return {};
    auto kmh = [](double ms) { return PlainNumber(ms * 3.6, 2); };
    const std::string zones =
        ZoneLines(r, [&](const ZoneResult& z) { return z.loadFrom ? std::optional(kmh(*z.loadFrom)) : std::nullopt; });
    if (zones.empty()) return {};
    std::string out = date + ": CV=" + kmh(*o.lt2.load) + "\n";
    if (o.lt1.load) out += "AeT=" + kmh(*o.lt1.load) + "\n";
    return out + zones + "\n";
}

bool MergeGcRange(const std::string& existing, const std::string& range, std::string& merged, int& badLine) {
    badLine = 0;
    std::vector<Line> lines;
    bool seenRangeOrDefaults = false;
    for (size_t pos = 0; pos < existing.size();) {
        size_t end = existing.find('\n', pos);
        end = end == std::string::npos ? existing.size() : end + 1;
        Line l = Classify(existing.substr(pos, end - pos));
        const int number = static_cast<int>(lines.size()) + 1;
        if (!ValidUtf8(l.text) || l.kind == LineKind::Bad) badLine = number;
        if (l.kind == LineKind::Range || l.kind == LineKind::Defaults) seenRangeOrDefaults = true;
        // A zone line before any range: GoldenCheetah refuses the whole file.
        if ((l.kind == LineKind::Zone || l.kind == LineKind::Setting) && !seenRangeOrDefaults) badLine = number;
        if (badLine) return false;
        lines.push_back(std::move(l));
        pos = end;
    }
    const bool crlf = existing.find("\r\n") != std::string::npos;
    std::string block = range;
    if (crlf) {
        block.clear();
        for (char c : range) block += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const auto date = DateOf(range);
    auto join = [&](size_t from, size_t to) {
        std::string s;
        for (size_t i = from; i < to; ++i) s += lines[i].text;
        return s;
    };
    for (size_t h = 0; h < lines.size(); ++h) {
        if (lines[h].kind != LineKind::Range || lines[h].date != date) continue;
        size_t end = h + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Range && lines[end].kind != LineKind::Defaults &&
               lines[end].kind != LineKind::Comment)
            ++end;
        merged = join(0, h) + block + join(end, lines.size());
        return true;
    }
    for (size_t h = 0; h < lines.size(); ++h) {
        if (lines[h].kind != LineKind::Range || !(lines[h].date > date)) continue;
        size_t at = h;
        while (at > 0 && lines[at - 1].kind == LineKind::Comment) --at;
        merged = join(0, at) + block + join(at, lines.size());
        return true;
    }
    merged = existing;
    const std::string eol = crlf ? "\r\n" : "\n";
    if (!merged.empty() && merged.back() != '\n') merged += eol;
    if (!lines.empty() && lines.back().kind != LineKind::Blank) merged += eol;
    merged += block;
    return true;
}

GcExportResult WriteGoldenCheetahZones(const std::string& dir, const TestDataType& test, const TestThresholds& r) {
    namespace fs = std::filesystem;
    GcExportResult res;
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(fs::path(dir), ec)) {
        res.message = FmtId(IDS_GC_NO_FOLDER, dir.c_str());
        return res;
    }
    if (r.zones.empty()) {
        res.message = r.zoneModel.reason.empty() ? LoadStr(IDS_GC_NOTHING) : r.zoneModel.reason;
        return res;
    }
    if (GcDate(test).empty()) {
        res.message = LoadStr(IDS_GC_NO_DATE);
        return res;
    }
    struct File {
        std::string name, range, path, text;
    };
    std::vector<File> files;
    if (r.loadUnit == UnitWatt) files.push_back({"power.zones", GcPowerRange(test, r), {}, {}});
    files.push_back({"hr.zones", GcHrRange(test, r), {}, {}});
    if (r.loadUnit != UnitWatt) files.push_back({"run-pace.zones", GcPaceRange(test, r), {}, {}});
    if (std::all_of(files.begin(), files.end(), [](const File& f) { return f.range.empty(); })) {
        res.message = LoadStr(IDS_GC_NOTHING);
        return res;
    }
    // Check every file before writing the first.
    for (File& f : files) {
        if (f.range.empty()) {
            res.notes.push_back(LoadStr(f.name == "hr.zones" ? IDS_GC_NO_HR : IDS_GC_NOTHING));
            continue;
        }
        f.path = (fs::path(dir) / f.name).string();
        std::string existing;
        if (fs::exists(fs::path(f.path), ec)) {
            std::vector<uint8_t> bytes;
            if (const Result read = ReadWholeFile(f.path, bytes); !read) {
                res.message = FmtId(IDS_GC_WRITE_FAILED, f.path.c_str(), read.message.c_str());
                return res;
            }
            existing.assign(bytes.begin(), bytes.end());
        }
        int bad = 0;
        if (!MergeGcRange(existing, f.range, f.text, bad)) {
            res.message = FmtId(IDS_GC_DAMAGED, f.path.c_str(), bad);
            return res;
        }
    }
    for (const File& f : files) {
        if (f.range.empty()) continue;
        if (const Result written = WriteFileSafely(f.path, std::vector<uint8_t>(f.text.begin(), f.text.end()));
            !written) {
            res.message = FmtId(IDS_GC_WRITE_FAILED, f.path.c_str(), written.message.c_str());
            return res;
        }
        res.files.push_back(f.path);
    }
    std::string names;
    for (const std::string& p : res.files) names += (names.empty() ? "" : ", ") + fs::path(p).filename().string();
    res.ok = true;
    res.message = FmtId(IDS_GC_WRITTEN, GcDate(test).c_str(), names.c_str());
    return res;
}

std::string IntervalsIcuJson(const TestDataType& test, const TestThresholds& r) {
    const ZoneModelOutcome& o = r.zoneModel;
    const bool power = r.loadUnit == UnitWatt;
    std::vector<std::string> names;
    for (const ZoneResult& z : r.zones) names.push_back(z.code);
    std::string out = "{";
    out += power ? "\"types\":[\"Ride\",\"VirtualRide\"]" : "\"types\":[\"Run\"]";
    const std::optional<int> maxHr = HighestHeartRate(test);
    if (power && o.lt2.load) out += ",\"ftp\":" + Rounded(*o.lt2.load);
    if (o.lt2.heartRate) out += ",\"lthr\":" + Rounded(*o.lt2.heartRate);
    if (maxHr) out += ",\"max_hr\":" + std::to_string(*maxHr);
    if (!power && o.lt2.load) out += ",\"threshold_pace\":" + PlainNumber(*o.lt2.load, 4);
    // Load zones: upper bounds in percent of the threshold, the last one open (999).
    if (o.lt2.load && *o.lt2.load > 0.0 && !r.zones.empty()) {
        std::vector<std::string> pct;
        for (size_t i = 0; i + 1 < r.zones.size() && pct.size() == i; ++i)
            if (r.zones[i].loadTo) pct.push_back(PlainNumber(*r.zones[i].loadTo / *o.lt2.load * 100.0, 1));
        if (pct.size() + 1 == r.zones.size()) {
            pct.push_back("999");
            const std::string key = power ? "power" : "pace";
            out += ",\"" + key + "_zones\":" + JsonArray(pct, [](const std::string& s) { return s; });
            out += ",\"" + key + "_zone_names\":" + JsonArray(names, JsonString);
        }
    }
    // Heart-rate zones: upper bounds in beats per minute, the last one the highest heart rate.
    if (!r.zones.empty()) {
        std::vector<double> hr;
        for (size_t i = 0; i + 1 < r.zones.size() && hr.size() == i; ++i)
            if (r.zones[i].heartRateTo) hr.push_back(std::round(*r.zones[i].heartRateTo));
        if (hr.size() + 1 == r.zones.size()) {
            const double top = hr.empty() ? 0.0 : hr.back();
            hr.push_back(std::max(maxHr ? static_cast<double>(*maxHr) : 0.0, top + 1.0));
            out += ",\"hr_zones\":" + JsonArray(hr, [](double v) { return PlainNumber(v, 0); });
            out += ",\"hr_zone_names\":" + JsonArray(names, JsonString);
        }
    }
    return out + "}";
}

}  // namespace trv
