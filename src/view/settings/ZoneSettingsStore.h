#pragma once
// The training-zone settings in the program's settings (not in documents): one group per test type
// with the short names, long names and boundaries. A stored scheme that does not pass the check is
// ignored in favour of the default.
#include "analysis/Zones.h"

namespace trv {

ZoneSettings LoadZoneSettings();
void SaveZoneSettings(const ZoneSettings& settings);

}  // namespace trv
