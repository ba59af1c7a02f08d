// trv-cli's file commands, run as a script would run them.
#include "ByteBuilder.h"
#include "CliRun.h"
#include "KnownCurve.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        // A version-3 file: one treadmill test (km/h) with two readings, athlete with an umlaut.
        ByteBuilder bb;
        bb.i32(3).u32(1);
        bb.i32(0).i32(0).i32(0).u8(0).i32(0).f64(2.5).f64(0.5).f64(150).i32(0).u8(0).i32(180).u8(1);
        bb.u32(2);
        for (uint16_t id : {7, 8})
            bb.u16(static_cast<uint16_t>(20 + id))
                .u16(id)
                .u8(1)
                .u8(23)
                .date(0, 45000.5 + id / 1440.0)
                .f64(0)
                .i32(140)
                .f64(2.5)
                .f64(0)
                .u8(2)
                .u16(180)
                .u8(1)
                .u8(0)
                .u8(0);
        bb.athlete({"J\xFCrgen", "", "", "", "", "", ""}, 0, 0, 0, 0, "");
        std::ofstream(dir / "v3.trv", std::ios::binary)
            .write(reinterpret_cast<const char*>(bb.b.data()), static_cast<long>(bb.b.size()));
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

}  // namespace

TEST_F(CliFiles, InfoPrintsTheStoredValues) {
    const CliRun r = Cli("info " + P("v3.trv") + " --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"version\":3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"device_bound\":false"), std::string::npos);
    EXPECT_NE(r.out.find("\"first_name\":\"Jürgen\""), std::string::npos);
    EXPECT_NE(r.out.find("\"birth_date\":\"1899-12-30T00:00:00\""), std::string::npos);
    EXPECT_NE(r.out.find("\"start_value\":2.5,\"increment\":0.5"), std::string::npos);
    EXPECT_NE(r.out.find("\"params_entered\":true"), std::string::npos);
    EXPECT_NE(r.out.find("\"id\":7,\"step_duration\":180,\"type\":2,\"status\":1,\"lactate\":27"), std::string::npos);
    EXPECT_NE(r.out.find("\"time\":\"2023-03-15T12:07:00\""), std::string::npos);
}

TEST_F(CliFiles, SaveWritesTheCurrentLayout) {
    ASSERT_EQ(Cli("save " + P("v3.trv") + " -o " + P("v5.trv")).code, 0);
    const CliRun r = Cli("info " + P("v5.trv") + " --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"version\":5"), std::string::npos);
    // The old file named no analyser: the saved one is bound to none either.
    EXPECT_NE(r.out.find("\"device_id\":\"\","), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"device_bound\":false"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"time\":\"2023-03-15T12:08:00\""), std::string::npos);
}

TEST_F(CliFiles, ExportWritesTheCsv) {
    ASSERT_EQ(Cli("export " + P("v3.trv") + " -o " + P("a.csv") + " --all").code, 0);
    ASSERT_EQ(Cli("export " + P("v3.trv") + " -o " + P("b.csv") + " --tests 0").code, 0);
    std::ifstream a(P("a.csv"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(a)), {});
    EXPECT_NE(text.find("\r\n00007;007;15.03.2023;12:07:00;Laufband;03:00 (PC);9,0;km/h;2,7;140;Ld\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(fs::file_size(P("a.csv")), fs::file_size(P("b.csv")));
}

TEST_F(CliFiles, ExportWorksOutTheCompensatedLoadOfAShortenedStep) {
    // Treadmill in km/h, durations from the analyser, compensation on, increment 2 km/h: the last step of
    // 12 km/h was stopped after 135 s of 180 s, so it counts as 10 + 2 * 135 / 180 = 11.5 km/h.
    ByteBuilder bb;
    bb.i32(5).u32(1);
    bb.i32(0).i32(0).i32(0).u8(0).i32(0).f64(8 / 3.6).f64(2 / 3.6).f64(150).i32(1).u8(1).i32(180).u8(1).u8(0);
    bb.u32(3);
    const auto meas = [&](uint16_t id, double speed, uint8_t type, uint16_t duration, uint8_t timed) {
        bb.u16(30).u16(id).u8(2).u8(23).u32(1700000000u + id).f64(0).i32(0).f64(speed).f64(0).u8(type).u16(duration);
        bb.u8(1).u8(timed).u8(0);
    };
    meas(1, 10 / 3.6, 2, 180, 1);
    meas(2, 12 / 3.6, 2, 135, 1);
    meas(3, 0, 3, 180, 0);
    bb.emptyAthlete().str("").f64(0);
    std::ofstream(dir / "short.trv", std::ios::binary)
        .write(reinterpret_cast<const char*>(bb.b.data()), static_cast<long>(bb.b.size()));
    ASSERT_EQ(Cli("export " + P("short.trv") + " -o " + P("s.csv") + " --all").code, 0);
    std::ifstream f(P("s.csv"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(f)), {});
    EXPECT_NE(text.find(";03:00 (AV);10,0;km/h;"), std::string::npos) << text;
    EXPECT_NE(text.find(";02:15 (AV);11,5 (12,0);km/h;"), std::string::npos) << text;
}

// The number after "key": in a JSON text.
double JsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1e300;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

TEST_F(CliFiles, EvaluateFindsTheMaderThresholdOfAKnownCurve) {
    WriteKnownCurve(dir / "curve.trv", false);
    const CliRun r = Cli("evaluate " + P("curve.trv") + " --tests 0 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NEAR(JsonNumber(r.out, "ians_load"), 5.0, 0.002) << r.out;
    EXPECT_NEAR(JsonNumber(r.out, "ians_lactate"), 4.0, 1e-9);
    EXPECT_NEAR(JsonNumber(r.out, "ians_heart_rate"), 150.0, 0.05);
    EXPECT_NEAR(JsonNumber(r.out, "residual_sum"), 0.0, 1e-9);
    EXPECT_EQ(JsonNumber(r.out, "notice_flags"), 0.0);
    EXPECT_NE(r.out.find("\"result_text\":\"Madermodell:\\rv = 5,00 m/s\\rLaktat = 4,00 mmol/l\\rHR = 150 S/min\""),
              std::string::npos)
        << r.out;
    // An unknown model and a test the document does not have are usage errors.
    EXPECT_EQ(Cli("evaluate " + P("curve.trv") + " --tests 0 --model 3 --json").code, 1);
    EXPECT_EQ(Cli("evaluate " + P("curve.trv") + " --tests 1 --json").code, 1);
}

TEST_F(CliFiles, ErrorsHaveTheirExitCodes) {
    CliRun r = Cli("info " + P("missing.trv") + " --json");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("missing.trv"), std::string::npos);
    std::ofstream(dir / "bad.trv", std::ios::binary) << "\x05\x00\x00\x00\x09";
    EXPECT_EQ(Cli("info " + P("bad.trv") + " --json").code, 2);
    EXPECT_EQ(Cli("info " + P("v3.trv")).code, 1);  // --json is required
    EXPECT_EQ(Cli("export " + P("v3.trv") + " -o " + P("c.csv")).code, 1);
    EXPECT_EQ(Cli("export " + P("v3.trv") + " -o " + P("c.csv") + " --tests 0 --all").code, 1);
    EXPECT_EQ(Cli("export " + P("v3.trv") + " -o " + P("c.csv") + " --tests 3").code, 1);
    EXPECT_EQ(Cli("export " + P("v3.trv") + " -o " + P("c.csv") + " --tests x").code, 1);
    EXPECT_EQ(Cli("export " + P("v3.trv") + " -o " + P("no/dir/c.csv") + " --all").code, 2);
    EXPECT_EQ(Cli("frobnicate").code, 1);
    EXPECT_EQ(Cli("--help").code, 0);
}

TEST_F(CliFiles, FilesThatAreNotOursAreRefusedAndNeverOverwritten) {
    // A layout that does not exist yet (version 6), 1,095 bytes long.
    std::vector<char> v6(1095, '\x11');
    v6[0] = 6, v6[1] = v6[2] = v6[3] = 0;
    std::ofstream(dir / "v6.trv", std::ios::binary).write(v6.data(), static_cast<long>(v6.size()));
    CliRun r = Cli("info " + P("v6.trv") + " --json");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u);
    EXPECT_NE(r.err.find("v6.trv"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Version 6"), std::string::npos) << r.err;
    EXPECT_EQ(Cli("save " + P("v6.trv") + " -o " + P("v6.trv")).code, 2);
    EXPECT_EQ(fs::file_size(P("v6.trv")), 1095u);
    EXPECT_EQ(Cli("export " + P("v6.trv") + " -o " + P("v6.csv") + " --all").code, 2);
    EXPECT_FALSE(fs::exists(P("v6.csv")));
    // Not a document at all; not a regular file.
    r = Cli("info /etc/passwd --json");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out.find("1953460082"), std::string::npos);
    EXPECT_EQ(Cli("info /dev/zero --json").code, 2);
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
    EXPECT_EQ(Cli("info " + P("fifo") + " --json").code, 2);
}

TEST_F(CliFiles, SaveAndExportWriteThroughLinksAndLeaveNoTemporaries) {
    fs::create_symlink("v3.trv", dir / "link.trv");
    ASSERT_EQ(Cli("save " + P("link.trv") + " -o " + P("link.trv")).code, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.trv"));
    const CliRun r = Cli("info " + P("v3.trv") + " --json");
    EXPECT_NE(r.out.find("\"version\":5"), std::string::npos) << r.out;
    fs::create_symlink("real.csv", dir / "link.csv");
    std::ofstream(P("real.csv")) << "old";
    ASSERT_EQ(Cli("export " + P("v3.trv") + " -o " + P("link.csv") + " --all").code, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
    EXPECT_GT(fs::file_size(P("real.csv")), 100u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 4);
}

TEST_F(CliFiles, FileTooLargeForTheLimitGetsAGermanText) {
    // The shell limits files to 1 KiB, as a quota would; the program must not die of the limit's signal.
    const std::string cmd = "sh -c \"ulimit -f 1; exec " + std::string(TRV_CLI) + " export " + P("v3.trv") + " -o " +
                            P("big.csv") + " --all\" 2>" + P("err");
    std::ofstream(P("big.csv")) << "old";
    // 600 readings make a CSV of about 36 kB.
    trv::CTRVDoc doc;
    ASSERT_TRUE(trv::LoadDocument(P("v3.trv"), doc).ok);
    doc.m_Tests[0].m_Steps.resize(600, doc.m_Tests[0].m_Steps[0]);
    ASSERT_TRUE(trv::SaveDocument(doc, P("v3.trv")).ok);
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    std::ifstream e(P("err"));
    const std::string err((std::istreambuf_iterator<char>(e)), {});
    EXPECT_NE(err.find("zu groß"), std::string::npos) << err;
    std::ifstream c(P("big.csv"));
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(c)), {}), "old");
}
