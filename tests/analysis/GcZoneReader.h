#pragma once
// A reader of GoldenCheetah's zone files, written from its published format (power.zones,
// hr.zones, run-pace.zones): comments from '#', an optional "DEFAULTS:" block, then ranges. A range
// starts with "yyyy/MM/dd" (or BEGIN), optionally ": CP=n" (power), ": LT=n, RestHr=n, MaxHr=n,
// AeT=n" (heart rate) or ": CV=x" (pace), followed by lines "AeT=n", "FTP=n" and zone lines
// "name,desc,lo[,hi]". Lines that match nothing are ignored, as GoldenCheetah does; a zone before any
// range is an error.
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace trvtest {

enum class GcKind { Power, Hr, Pace };

struct GcZone {
    std::string name, desc;
    double lo = 0;
};

struct GcRange {
    int year = 0, month = 0, day = 0;  // 0 for BEGIN
    std::optional<double> cp, cv, lt, maxHr, restHr, aet, ftp;
    std::vector<GcZone> zones;
};

struct GcFile {
    std::string error;  // "" when read
    std::vector<GcRange> ranges;
    int defaults = 0;  // zone lines of the DEFAULTS block
};

inline GcFile ReadGcZones(const std::string& text, GcKind kind) {
    using std::regex;
    const auto icase = std::regex::icase | std::regex::ECMAScript;
    const std::string date = R"(^\s*(?:from\s+)?((\d\d\d\d)[-/](\d{1,2})[-/](\d{1,2})|BEGIN))";
    regex range;
    if (kind == GcKind::Power)
        range = regex(date + R"(\s*([,:]?\s*(FTP|CP)\s*=\s*(\d+))?\s*:?\s*$)", icase);
    else if (kind == GcKind::Pace)
        range = regex(date + R"(\s*([,:]?\s*(FTP|CV)\s*=\s*([\d\.]+))?\s*:?\s*$)", icase);
    else
        range = regex(date + R"(\s*([,:]?\s*(LT)\s*=\s*(\d+))?\s*([,:]?\s*(RestHr)\s*=\s*(\d+))?)"
                             R"(\s*([,:]?\s*(MaxHr)\s*=\s*(\d+))?\s*:?,?\s*((AeT)\s*=\s*(\d+))?\s*:?\s*$)",
                      icase);
    const regex aet(kind == GcKind::Pace ? R"(^AeT=([\d\.]+)$)" : R"(^AeT=(\d+)$)");
    const regex ftp(R"(^FTP=(\d+)$)");
    const regex zone(kind == GcKind::Pace
                         ? R"(^\s*([^ ,][^,]*),\s*([^ ,][^,]*),\s*([\d\.]+)\s*(%?)\s*(?:,\s*([\d\.]+|MAX)\s*(%?)\s*)?$)"
                     : kind == GcKind::Hr
                         ? R"(^\s*([^ ,][^,]*),\s*([^ ,][^,]*),\s*(\d+)\s*(%?)\s*(?:,\s*(\d+(\.\d+)?)\s*)?$)"
                         : R"(^\s*([^ ,][^,]*),\s*([^ ,][^,]*),\s*(\d+)\s*(%?)\s*(?:,\s*(\d+|MAX)\s*(%?)\s*)?$)",
                     icase);
    const regex defaults(R"(^\s*(?:zone)?\s*defaults?\s*:?\s*$)", icase);

    GcFile out;
    bool inRange = false, inDefaults = false;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        std::smatch m;
        if (std::regex_match(line, defaults)) {
            if (inRange) return {"defaults after a range", {}, 0};
            inDefaults = true;
            continue;
        }
        if (std::regex_match(line, m, range)) {
            GcRange r;
            if (m[2].matched) {
                r.year = std::stoi(m[2]);
                r.month = std::stoi(m[3]);
                r.day = std::stoi(m[4]);
            }
            if (kind == GcKind::Power && m[7].matched) r.cp = std::stod(m[7]);
            if (kind == GcKind::Pace && m[7].matched) r.cv = std::stod(m[7]);
            if (kind == GcKind::Hr) {
                if (m[7].matched) r.lt = std::stod(m[7]);
                if (m[10].matched) r.restHr = std::stod(m[10]);
                if (m[13].matched) r.maxHr = std::stod(m[13]);
                if (m[16].matched) r.aet = std::stod(m[16]);
            }
            out.ranges.push_back(r);
            inRange = true;
            inDefaults = false;
            continue;
        }
        if (std::regex_match(line, m, aet) && inRange) out.ranges.back().aet = std::stod(m[1]);
        if (std::regex_match(line, m, ftp) && inRange) out.ranges.back().ftp = std::stod(m[1]);
        if (std::regex_match(line, m, zone)) {
            if (inDefaults) {
                ++out.defaults;
                continue;
            }
            if (!inRange) return {"line " + std::to_string(number) + ": zone without a range", {}, 0};
            out.ranges.back().zones.push_back({m[1], m[2], std::stod(m[3])});
        }
    }
    return out;
}

}  // namespace trvtest
