// trv-cli thresholds and history with intervals: the fields, the same bytes on every run and after a
// save and reopen, the flag of a reading that does not fit, clear changes, and bad --error values.
#include "CliRun.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace trv;
namespace fs = std::filesystem;

namespace {

// A treadmill test in km/h, 10 steps from `first` km/h, lactates of 1.0 + 0.15 e^(0.33 (v - 6)) in
// tenths, a pre-load; `moved` (if >= 0) is that step's reading moved by `by` mmol/l.
TestDataType StepTest(double first, uint16_t& id, int day, int moved = -1, double by = 0.0) {
    TestDataType t;
    t.m_nTestType = TestTreadmill;
    t.m_nLoadUnit = UnitKmh;
    t.m_dStartValue = first / 3.6;
    t.m_dIncrement = 1.0 / 3.6;
    t.m_bParamsEntered = 1;
    int minute = 0;
    auto add = [&](int type, double lactate, int hr) -> PCMDataType& {
        PCMDataType m;
        m.m_nMeasId = id++;
        m.m_nMeasType = static_cast<uint8_t>(type);
        m.m_nStatus = StatusNormal;
        m.m_bChecked = 1;
        m.m_nLactate = static_cast<uint16_t>(std::lround(lactate * 10));
        m.m_nHeartRate = hr;
        m.m_Time = COleDateTime::FromParts(2026, 3, day, 9, minute, 0);
        minute += 3;
        t.m_Steps.push_back(m);
        return t.m_Steps.back();
    };
    add(MeasPreLoad, 1.1, 70);
    for (int i = 0; i < 10; ++i) {
        const double v = 8.0 + i;  // the curve of the lactates stays put; only the loads move
        double lactate = 1.0 + 0.15 * std::exp(0.33 * (v - 6.0));
        if (i == moved) lactate += by;
        PCMDataType& m = add(MeasLoad, lactate, 120 + 6 * i);
        m.m_dSpeed = (first + i) / 3.6;
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

std::string Method(const std::string& json, const std::string& id, size_t from = 0) {
    const size_t at = json.find("{\"id\":\"" + id + "\"", from);
    if (at == std::string::npos) return {};
    return json.substr(at, json.find('}', at) - at + 1);
}

double Number(const std::string& text, const std::string& key) {
    const size_t at = text.find("\"" + key + "\":");
    if (at == std::string::npos || text.compare(at + key.size() + 3, 4, "null") == 0) return NAN;
    return std::strtod(text.c_str() + at + key.size() + 3, nullptr);
}

class CliUncertainty : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-cli-uncertainty-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        CTRVDoc doc;
        uint16_t id = 1;
        doc.m_Tests.push_back(StepTest(8.0, id, 2));           // 0
        doc.m_Tests.push_back(StepTest(8.0, id, 30, 4, 2.5));  // 1: reading 5 moved; the newest test
        doc.m_Tests.push_back(StepTest(8.0, id, 16));          // 2: the same as 0
        doc.m_Tests.push_back(StepTest(10.0, id, 23));         // 3: every threshold 2 km/h higher
        ASSERT_TRUE(SaveDocument(doc, file()).ok);
        movedId = doc.m_Tests[1].m_Steps[5].m_nMeasId;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file() const { return (dir / "tests.trv").string(); }
    fs::path dir;
    int movedId = 0;
};

}  // namespace

TEST_F(CliUncertainty, IntervalsAroundEveryDeterminableMethod) {
    const CliRun r = Cli("thresholds " + file() + " --tests 0 --ci --json");
    ASSERT_EQ(r.code, 0) << r.err;
    int withInterval = 0;
    for (const char* id : {"ians", "obla_2.0", "obla_4.0", "bsln_0.5", "dmax", "ltp1", "ltp2", "loglog", "expdmax"}) {
        const std::string m = Method(r.out, id);
        ASSERT_FALSE(m.empty()) << id;
        if (m.find("\"ok\":true") == std::string::npos) continue;
        const double load = Number(m, "load"), lo = Number(m, "ci_low"), hi = Number(m, "ci_high"),
                     se = Number(m, "se");
        if (std::isnan(lo)) continue;
        ++withInterval;
        EXPECT_LE(lo, hi) << m;
        EXPECT_GT(se, 0.0) << m;
        // Where the curve is steep a threshold is known to a few tenths of a km/h (in its flat part,
        // where the baseline methods and the first turn point lie, to a few km/h).
        if (std::string(id) == "obla_4.0" || std::string(id) == "dmax" || std::string(id) == "ians") {
            EXPECT_LT(hi - lo, 1.5 / 3.6) << m;
        }
        // The interval surrounds the value (the bootstrap is centred on it).
        EXPECT_LT(lo, load + 0.5 * (hi - lo)) << m;
        EXPECT_GT(hi, load - 0.5 * (hi - lo)) << m;
    }
    EXPECT_GE(withInterval, 7);
    EXPECT_NE(r.out.find("\"outliers\":[]"), std::string::npos);

    // Without --ci every method still has the fields, all null.
    const CliRun plain = Cli("thresholds " + file() + " --tests 0 --json");
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_NE(Method(plain.out, "dmax").find("\"ci_low\":null,\"ci_high\":null,\"se\":null"), std::string::npos);
}

TEST_F(CliUncertainty, SameBytesTwiceAndAfterSaveAndReopen) {
    const std::string args = " --tests 0,1,3 --fit 1 --ci --json";
    const CliRun a = Cli("thresholds " + file() + args);
    const CliRun b = Cli("thresholds " + file() + args);
    ASSERT_EQ(a.code, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const std::string copy = (dir / "copy.trv").string();
    ASSERT_EQ(Cli("save " + file() + " -o " + copy).code, 0);
    EXPECT_EQ(Cli("thresholds " + copy + args).out, a.out);
    // Another error model, other intervals.
    EXPECT_NE(Cli("thresholds " + file() + args + " --error 0.4,5").out, a.out);
}

TEST_F(CliUncertainty, ReadingThatDoesNotFitIsListed) {
    const CliRun r = Cli("thresholds " + file() + " --tests 0,1 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const size_t second = r.out.find("{\"index\":1,");
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(r.out.substr(0, second).find("\"outliers\":[]"), std::string::npos);
    EXPECT_NE(r.out.find("\"outliers\":[" + std::to_string(movedId) + "]", second), std::string::npos) << r.out;
}

TEST_F(CliUncertainty, HistoryMarksClearChanges) {
    const CliRun r = Cli("history " + file() + " --methods obla_4.0,dmax --ci --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const size_t t2 = r.out.find("{\"index\":2,"), t3 = r.out.find("{\"index\":3,");
    ASSERT_NE(t2, std::string::npos);
    ASSERT_NE(t3, std::string::npos);
    // Oldest first: 0, 2, 3, 1. The first row has no change; test 2 repeats test 0 (no change at
    // all); test 3 lies 2 km/h higher: far beyond the limit.
    EXPECT_NE(Method(r.out, "obla_4.0").find("\"load_change\":null,\"ci_low\":"), std::string::npos);
    EXPECT_NE(Method(r.out, "obla_4.0").find("\"change_clear\":null"), std::string::npos);
    for (const char* id : {"obla_4.0", "dmax"}) {
        const std::string same = Method(r.out, id, t2), higher = Method(r.out, id, t3);
        EXPECT_NE(higher.find("\"change_clear\":true"), std::string::npos) << higher;
        EXPECT_NEAR(Number(higher, "load_change"), 2.0 / 3.6, 1e-6) << higher;
        EXPECT_NE(same.find("\"load_change\":0,"), std::string::npos) << same;
        EXPECT_NE(same.find("\"change_clear\":false"), std::string::npos) << same;
    }
    // Without --ci there is no judgement.
    const CliRun plain = Cli("history " + file() + " --methods obla_4.0 --json");
    EXPECT_EQ(plain.out.find("\"change_clear\":true"), std::string::npos);
}

TEST_F(CliUncertainty, BadErrorValues) {
    for (const char* bad : {"-0.1,3", "abc", "0.2", "5,3", "0.2,80", "0.2,3,1", "nan,3"}) {
        const CliRun r = Cli("thresholds " + file() + " --tests 0 --ci --error " + bad + " --json");
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_EQ(r.err.rfind("trv-cli: --error erwartet A,C", 0), 0u) << bad << ": " << r.err;
        EXPECT_EQ(r.out, "") << bad;
    }
    const CliRun missing = Cli("history " + file() + " --ci --json --error");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(Cli("thresholds " + file() + " --tests 0 --error 0,0 --json").code, 0);
}
