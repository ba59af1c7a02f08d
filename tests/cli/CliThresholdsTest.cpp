// trv-cli thresholds end to end: a treadmill, an ergometer and a field test written to a file,
// read back and evaluated by the command.
#include "CliRun.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace trv;
namespace fs = std::filesystem;

namespace {

// Flat at 1.0 over the first three steps, +0.5 per step over the next two, +2.0 per step after:
// resampled linearly this is a broken line with its breaks exactly at the third and fifth step.
const double kLactates[] = {1.0, 1.0, 1.0, 1.5, 2.0, 4.0, 6.0};

TestDataType StepTest(int type, int unit, double first, double step, uint16_t& id, bool postLoad) {
    TestDataType t;
    t.m_nTestType = type;
    t.m_nLoadUnit = unit;
    t.m_dStartValue = first;
    t.m_dIncrement = step;
    t.m_bParamsEntered = 1;
    t.m_dTrackLength = 400;
    int minute = 0;
    auto add = [&](int measType, double lactate, int hr) -> PCMDataType& {
        PCMDataType m;
        m.m_nMeasId = id++;
        m.m_nMeasType = static_cast<uint8_t>(measType);
        m.m_nStatus = StatusNormal;
        m.m_bChecked = 1;
        m.m_nLactate = static_cast<uint16_t>(lactate * 10 + 0.5);
        m.m_nHeartRate = hr;
        m.m_Time = COleDateTime::FromParts(2026, 3, 2, 9, minute, 0);
        minute += 3;
        t.m_Steps.push_back(m);
        return t.m_Steps.back();
    };
    add(MeasPreLoad, 1.2, 70);
    for (int i = 0; i < 7; ++i) {
        PCMDataType& m = add(MeasLoad, kLactates[i], 120 + 10 * i);
        m.m_dSpeed = unit == UnitWatt ? 0.0 : first + step * i;
        m.m_dPower = unit == UnitWatt ? first + step * i : 0.0;
    }
    if (postLoad) {
        add(MeasPostLoad, 7.0, 150);
        add(MeasPostLoad, 5.0, 120);
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps[7].m_bLastStep = 1;
    return t;
}

// The object of method `id` in the JSON text.
std::string Method(const std::string& json, const std::string& id) {
    const size_t at = json.find("{\"id\":\"" + id + "\"");
    if (at == std::string::npos) return {};
    return json.substr(at, json.find('}', at) - at + 1);
}

double Number(const std::string& text, const std::string& key) {
    const size_t at = text.find("\"" + key + "\":");
    EXPECT_NE(at, std::string::npos) << key << " in " << text;
    if (at == std::string::npos) return -1e300;
    return std::strtod(text.c_str() + at + key.size() + 3, nullptr);
}

class CliThresholds : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-cli-thresholds-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        CTRVDoc doc;
        uint16_t id = 1;
        doc.m_Tests.push_back(StepTest(TestTreadmill, UnitKmh, 8.0 / 3.6, 2.0 / 3.6, id, false));
        doc.m_Tests.push_back(StepTest(TestErgometer, UnitWatt, 100, 50, id, false));
        doc.m_Tests.push_back(StepTest(TestField, UnitMs, 3.0, 0.25, id, true));
        TestDataType two = StepTest(TestTreadmill, UnitMs, 3.0, 0.5, id, false);
        two.m_Steps.resize(3);
        doc.m_Tests.push_back(two);
        ASSERT_TRUE(SaveDocument(doc, file()).ok);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file() const { return (dir / "tests.trv").string(); }
    fs::path dir;
};

}  // namespace

TEST_F(CliThresholds, TreadmillErgometerAndFieldTest) {
    const CliRun r = Cli("thresholds " + file() + " --tests 2,0,1 --fit 1 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string& j = r.out;
    // Tests in document order, each with every method in catalogue order.
    const size_t t0 = j.find("{\"index\":0,\"test_type\":0,\"load_unit\":0,\"points\":7,\"baseline\":1.2");
    const size_t t1 = j.find("{\"index\":1,\"test_type\":1,\"load_unit\":2,\"points\":7,");
    const size_t t2 = j.find("{\"index\":2,\"test_type\":2,\"load_unit\":1,\"points\":7,");
    ASSERT_NE(t0, std::string::npos) << j;
    ASSERT_NE(t1, std::string::npos);
    ASSERT_NE(t2, std::string::npos);
    EXPECT_TRUE(t0 < t1 && t1 < t2);
    const std::string treadmill = j.substr(t0, t1 - t0), ergometer = j.substr(t1, t2 - t1), field = j.substr(t2);
    const char* ids[] = {"ians",     "obla_2.0", "obla_2.5", "obla_3.0", "obla_3.5", "obla_4.0",
                         "bsln_0.5", "bsln_1.0", "bsln_1.5", "dmax",     "moddmax",  "expdmax",
                         "loglog",   "ltp1",     "ltp2",     "ltratio",  "dickhuth", "stegmann"};
    size_t at = 0;
    for (const char* id : ids) {
        const size_t next = treadmill.find(std::string("{\"id\":\"") + id + "\"", at);
        ASSERT_NE(next, std::string::npos) << id;
        at = next;
    }
    EXPECT_NE(treadmill.find("\"fit\":{\"function\":1,\"r2\":1,"), std::string::npos) << treadmill;

    // The broken line's breaks: 12 and 16 km/h (in m/s), 200 and 300 W, 3.5 and 4.0 m/s; heart
    // rate 120 + 10 per step there.
    EXPECT_NEAR(Number(Method(treadmill, "ltp1"), "load"), 12.0 / 3.6, 1e-6);
    EXPECT_NEAR(Number(Method(treadmill, "ltp2"), "load"), 16.0 / 3.6, 1e-6);
    EXPECT_NEAR(Number(Method(treadmill, "ltp2"), "heart_rate"), 160.0, 1e-4);
    EXPECT_NEAR(Number(Method(ergometer, "ltp1"), "load"), 200.0, 1e-4);
    EXPECT_NEAR(Number(Method(ergometer, "ltp2"), "load"), 300.0, 1e-4);
    EXPECT_NEAR(Number(Method(ergometer, "ltp1"), "heart_rate"), 140.0, 1e-4);
    EXPECT_NEAR(Number(Method(field, "ltp1"), "load"), 3.5, 1e-6);
    EXPECT_NEAR(Number(Method(field, "ltp2"), "load"), 4.0, 1e-6);
    // The spline meets 4.0 mmol/l at the sixth step's load, the only point at that level.
    EXPECT_NEAR(Number(Method(ergometer, "obla_4.0"), "load"), 350.0, 1e-6);
    EXPECT_NEAR(Number(Method(ergometer, "obla_4.0"), "lactate"), 4.0, 1e-12);

    // The zones hang on the IANS: 70 / 55 % of it for the first boundary, open ends null.
    for (const std::string* t : {&treadmill, &ergometer, &field}) {
        const double ians = Number(Method(*t, "ians"), "load");
        const size_t z = t->find("\"zones\":[{\"name\":\"REKOM\",\"from_pct\":null,");
        ASSERT_NE(z, std::string::npos) << *t;
        const double pct = t == &ergometer ? 0.55 : 0.70;
        EXPECT_NEAR(Number(t->substr(z), "load_to"), pct * ians, 1e-9);
        EXPECT_NE(t->find("{\"name\":\"SB\",\"from_pct\":105,\"to_pct\":null,"), std::string::npos);
        EXPECT_NE(t->find("\"load_to\":null,\"heart_rate_from\""), std::string::npos);
    }
    // Only the field test has post-load readings.
    EXPECT_NE(Method(treadmill, "stegmann").find("\"ok\":false,\"load\":null,\"lactate\":null,\"heart_rate\":null"),
              std::string::npos);
    EXPECT_NE(Method(field, "stegmann").find("\"ok\":true"), std::string::npos) << Method(field, "stegmann");
}

TEST_F(CliThresholds, FewPointsAndErrors) {
    CliRun r = Cli("thresholds " + file() + " --tests 3 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"points\":2,\"baseline\":null,\"fit\":{\"function\":0,\"r2\":null,\"residual_error\":null}"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("\"ok\":true"), std::string::npos);
    EXPECT_NE(r.out.find("\"zones\":[]"), std::string::npos);

    EXPECT_EQ(Cli("thresholds " + file() + " --tests 4 --json").code, 1);
    EXPECT_EQ(Cli("thresholds " + file() + " --tests 0 --fit 2 --json").code, 1);
    EXPECT_EQ(Cli("thresholds " + file() + " --tests 0").code, 1);
    r = Cli("thresholds " + (dir / "none.trv").string() + " --tests 0 --json");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u);
}
