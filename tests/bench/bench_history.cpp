// The history of a 500-test document: from opening the file to a filled table and chart, and a
// refresh after one edit. Prints the times; not a test. With a file name as the second argument
// the document is kept there, to look at.
#include "analysis/HistoryChart.h"
#include "data/TrvFile.h"
#include "view/history/HistoryPanel.h"
#include "view/history/HistoryPlot.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

using namespace trv;

namespace {

// A treadmill, ergometer or field test of 10 steps, a pre-load and a post-load reading, `days`
// after the first; its lactates move a little from test to test.
TestDataType StepTest(int n, uint16_t& id) {
    TestDataType t;
    t.m_nTestType = n % 3 == 1 ? TestErgometer : n % 3 == 2 ? TestField : TestTreadmill;
    t.m_nLoadUnit = t.m_nTestType == TestErgometer ? UnitWatt : UnitKmh;
    t.m_bIndividualLoads = 1;
    t.m_bParamsEntered = 1;
    const double day = 43000.4 + 3.0 * n;
    auto add = [&](int type, double lactate, int hr, double minutes) -> PCMDataType& {
        PCMDataType m;
        m.m_nMeasId = id++;
        m.m_nMeasType = static_cast<uint8_t>(type);
        m.m_nStatus = StatusNormal;
        m.m_nLactate = static_cast<uint16_t>(lactate * 10 + 0.5);
        m.m_nHeartRate = hr;
        m.m_Time = COleDateTime(day + minutes / 1440.0);
        t.m_Steps.push_back(m);
        return t.m_Steps.back();
    };
    add(MeasPreLoad, 1.1, 70, 0);
    const double shift = 0.05 * (n % 17);
    for (int i = 0; i < 10; ++i) {
        const double x = i - 6.0;
        PCMDataType& m =
            add(MeasLoad, std::max(0.8, 3.0 + 0.45 * x + 0.02 * x * x * x + shift), 120 + 7 * i, 3.0 * (i + 1));
        m.m_dSpeed = (8.0 + i) / 3.6;
        m.m_dPower = 100.0 + 25.0 * i;
    }
    add(MeasPostLoad, 8.0, 150, 34);
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps[10].m_bLastStep = 1;
    return t;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int tests = argc > 1 ? std::atoi(argv[1]) : 500;
    const auto path = std::filesystem::temp_directory_path() / ("trv-bench-history-" + std::to_string(getpid()));
    {
        CTRVDoc doc;
        uint16_t id = 1;
        for (int i = 0; i < tests; ++i) doc.m_Tests.push_back(StepTest(i, id));
        if (!SaveDocument(doc, path.string()).ok) return 1;
    }

    CHistoryPanel panel;
    panel.resize(1400, 900);
    panel.show();
    app.processEvents();
    CTRVDoc doc;
    const auto a = std::chrono::steady_clock::now();
    if (!LoadDocument(path.string(), doc).ok) return 1;
    const auto b = std::chrono::steady_clock::now();
    panel.SetDocument(&doc);
    app.processEvents();
    const auto c = std::chrono::steady_clock::now();
    panel.m_pPlot->Plot()->replot(QCustomPlot::rpImmediateRefresh);
    panel.m_pTable->viewport()->repaint();
    const auto d = std::chrono::steady_clock::now();
    std::printf(
        "History of %d tests, opening to filled table and chart: %.0f ms (target < 1000 ms): "
        "read %.0f ms, thresholds + table + chart %.0f ms, first paint %.0f ms; %zu rows\n",
        tests, Ms(a, d), Ms(a, b), Ms(b, c), Ms(c, d), panel.m_pModel ? static_cast<size_t>(tests) : 0u);

    std::vector<double> refresh, computeOnly;
    for (int r = 0; r < 20; ++r) {
        doc.m_Tests[static_cast<size_t>(r * 7 % tests)].m_Steps[5].m_nLactate += 1;
        const size_t before = panel.Cache().Computed();
        const auto e = std::chrono::steady_clock::now();
        panel.Refresh();
        const auto e1 = std::chrono::steady_clock::now();
        panel.m_pPlot->Plot()->replot(QCustomPlot::rpImmediateRefresh);
        const auto e2 = std::chrono::steady_clock::now();
        panel.m_pTable->viewport()->repaint();
        const auto f = std::chrono::steady_clock::now();
        if (r == 10) std::printf("  refresh %.1f, plot %.1f, table %.1f ms\n", Ms(e, e1), Ms(e1, e2), Ms(e2, f));
        refresh.push_back(Ms(e, f));
        computeOnly.push_back(static_cast<double>(panel.Cache().Computed() - before));
    }
    std::sort(refresh.begin(), refresh.end());
    std::printf(
        "Refresh after one edit (table, chart and repaint): median %.1f ms, worst %.1f ms (target < 50 ms); "
        "%.0f test recomputed per refresh\n",
        refresh[refresh.size() / 2], refresh.back(), computeOnly.front());
    // Where a refresh goes: the rows from the cache, the chart data, the plot rebuilt and drawn.
    CThresholdCache cache;
    BuildHistory(doc, HistoryOptions(), &cache);
    const auto g = std::chrono::steady_clock::now();
    const std::vector<HistoryRow> rows = BuildHistory(doc, HistoryOptions(), &cache);
    const auto h = std::chrono::steady_clock::now();
    std::vector<HistoryChart> charts = HistoryCharts(rows);
    const auto i = std::chrono::steady_clock::now();
    panel.m_pPlot->SetCharts(charts);
    const auto j = std::chrono::steady_clock::now();
    panel.m_pPlot->Plot()->replot(QCustomPlot::rpImmediateRefresh);
    const auto k = std::chrono::steady_clock::now();
    std::printf(
        "  of which: rows from the cache %.1f ms, chart data %.1f ms, plot set-up %.1f ms, plot drawn %.1f ms\n",
        Ms(g, h), Ms(h, i), Ms(i, j), Ms(j, k));
    if (argc > 2) std::filesystem::copy_file(path, argv[2], std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(path);
    return 0;
}
