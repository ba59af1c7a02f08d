#pragma once
// How a test is named to the user where the Mess-ID does not tell tests apart (a team day downloads
// several treadmill tests of one date): date, start time and test type.
#include "data/Records.h"

#include <optional>
#include <string>

namespace trv {

// "14.04.2026 10:05 Laufband"; the parts that are unknown are left out.
std::string TestLabel(const TestDataType& test);
// "10:05": the time of the test's first reading; "" when it has none.
std::string TestStartTime(const TestDataType& test);
// The number of main-load steps (0 for single readings).
int TestStepCount(const TestDataType& test);
// The highest lactate in mmol/l among the readings with a value; none when no reading has one.
std::optional<double> TestHighestLactate(const TestDataType& test);

}  // namespace trv
