// trv-cli history end to end: the four-test athlete written to a file and read back by the command.
#include "CliRun.h"
#include "HistoryDocs.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <vector>

using namespace trv;
using namespace trvtest::history;
namespace fs = std::filesystem;

namespace {

class CliHistory : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = fs::temp_directory_path() / ("trv-cli-history-" + std::to_string(::getpid()) + ".trv");
        ASSERT_TRUE(SaveDocument(m_doc, m_path.string()).ok);
    }
    void TearDown() override { fs::remove(m_path); }
    fs::path m_path;
    CTRVDoc m_doc = Athlete();
};

// The objects of the "tests" array, in order (each without its closing brace).
std::vector<std::string> Tests(const std::string& json) {
    std::vector<std::string> out;
    size_t at = 0;
    while ((at = json.find("{\"index\":", at)) != std::string::npos) {
        const size_t end = json.find("]}", at);
        out.push_back(json.substr(at, end - at + 1));
        at = end;
    }
    return out;
}

std::string Method(const std::string& test, const std::string& id) {
    const size_t at = test.find("{\"id\":\"" + id + "\"");
    if (at == std::string::npos) return {};
    return test.substr(at, test.find('}', at) - at + 1);
}

// The number after "key": in `object`; NAN for null or a missing key.
double Number(const std::string& object, const std::string& key) {
    const size_t at = object.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    const char* p = object.c_str() + at + key.size() + 3;
    if (std::string(p, 4) == "null") return NAN;
    return std::strtod(p, nullptr);
}

}  // namespace

TEST_F(CliHistory, PrintsEveryParameterisedStepTestOldestFirstWithTheDefaultMethods) {
    const CliRun r = Cli("history " + m_path.string() + " --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> tests = Tests(r.out);
    ASSERT_EQ(tests.size(), 4u) << r.out;
    EXPECT_EQ(
        tests[0].rfind("{\"index\":4,\"date\":\"2024-02-01T09:30:00\",\"test_type\":1,\"load_unit\":2,\"steps\":5,"
                       "\"methods\":[{\"id\":\"ians\",\"ok\":false,\"load\":null,\"lactate\":null,"
                       "\"heart_rate\":null,\"load_change\":null,\"ci_low\":null,\"ci_high\":null,\"se\":null,"
                       "\"change_clear\":null},",
                       0),
        0u)
        << tests[0];
    EXPECT_EQ(Number(tests[1], "index"), 2);
    EXPECT_EQ(Number(tests[2], "index"), 3);
    EXPECT_EQ(Number(tests[3], "index"), 1);
    EXPECT_NE(tests[3].find("\"date\":\"2024-09-01T09:30:00\",\"test_type\":0,\"load_unit\":0,\"steps\":6"),
              std::string::npos);
    const std::regex ids("\\{\"id\":\"([a-z0-9_.]+)\"");
    std::string order;
    for (auto it = std::sregex_iterator(tests[1].begin(), tests[1].end(), ids); it != std::sregex_iterator(); ++it)
        order += (*it)[1].str() + " ";
    EXPECT_EQ(order, "ians obla_4.0 dmax ltp1 ltp2 ");

    // Stored units (m/s); September's change against March, none for the field test in km/h.
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18) / 3.6;
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18) / 3.6;
    EXPECT_NEAR(Number(Method(tests[1], "obla_4.0"), "load"), march, 1e-6);
    EXPECT_TRUE(std::isnan(Number(Method(tests[1], "obla_4.0"), "load_change")));
    EXPECT_NEAR(Number(Method(tests[3], "obla_4.0"), "load"), september, 1e-6);
    EXPECT_NEAR(Number(Method(tests[3], "obla_4.0"), "load_change"), september - march, 1e-6);
    EXPECT_NEAR(Number(Method(tests[3], "obla_4.0"), "heart_rate"), HrAt(kRun, kSeptemberHr, september * 3.6), 1e-3);
    EXPECT_TRUE(std::isnan(Number(Method(tests[2], "dmax"), "load_change")));
    EXPECT_NEAR(Number(Method(tests[0], "dmax"), "load"), Dmax(LsCubic(kBike, kBikeLactate), kBike, kBikeLactate),
                1e-6);
}

TEST_F(CliHistory, MethodsFitAndModelOptions) {
    CliRun r = Cli("history " + m_path.string() + " --methods obla_2.0,dmax --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> tests = Tests(r.out);
    ASSERT_EQ(tests.size(), 4u);
    EXPECT_NE(Method(tests[1], "obla_2.0"), "");
    EXPECT_EQ(Method(tests[1], "ians"), "");
    EXPECT_LT(tests[1].find("obla_2.0"), tests[1].find("dmax"));
    EXPECT_NEAR(Number(Method(tests[1], "obla_2.0"), "load"), Crossing(LsCubic(kRun, kMarch), 2.0, 8, 18) / 3.6, 1e-6);

    // The spline reaches 4 mmol/l on the last segment of March, elsewhere than the cubic.
    r = Cli("history " + m_path.string() + " --methods obla_4.0 --fit 1 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const double spline = Number(Method(Tests(r.out)[1], "obla_4.0"), "load") * 3.6;
    EXPECT_GT(spline, 16.0);
    EXPECT_LT(spline, 18.0);
    EXPECT_GT(std::fabs(spline - Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18)), 0.01);

    // Keul's tangent model moves the IANS away from the 4 mmol/l level.
    r = Cli("history " + m_path.string() + " --methods ians --model 1 --json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(Number(Method(Tests(r.out)[1], "ians"), "lactate"), 4.0);
}

TEST_F(CliHistory, RefusesUnknownMethodsBadOptionsAndUnreadableFiles) {
    CliRun r = Cli("history " + m_path.string() + " --methods dmax,ltp3 --json");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "trv-cli: Unbekannte Schwellenmethode \"ltp3\".\n");
    EXPECT_EQ(Cli("history " + m_path.string() + " --methods --json").code, 1);
    EXPECT_EQ(Cli("history " + m_path.string() + " --fit 2 --json").code, 1);
    EXPECT_EQ(Cli("history " + m_path.string()).code, 1);
    EXPECT_EQ(Cli("history " + m_path.string() + " --tests 0 --json").code, 1);
    r = Cli("history " + m_path.string() + ".missing --json");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u);
}

TEST_F(CliHistory, ADocumentWithoutStepTestsGivesAnEmptyList) {
    CTRVDoc doc;
    TestDataType single;
    single.m_Steps.push_back(Reading(MeasSingle, 2.0, 0, Day(2024, 1, 5)));
    doc.m_Tests.push_back(single);
    ASSERT_TRUE(SaveDocument(doc, m_path.string()).ok);
    const CliRun r = Cli("history " + m_path.string() + " --json");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "{\"tests\":[]}\n");
}
