// Evaluation of two shown tests of 12 steps each, from the document to the filled chart model.
// Prints the time per run; not a test.
#include "analysis/ChartModel.h"
#include "analysis/Evaluator.h"
#include "data/TRVDoc.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace trv;

namespace {

TestDataType StepTest(int unit, double offset) {
    TestDataType t;
    t.m_nLoadUnit = unit;
    t.m_nTestType = TestTreadmill;
    t.m_bParamsEntered = 1;
    t.m_bShowInChart = 1;
    t.m_bCompensate = 1;
    for (int i = 0; i < 12; ++i) {
        PCMDataType m;
        m.m_nMeasType = MeasLoad;
        m.m_nStatus = StatusNormal;
        m.m_bChecked = 1;
        m.m_dSpeed = (6.0 + i) / 3.6;
        const double x = 6.0 + i - 12.0;
        m.m_nLactate = static_cast<uint16_t>((4.0 + offset + 0.5 * x + 0.0125 * x * x * x) * 10 + 10);
        m.m_nHeartRate = 120 + 6 * i;
        m.m_Time = COleDateTime(45000.4 + i * 180.0 / 86400.0);
        t.m_Steps.push_back(m);
    }
    t.m_Steps.front().m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    t.m_Steps.back().m_bDurationMeasured = 1;
    t.m_Steps.back().m_nStepDuration = 100;
    return t;
}

double Measure(CTRVDoc& doc, int fit, int runs) {
    CChartModel chart;
    chart.ApplyStartup();
    CEvaluator ev;
    uint32_t flags = 0;
    std::vector<TestAnalysis> analyses(doc.m_Tests.size());
    for (TestAnalysis& an : analyses) an.m_nFitFunction = fit;
    const AnalysisOf of = [&](int test) -> TestAnalysis& { return analyses[static_cast<size_t>(test)]; };
    std::vector<double> us;
    for (int r = 0; r < runs; ++r) {
        const auto a = std::chrono::steady_clock::now();
        ev.Evaluate(doc, of, chart, flags);
        ev.SetUpResults(doc, of, chart, flags);
        const auto b = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(b - a).count());
    }
    std::sort(us.begin(), us.end());
    return us[us.size() / 2];
}

}  // namespace

int main() {
    CTRVDoc doc;
    doc.m_UserData.m_strFirstName = "Anna";
    doc.m_UserData.m_strLastName = "Berg";
    doc.m_Tests.push_back(StepTest(UnitKmh, 0.0));
    doc.m_Tests.push_back(StepTest(UnitKmh, 0.5));
    const double cubic = Measure(doc, FitCubic, 20000);
    const double spline = Measure(doc, FitSpline, 20000);
    std::printf("Evaluate, 2 tests x 12 steps, cubic + Mader : median %.2f us per run (target < 50 us)\n", cubic);
    std::printf("Evaluate, 2 tests x 12 steps, spline + Mader: median %.2f us per run (target < 50 us)\n", spline);
    return 0;
}
