// The athlete library at the scale of a large lab: 2,000 generated athletes' documents with 20,000
// step tests. Prints every figure of the library's scale table; not a test. Usage:
//   bench_library [DIR]   (DIR: where the library is generated; default a temporary folder, removed)
#include "data/TrvFile.h"
#include "library/Assignment.h"
#include "library/LibraryIndex.h"
#include "library/TeamOverview.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace trv;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

constexpr int kAthletes = 2000;
constexpr int kTestsPerAthlete = 10;

const char* kLast[] = {"Müller",  "Schäfer", "Zander", "Arndt",  "O'Brien",
                       "Łukasik", "Weiß",    "Nguyen", "Öztürk", "Berg"};
const char* kFirst[] = {"Anna", "Ole", "Zoë", "Jörg", "Seán", "Eva", "Lea", "Tom", "Mia", "Ben", "Ida", "Max"};
const char* kGroups[] = {"", "Radsport", "U23/Läufer", "Triathlon", "Rudern"};

// A treadmill or ergometer test of 6 steps and a pre-load reading; lactates vary by athlete and test.
TestDataType StepTest(int athlete, int n, uint16_t& id) {
    TestDataType t;
    t.m_nTestType = n % 2 ? TestErgometer : TestTreadmill;
    t.m_nLoadUnit = t.m_nTestType == TestErgometer ? UnitWatt : UnitKmh;
    t.m_bIndividualLoads = 1;
    t.m_bParamsEntered = 1;
    t.m_nDurationSource = SourceManual;
    const double day = 44000.4 + 30.0 * n + athlete % 7;
    const double shift = 0.1 * (athlete % 5) + 0.05 * n;
    for (int k = -1; k < 6; ++k) {
        PCMDataType m;
        m.m_nMeasId = id++;
        m.m_nStatus = StatusNormal;
        m.m_nMeasType = k < 0 ? MeasPreLoad : MeasLoad;
        m.m_nLactate =
            static_cast<uint16_t>(std::lround(10 * (k < 0 ? 1.0 : 0.9 + 0.25 * std::exp(0.55 * (k + shift)))));
        m.m_nHeartRate = k < 0 ? 80 : 120 + 10 * k;
        m.m_Time = COleDateTime(day + (k + 1) * 3.0 / 1440.0);
        m.m_bChecked = 1;
        if (t.m_nLoadUnit == UnitWatt)
            m.m_dPower = 100 + 40 * std::max(k, 0);
        else
            m.m_dSpeed = (8 + 2 * std::max(k, 0)) / 3.6;
        t.m_Steps.push_back(m);
    }
    t.m_Steps.front().m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

CTRVDoc Athlete(int a) {
    CTRVDoc doc;
    doc.m_UserData.m_strLastName = std::string(kLast[a % 10]) + (a >= 10 ? std::to_string(a) : "");
    doc.m_UserData.m_strFirstName = kFirst[a % 12];
    doc.m_UserData.m_BirthDate = COleDateTime::FromParts(1970 + a % 40, 1 + a % 12, 1 + a % 28, 0, 0, 0);
    uint16_t id = 1;
    for (int n = 0; n < kTestsPerAthlete; ++n) doc.m_Tests.push_back(StepTest(a, n, id));
    return doc;
}

void WriteFast(const CTRVDoc& doc, const std::string& path) {
    std::vector<uint8_t> bytes;
    WriteTrv(doc, bytes);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

long RssMb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6) / 1024;
    return -1;
}

class BenchHost : public IAssignHost {
public:
    BenchHost(CTRVDoc& doc, std::string path) : m_doc(doc), m_path(std::move(path)) {}
    CTRVDoc* OpenDocument(const std::string&) override { return nullptr; }
    Result AddToOpen(const std::string&, const std::vector<TestAddition>&) override { return Result::Fail({}); }
    void UndoAddToOpen(const std::string&) override {}
    Result PrepareSource() override { return Result::Ok(); }
    Result MarkSource(const std::vector<int>& tests) override {
        MarkAssigned(m_doc, tests, true);
        return SaveDocument(m_doc, m_path);
    }
    void ReleaseSource() override {}

private:
    CTRVDoc& m_doc;
    std::string m_path;
};

}  // namespace

int main(int argc, char** argv) {
    const bool keep = argc > 1;
    char tmpl[] = "/tmp/trv-bench-library-XXXXXX";
    const fs::path root = keep ? fs::path(argv[1]) : fs::path(::mkdtemp(tmpl));
    const std::string dir = (root / "lib").string();
    ::setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    fs::remove_all(root / "cache");

    auto t0 = Clock::now();
    if (!fs::exists(dir)) {
        for (int a = 0; a < kAthletes; ++a) {
            const std::string group = kGroups[a % 5];
            WriteFast(Athlete(a),
                      dir + "/" + (group.empty() ? "" : group + "/") + "athlete" + std::to_string(a) + ".trv");
        }
    }
    auto t1 = Clock::now();
    std::printf("Library of %d documents with %d step tests generated in %.0f ms\n", kAthletes,
                kAthletes * kTestsPerAthlete, Ms(t0, t1));

    double first = 0, reopen = 0, changed = 0;
    RefreshStats st;
    {
        CLibraryIndex index;
        t0 = Clock::now();
        Result ready = index.Open(dir);
        if (ready) ready = index.Refresh(&st);
        if (!ready) {
            std::fprintf(stderr, "%s\n", ready.message.c_str());
            return 1;
        }
        t1 = Clock::now();
        first = Ms(t0, t1);
        std::printf("First index of %d documents (%d read, %d threshold sets computed): %.0f ms (target < 5000 ms)\n",
                    st.files, st.read, st.computed, first);
    }
    {
        CLibraryIndex index;
        t0 = Clock::now();
        index.Open(dir);
        index.Refresh(&st);
        // A filled list: the shown threshold of every athlete.
        int shown = 0;
        for (size_t i = 0; i < index.Entries().size(); ++i)
            if (index.Last(static_cast<int>(i), {"ians"})) ++shown;
        t1 = Clock::now();
        reopen = Ms(t0, t1);
        std::printf("Reopen, nothing changed, to a filled list of %d athletes (%d read): %.1f ms (target < 200 ms)\n",
                    shown, st.read, reopen);

        // One document changed by another program.
        const LibraryEntry& e = index.Entries()[1234];
        const std::string path = dir + "/" + e.file;
        CTRVDoc doc;
        LoadDocument(path, doc);
        doc.m_UserData.m_strRemarks = "geändert";
        doc.m_Tests.back().m_Steps.back().m_nLactate += 3;
        WriteFast(doc, path);
        t0 = Clock::now();
        index.Refresh(&st);
        t1 = Clock::now();
        changed = Ms(t0, t1);
        std::printf("One changed document re-indexed (%d read, %d computed): %.1f ms (target < 50 ms)\n", st.read,
                    st.computed, changed);

        // Search as you type: "s", "sc", "sch", ... over 2,000 athletes.
        const std::string typed = "schäfer 197";
        std::vector<double> keys;
        size_t hits = 0;
        for (size_t n = 1; n <= typed.size(); ++n) {
            if ((static_cast<unsigned char>(typed[n - 1]) & 0xC0) == 0xC0) continue;  // the middle of "ä"
            t0 = Clock::now();
            hits = index.Search(typed.substr(0, n)).size();
            t1 = Clock::now();
            keys.push_back(Ms(t0, t1));
        }
        std::sort(keys.begin(), keys.end());
        std::printf(
            "One search keystroke over %zu athletes: median %.2f ms, slowest %.2f ms (target < 10 ms), %zu hits\n",
            index.Entries().size(), keys[keys.size() / 2], keys.back(), hits);

        // The team overview of a group of 30.
        std::vector<int> team;
        for (int i : index.Search("radsport"))
            if (team.size() < 30) team.push_back(i);
        const std::vector<std::string> methods = DefaultHistoryMethods();
        t0 = Clock::now();
        const std::vector<TeamRow> rows = BuildTeam(index, team, methods);
        const TeamTable table = MakeTeamTable(index, rows, methods);
        t1 = Clock::now();
        std::printf("Team overview of %zu athletes from the index: %.2f ms (target < 100 ms)\n", table.rows.size(),
                    Ms(t0, t1));
        std::printf("Memory with the library open: %ld MB resident (the desktop program adds its windows)\n", RssMb());

        // Twenty of today's tests, one for each of twenty athletes' closed documents.
        CTRVDoc day;
        uint16_t id = 40000;
        for (int n = 0; n < 20; ++n) day.m_Tests.push_back(StepTest(n, 99, id));
        const std::string source = (root / "heute.trv").string();
        SaveDocument(day, source);
        std::vector<AssignRequest> requests;
        for (int n = 0; n < 20; ++n) {
            AssignRequest rq;
            rq.test = n;
            rq.target = dir + "/" + index.Entries()[static_cast<size_t>(n * 97)].file;
            requests.push_back(rq);
        }
        BenchHost host(day, source);
        t0 = Clock::now();
        const AssignPlan plan = PlanAssignment(day, requests, &host);
        const std::string failed = CommitAssignment(plan, host).message;
        t1 = Clock::now();
        std::printf("Assign 20 tests to 20 closed documents (each synced to disk): %.0f ms (target < 2000 ms)%s%s\n",
                    Ms(t0, t1), failed.empty() ? "" : ": ", failed.c_str());
    }
    if (!keep) fs::remove_all(root);
    return 0;
}
