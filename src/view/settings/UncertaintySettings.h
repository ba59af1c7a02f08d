#pragma once
// "Messunsicherheit" in the program's settings (not in documents): the analyser's error a (mmol/l)
// and c (fraction) and the day-to-day variation d (fraction) of a threshold. Values outside their
// ranges are ignored in favour of the defaults.
#include "analysis/Uncertainty.h"

namespace trv {

ErrorModel LoadErrorModel();
double LoadDayToDay();
void SaveUncertaintySettings(const ErrorModel& error, double dayToDay);

}  // namespace trv
