#include "analysis/HistoryTable.h"

#include "analysis/HistoryChart.h"
#include "analysis/ThresholdMethods.h"
#include "data/Records.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv {

int HistoryColumnCount(size_t methods) {
    return kHistoryFixedColumns + kHistoryMethodParts * static_cast<int>(methods);
}

bool HistoryMethodColumn(int column, int& method, int& part) {
    if (column < kHistoryFixedColumns) return false;
    method = (column - kHistoryFixedColumns) / kHistoryMethodParts;
    part = (column - kHistoryFixedColumns) % kHistoryMethodParts;
    return true;
}

std::string MethodLabel(const std::string& id) {
    const int ci = MethodIndex(id);
    return ci >= 0 ? LoadStr(MethodCatalogue()[static_cast<size_t>(ci)].label) : "";
}

std::string HistoryHeaderText(const std::vector<std::string>& methods, int column) {
    static const int fixed[] = {IDS_HIST_COL_DATE, IDS_HIST_COL_TYPE, IDS_HIST_COL_UNIT, IDS_HIST_COL_STEPS};
    static const int parts[] = {IDS_HIST_COL_LOAD, IDS_HIST_COL_LACTATE, IDS_HIST_COL_HEART_RATE, IDS_HIST_COL_CHANGE};
    int m = 0, part = 0;
    if (!HistoryMethodColumn(column, m, part)) return column >= 0 ? LoadStr(fixed[column]) : "";
    if (m >= static_cast<int>(methods.size())) return "";
    return FmtId(parts[part], MethodLabel(methods[static_cast<size_t>(m)]).c_str());
}

std::string HistoryCellText(const HistoryRow& row, int column) {
    int m = 0, part = 0;
    if (!HistoryMethodColumn(column, m, part)) {
        switch (column) {
            case HcDate:
                return row.date.IsValid() ? row.date.FormatDate() : LoadStr(IDS_HIST_UNDATED);
            case HcType:
                return TestTypeText(row.testType);
            case HcUnit:
                return LoadUnitText(row.loadUnit);
            case HcSteps:
                return Fmt("%d", row.steps);
            default:
                return "";
        }
    }
    if (m >= static_cast<int>(row.methods.size())) return "";
    const HistoryValue& v = row.methods[static_cast<size_t>(m)];
    if (!v.ok) return part == HmLoad ? LoadStr(IDS_NOT_DETERMINABLE) : "";
    const char* unit = LoadUnitText(row.loadUnit);
    const char* loadFormat = row.loadUnit == UnitWatt ? "%.0f" : "%.1f";
    switch (part) {
        case HmLoad:
            return HistoryLoadText(LoadInTestUnit(*v.load, row.loadUnit), row.loadUnit) + " " + unit;
        case HmLactate:
            return v.lactate ? Fmt("%.2f", *v.lactate) : "";
        case HmHeartRate:
            return v.heartRate ? Fmt("%.0f", *v.heartRate) : "";
        default: {
            std::string s;
            if (v.loadChange) s = ChangeText(LoadInTestUnit(*v.loadChange, row.loadUnit), unit, loadFormat);
            // The unit comes with a blank before it, as after a printed heart rate.
            const std::string hrUnit = std::string(LoadStr(IDS_HIST_PRN_HR_UNIT)).substr(1);
            if (v.loadChange && v.changeClear && *v.changeClear) s += std::string(" ") + LoadStr(IDS_CHANGE_CLEAR);
            if (v.heartRateChange)
                s += (s.empty() ? "" : ", ") + ChangeText(*v.heartRateChange, hrUnit.c_str(), "%.0f");
            return s;
        }
    }
}

}  // namespace trv
