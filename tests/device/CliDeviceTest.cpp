// trv-cli search, download, config and reset against trv-sim on a pseudo-terminal.
#include "data/TrvFile.h"
#include "sim/SimAnalyser.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace trv;
using namespace trv::sim;

namespace {

struct CliDevice : ::testing::Test {
    std::string dir;
    std::unique_ptr<SimAnalyser> sim;
    std::string out, err;

    CliDevice() {
        char tmpl[] = "/tmp/trv-cli-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    ~CliDevice() override {
        if (sim) sim->Stop();
        std::filesystem::remove_all(dir);
    }
    void StartSim(SimConfig cfg = {}) {
        sim = std::make_unique<SimAnalyser>(std::move(cfg));
        ASSERT_TRUE(sim->Start(dir));
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    int Cli(const std::string& args) {
        const std::string cmd =
            "TRV_PORT_DIR='" + dir + "' '" TRV_CLI "' " + args + " >'" + dir + "/out' 2>'" + dir + "/err'";
        const int status = std::system(cmd.c_str());
        out = Slurp(dir + "/out");
        err = Slurp(dir + "/err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string LastErrorLine() const {
        const auto end = err.find_last_not_of('\n');
        const auto start = err.rfind('\n', end);
        return err.substr(start == std::string::npos ? 0 : start + 1,
                          end - (start == std::string::npos ? 0 : start + 1) + 1);
    }
};

}  // namespace

TEST_F(CliDevice, SearchListsTheAnalyser) {
    StartSim();
    ASSERT_EQ(Cli("search --json"), 0) << err;
    EXPECT_EQ(out, "[{\"port\":\"COM1\",\"device_id\":\"ARV0012345\",\"firmware\":3.05}]\n");
}

TEST_F(CliDevice, SearchWithoutAnalyserExitsThree) {
    EXPECT_EQ(Cli("search --json"), 3);
    EXPECT_EQ(
        LastErrorLine(),
        "trv-cli: Kein Arvento gefunden! Bitte Gerät mittels PC-Kabel oder BT-Modul anschließen und einschalten.");
}

TEST_F(CliDevice, DownloadCreatesTheFileThenAddsNothingTwice) {
    StartSim();
    const std::string file = dir + "/athlete.trv";
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    EXPECT_NE(err.find("Empfange Messdaten ..."), std::string::npos);
    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(file, doc).ok);
    EXPECT_EQ(doc.GetTestCount(), 8);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0012345");
    ASSERT_EQ(Cli("download '" + file + "' --port COM1"), 0) << err;
    EXPECT_EQ(out.rfind("0 neue Messungen", 0), 0u) << out;
}

TEST_F(CliDevice, FailedDownloadsLeaveTheFileByteForByte) {
    StartSim();
    const std::string file = dir + "/athlete.trv";
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    const std::string before = Slurp(file);
    SimConfig other, crc, hangup;
    other.memory.deviceId = "ARV0099995";
    crc.faults.corruptCrc = true;
    crc.memory.readings.push_back({});
    crc.memory.readings.back().id = 130;
    crc.memory.readings.back().start = true;
    hangup.faults.hangUpAt = 700;
    const struct {
        const SimConfig& cfg;
        const char* port;
        int code;
        const char* error;
    } cases[] = {{other, "", 4, "trv-cli: Geräte-ID stimmt mit keiner der angeschlossenen Geräte überein."},
                 {crc, " --port COM1", 5, "trv-cli: Fehlerhafte CRC-Prüfsumme."},
                 {hangup, "", 5, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        sim->Stop();
        StartSim(c.cfg);
        EXPECT_EQ(Cli("download '" + file + "'" + c.port), c.code);
        if (c.error) {
            EXPECT_EQ(LastErrorLine(), c.error);
        }
        EXPECT_EQ(Slurp(file), before);
    }
}

TEST_F(CliDevice, ConfigReadsWritesAndVerifies) {
    StartSim();
    ASSERT_EQ(Cli("config --port COM1 --json"), 0) << err;
    EXPECT_EQ(out, "{\"step_test_mode\":true}\n");
    ASSERT_EQ(Cli("config --port COM1 --step-test-mode off --json"), 0) << err;
    EXPECT_EQ(out, "{\"step_test_mode\":false}\n");
    EXPECT_FALSE(sim->StepTestMode());
    EXPECT_EQ(Cli("config --step-test-mode on"), 1);
    EXPECT_EQ(Cli("config --port COM1 --step-test-mode maybe"), 1);
}

TEST_F(CliDevice, ConfigOfAnOldAnalyserExitsSix) {
    SimConfig cfg;
    cfg.memory.firmware100 = 303;
    StartSim(cfg);
    EXPECT_EQ(Cli("config --port COM1"), 6);
    EXPECT_EQ(LastErrorLine(),
              "trv-cli: Diese Funktion wird von der von Ihnen verwendeten Geräteversion nicht unterstützt.");
}

TEST_F(CliDevice, ResetNeedsConfirmation) {
    StartSim();
    EXPECT_EQ(Cli("reset --port COM1"), 1);
    EXPECT_EQ(sim->ReadingCount(), 22u);
    ASSERT_EQ(Cli("reset --port COM1 --yes"), 0) << err;
    for (int i = 0; i < 200 && sim->ReadingCount() != 0; ++i) ::usleep(5000);  // the simulator's thread
    EXPECT_EQ(sim->ReadingCount(), 0u);
}

TEST_F(CliDevice, DownloadAfterAnImportMergesAsBefore) {
    // The analyser holds a single reading and a step test that is still running.
    SimConfig cfg;
    cfg.memory.readings.clear();
    auto reading = [](int id, int type, bool start, bool end, int lactate) {
        SimReading r;
        r.id = id;
        r.type = type;
        r.start = start;
        r.end = end;
        r.lactate = lactate;
        r.day = 9;
        r.minute = id % 60;
        return r;
    };
    cfg.memory.readings = {reading(5, 0, true, false, 12), reading(6, 1, true, false, 10),
                           reading(7, 2, false, false, 14)};
    StartSim(cfg);
    const std::string file = dir + "/athlete.trv";
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    {
        std::ofstream csv(dir + "/paper.csv", std::ios::binary);
        csv << "Belastung;Laktat;HF\r\n100;1,0;110\r\n150;1,8;130\r\n200;3,6;152\r\n";
    }
    ASSERT_EQ(Cli("import '" + file + "' '" + dir + "/paper.csv' --test-type 1 --date 2026-01-08T16:00:00"), 0) << err;
    CTRVDoc imported;
    ASSERT_TRUE(LoadDocument(file, imported).ok);
    ASSERT_EQ(imported.GetTestCount(), 3);
    EXPECT_EQ(imported.m_strDeviceId, "ARV0012345");

    // The test goes on on the analyser, and a new reading follows.
    sim->AddReading(reading(8, 2, false, false, 25));
    sim->AddReading(reading(9, 3, false, true, 48));
    sim->AddReading(reading(10, 0, true, false, 11));
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    EXPECT_EQ(out.rfind("3 neue Messungen", 0), 0u) << out;
    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(file, doc).ok);
    ASSERT_EQ(doc.GetTestCount(), 4);
    std::vector<int> ids;
    for (const auto& m : doc.GetTest(1).m_Steps) ids.push_back(m.m_nMeasId);
    EXPECT_EQ(ids, (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(doc.GetTest(2).m_Steps.front().m_nMeasId, 10);
    // The imported test is the same, byte for byte in the file's terms.
    const TestDataType &before = imported.GetTest(2), &after = doc.GetTest(3);
    ASSERT_EQ(after.m_Steps.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(after.m_Steps[i].m_nMeasId, 60000 + i);
        EXPECT_EQ(after.m_Steps[i].m_nLactate, before.m_Steps[i].m_nLactate);
        EXPECT_EQ(after.m_Steps[i].m_dPower, before.m_Steps[i].m_dPower);
        EXPECT_EQ(after.m_Steps[i].m_Time, before.m_Steps[i].m_Time);
    }
    EXPECT_EQ(after.m_nTestType, TestErgometer);
}

TEST_F(CliDevice, DownloadNeverReplacesAFileOfUnknownLayout) {
    StartSim();
    const std::string file = dir + "/v6.trv";
    std::ofstream(file, std::ios::binary) << std::string("\x06\x00\x00\x00", 4) << std::string(1091, 'x');
    EXPECT_EQ(Cli("download '" + file + "'"), 2);
    EXPECT_NE(LastErrorLine().find("Version 6"), std::string::npos) << err;
    EXPECT_EQ(std::filesystem::file_size(file), 1095u);
}

TEST_F(CliDevice, OldFileSavedOnceStillTakesTheAnalyserThatAnswers) {
    StartSim();
    // A version-4 file without tests: it names no analyser, and saving it as version 5 stores the empty ID.
    const std::string file = dir + "/old.trv";
    {
        std::string v4("\x04\x00\x00\x00\x00\x00\x00\x00", 8);
        v4 += std::string(7, '\0') + std::string(16, '\0') + std::string(12, '\0') + std::string(4, '\0') + '\0';
        std::ofstream(file, std::ios::binary) << v4;
    }
    ASSERT_EQ(Cli("save '" + file + "' -o '" + file + "'"), 0) << err;
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(file, doc).ok);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0012345");
    EXPECT_EQ(doc.GetTestCount(), 8);
    // From now on it belongs to that analyser.
    sim->Stop();
    SimConfig other;
    other.memory.deviceId = "ARV0099995";
    StartSim(other);
    EXPECT_EQ(Cli("download '" + file + "'"), 4);
}

TEST_F(CliDevice, DeviceIdWithBytesBeyondAsciiDownloadsAgainAndAgain) {
    SimConfig cfg;
    cfg.memory.deviceId =
        "ARV\xE4\x81\xFF"
        "0123";  // not UTF-8, and one byte the code page leaves undefined
    StartSim(cfg);
    const std::string file = dir + "/id.trv";
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    ASSERT_EQ(Cli("download '" + file + "'"), 0) << err;
    EXPECT_EQ(out.rfind("0 neue Messungen", 0), 0u) << out;
    ASSERT_EQ(Cli("download '" + file + "' --port COM1"), 0) << err;
    // The file holds the ten bytes as the analyser sent them.
    const std::string bytes = Slurp(file);
    EXPECT_EQ(bytes.substr(bytes.size() - 8 - 10, 10), cfg.memory.deviceId);
    // The JSON of the document is valid UTF-8: the ID as code-page characters.
    ASSERT_EQ(Cli("info '" + file + "' --json"), 0) << err;
    EXPECT_NE(out.find("\"device_id\":\"ARVä\xC2\x81ÿ0123\""), std::string::npos) << out;
}

// Another window or program holds the analyser's port: trv-cli says so by name instead of "Kein
// Arvento gefunden!", for the search and for a download, and the file stays as it was.
TEST_F(CliDevice, BusyPortIsNamedAsBusy) {
    StartSim();
    const int fd = ::open((dir + "/COM1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);  // as the program's serial port holds it
    for (const std::string& cmd :
         {std::string("search --json"), "download '" + dir + "/a.trv' --port COM1", "download '" + dir + "/a.trv'"}) {
        SCOPED_TRACE(cmd);
        EXPECT_EQ(Cli(cmd), 3);
        EXPECT_EQ(LastErrorLine(), "trv-cli: COM1 wird von einem anderen Fenster oder Programm benutzt.");
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/a.trv"));
    ::close(fd);
    EXPECT_EQ(Cli("download '" + dir + "/a.trv' --port COM1"), 0) << err;
}
