// The zones handed on: GoldenCheetah's zone files read back with a reader of the published format,
// other ranges kept byte for byte, damaged files left alone; the intervals.icu JSON.
#include "GcZoneReader.h"
#include "ZoneDocs.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/ZoneExport.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

using namespace trv;
using trvtest::GcKind;
using trvtest::ReadGcZones;
namespace fs = std::filesystem;

namespace {

TestThresholds Zones(const TestDataType& t, const char* model, const char* lt1, const char* lt2) {
    ZoneSettings s;
    s.model = model;
    s.lt1 = lt1;
    s.lt2 = lt2;
    return ComputeTestThresholds(t, FitCubic, ModelMader, s);
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

class GcFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv_gc_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path dir;
};

// An athlete's power.zones as GoldenCheetah writes it, with two older ranges and comments.
const char* const kOldPower =
    "DEFAULTS:\n"
    "Z1,Active Recovery,0%\n"
    "Z2,Endurance,55%\n"
    "\n"
    "# winter 2024\n"
    "2024/11/02: CP=231\n"
    "AeT=180\n"
    "FTP=231\n"
    "W'=20000\n"
    "Pmax=1000\n"
    "Z1,Active Recovery,0\n"
    "Z2,Endurance,127\n"
    "\n"
    "2025/06/20: CP=240\n"
    "FTP=240\n"
    "Z1,Active Recovery,0\n"
    "Z2,Endurance,132\n"
    "\n";

}  // namespace

TEST_F(GcFolder, PowerAndHeartRateZonesOfAnErgometerTest) {
    const TestDataType t = trvtest::ZoneErgometer();
    const TestThresholds r = Zones(t, "coggan7", "obla_2.0", "obla_4.0");
    Put(dir / "power.zones", kOldPower);

    const GcExportResult res = WriteGoldenCheetahZones(dir.string(), t, r);
    ASSERT_TRUE(res.ok) << res.message;
    EXPECT_EQ(res.message, "Zonen vom 2026/05/12 geschrieben: power.zones, hr.zones");
    EXPECT_FALSE(fs::exists(dir / "run-pace.zones"));

    // The new range is the latest: the two older ones stay byte for byte in front of it.
    const std::string power = Slurp(dir / "power.zones");
    ASSERT_EQ(power.substr(0, std::string(kOldPower).size()), kOldPower);
    const trvtest::GcFile pf = ReadGcZones(power, GcKind::Power);
    ASSERT_TRUE(pf.error.empty()) << pf.error;
    EXPECT_EQ(pf.defaults, 2);
    ASSERT_EQ(pf.ranges.size(), 3u);
    EXPECT_EQ(*pf.ranges[0].cp, 231);
    EXPECT_EQ(pf.ranges[1].zones.size(), 2u);
    const trvtest::GcRange& p = pf.ranges[2];
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20260512);
    // LT2 = OBLA 4.0 at 255.36 W, LT1 = OBLA 2.0 at 207.72 W; the bands at 55 .. 150 % of 255.36 W.
    EXPECT_EQ(*p.cp, 255);
    EXPECT_EQ(*p.ftp, 255);
    EXPECT_EQ(*p.aet, 208);
    const double lows[] = {0, 140, 192, 230, 268, 306, 383};
    const char* names[] = {"L1", "L2", "L3", "L4", "L5", "L6", "L7"};
    ASSERT_EQ(p.zones.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(p.zones[i].name, names[i]);
        EXPECT_EQ(p.zones[i].lo, lows[i]) << names[i];
    }
    EXPECT_EQ(p.zones[0].desc, "Aktive Erholung");

    // hr.zones: LT the heart rate at LT2 (176.6), AeT at LT1 (162.3), the highest heart rate 190; the
    // band bounds are the heart rates at the power bounds (100 + 0.3 P; 383 W extrapolated: 214.9).
    const trvtest::GcFile hf = ReadGcZones(Slurp(dir / "hr.zones"), GcKind::Hr);
    ASSERT_TRUE(hf.error.empty()) << hf.error;
    ASSERT_EQ(hf.ranges.size(), 1u);
    const trvtest::GcRange& h = hf.ranges[0];
    EXPECT_EQ(*h.lt, 177);
    EXPECT_EQ(*h.aet, 162);
    EXPECT_EQ(*h.maxHr, 190);
    EXPECT_FALSE(h.restHr);
    const double hrLows[] = {0, 142, 157, 169, 180, 192, 215};
    ASSERT_EQ(h.zones.size(), 7u);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(h.zones[i].lo, hrLows[i]) << names[i];
}

TEST_F(GcFolder, TheRangeOfTheSameDateIsReplacedAndOthersKept) {
    const TestDataType t = trvtest::ZoneTreadmill();  // 12.05.2026
    const TestThresholds r = Zones(t, "seiler3", "bsln_0.5", "obla_2.5");
    const std::string before = "# my zones\n2025/01/10: LT=168, MaxHr=188, AeT=150\nZ1,Recovery,0\nZ2,Aerobic,140\n\n";
    const std::string old = "2026/5/12: LT=150\nZ1,Old,0\nZ2,Old,120\n\n";
    const std::string after = "# next season\n2027/01/01: LT=172\nZ1,Recovery,0\nZ2,Aerobic,150\n";
    Put(dir / "hr.zones", before + old + after);
    // A pace file whose only range is later: the new one goes before it and its comment.
    const std::string pace = "2026/09/01: CV=14.2\nAeT=12.5\nZ1,Easy,0\nZ2,Hard,13.1\n";
    Put(dir / "run-pace.zones", "# pace\n" + pace);

    const GcExportResult res = WriteGoldenCheetahZones(dir.string(), t, r);
    ASSERT_TRUE(res.ok) << res.message;
    EXPECT_FALSE(fs::exists(dir / "power.zones"));

    const std::string hr = Slurp(dir / "hr.zones");
    ASSERT_EQ(hr.substr(0, before.size()), before);
    ASSERT_GE(hr.size(), after.size());
    EXPECT_EQ(hr.substr(hr.size() - after.size()), after);
    EXPECT_EQ(hr.find("Old"), std::string::npos);
    const trvtest::GcFile hf = ReadGcZones(hr, GcKind::Hr);
    ASSERT_EQ(hf.ranges.size(), 3u);
    // LT2 = 2.5 mmol/l at 12.93 km/h: 165 + 5 x 0.93 = 169.66 bpm; LT1 = 1.5 mmol/l at 11.42 km/h:
    // 150 + 7.5 x 1.42 = 160.65 bpm.
    EXPECT_EQ(*hf.ranges[1].lt, 170);
    EXPECT_EQ(*hf.ranges[1].aet, 161);
    EXPECT_EQ(*hf.ranges[1].maxHr, 175);
    ASSERT_EQ(hf.ranges[1].zones.size(), 3u);
    EXPECT_EQ(hf.ranges[1].zones[1].lo, 161);
    EXPECT_EQ(hf.ranges[1].zones[2].lo, 170);
    EXPECT_EQ(*hf.ranges[2].lt, 172);

    const std::string paceText = Slurp(dir / "run-pace.zones");
    EXPECT_EQ(paceText.substr(paceText.size() - pace.size() - 7), "# pace\n" + pace);
    const trvtest::GcFile pf = ReadGcZones(paceText, GcKind::Pace);
    ASSERT_EQ(pf.ranges.size(), 2u);
    const trvtest::GcRange& p = pf.ranges[0];
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20260512);
    EXPECT_DOUBLE_EQ(*p.cv, 12.93);
    EXPECT_DOUBLE_EQ(*p.aet, 11.42);
    ASSERT_EQ(p.zones.size(), 3u);
    EXPECT_DOUBLE_EQ(p.zones[1].lo, 11.42);
    EXPECT_DOUBLE_EQ(p.zones[2].lo, 12.93);
    EXPECT_EQ(p.zones[2].desc, "hoch");
}

TEST_F(GcFolder, ADamagedFileIsNeverOverwritten) {
    const TestDataType t = trvtest::ZoneErgometer();
    const TestThresholds r = Zones(t, "seiler3", "obla_2.0", "obla_4.0");
    const std::string cases[] = {
        std::string("2025/06/20: CP=240\nFTP=240\n\x01\x02garbage\x7f\n"),
        std::string("Z1,Active Recovery,0\n2025/06/20: CP=240\n"),  // a zone before any range
        std::string("2025/13/20: CP=240\nZ1,Active Recovery,0\n"),  // no 13th month
        std::string("2025/06/20: CP=240\nZ1,Erholung,0\n\xC3\x28\n"),
        "2025/06/20: CP=240\nZ1," + std::string(200000, 'x') + ",0\n",  // not a zone file
    };
    const int lines[] = {3, 1, 1, 3, 2};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Put(dir / "power.zones", cases[i]);
        fs::remove(dir / "hr.zones");
        const GcExportResult res = WriteGoldenCheetahZones(dir.string(), t, r);
        EXPECT_FALSE(res.ok) << i;
        EXPECT_NE(res.message.find("beschädigt (Zeile " + std::to_string(lines[i]) + ")"), std::string::npos)
            << res.message;
        EXPECT_EQ(Slurp(dir / "power.zones"), cases[i]) << i;
        EXPECT_FALSE(fs::exists(dir / "hr.zones")) << "nothing is written when one file is damaged";
    }
}

TEST_F(GcFolder, AMissingOrReadOnlyFolder) {
    const TestDataType t = trvtest::ZoneErgometer();
    const TestThresholds r = Zones(t, "seiler3", "obla_2.0", "obla_4.0");
    GcExportResult res = WriteGoldenCheetahZones((dir / "gone").string(), t, r);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.message, "Der GoldenCheetah-Ordner \"" + (dir / "gone").string() + "\" existiert nicht.");
    EXPECT_FALSE(fs::exists(dir / "gone"));

    // A folder that cannot be written (root may write anywhere: there the target is a directory).
    Put(dir / "power.zones", kOldPower);
    if (::geteuid() == 0)
        fs::create_directory(dir / "hr.zones");
    else
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    res = WriteGoldenCheetahZones(dir.string(), t, r);
    EXPECT_FALSE(res.ok);
    EXPECT_NE(res.message.find("konnte nicht geschrieben werden"), std::string::npos) << res.message;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(Slurp(dir / "power.zones"), kOldPower);
}

TEST(GcMerge, InsertionPlaces) {
    const std::string range = "2025/03/01: CP=250\nFTP=250\nZ1,A,0\nZ2,B,140\n\n";
    struct Case {
        const char* name;
        std::string existing, merged;
    };
    const Case cases[] = {
        {"empty file", "", range},
        {"appended after a last line without its end", "2024/01/01: CP=200\nZ1,A,0",
         "2024/01/01: CP=200\nZ1,A,0\n\n" + range},
        {"before a later range and its comment", "2024/01/01: CP=200\nZ1,A,0\n# 2026\n2026/01/01: CP=260\nZ1,A,0\n",
         "2024/01/01: CP=200\nZ1,A,0\n" + range + "# 2026\n2026/01/01: CP=260\nZ1,A,0\n"},
        {"the same date written differently", "2025-3-1: CP=200\nZ1,A,0\n\n# keep\n", range + "# keep\n"},
        {"line ends of the file kept", "2024/01/01: CP=200\r\nZ1,A,0\r\n",
         "2024/01/01: CP=200\r\nZ1,A,0\r\n\r\n2025/03/01: CP=250\r\nFTP=250\r\nZ1,A,0\r\nZ2,B,140\r\n\r\n"},
    };
    for (const Case& c : cases) {
        std::string merged;
        int bad = -1;
        ASSERT_TRUE(MergeGcRange(c.existing, range, merged, bad)) << c.name << " line " << bad;
        EXPECT_EQ(merged, c.merged) << c.name;
    }
}

TEST(IntervalsIcu, SportSettingsFields) {
    // Ergometer, Coggan on LT2 = 255.36 W: the power zones' upper bounds are Coggan's percentages,
    // the heart-rate zones' the heart rates at their loads; the last is open (999) or above the
    // highest heart rate.
    const TestDataType erg = trvtest::ZoneErgometer();
    EXPECT_EQ(IntervalsIcuJson(erg, Zones(erg, "coggan7", "obla_2.0", "obla_4.0")),
              "{\"types\":[\"Ride\",\"VirtualRide\"],\"ftp\":255,\"lthr\":177,\"max_hr\":190,"
              "\"power_zones\":[55,75,90,105,120,150,999],"
              "\"power_zone_names\":[\"L1\",\"L2\",\"L3\",\"L4\",\"L5\",\"L6\",\"L7\"],"
              "\"hr_zones\":[142,157,169,180,192,215,216],"
              "\"hr_zone_names\":[\"L1\",\"L2\",\"L3\",\"L4\",\"L5\",\"L6\",\"L7\"]}");

    // Treadmill, Seiler on LT1 = 11.42 km/h and LT2 = 12.93 km/h: threshold pace in m/s, the pace
    // zones in percent of it (11.42 / 12.93 = 88.3 %), heart rates 160.6 and 169.7 bpm.
    const TestDataType run = trvtest::ZoneTreadmill();
    const std::string json = IntervalsIcuJson(run, Zones(run, "seiler3", "bsln_0.5", "obla_2.5"));
    EXPECT_EQ(json,
              "{\"types\":[\"Run\"],\"lthr\":170,\"max_hr\":175,\"threshold_pace\":3.5923,"
              "\"pace_zones\":[88.3,100,999],\"pace_zone_names\":[\"Z1\",\"Z2\",\"Z3\"],"
              "\"hr_zones\":[161,170,175],\"hr_zone_names\":[\"Z1\",\"Z2\",\"Z3\"]}");
    EXPECT_EQ(json.find("ftp"), std::string::npos);
}
