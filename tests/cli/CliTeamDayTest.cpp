// The team test day end to end: the analyser's memory with four athletes' step tests downloaded into
// one document, each test assigned to its athlete's document (existing and new ones) with trv-cli,
// a second download that brings nothing twice, each athlete's history with the new test, the team
// overview printed. Then the assignment's refusals, each of which leaves every file as it was.
#include "../library/LibraryFixture.h"
#include "CliRun.h"
#include "analysis/StepTest.h"
#include "data/AssignedTests.h"
#include "sim/SimAnalyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace trv;
using namespace trv::sim;
using namespace trvtest::library;

namespace {

// Four athletes, one after the other on the treadmill: PrL, five steps of 3 min, AFL.
std::string TeamMemory() {
    std::string text = "device ARV0012345\nfirmware 3.05\nsteptest on\n";
    const double lactates[4][5] = {
        {1.2, 1.6, 2.4, 3.8, 6.0}, {1.0, 1.3, 2.0, 3.1, 5.2}, {1.4, 2.0, 3.2, 5.0, 7.4}, {0.9, 1.1, 1.6, 2.6, 4.4}};
    for (int a = 0; a < 4; ++a) {
        const int id = 201 + a * 10;
        auto line = [&](int k, const char* type, const char* flags, double la) {
            const int minutes = a * 40 + k * 3;
            char buf[128];
            std::snprintf(buf, sizeof buf, "%d 2026-03-02 %02d:%02d:10 %s %s %.1f 22 %d 180\n", id + k,
                          9 + minutes / 60, minutes % 60, type, flags, la, std::strcmp(type, "Ld") == 0 ? 2 : 1);
            text += buf;
        };
        line(0, "PrL", "start", 1.0);
        for (int k = 0; k < 5; ++k) line(k + 1, "Ld", "-", lactates[a][k]);
        line(6, "AFL", "end", lactates[a][4] - 0.5);
    }
    return text;
}

class TeamDay : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/trv-teamday-XXXXXX";
        ports = ::mkdtemp(tmpl);
        SimConfig cfg;
        ASSERT_EQ(ParseSimMemory(TeamMemory(), cfg.memory).message, "");
        sim = std::make_unique<SimAnalyser>(std::move(cfg));
        ASSERT_TRUE(sim->Start(ports));
        lib.Athlete("Radsport/Müller_Anna_1990-05-17.trv", "Müller", "Anna");
        lib.Athlete("Radsport/Zander_Ole_2001-01-02.trv", "Zander", "Ole", 2001, 1, 2);
        team = (lib.root / "heute.trv").string();
    }
    void TearDown() override {
        if (sim) sim->Stop();
        std::filesystem::remove_all(ports);
    }
    CliRun Run(const std::string& args) { return Cli("env TRV_PORT_DIR='" + ports + "' " TRV_CLI " " + args, true); }
    static CliRun Cli(const std::string& cmd, bool) {
        // CliRun's helper prefixes the binary; here the environment goes first.
        const std::string errFile = std::string("/tmp/trv-teamday-err-") + std::to_string(::getpid());
        CliRun r;
        FILE* p = ::popen((cmd + " 2>" + errFile).c_str(), "r");
        char buf[4096];
        size_t k;
        while ((k = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, k);
        const int status = ::pclose(p);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream e(errFile);
        r.err.assign(std::istreambuf_iterator<char>(e), {});
        std::filesystem::remove(errFile);
        return r;
    }
    // What the lab types in the parameter dialog: treadmill, km/h, from 8 km/h by 2 km/h.
    void EnterParameters() {
        CTRVDoc doc;
        ASSERT_TRUE(LoadDocument(team, doc).ok);
        for (TestDataType& t : doc.m_Tests) {
            if (t.m_Steps.size() < 3) continue;
            t.m_nTestType = TestTreadmill;
            t.m_nLoadUnit = UnitKmh;
            t.m_dStartValue = 8 / 3.6;
            t.m_dIncrement = 2 / 3.6;
            t.m_nDurationSource = SourcePc;
            t.m_nPcStepDuration = 180;
            t.m_bParamsEntered = 1;
            UpdateLoads(t);
        }
        ASSERT_TRUE(SaveDocument(doc, team).ok);
    }
    std::string ports, team;
    std::unique_ptr<SimAnalyser> sim;
    TempLibrary lib;
};

TEST_F(TeamDay, DownloadAssignHistoryAndOverview) {
    CliRun r = Run("download '" + team + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EnterParameters();
    CTRVDoc day;
    ASSERT_TRUE(LoadDocument(team, day).ok);
    ASSERT_EQ(day.GetTestCount(), 4);

    const std::string anna = lib.Path("Radsport/Müller_Anna_1990-05-17.trv");
    const std::string ole = lib.Path("Radsport/Zander_Ole_2001-01-02.trv");
    const std::string ben = lib.Path("U23/Neu_Ben_2004-02-03.trv");
    std::filesystem::create_directories(lib.Path("U23"));
    r = Run("assign '" + team + "' --tests 0 --to '" + anna + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1 Tests zugeordnet (1 Dateien), 7 Messwerte kopiert, 0 schon vorhanden.\n");
    r = Run("assign '" + team + "' --tests 1 --to '" + ole + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    // A new athlete needs the athlete's data; without them nothing is written.
    r = Run("assign '" + team + "' --tests 2,3 --to '" + ben + "'");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--athlete"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(ben));
    r = Run("assign '" + team + "' --tests 2,3 --to '" + ben + "' --athlete 'Neu;Ben;2004-02-03'");
    ASSERT_EQ(r.code, 0) << r.err;
    // Assigning twice is harmless.
    const std::string annaBytes = lib.Bytes("Radsport/Müller_Anna_1990-05-17.trv");
    r = Run("assign '" + team + "' --tests 0 --to '" + anna + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1 Tests zugeordnet (1 Dateien), 0 Messwerte kopiert, 7 schon vorhanden.\n");
    EXPECT_EQ(lib.Bytes("Radsport/Müller_Anna_1990-05-17.trv"), annaBytes);

    ASSERT_TRUE(LoadDocument(team, day).ok);
    for (const TestDataType& t : day.m_Tests) EXPECT_TRUE(IsAssignedTest(t));
    // The next download into the source brings nothing twice.
    r = Run("download '" + team + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    CTRVDoc again;
    ASSERT_TRUE(LoadDocument(team, again).ok);
    EXPECT_EQ(again.GetTestCount(), 4);
    EXPECT_EQ(again.CountReadings(), 28);
    for (const TestDataType& t : again.m_Tests) EXPECT_TRUE(IsAssignedTest(t));

    // Each athlete's history ends with today's test, with the thresholds of the copy.
    for (const auto& [path, steps] : {std::pair{anna, 5}, std::pair{ole, 5}, std::pair{ben, 5}}) {
        r = Run("history '" + path + "' --json");
        ASSERT_EQ(r.code, 0) << r.err;
        const size_t last = r.out.rfind("{\"index\":");
        EXPECT_NE(r.out.find("\"date\":\"2026-03-02T", last), std::string::npos) << path << r.out;
        EXPECT_NE(r.out.find("\"steps\":" + std::to_string(steps), last), std::string::npos) << r.out;
    }
    CTRVDoc b;
    ASSERT_TRUE(LoadDocument(ben, b).ok);
    EXPECT_EQ(b.GetTestCount(), 2);
    EXPECT_EQ(b.m_UserData.m_strLastName, "Neu");
    EXPECT_EQ(b.m_UserData.m_BirthDate.FormatDate(), "03.02.2004");

    // The team overview: every athlete's last test is today's, and it prints.
    r = Run("team '" + lib.Dir() + "' --json --methods obla_4.0");
    ASSERT_EQ(r.code, 0) << r.err;
    size_t count = 0;
    for (size_t at = 0; (at = r.out.find("\"last\":{\"index\":", at)) != std::string::npos; ++at) {
        EXPECT_EQ(r.out.compare(r.out.find("\"date\":", at), 19, "\"date\":\"2026-03-02T"), 0);
        ++count;
    }
    EXPECT_EQ(count, 3u);
    if (!CliDraws()) return;  // built without the desktop program: no PDF
    const std::string pdf = (lib.root / "team.pdf").string();
    r = Run("team '" + lib.Dir() + "' --pdf '" + pdf + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

TEST_F(TeamDay, RefusalsLeaveEveryFileAsItWas) {
    ASSERT_EQ(Run("download '" + team + "'").code, 0);
    EnterParameters();
    const std::string anna = lib.Path("Radsport/Müller_Anna_1990-05-17.trv");
    const std::string teamBytes = [&] {
        std::ifstream f(team, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }();
    const std::string annaBytes = lib.Bytes("Radsport/Müller_Anna_1990-05-17.trv");
    auto unchanged = [&](const std::string& why) {
        std::ifstream f(team, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), teamBytes) << why;
        EXPECT_EQ(lib.Bytes("Radsport/Müller_Anna_1990-05-17.trv"), annaBytes) << why;
    };

    // The athlete's document is open on another workstation: exit 7 naming who.
    lib.Raw("Radsport/.~lock.Müller_Anna_1990-05-17.trv#", "trainer,labor-pc-2,4242,2026-03-02T10:15:00\n");
    CliRun r = Run("assign '" + team + "' --tests 0 --to '" + anna + "'");
    EXPECT_EQ(r.code, 7);
    EXPECT_NE(r.err.find("labor-pc-2"), std::string::npos) << r.err;
    unchanged("target locked");
    std::filesystem::remove(lib.Path("Radsport/.~lock.Müller_Anna_1990-05-17.trv#"));

    // The source is open elsewhere: exit 7.
    const std::string sourceLock = (lib.root / ".~lock.heute.trv#").string();
    std::ofstream(sourceLock) << "trainer,labor-pc-2,4242,2026-03-02T10:15:00\n";
    r = Run("assign '" + team + "' --tests 0 --to '" + anna + "'");
    EXPECT_EQ(r.code, 7);
    unchanged("source locked");
    std::filesystem::remove(sourceLock);

    // An ID the athlete holds with other content: exit 2, the message names both, nothing written.
    CTRVDoc other;
    ASSERT_TRUE(LoadDocument(team, other).ok);
    other.m_Tests.resize(1);
    other.GetTest(0).m_Steps[3].m_nLactate = 123;
    other.m_UserData.m_strLastName = "Arndt";
    lib.Save("Arndt.trv", other);
    const std::string arndt = lib.Bytes("Arndt.trv");
    r = Run("assign '" + team + "' --tests 0 --to '" + lib.Path("Arndt.trv") + "'");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("Messwert 00204"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Arndt.trv"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("12,3 statt"), std::string::npos) << r.err;
    EXPECT_EQ(lib.Bytes("Arndt.trv"), arndt);
    unchanged("conflict");

    // A target that cannot be written (write-protected), a damaged target, a bad athlete, the source
    // as its own target, a test that does not exist.
    ::chmod(anna.c_str(), 0444);
    r = Run("assign '" + team + "' --tests 0 --to '" + anna + "'");
    ::chmod(anna.c_str(), 0644);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("schreibgeschützt"), std::string::npos) << r.err;
    unchanged("write-protected");
    lib.Raw("kaputt.trv", "\x05\x00\x00\x00\xff");
    const struct {
        std::string args;
        int code;
        const char* message;
    } cases[] = {
        {"--tests 0 --to '" + lib.Path("kaputt.trv") + "'", 2, "kann nicht als Ziel dienen"},
        {"--tests 0 --to '" + lib.Path("x.trv") + "' --athlete 'Nur ein Feld'", 1, "NACHNAME;VORNAME"},
        {"--tests 0 --to '" + lib.Path("x.trv") + "' --athlete 'A;B;2004-02-30'", 1, "2004-02-30"},
        {"--tests 0 --to '" + team + "'", 2, "dieselbe Datei"},
        {"--tests 9 --to '" + anna + "'", 1, ""},
        {"--to '" + anna + "'", 1, "Aufruf"},
    };
    for (const auto& c : cases) {
        r = Run("assign '" + team + "' " + c.args);
        EXPECT_EQ(r.code, c.code) << c.args << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        unchanged(c.args);
    }
    EXPECT_FALSE(std::filesystem::exists(lib.Path("x.trv")));
    // Names with umlauts, apostrophes, slashes and emoji make a new athlete's document.
    r = Run("assign '" + team + "' --tests 3 --to '" + lib.Path("O'\\''Brien 🏃_Zoë.trv") +
            "' --athlete \"O'Brien/🏃;Zoë;\"");
    ASSERT_EQ(r.code, 0) << r.err;
    CTRVDoc z;
    ASSERT_TRUE(LoadDocument(lib.Path("O'Brien 🏃_Zoë.trv"), z).ok);
    EXPECT_EQ(z.m_UserData.m_strLastName, "O'Brien/🏃");
    EXPECT_EQ(z.m_UserData.m_strFirstName, "Zoë");
}

}  // namespace
