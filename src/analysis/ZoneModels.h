#pragma once
// Zone models: the bands a coach plans with, on the anchors LT1 and LT2 of a test.
//
//   trv5     "Fünf Bereiche (% IANS)"            the settings' percentages of the IANS load
//   seiler3  "Drei Zonen (Seiler)"               boundaries at LT1 and LT2
//   seiler5  "Fünf Zonen nach Laktat"            where the fitted curve crosses 1.5, 2.5, 4.0, 6.0 mmol/l
//   friel7   "Sieben HF-Zonen (Friel)"           percentages of the heart rate at LT2
//   coggan7  "Sieben Leistungsbereiche (Coggan)" percentages of the LT2 power (Ergometer, W)
//
// LT1 and LT2 are the results of two methods of the thresholds catalogue (defaults "ltp1" and
// "ians"). Every boundary carries its load, the heart rate there, the lactate of the user fit there
// (ZoneResult); a model that cannot be applied to a test leaves no zones and says why.
#include "analysis/Zones.h"
#include "data/Result.h"

#include <string>
#include <vector>

namespace trv {

struct ThresholdInput;
struct TestThresholds;

struct ZoneModelInfo {
    const char* id;
    int name;      // string id of the German name
    bool percent;  // boundaries given in percent (from_pct / to_pct)
};

// The models in their fixed order: trv5, seiler3, seiler5, friel7, coggan7.
const std::vector<ZoneModelInfo>& ZoneModelCatalogue();
// Position of a model id; -1 for an unknown id.
int ZoneModelIndex(const std::string& id);
// "trv5, seiler3, ..." and "ians, obla_2.0, ...": the ids a user can give.
std::string ZoneModelIdList();
std::string MethodIdList();

// Whether the model and both methods of `settings` are known; if not, the German message naming
// the unknown id and listing the known ones.
Result CheckZoneChoice(const ZoneSettings& settings);

// The model's name with the anchors it stands on: "Drei Zonen (Seiler); LT1 LTP 1, LT2 IANS (Kurvenmodell)"
// (trv5 and seiler5 need none; friel7 and coggan7 only LT2).
std::string ZoneModelCaption(const ZoneModelOutcome& outcome);

// The colour of band i of `count` (0xRRGGBB), from green for the lowest over yellow and orange to
// red and purple for the highest: the chart's background bands and the zone card use it.
unsigned ZoneColour(size_t i, size_t count);

// Replaces the zones of `out` (computed as the model trv5 from the settings' scheme) by those of the
// settings' model, and fills out.zoneModel (model, anchors, the reason when there are no zones).
// `in` is the input the thresholds were computed from.
void ApplyZoneModel(const ThresholdInput& in, const ZoneSettings& settings, TestThresholds& out);

}  // namespace trv
