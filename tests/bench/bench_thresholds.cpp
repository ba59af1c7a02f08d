// Thresholds and zones: every method for one 12-step test, and a 10,000-test document through
// trv-cli thresholds. Prints the times; not a test.
#include "../analysis/Fixtures.h"
#include "analysis/RobustFit.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/Uncertainty.h"
#include "analysis/ZoneModels.h"
#include "data/TrvFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <time.h>
#include <unistd.h>

using namespace trv;

namespace {

// A treadmill test of 12 steps (6 .. 17 km/h) with a pre-load and two post-load readings; lactate
// 0.3 mmol/l at the first step.
TestDataType StepTest(double offset, uint16_t& id) {
    double lactates[12];
    for (int i = 0; i < 12; ++i) {
        const double x = i - 6.0;
        lactates[i] = 6.0 + 0.5 * x + 0.0125 * x * x * x + offset;
    }
    TestDataType t = trvtest::Treadmill(12, lactates);
    t.m_dStartValue = 6.0 / 3.6;
    t.m_dIncrement = 1.0 / 3.6;
    for (int i = 0; i < 12; ++i) t.m_Steps[static_cast<size_t>(i) + 1].m_dSpeed = (6.0 + i) / 3.6;
    t.m_Steps.push_back(trvtest::Meas(MeasPostLoad, 8.4, 160, 39));
    t.m_Steps.push_back(trvtest::Meas(MeasPostLoad, 5.0, 120, 44));
    for (PCMDataType& m : t.m_Steps) m.m_nMeasId = id++;
    return t;
}

// CPU time of the calling thread: on a busy machine the elapsed time also counts other programs.
double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
    const int tests = argc > 1 ? std::atoi(argv[1]) : 10000;
    uint16_t id = 1;
    const TestDataType one = StepTest(0.0, id);
    for (int fit : {FitCubic, FitSpline}) {
        std::vector<double> us;
        size_t ok = 0;
        for (int r = 0; r < 300; ++r) {
            const auto a = std::chrono::steady_clock::now();
            const TestThresholds res = ComputeTestThresholds(one, fit, ModelMader);
            const auto b = std::chrono::steady_clock::now();
            us.push_back(std::chrono::duration<double, std::micro>(b - a).count());
            ok = static_cast<size_t>(
                std::count_if(res.methods.begin(), res.methods.end(), [](const MethodResult& m) { return m.ok; }));
        }
        std::sort(us.begin(), us.end());
        std::printf("All %zu methods + zones, 12 steps, %s: median %.0f us (target < 1000 us), %zu determinable\n",
                    MethodCatalogue().size(), fit == FitCubic ? "cubic " : "spline", us[us.size() / 2], ok);
    }

    // The zones of every zone model for the same test, from its computed thresholds.
    {
        const ThresholdInput in = ThresholdInputOf(one, FitCubic, ModelMader);
        const TestThresholds base = ComputeThresholds(in, DefaultZoneScheme(one.m_nTestType));
        std::vector<double> us;
        size_t zones = 0;
        for (int r = 0; r < 300; ++r) {
            zones = 0;
            const auto a = std::chrono::steady_clock::now();
            for (const ZoneModelInfo& m : ZoneModelCatalogue()) {
                ZoneSettings s;
                s.model = m.id;
                TestThresholds t = base;
                ApplyZoneModel(in, s, t);
                zones += t.zones.size();
            }
            const auto b = std::chrono::steady_clock::now();
            us.push_back(std::chrono::duration<double, std::micro>(b - a).count());
        }
        std::sort(us.begin(), us.end());
        std::printf("Zones of all %zu zone models, 12 steps: median %.0f us (target < 1000 us), %zu bands\n",
                    ZoneModelCatalogue().size(), us[us.size() / 2], zones);
    }
    // Intervals: B = 1000 replicates of every method, one core.
    for (int fit : {FitCubic, FitSpline}) {
        const ThresholdInput input = ThresholdInputOf(one, fit, ModelMader);
        const TestThresholds original = ComputeThresholds(input, ZoneScheme());
        std::vector<double> ms, cpu;
        size_t withInterval = 0;
        for (int r = 0; r < 5; ++r) {
            const auto a = std::chrono::steady_clock::now();
            const double c0 = ThreadSeconds();
            const ThresholdIntervals ci = ComputeIntervals(input, original, ErrorModel());
            cpu.push_back((ThreadSeconds() - c0) * 1000.0);
            const auto b = std::chrono::steady_clock::now();
            ms.push_back(std::chrono::duration<double, std::milli>(b - a).count());
            withInterval = static_cast<size_t>(
                std::count_if(ci.methods.begin(), ci.methods.end(), [](const MethodInterval& m) { return m.ok; }));
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf(
            "Intervals of all methods, B = %d, 12 steps, %s: median %.1f ms CPU of one core, %.1f ms elapsed "
            "(target < 100 ms), %zu intervals\n",
            kDefaultReplicates, fit == FitCubic ? "cubic " : "spline", cpu[cpu.size() / 2], ms[ms.size() / 2],
            withInterval);
    }
    {
        const ThresholdInput input = ThresholdInputOf(one, FitCubic, ModelMader);
        const auto a = std::chrono::steady_clock::now();
        size_t flags = 0;
        for (int r = 0; r < 1000; ++r) flags += FlagOutliers(input, ErrorModel()).size();
        const auto b = std::chrono::steady_clock::now();
        std::printf("Robust fit and flag of readings, 12 steps: %.1f us per test, %zu flags\n",
                    std::chrono::duration<double, std::micro>(b - a).count() / 1000.0, flags / 1000);
    }

    const auto path = std::filesystem::temp_directory_path() / ("trv-bench-thresholds-" + std::to_string(getpid()));
    {
        CTRVDoc doc;
        for (int i = 0; i < tests; ++i) doc.m_Tests.push_back(StepTest((i % 50) * 0.02, id));
        const FileResult r = SaveDocument(doc, path.string());
        if (!r.ok) {
            std::fprintf(stderr, "%s\n", r.message.c_str());
            return 1;
        }
    }
    std::string list;
    for (int i = 0; i < tests; ++i) list += (i ? "," : "") + std::to_string(i);
    const std::string cmd = std::string(TRV_CLI) + " thresholds " + path.string() + " --tests " + list + " --json > " +
                            path.string() + ".json";
    const auto a = std::chrono::steady_clock::now();
    const int rc = std::system(cmd.c_str());
    const auto b = std::chrono::steady_clock::now();
    std::printf("trv-cli thresholds, %d tests x 12 steps: %.2f s (target < 10 s), %lld bytes of JSON, exit %d\n", tests,
                std::chrono::duration<double>(b - a).count(),
                static_cast<long long>(std::filesystem::file_size(path.string() + ".json")), rc);
    // With intervals: B = 1000 replicates per test on every core; a part of the document (the whole
    // takes minutes), the time per test printed with it.
    const int ciTests = std::min(tests, 200);
    std::string ciList;
    for (int i = 0; i < ciTests; ++i) ciList += (i ? "," : "") + std::to_string(i);
    const std::string ciCmd = std::string(TRV_CLI) + " thresholds " + path.string() + " --tests " + ciList +
                              " --ci --json > " + path.string() + ".json";
    const auto c = std::chrono::steady_clock::now();
    const int ciRc = std::system(ciCmd.c_str());
    const auto d = std::chrono::steady_clock::now();
    const double ciSeconds = std::chrono::duration<double>(d - c).count();
    std::printf(
        "trv-cli thresholds --ci, %d tests x 12 steps on %u cores: %.2f s (%.1f ms per test, 10,000 tests "
        "about %.0f s), exit %d\n",
        ciTests, std::max(1u, std::thread::hardware_concurrency()), ciSeconds, 1000.0 * ciSeconds / ciTests,
        ciSeconds / ciTests * 10000.0, ciRc);
    std::filesystem::remove(path);
    std::filesystem::remove(path.string() + ".json");
    return rc == 0 && ciRc == 0 ? 0 : 1;
}
