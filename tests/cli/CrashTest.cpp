// trv-cli save and export killed at random moments: the target is always either the old or the new
// complete file, and the temporaries the killed writers leave are cleared by the next write.
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

using namespace trv;
namespace fs = std::filesystem;

namespace {

constexpr int kTests = 20000;
constexpr int kKills = 50;

std::string Slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// 20,000 step tests of three readings: a document of about 3.6 MB.
CTRVDoc BigDocument(const std::string& athlete) {
    CTRVDoc doc;
    doc.m_Tests.resize(kTests);
    uint16_t id = 1;
    for (auto& t : doc.m_Tests) {
        for (int k = 0; k < 3; ++k) {
            PCMDataType m;
            m.m_nMeasId = id++;
            m.m_nLactate = static_cast<uint16_t>(10 + k * 15);
            m.m_nMeasType = static_cast<uint8_t>(k == 0 ? MeasPreLoad : MeasLoad);
            m.m_dSpeed = 2.5 + k * 0.5;
            m.m_Time = COleDateTime::FromParts(2025, 1 + (id % 12), 1 + (id % 28), 10, k * 3, 0);
            t.m_Steps.push_back(m);
        }
    }
    doc.m_UserData.m_strFirstName = athlete;
    doc.m_strDeviceId = "ARV0012345";
    doc.m_bDeviceBound = true;
    return doc;
}

struct CrashRuns : ::testing::Test {
    fs::path dir;
    std::mt19937 rng{20261206};
    CrashRuns() {
        char tmpl[] = "/tmp/trv-crash-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    ~CrashRuns() override { fs::remove_all(dir); }

    // Starts trv-cli with `args`; returns its process id.
    static pid_t Start(const std::vector<std::string>& args) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::vector<char*> argv{const_cast<char*>(TRV_CLI)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            std::freopen("/dev/null", "w", stderr);
            ::execv(TRV_CLI, argv.data());
            ::_exit(127);
        }
        return pid;
    }
    static int Wait(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }
    // How long a whole run takes, so that the kills fall anywhere in it.
    static double Duration(const std::vector<std::string>& args) {
        const auto t0 = std::chrono::steady_clock::now();
        const int status = Wait(Start(args));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    int Temporaries() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir))
            n += e.path().filename().string().find(".tmp-") != std::string::npos;
        return n;
    }

    // Writes `target` from the two sources in turn, killing each writer at a random moment of its run.
    // `command(src, target)` gives trv-cli's arguments; `complete[src]` what a finished run writes.
    void KillRuns(const std::function<std::vector<std::string>(const std::string&, const std::string&)>& command,
                  const std::string sources[2], const std::string complete[2], const std::string& target) {
        const double full = Duration(command(sources[0], target));
        std::string current = Slurp(target);
        ASSERT_EQ(current, complete[0]);
        std::uniform_real_distribution<double> when(0.0, full * 1.1);
        int old = 0, fresh = 0;
        for (int run = 0; run < kKills; ++run) {
            const int s = (run + 1) % 2;
            const pid_t pid = Start(command(sources[s], target));
            std::this_thread::sleep_for(std::chrono::duration<double>(when(rng)));
            ::kill(pid, SIGKILL);
            Wait(pid);
            const std::string now = Slurp(target);
            if (now == current) {
                ++old;
            } else {
                ASSERT_EQ(now.size(), complete[s].size()) << "run " << run << ": a partial file";
                ASSERT_TRUE(now == complete[s]) << "run " << run << ": neither the old nor the new file";
                ++fresh;
                current = now;
            }
        }
        std::printf("%d kills: %d left the old file, %d the new one (a whole run takes %.0f ms)\n", kKills, old, fresh,
                    full * 1000);
        // A last run to its end clears what the killed ones left behind.
        ASSERT_EQ(Wait(Start(command(sources[0], target))), 0);
        EXPECT_EQ(Slurp(target), complete[0]);
        EXPECT_EQ(Temporaries(), 0);
    }
};

}  // namespace

TEST_F(CrashRuns, KilledSavesLeaveTheOldOrTheNewDocument) {
    const std::string a = (dir / "a.trv").string(), b = (dir / "b.trv").string(), target = (dir / "t.trv").string();
    CTRVDoc da = BigDocument("Anna"), db = BigDocument("Bernd");
    db.m_Tests.pop_back();  // the two files differ in size too
    ASSERT_TRUE(SaveDocument(da, a).ok);
    ASSERT_TRUE(SaveDocument(db, b).ok);
    ASSERT_GT(fs::file_size(a), 3'000'000u);
    const std::string sources[2] = {a, b}, complete[2] = {Slurp(a), Slurp(b)};
    KillRuns(
        [](const std::string& src, const std::string& out) {
            return std::vector<std::string>{"save", src, "-o", out};
        },
        sources, complete, target);
}

TEST_F(CrashRuns, KilledExportsLeaveTheOldOrTheNewCsv) {
    const std::string a = (dir / "a.trv").string(), b = (dir / "b.trv").string(), target = (dir / "t.csv").string();
    CTRVDoc da = BigDocument("Anna"), db = BigDocument("Bernd");
    db.m_Tests.pop_back();
    ASSERT_TRUE(SaveDocument(da, a).ok);
    ASSERT_TRUE(SaveDocument(db, b).ok);
    const auto exportTo = [](const std::string& src, const std::string& out) {
        return std::vector<std::string>{"export", src, "-o", out, "--all"};
    };
    // What a complete export of each writes, made by a run that is not disturbed.
    std::string complete[2];
    for (int s = 0; s < 2; ++s) {
        const std::string out = (dir / ("full" + std::to_string(s) + ".csv")).string();
        ASSERT_EQ(Wait(Start(exportTo(s == 0 ? a : b, out))), 0);
        complete[s] = Slurp(out);
        fs::remove(out);
    }
    ASSERT_GT(complete[0].size(), 3'000'000u);
    ASSERT_NE(complete[0], complete[1]);
    const std::string sources[2] = {a, b};
    KillRuns(exportTo, sources, complete, target);
}
