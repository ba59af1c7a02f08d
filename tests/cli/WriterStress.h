#pragma once
// Writers meeting on one document, as a lab's scripts meet it: two trv-cli imports started together,
// a trv-cli import against a window that holds the document open (a process holding its lock the
// way a window does), and a trv-cli download from the simulated analyser against an import. Each
// run checks what every writer said against the file afterwards: a writer that exited 0 must find
// its readings in the file, a refused writer must have exited 7 with the German message.
// Shared by the test (a few runs) and bench_writers (50 runs each).
#include "data/DocLock.h"
#include "data/TrvFile.h"
#include "sim/SimAnalyser.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace trv::stress {

struct Figures {
    int runs = 0;
    int writers = 0;        // writer processes started
    int accepted = 0;       // exited 0
    int refused = 0;        // exited 7 with the message
    int readingsLost = 0;   // readings of accepted writers missing from the file
    int otherFailures = 0;  // any other exit code, or a refusal without the message, or a damaged file
    std::string firstProblem;
    void Problem(const std::string& what) {
        ++otherFailures;
        if (firstProblem.empty()) firstProblem = what;
    }
};

inline std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Starts `cmd` through the shell, stderr into `errPath`.
inline pid_t Spawn(const std::string& cmd, const std::string& errPath) {
    const std::string full = cmd + " >/dev/null 2>'" + errPath + "' </dev/null";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", full.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

inline int Wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A CSV of four readings whose first heart rate is `marker`: the test it makes can be found again.
inline void WriteCsv(const std::string& path, int marker) {
    std::ofstream(path) << "Belastung;Laktat;HF\n8;1,1;" << marker << "\n10;1,6;150\n12;2,9;165\n14;5,2;180\n";
}

inline int CountMarked(const CTRVDoc& doc, int marker) {
    int n = 0;
    for (const TestDataType& t : doc.m_Tests)
        if (!t.m_Steps.empty() && t.m_Steps.front().m_nHeartRate == marker) n += static_cast<int>(t.m_Steps.size());
    return n;
}

inline int CountAnalyserReadings(const CTRVDoc& doc) {
    int n = 0;
    for (const TestDataType& t : doc.m_Tests)
        if (t.m_nReserved1 == 0)
            for (const PCMDataType& m : t.m_Steps) n += m.m_nHeartRate == 0 ? 1 : 0;
    return n;
}

// What one writer's exit said, checked.
inline void Judge(Figures& f, int code, const std::string& err, int expectedReadings, int foundReadings,
                  const char* who) {
    ++f.writers;
    if (code == 0) {
        ++f.accepted;
        if (foundReadings < expectedReadings) f.readingsLost += expectedReadings - foundReadings;
    } else if (code == 7 && err.find("trv-cli: Die Datei wird bereits von ") != std::string::npos) {
        ++f.refused;
        if (foundReadings != 0) f.Problem(std::string(who) + ": refused, yet its readings are in the file");
    } else {
        f.Problem(std::string(who) + ": exit " + std::to_string(code) + " " + err);
    }
}

class Bench {
public:
    explicit Bench(std::string cli) : m_cli(std::move(cli)) {
        char tmpl[] = "/tmp/trv-stress-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
    }
    ~Bench() { std::filesystem::remove_all(m_dir); }
    std::string P(const std::string& name) const { return m_dir + "/" + name; }

    // A document with one imported test to start from.
    bool Fresh(const std::string& doc) {
        std::filesystem::remove(doc);
        WriteCsv(P("seed.csv"), 99);
        return std::system(("'" + m_cli + "' import '" + doc + "' '" + P("seed.csv") + "' >/dev/null 2>&1").c_str()) ==
               0;
    }

    std::string Import(const std::string& doc, const std::string& csv) const {
        return "'" + m_cli + "' import '" + doc + "' '" + csv + "'";
    }

    // Two imports started together.
    Figures TwoImports(int runs) {
        Figures f;
        const std::string doc = P("two.trv");
        WriteCsv(P("a.csv"), 111);
        WriteCsv(P("b.csv"), 122);
        for (int run = 0; run < runs; ++run) {
            ++f.runs;
            if (!Fresh(doc)) f.Problem("seed import failed");
            const pid_t a = Spawn(Import(doc, P("a.csv")), P("a.err"));
            const pid_t b = Spawn(Import(doc, P("b.csv")), P("b.err"));
            const int ca = Wait(a), cb = Wait(b);
            CTRVDoc d;
            if (!LoadDocument(doc, d).ok) f.Problem("document damaged");
            Judge(f, ca, Slurp(P("a.err")), 4, CountMarked(d, 111), "import a");
            Judge(f, cb, Slurp(P("b.err")), 4, CountMarked(d, 122), "import b");
            if (std::filesystem::exists(CDocLock::LockPath(doc))) f.Problem("lock file left behind");
        }
        return f;
    }

    // An import against a window: the window (a child process) takes the document's lock as a window
    // does when it opens the file, reads it, changes it (its own test), checks the file is unchanged
    // and saves it, then closes (releases). Refused its lock, it opens read-only and saves nothing.
    Figures ImportAgainstWindow(int runs) {
        Figures f;
        const std::string doc = P("window.trv");
        WriteCsv(P("cli.csv"), 133);
        WriteCsv(P("win.csv"), 144);
        for (int run = 0; run < runs; ++run) {
            ++f.runs;
            if (!Fresh(doc)) f.Problem("seed import failed");
            const int windowStartUs = (run * 7919) % 30000;
            const pid_t window = ::fork();
            if (window == 0) ::_exit(WindowProcess(doc, windowStartUs));
            std::this_thread::sleep_for(std::chrono::microseconds(((run * 104729) % 40000)));
            const pid_t cli = Spawn(Import(doc, P("cli.csv")), P("cli.err"));
            const int cc = Wait(cli);
            const int cw = Wait(window);
            CTRVDoc d;
            if (!LoadDocument(doc, d).ok) f.Problem("document damaged");
            Judge(f, cc, Slurp(P("cli.err")), 4, CountMarked(d, 133), "import");
            // The window: 0 saved its change, 7 opened read-only (refused), else a fault.
            ++f.writers;
            if (cw == 0) {
                ++f.accepted;
                const int found = CountMarked(d, 144);
                if (found < 4) f.readingsLost += 4 - found;
            } else if (cw == 7) {
                ++f.refused;
            } else {
                f.Problem("window exit " + std::to_string(cw));
            }
        }
        return f;
    }

    // A download from the simulated analyser against an import.
    Figures DownloadAgainstImport(int runs, bool pace) {
        Figures f;
        const std::string doc = P("dl.trv");
        WriteCsv(P("imp.csv"), 155);
        // How many readings the analyser hands over into a fresh document, found once alone.
        int analyserReadings = -1;
        for (int run = 0; run < runs; ++run) {
            ++f.runs;
            sim::SimConfig cfg;
            cfg.pace = pace;
            sim::SimAnalyser analyser(cfg);
            if (const Result started = analyser.Start(m_dir); !started) {
                f.Problem("trv-sim: " + started.message);
                break;
            }
            const std::string download =
                "TRV_PORT_DIR='" + m_dir + "' '" + m_cli + "' download '" + doc + "' --port COM1";
            if (analyserReadings < 0) {
                std::filesystem::remove(doc);
                if (Wait(Spawn(download, P("dl.err"))) != 0) f.Problem("download alone failed: " + Slurp(P("dl.err")));
                CTRVDoc d;
                LoadDocument(doc, d);
                analyserReadings = CountAnalyserReadings(d);
            }
            if (!Fresh(doc)) f.Problem("seed import failed");
            const pid_t dl = Spawn(download, P("dl.err"));
            std::this_thread::sleep_for(std::chrono::microseconds((run * 104729) % (pace ? 2500000 : 60000)));
            const pid_t imp = Spawn(Import(doc, P("imp.csv")), P("imp.err"));
            const int ci = Wait(imp), cd = Wait(dl);
            analyser.Stop();
            CTRVDoc d;
            if (!LoadDocument(doc, d).ok) f.Problem("document damaged");
            Judge(f, cd, Slurp(P("dl.err")), analyserReadings, CountAnalyserReadings(d), "download");
            Judge(f, ci, Slurp(P("imp.err")), 4, CountMarked(d, 155), "import");
        }
        return f;
    }

private:
    // The window's side: 0 when it saved its change, 7 when it could not take the lock.
    int WindowProcess(const std::string& doc, int startUs) {
        std::this_thread::sleep_for(std::chrono::microseconds(startUs));
        CDocLock lock;
        if (!lock.Acquire(doc).Taken()) return 7;
        CTRVDoc d;
        if (!LoadDocument(doc, d).ok) return 3;
        // The user types a test by hand for a while.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        CTRVDoc typed;
        if (!LoadDocument(P("seedless.trv"), typed).ok) return 4;
        for (const TestDataType& t : typed.m_Tests) d.m_Tests.push_back(t);
        if (FileIdentity::Of(doc) != d.m_DiskIdentity) return 5;  // changed on disk: would ask
        return SaveDocument(d, doc).ok ? 0 : 6;
    }

public:
    // The window's typed test, made once by trv-cli into a document of its own.
    bool PrepareWindowTest() {
        std::filesystem::remove(P("seedless.trv"));
        WriteCsv(P("win.csv"), 144);
        return std::system((Import(P("seedless.trv"), P("win.csv")) + " >/dev/null 2>&1").c_str()) == 0;
    }

private:
    std::string m_cli;
    std::string m_dir;
};

inline void Print(const char* what, const Figures& f) {
    std::printf(
        "%-34s runs %3d  writers %3d  accepted %3d  refused (exit 7) %3d  readings lost %d  other faults %d%s%s\n",
        what, f.runs, f.writers, f.accepted, f.refused, f.readingsLost, f.otherFailures,
        f.firstProblem.empty() ? "" : "  first: ", f.firstProblem.c_str());
}

}  // namespace trv::stress
