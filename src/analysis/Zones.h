#pragma once
// Training zones: bands of load in percent of an anchor load (the test's IANS), their settings per
// test type with the defaults, and the check of a changed setting.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace trv {

struct ZoneName {
    std::string code;  // "REKOM", "GA1", ...
    std::string name;  // "Regeneration", ...
    bool operator==(const ZoneName&) const = default;
};

// k zones and the k - 1 boundaries between them (percent of the anchor, ascending); the first zone
// is open below, the last open above.
struct ZoneScheme {
    std::vector<ZoneName> zones;
    std::vector<double> bounds;
    bool operator==(const ZoneScheme&) const = default;
};

// The default scheme of a test type ("Laufband" and "Feldtest" in % of the IANS speed, "Ergometer"
// in % of the IANS power).
ZoneScheme DefaultZoneScheme(int testType);

// "" when the scheme can be used; otherwise the German message saying why not (boundaries not
// ascending, outside 0 to 300 %, a zone without a short name, a wrong number of boundaries).
std::string CheckZoneScheme(const ZoneScheme& scheme);

// A scheme from what a user typed: the short names, the long names and the upper boundary of every
// zone but the last ("72,5" or "72.5"). "" and `out` set when it can be used; otherwise the German
// message (a boundary that is no number, or what CheckZoneScheme says).
std::string ZoneSchemeFromTexts(const std::vector<std::string>& codes, const std::vector<std::string>& names,
                                const std::vector<std::string>& bounds, ZoneScheme& out);

// The schemes of the three test types (index = test type code).
struct ZoneSettings {
    std::array<ZoneScheme, 3> schemes{DefaultZoneScheme(0), DefaultZoneScheme(1), DefaultZoneScheme(2)};
    // The zone model (ZoneModels.h) and the methods of its two anchors.
    std::string model = "trv5";
    std::string lt1 = "ltp1";
    std::string lt2 = "ians";
    const ZoneScheme& For(int testType) const;
};

// One zone of a test. Open ends have no percentage and no load (nor heart rate, lactate, pace).
struct ZoneResult {
    std::string code, name;
    std::optional<double> fromPct, toPct;
    std::optional<double> loadFrom, loadTo;  // stored units
    std::optional<double> heartRateFrom, heartRateTo;
    std::optional<double> lactateFrom, lactateTo;
};

// An anchor of a zone model: the method chosen for it and its result on the test.
struct ZoneAnchor {
    std::string method;                              // method id ("ltp1")
    std::string label;                               // its German label
    std::optional<double> load, heartRate, lactate;  // none when not determinable
};

// Which zone model a test's zones follow, its anchors, and why there are no zones when there are none.
struct ZoneModelOutcome {
    std::string model = "trv5";
    std::string name;  // German name of the model
    ZoneAnchor lt1, lt2;
    std::string reason;  // German; "" when there are zones
};

// Pace per km at a speed in m/s: 1000 / v seconds, truncated; none for no positive finite speed
// (or one slower than 100 hours per km).
std::optional<int> PaceSeconds(double speedMs);
// The pace as "mm:ss /km"; "" without one.
std::string PaceText(double speedMs);
// A percentage as the settings show it: "70" or "72,5".
std::string PercentText(double pct);

}  // namespace trv
