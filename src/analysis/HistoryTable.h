#pragma once
// The history's table texts, the same on screen and on paper: date, test type, unit, number of
// steps, then per chosen method its load, lactate, heart rate and change.
#include "analysis/History.h"

#include <string>
#include <vector>

namespace trv {

enum HistoryColumn { HcDate, HcType, HcUnit, HcSteps, kHistoryFixedColumns };
enum HistoryMethodPart { HmLoad, HmLactate, HmHeartRate, HmChange, kHistoryMethodParts };

int HistoryColumnCount(size_t methods);
// The method (index into the chosen methods) and part of a column; false for a fixed column.
bool HistoryMethodColumn(int column, int& method, int& part);

std::string HistoryHeaderText(const std::vector<std::string>& methods, int column);
// "nicht bestimmbar" in the load cell of a method that is not determinable, its other cells empty;
// "12,4 km/h", "4,00", "165", "+0,4 km/h, -5 S/min".
std::string HistoryCellText(const HistoryRow& row, int column);
// The label of a method id ("" for an unknown id).
std::string MethodLabel(const std::string& id);

}  // namespace trv
