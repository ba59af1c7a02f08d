#pragma once
// An athlete over time: every step test of a document with its parameters entered, oldest first,
// with the loads of chosen threshold methods and how they moved against the previous test of the
// same test type and load unit.
#include "analysis/TestAnalysis.h"
#include "data/OleDateTime.h"

#include <optional>
#include <string>
#include <vector>

namespace trv {

class CTRVDoc;
struct TestDataType;
class CThresholdCache;

// "ians", "obla_4.0", "dmax", "ltp1", "ltp2".
const std::vector<std::string>& DefaultHistoryMethods();

// "ians,dmax" into ids (duplicates dropped, order kept). False with `unknown` set to the first id
// that is not a method, or to "" for an empty list or an empty item.
bool ParseMethodList(const std::string& text, std::vector<std::string>& ids, std::string& unknown);

struct HistoryOptions {
    std::vector<std::string> methods = DefaultHistoryMethods();
    // Fitting function and threshold model for every test; unset: each test's own choice from
    // `analysis` (by test index), or cubic and Mader without it.
    std::optional<int> fit, model;
    ConstAnalysisOf analysis;
};

struct HistoryValue {
    std::string id, label;
    bool ok = false;
    std::optional<double> load;  // stored units (m/s or W)
    std::optional<double> lactate, heartRate;
    // Against the same method of the previous row of the same test type and load unit; none for the
    // first such row or when either is not determinable (heart rate: either has none).
    std::optional<double> loadChange, heartRateChange;
    // The interval of the load (stored units) when the history was asked with intervals, and whether
    // the change of the load is clear (none where loadChange is none or either has no interval).
    std::optional<double> ciLow, ciHigh, se;
    std::optional<bool> changeClear;
};

struct HistoryRow {
    int index = -1;  // test index in the document
    COleDateTime date;
    int testType = 0, loadUnit = 0;
    int steps = 0;                      // main-load readings
    std::vector<HistoryValue> methods;  // in the order of HistoryOptions::methods
    int fit = 0, model = 0;             // the fitting function and threshold model used
};

// A step test with its parameters entered.
bool IsHistoryTest(const TestDataType& test);
// The date of the test's first reading.
COleDateTime HistoryDate(const TestDataType& test);

// The history's tests (IsHistoryTest) in the order of its rows: by the date of the first reading to
// the second, equal dates in document order, tests without a valid date last.
std::vector<int> HistoryOrder(const CTRVDoc& doc);
// The test as the history evaluates it: a test without any ticked reading (one not shown in the
// chart) counts as showing it would tick it. Null when `test` itself is evaluated as it is, else
// `scratch` filled with the ticked copy.
const TestDataType* HistoryEvaluated(const TestDataType& test, TestDataType& scratch);
// The changes of `value` against the same method of the previous row of its test type and load unit.
void SetHistoryChanges(HistoryValue& value, const HistoryValue& previous);

// The rows, ordered by date (equal dates and tests without a valid date keep document order; the
// latter come last). A test without any ticked reading (one not shown in the chart) counts as
// showing it would tick it: every pre-load, main-load and post-load reading. Thresholds come from
// `cache` when given, else are computed afresh.
std::vector<HistoryRow> BuildHistory(const CTRVDoc& doc, const HistoryOptions& options,
                                     CThresholdCache* cache = nullptr);

// A change as the table shows it: "+0,4 km/h", "-5 S/min", "±0,0 W"; `value` in the shown unit.
std::string ChangeText(double value, const char* unit, const char* format = "%.1f");

}  // namespace trv
