// trv-cli download end to end against trv-sim pacing at 19200 baud, compared with the pure line
// time of the bytes exchanged; and the CPU used by an idle connected link.
#include "device/LinkLoop.h"
#include "device/SerialPort.h"
#include "sim/SimAnalyser.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace trv;
using namespace trv::sim;

namespace {

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct Run {
    double wall = 0, line = 0;
    size_t bytes = 0;
};

bool Download(const std::string& dir, const std::string& portArg, Run& out) {
    SimConfig cfg;
    cfg.pace = true;
    SimAnalyser sim(cfg);
    if (const trv::Result started = sim.Start(dir); !started) {
        std::fprintf(stderr, "trv-sim: %s\n", started.message.c_str());
        return false;
    }
    const std::string file = dir + "/bench.trv";
    std::filesystem::remove(file);
    const std::string cmd = std::string("TRV_PORT_DIR='") + dir + "' '" + TRV_CLI + "' download '" + file + "' " +
                            portArg + " >/dev/null 2>&1";
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = std::system(cmd.c_str());
    const auto t1 = std::chrono::steady_clock::now();
    out.wall = std::chrono::duration<double>(t1 - t0).count();
    out.bytes = sim.BytesReceived() + sim.BytesSent();
    out.line = out.bytes * 10.0 / 19200.0;
    sim.Stop();
    if (rc != 0) std::fprintf(stderr, "trv-cli download ended with status %d\n", rc);
    return rc == 0;
}

void Report(const char* what, std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.wall < b.wall; });
    const Run& med = runs[runs.size() / 2];
    std::printf("%-28s bytes %5zu  line %.3f s  wall median %.3f s (min %.3f, max %.3f)  ratio %.4f\n", what, med.bytes,
                med.line, med.wall, runs.front().wall, runs.back().wall, med.wall / med.line);
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char tmpl[] = "/tmp/trv-bench-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);

    std::printf("trv-cli download against trv-sim at 19200 baud (10 bits a byte), %d runs each\n", repeats);
    for (const char* port : {"--port COM1", ""}) {
        std::vector<Run> runs;
        for (int i = 0; i < repeats; ++i) {
            Run r;
            if (!Download(dir, port, r)) return 1;
            runs.push_back(r);
        }
        Report(*port ? "download --port COM1" : "download (port search)", runs);
    }

    // An idle connected link: the reader polls, nothing else happens.
    {
        ::setenv("TRV_PORT_DIR", dir.c_str(), 1);
        SimAnalyser sim;
        if (!sim.Start(dir)) return 1;
        CLinkLoop loop;
        CSerialPort port;
        CLinkController ctl(port, loop);
        loop.Attach(ctl, port);
        const int before = loop.m_nEnableCount;
        ctl.Search();
        loop.RunUntilEnabled(before, 5000);
        const double seconds = 5.0;
        const double c0 = CpuSeconds();
        loop.RunUntil([] { return false; }, static_cast<int>(seconds * 1000));
        const double c1 = CpuSeconds();
        std::printf("idle connected link (%s): %.3f %% CPU over %.0f s (reader, event loop and simulator)\n",
                    ctl.State() == LinkIdle ? "idle" : "NOT idle", (c1 - c0) / seconds * 100.0, seconds);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
