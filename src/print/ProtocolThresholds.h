#pragma once
// The thresholds and the training zones of a test on page 2 of the protocol, below its
// measurement table: the lines (tab-separated, as printed) and their drawing.
#include "analysis/ThresholdMethods.h"
#include "analysis/Uncertainty.h"

#include <string>
#include <vector>

class QPainter;

namespace trv {

struct ProtocolLayout;
struct TestDataType;

// The thresholds table: two header lines, then one line per method (label, load in the test's
// unit, lactate, heart rate; "nicht bestimmbar" for a method that is not), with its interval after
// the heart rate when `intervals` has one ("(95 %: 4,15–4,27)").
std::vector<std::string> ThresholdTableLines(const TestDataType& test, const TestThresholds& result,
                                             const ThresholdIntervals* intervals = nullptr);

// The zones table: a header line, then one line per zone (short name, load range, heart-rate
// range and, for speeds, the pace range); empty when there are no zones.
std::vector<std::string> ZoneTableLines(const TestDataType& test, const TestThresholds& result);

// The zones' title ("Trainingszonen:", or with the model and its anchors when it is not the standard
// one) and the line printed instead of an empty zones table (with the reason the model gives).
std::string ZoneTitleText(const TestThresholds& result);
std::string NoZonesText(const TestThresholds& result);

// Draws both tables in the half of page 2 that belongs to `slot` (0 left, 1 right), from `top`
// down. Returns the y below the last line.
int DrawThresholdTables(QPainter& painter, const ProtocolLayout& layout, int slot, int top, const TestDataType& test,
                        const TestThresholds& result, const ThresholdIntervals* intervals = nullptr);

}  // namespace trv
