#include "analysis/Zones.h"

#include "data/Records.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cmath>

namespace trv {

ZoneScheme DefaultZoneScheme(int testType) {
    ZoneScheme s;
    s.zones = {{"REKOM", LoadStr(IDS_ZONE_REKOM)},
               {"GA1", LoadStr(IDS_ZONE_GA1)},
               {"GA2", LoadStr(IDS_ZONE_GA2)},
               {"EB", LoadStr(IDS_ZONE_EB)},
               {"SB", LoadStr(IDS_ZONE_SB)}};
    if (testType == TestErgometer)
        s.bounds = {55.0, 75.0, 90.0, 105.0};
    else
        s.bounds = {70.0, 85.0, 95.0, 105.0};
    return s;
}

std::string CheckZoneScheme(const ZoneScheme& scheme) {
    if (scheme.zones.size() < 2 || scheme.bounds.size() + 1 != scheme.zones.size()) return LoadStr(IDS_ZONE_BAD_COUNT);
    for (const ZoneName& z : scheme.zones)
        if (z.code.find_first_not_of(' ') == std::string::npos) return LoadStr(IDS_ZONE_NO_CODE);
    for (double b : scheme.bounds)
        if (!std::isfinite(b) || b < 0.0 || b > 300.0) return LoadStr(IDS_ZONE_RANGE);
    for (size_t i = 1; i < scheme.bounds.size(); ++i)
        if (!(scheme.bounds[i] > scheme.bounds[i - 1])) return LoadStr(IDS_ZONE_ASCENDING);
    return {};
}

std::string ZoneSchemeFromTexts(const std::vector<std::string>& codes, const std::vector<std::string>& names,
                                const std::vector<std::string>& bounds, ZoneScheme& out) {
    ZoneScheme s;
    for (size_t i = 0; i < codes.size(); ++i)
        s.zones.push_back({codes[i], i < names.size() ? names[i] : std::string()});
    for (size_t i = 0; i < bounds.size(); ++i) {
        double v = 0.0;
        if (!ParseDecimal(bounds[i], v)) return FmtId(IDS_ZONES_NOT_A_NUMBER, i < codes.size() ? codes[i].c_str() : "");
        s.bounds.push_back(v);
    }
    std::string why = CheckZoneScheme(s);
    if (why.empty()) out = s;
    return why;
}

const ZoneScheme& ZoneSettings::For(int testType) const {
    return schemes[static_cast<size_t>(testType >= 0 && testType <= 2 ? testType : 0)];
}

std::optional<int> PaceSeconds(double speedMs) {
    if (!(speedMs > 0.0) || !std::isfinite(speedMs)) return std::nullopt;
    const double s = 1000.0 / speedMs;
    if (!(s < 360000.0)) return std::nullopt;
    return static_cast<int>(s);
}

std::string PaceText(double speedMs) {
    const std::optional<int> s = PaceSeconds(speedMs);
    return s ? Fmt("%02d:%02d /km", *s / 60, *s % 60) : std::string();
}

std::string PercentText(double pct) { return pct == std::floor(pct) ? Fmt("%.0f", pct) : Fmt("%.1f", pct); }

}  // namespace trv
