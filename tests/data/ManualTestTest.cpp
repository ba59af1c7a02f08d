// Typed step tests: their IDs, their time stamps, and how they survive the file.
#include "data/CsvExport.h"
#include "data/ManualIds.h"
#include "data/ManualTest.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

using namespace trv;

namespace {

ManualStep Step(int type, std::optional<double> load, double lactate, int hr = 0, int line = 0) {
    ManualStep s;
    s.m_nLine = line, s.m_nMeasType = type, s.m_Load = load, s.m_dLactate = lactate, s.m_nHeartRate = hr;
    return s;
}

ManualTestInput Treadmill(int steps) {
    ManualTestInput input;
    input.m_FirstStep = COleDateTime::FromParts(2026, 1, 20, 18, 0, 0);
    for (int i = 0; i < steps; ++i) input.m_Steps.push_back(Step(MeasLoad, 8.0 + 2 * i, 1.0 + i, 120 + 10 * i, i + 1));
    return input;
}

// The test built from the input; `ok` says whether it was, `error` why not.
TestDataType Built(const ManualTestInput& input, bool ok = true, std::string* error = nullptr) {
    TestDataType t;
    std::vector<std::string> questions;
    const Result built = BuildManualTest(input, t, questions);
    EXPECT_EQ(built.ok, ok) << built.message;
    if (error) *error = built.message;
    return t;
}

// The index the test was added at (-1 when it was not), `error` why not.
int Added(CTRVDoc& doc, TestDataType test, std::string* error = nullptr) {
    int index = -1;
    const Result added = AddManualTest(doc, std::move(test), index);
    EXPECT_EQ(added.ok, index >= 0) << added.message;
    if (error) *error = added.message;
    return index;
}

// An analyser's reading as a download leaves it.
PCMDataType Reading(uint16_t id, uint8_t type) {
    PCMDataType m;
    m.m_nMeasId = id;
    m.m_nMeasType = type;
    m.m_nStatus = StatusNormal;
    m.m_Time = COleDateTime::FromParts(2026, 1, 19, 8, id % 60, 0);
    return m;
}

std::vector<int> Ids(const TestDataType& t) {
    std::vector<int> ids;
    for (const auto& m : t.m_Steps) ids.push_back(m.m_nMeasId);
    return ids;
}

}  // namespace

TEST(ManualIds, NewTestsTakeConsecutiveIdsAboveTheAnalysersRange) {
    CTRVDoc doc;
    TestDataType analyser;
    for (uint16_t id : {101, 102, 103}) analyser.m_Steps.push_back(Reading(id, MeasLoad));
    doc.m_Tests.push_back(analyser);
    // The typed test sorts behind the analyser's: index 1, IDs 60000 to 60003 in step order.
    EXPECT_EQ(Added(doc, Built(Treadmill(4))), 1);
    EXPECT_EQ(Ids(doc.GetTest(1)), (std::vector<int>{60000, 60001, 60002, 60003}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Added(doc, Built(Treadmill(2))), 2);
    EXPECT_EQ(Ids(doc.GetTest(2)), (std::vector<int>{60004, 60005}));
    EXPECT_TRUE(IsManualTest(doc, 2));
    EXPECT_FALSE(IsManualTest(doc, 0));
    // The test's mark decides, not the ID: an analyser that counted past 60,000 keeps its IDs and
    // memory positions, and a typed reading is "manuell" whatever its ID.
    const TestDataType& typed = doc.GetTest(2);
    const TestDataType& fromAnalyser = doc.GetTest(0);
    struct Case {
        const TestDataType* test;
        uint16_t id;
        const char* idText;
        const char* position;
    };
    for (const Case& c : {Case{&typed, 60004, "manuell", ""}, Case{&typed, 1234, "manuell", ""},
                          Case{&fromAnalyser, 59999, "59999", "249"}, Case{&fromAnalyser, 60000, "60000", "250"},
                          Case{&fromAnalyser, 60251, "60251", "001"}, Case{&fromAnalyser, 65535, "65535", "035"}}) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(MeasIdText(*c.test, c.id), c.idText);
        EXPECT_EQ(MemoryPositionText(*c.test, c.id), c.position);
    }
}

TEST(ManualIds, AtTheTopTheLowestFreeIdsAreUsed) {
    CTRVDoc doc;
    TestDataType top;
    top.m_Steps.push_back(Reading(65534, MeasLoad));
    top.m_Steps.push_back(Reading(60001, MeasLoad));
    doc.m_Tests.push_back(top);
    // Two more do not fit above 65534: 60000 and 60002 are free below.
    EXPECT_EQ(AllocateManualIds(doc, 2), (std::vector<uint16_t>{60000, 60002}));
    EXPECT_EQ(AllocateManualIds(doc, 1), (std::vector<uint16_t>{65535}));
    // The block holds 5,536 IDs; two are taken.
    EXPECT_EQ(AllocateManualIds(doc, 5534).size(), 5534u);
    EXPECT_TRUE(AllocateManualIds(doc, 5535).empty());
    std::string error;
    doc.m_Tests.front().m_Steps.clear();
    for (int id = 60000; id <= 65535; ++id)
        doc.m_Tests.front().m_Steps.push_back(Reading(static_cast<uint16_t>(id), 2));
    EXPECT_EQ(Added(doc, Built(Treadmill(1)), &error), -1);
    EXPECT_EQ(error, "Das Dokument hat keinen Platz für 1 weitere manuell erfasste Messwerte.");
    EXPECT_EQ(doc.m_Tests.size(), 1u);
}

TEST(ManualTest, TimesParametersAndTicks) {
    ManualTestInput input = Treadmill(3);
    input.m_nStepDuration = 240;
    input.m_Steps.insert(input.m_Steps.begin(), Step(MeasPreLoad, std::nullopt, 0.9));
    input.m_Steps.insert(input.m_Steps.begin(), Step(MeasPreLoad, std::nullopt, 1.1));
    for (double after : {3.0, 10.0}) {
        input.m_Steps.push_back(Step(MeasPostLoad, std::nullopt, 4.0));
        input.m_Steps.back().m_dMinutesAfter = after;
    }
    const TestDataType t = Built(input);
    // Pre-load a minute apart before the first step at 18:00, steps 4 min apart, post-load 3 and 10
    // minutes after the last step (18:08).
    const char* times[] = {"2026-01-20T17:58:00", "2026-01-20T17:59:00", "2026-01-20T18:00:00", "2026-01-20T18:04:00",
                           "2026-01-20T18:08:00", "2026-01-20T18:11:00", "2026-01-20T18:18:00"};
    ASSERT_EQ(t.m_Steps.size(), 7u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(std::tuple(t.m_Steps[i].m_Time.FormatIso(), t.m_Steps[i].m_bChecked, t.m_Steps[i].m_nStatus),
                  std::tuple(times[i], 1, StatusNormal))
            << i;
    EXPECT_EQ(std::tuple(t.m_Steps[0].m_nLactate, t.m_nPcStepDuration, t.m_nDurationSource, t.m_bClosed),
              std::tuple(11, 240, SourcePc, 1));
    // 8 km/h and 2 km/h per step, stored in m/s.
    EXPECT_NEAR(t.m_dStartValue, 8.0 / 3.6, 1e-12);
    EXPECT_NEAR(t.m_dIncrement, 2.0 / 3.6, 1e-12);
}

TEST(ManualTest, FieldTestKeepsItsDurations) {
    ManualTestInput input;
    input.m_nTestType = TestField, input.m_nLoadUnit = UnitKmh, input.m_dTrackLength = 400.0;
    input.m_FirstStep = COleDateTime::FromParts(2026, 5, 2, 10, 0, 0);
    for (int i = 0; i < 3; ++i) {
        input.m_Steps.push_back(Step(MeasLoad, 10.0 + 2 * i, 1.5 + i));
        input.m_Steps.back().m_nDuration = 300 - 30 * i;
    }
    const TestDataType t = Built(input);
    EXPECT_EQ(std::tuple(t.m_nDurationSource, t.m_dTrackLength), std::tuple(SourceManual, 400.0));
    // Times follow the steps' own durations: 10:00, +270 s, +240 s.
    EXPECT_EQ(t.m_Steps[1].m_Time.FormatIso(), "2026-05-02T10:04:30");
    EXPECT_EQ(t.m_Steps[2].m_Time.FormatIso(), "2026-05-02T10:08:30");
    EXPECT_EQ(t.m_Steps[2].m_nStepDuration, 240);
    EXPECT_NEAR(t.m_Steps[2].m_dSpeed, 14.0 / 3.6, 1e-12);
    EXPECT_NEAR(t.m_Steps[2].m_dNominalSpeed, 14.0 / 3.6, 1e-12);
    // A step duration of zero is refused.
    input.m_Steps[1].m_nDuration = 0;
    input.m_Steps[1].m_nLine = 7;
    std::string error;
    Built(input, false, &error);
    EXPECT_EQ(error.rfind("Zeile 7: ", 0), 0u) << error;
}

TEST(ManualTest, SurvivesSaveAndReopen) {
    CTRVDoc doc;
    TestDataType analyser;
    analyser.m_Steps.push_back(Reading(7, MeasSingle));
    doc.m_Tests.push_back(analyser);
    doc.m_strDeviceId = "ARV0012345";
    std::vector<uint8_t> plain;
    ASSERT_TRUE(WriteTrv(doc, plain));
    ASSERT_EQ(Added(doc, Built(Treadmill(3))), 1);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(WriteTrv(doc, bytes).message, "");
    // Same layout: three more 44-byte readings in a test block of 44 bytes and a count.
    const size_t testBlock = 4 + 4 + 4 + 1 + 4 + 8 + 8 + 8 + 4 + 1 + 4 + 1 + 1 + 4;
    EXPECT_EQ(bytes.size(), plain.size() + testBlock + 3 * 44);
    CTRVDoc back;
    ASSERT_EQ(ReadTrv(bytes, back).message, "");
    ASSERT_EQ(back.GetTestCount(), 2);
    EXPECT_EQ(Ids(back.GetTest(1)), (std::vector<int>{60000, 60001, 60002}));
    const TestDataType& t = back.GetTest(1);
    EXPECT_EQ(std::tuple(t.m_bIndividualLoads, t.m_bParamsEntered, t.m_Steps[2].m_nLactate, t.m_Steps[2].m_nHeartRate,
                         t.m_Steps[2].m_Time.FormatIso()),
              std::tuple(1, 1, 30, 140, "2026-01-20T18:06:00"));
    // The next typed test goes on above the reopened ones.
    EXPECT_EQ(AllocateManualIds(back, 1), (std::vector<uint16_t>{60003}));
    EXPECT_NE(CsvText(back, {1}, nullptr)
                  .find("\r\nmanuell;;20.01.2026;18:00:00;Laufband;03:00 (PC);8,0;km/h;1,0;120;Ld\r\n"),
              std::string::npos);
}
