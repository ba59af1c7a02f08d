#include "analysis/History.h"

#include "analysis/StepTest.h"
#include "analysis/ThresholdCache.h"
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

namespace trv {

const std::vector<std::string>& DefaultHistoryMethods() {
    static const std::vector<std::string> ids = {"ians", "obla_4.0", "dmax", "ltp1", "ltp2"};
    return ids;
}

bool ParseMethodList(const std::string& text, std::vector<std::string>& ids, std::string& unknown) {
    ids.clear();
    unknown.clear();
    size_t i = 0;
    while (true) {
        const size_t j = std::min(text.find(',', i), text.size());
        const std::string id = text.substr(i, j - i);
        if (id.empty() || MethodIndex(id) < 0) {
            unknown = id;
            ids.clear();
            return false;
        }
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
        if (j == text.size()) return true;
        i = j + 1;
    }
}

bool IsHistoryTest(const TestDataType& test) { return IsStepTest(test) && test.m_bParamsEntered; }

COleDateTime HistoryDate(const TestDataType& test) {
    return test.m_Steps.empty() ? COleDateTime(0.0, COleDateTime::invalid) : test.m_Steps.front().m_Time;
}

std::vector<int> HistoryOrder(const CTRVDoc& doc) {
    std::vector<int> order;
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (IsHistoryTest(doc.GetTest(i))) order.push_back(i);
    // Seconds decide, as the table shows them: readings a fraction of a second apart count as equal.
    auto when = [&](int i) {
        const COleDateTime d = HistoryDate(doc.GetTest(i));
        return d.IsValid() ? std::round(d.m_dt * 86400.0) : HUGE_VAL;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return when(a) < when(b); });
    return order;
}

const TestDataType* HistoryEvaluated(const TestDataType& test, TestDataType& scratch) {
    // Taking a test out of the chart clears the ticks of all its readings, so a test that is not
    // shown has none. It is evaluated as showing it would tick it: every PrL, Ld and AFL reading.
    if (std::any_of(test.m_Steps.begin(), test.m_Steps.end(), [](const PCMDataType& m) { return m.m_bChecked; }))
        return nullptr;
    scratch = test;
    TickForChart(scratch);
    return &scratch;
}

void SetHistoryChanges(HistoryValue& v, const HistoryValue& p) {
    if (v.ok && p.ok && v.load && p.load) v.loadChange = *v.load - *p.load;
    if (v.ok && p.ok && v.heartRate && p.heartRate) v.heartRateChange = *v.heartRate - *p.heartRate;
}

std::vector<HistoryRow> BuildHistory(const CTRVDoc& doc, const HistoryOptions& options, CThresholdCache* cache) {
    const std::vector<int> order = HistoryOrder(doc);
    std::vector<TestDataType> ticked;
    ticked.reserve(order.size());
    std::vector<const TestDataType*> tests;
    std::vector<int> fits, models;
    for (int i : order) {
        const TestDataType* stored = &doc.GetTest(i);
        TestDataType scratch;
        if (HistoryEvaluated(*stored, scratch)) {
            ticked.push_back(std::move(scratch));
            stored = &ticked.back();
        }
        const TestDataType& t = *stored;
        tests.push_back(&t);
        const TestAnalysis choice = options.analysis ? options.analysis(i) : TestAnalysis();
        fits.push_back(options.fit.value_or(choice.m_nFitFunction));
        models.push_back(options.model.value_or(choice.m_nThresholdModel));
    }
    std::vector<TestThresholds> own;
    std::vector<const TestThresholds*> results;
    if (cache) {
        results = cache->GetAll(tests, fits, models);
    } else {
        own.reserve(tests.size());
        for (size_t k = 0; k < tests.size(); ++k) own.push_back(ComputeTestThresholds(*tests[k], fits[k], models[k]));
        for (const TestThresholds& r : own) results.push_back(&r);
    }

    std::vector<HistoryRow> rows;
    // The last row of each test type and load unit, for the changes.
    std::map<std::pair<int, int>, size_t> previous;
    for (size_t k = 0; k < order.size(); ++k) {
        const TestDataType& t = *tests[k];
        HistoryRow row;
        row.index = order[k];
        row.date = HistoryDate(t);
        row.testType = t.m_nTestType;
        row.loadUnit = t.m_nLoadUnit;
        row.fit = fits[k];
        row.model = models[k];
        row.steps = static_cast<int>(std::count_if(t.m_Steps.begin(), t.m_Steps.end(),
                                                   [](const PCMDataType& m) { return m.m_nMeasType == MeasLoad; }));
        const auto group = std::make_pair(row.testType, row.loadUnit);
        const auto prev = previous.find(group);
        for (size_t m = 0; m < options.methods.size(); ++m) {
            HistoryValue v;
            v.id = options.methods[m];
            const int ci = MethodIndex(v.id);
            if (ci >= 0) v.label = LoadStr(MethodCatalogue()[static_cast<size_t>(ci)].label);
            if (const MethodResult* r = results[k]->Find(v.id)) {
                v.ok = r->ok;
                v.load = r->load;
                v.lactate = r->lactate;
                v.heartRate = r->heartRate;
            }
            if (prev != previous.end()) SetHistoryChanges(v, rows[prev->second].methods[m]);
            row.methods.push_back(std::move(v));
        }
        previous[group] = rows.size();
        rows.push_back(std::move(row));
    }
    if (cache) cache->EndRound();
    return rows;
}

std::string ChangeText(double value, const char* unit, const char* format) {
    std::string digits = Fmt(format, std::fabs(value));
    const bool zero = digits.find_first_of("123456789") == std::string::npos;
    const char* sign = zero ? "\u00b1" : value < 0 ? "-" : "+";
    return sign + digits + (unit && *unit ? std::string(" ") + unit : std::string());
}

}  // namespace trv
