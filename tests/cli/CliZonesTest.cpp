// trv-cli zones and thresholds --zones/--lt1/--lt2 end to end, on the two tests of ZoneDocs.h.
#include "CliRun.h"
#include "ZoneDocs.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace trv;
namespace fs = std::filesystem;

namespace {

class CliZones : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-cli-zones-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        CTRVDoc doc;
        doc.m_UserData.m_strFirstName = "Jana";
        doc.m_UserData.m_strLastName = "Körner";
        doc.m_Tests.push_back(trvtest::ZoneErgometer());
        doc.m_Tests.push_back(trvtest::ZoneTreadmill());
        ASSERT_TRUE(SaveDocument(doc, file()).ok);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file() const { return (dir / "zones.trv").string(); }
    fs::path dir;
};

double Number(const std::string& json, const std::string& pattern) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex(pattern + R"(([-0-9.eE]+))"))) return -1;
    return std::stod(m[1]);
}

}  // namespace

TEST_F(CliZones, ThresholdsTellTheModelAndItsAnchors) {
    CliRun r = Cli("thresholds " + file() + " --tests 0 --zones seiler3 --lt1 obla_2.0 --lt2 obla_4.0 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"zone_model\":\"seiler3\",\"anchors\":{\"lt1\":{\"method\":\"obla_2.0\",\"load\":"),
              std::string::npos)
        << r.out;
    // LT1 at 207.72 W, LT2 at 255.36 W (ZoneDocs.h); Seiler's bands are not given in percent.
    EXPECT_NEAR(Number(r.out, R"("lt1":\{"method":"obla_2.0","load":)"), 207.7217345, 1e-6);
    EXPECT_NEAR(Number(r.out, R"("lt2":\{"method":"obla_4.0","load":)"), 255.3616253, 1e-6);
    EXPECT_NE(r.out.find("{\"name\":\"Z1\",\"from_pct\":null,\"to_pct\":null,\"load_from\":null,\"load_to\":207.72"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"name\":\"Z3\",\"from_pct\":null,\"to_pct\":null,\"load_from\":255.36"), std::string::npos);

    // Defaults: trv5 on ltp1 and ians, percentages as before.
    r = Cli("thresholds " + file() + " --tests 0,1 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"zone_model\":\"trv5\",\"anchors\":{\"lt1\":{\"method\":\"ltp1\""), std::string::npos);
    EXPECT_NE(r.out.find("\"lt2\":{\"method\":\"ians\""), std::string::npos);
    EXPECT_NE(r.out.find("{\"name\":\"GA1\",\"from_pct\":55,\"to_pct\":75"), std::string::npos);

    // Coggan on the treadmill: listed with no zones.
    r = Cli("thresholds " + file() + " --tests 1 --zones=coggan7 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"zone_model\":\"coggan7\""), std::string::npos);
    EXPECT_NE(r.out.find("\"zones\":[]"), std::string::npos);
}

TEST_F(CliZones, UnknownIdsAreUsageErrorsListingTheIds) {
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {"thresholds " + file() + " --tests 0 --zones seiler4 --json",
         "trv-cli: Unbekanntes Zonenmodell \"seiler4\". Möglich sind: trv5, seiler3, seiler5, friel7, coggan7.\n"},
        {"zones " + file() + " --test 0 --lt2 ltp9 --intervals-json",
         "trv-cli: Unbekannte Schwellenmethode \"ltp9\". Möglich sind: ians, obla_2.0, obla_2.5, obla_3.0, obla_3.5, "
         "obla_4.0, bsln_0.5, bsln_1.0, bsln_1.5, dmax, moddmax, expdmax, loglog, ltp1, ltp2, ltratio, dickhuth, "
         "stegmann.\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, 1) << c.args;
        EXPECT_EQ(r.err, c.message);
        EXPECT_TRUE(r.out.empty());
    }
    // Exactly one of the outputs.
    for (const std::string& args :
         {"zones " + file() + " --test 0", "zones " + file() + " --test 0 --intervals-json --pdf x.pdf",
          "zones " + file() + " --test 0,1 --intervals-json", "zones " + file() + " --test 0 --lt1"}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u) << args;
    }
}

TEST_F(CliZones, TestsWithoutZonesExitTwoWithTheReason) {
    struct Case {
        std::string args, reason;
    };
    const Case cases[] = {
        {"--test 1 --zones coggan7 --intervals-json",
         "Leistungsbereiche nach Coggan gibt es nur für Ergometertests in Watt."},
        {"--test 0 --zones seiler3 --lt1 obla_4.0 --lt2 obla_2.0 --pdf " + (dir / "card.pdf").string(),
         "LT1 liegt nicht unter LT2."},
        {"--test 1 --zones friel7 --lt2 obla_4.0 --goldencheetah " + dir.string(),
         "LT2 (OBLA 4,0) ist nicht bestimmbar: "},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli("zones " + file() + " " + c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        const std::string head = "trv-cli: Test " + c.args.substr(7, 1) + " hat keine Zonen: " + c.reason;
        EXPECT_EQ(r.err.substr(0, head.size()), head) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "card.pdf"));
    EXPECT_FALSE(fs::exists(dir / "hr.zones"));
}

TEST_F(CliZones, HandedOnToGoldenCheetahAndIntervals) {
    CliRun r = Cli("zones " + file() + " --test 0 --zones coggan7 --lt1 obla_2.0 --lt2 obla_4.0 --intervals-json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"types\":[\"Ride\",\"VirtualRide\"],\"ftp\":255,\"lthr\":177,\"max_hr\":190,", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\"power_zones\":[55,75,90,105,120,150,999]"), std::string::npos);

    r = Cli("zones " + file() + " --test 1 --zones seiler3 --lt1 bsln_0.5 --lt2 obla_2.5 --goldencheetah " +
            dir.string());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Zonen vom 2026/05/12 geschrieben: hr.zones, run-pace.zones\n");
    EXPECT_TRUE(fs::exists(dir / "run-pace.zones"));

    r = Cli("zones " + file() + " --test 0 --goldencheetah " + (dir / "nowhere").string());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "trv-cli: Der GoldenCheetah-Ordner \"" + (dir / "nowhere").string() + "\" existiert nicht.\n");
}
