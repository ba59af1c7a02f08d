// The measurement tables of page 2.
#include "ProtocolDocs.h"
#include "print/ProtocolTable.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;

namespace {

std::vector<std::string> Texts(const std::vector<TableLine>& lines) {
    std::vector<std::string> out;
    for (const TableLine& l : lines) out.push_back(l.kind == TableLine::GroupRule ? "<rule>" : l.text);
    return out;
}

}  // namespace

TEST(MeasurementTableTest, FieldTestDurationsFromTheTrack) {
    // 400 m at 2.5, 3.0, 3.5, 4.0, 4.5 m/s: 160, 133.3, 114.3, 100, 88.9 s, cut to whole seconds.
    const std::vector<std::string> expected = {
        "\t\t Stufendauer\t Belastung\t Laktat\t HR",
        "\t\t [mm:ss]\t [m/s]\t [mmol/l]\t [S/min]",
        "PrL\t1\t\t\t 0,9\t  62",
        "<rule>",
        "Ld\t1\t 02:40 (PC)\t 2,5\t 1,3\t 130",
        "\t2\t 02:13 (PC)\t 3,0\t 2,0\t 140",
        "\t3\t 01:54 (PC)\t 3,5\t 2,8\t 150",
        "\t4\t 01:40 (PC)\t 4,0\t 4,0\t 160",
        "\t5\t 01:28 (PC)\t 4,5\t 5,9\t 170",
        "<rule>",
        "\t\t AFL-Zeit\t\t\t",
        "\t\t [mm:ss]\t\t\t",
        "AFL\t1\t 02:30\t\t 5,6\t 141",
    };
    EXPECT_EQ(Texts(BuildMeasurementTable(trvtest::FieldTestMs(), {})), expected);
}

TEST(MeasurementTableTest, AnalyserTimedStepsWithShortenedLastStep) {
    TestDataType t = trvtest::TreadmillMs();
    t.m_Steps[5].m_bShortened = 1;
    // The shortened step: 4.0 m/s for 2:00 of 3:00 counts as 3.5 + 0.5 x 120 / 180 = 3.83 m/s.
    const std::vector<std::string> expected = {
        "\t\t Stufendauer\t Belastung\t Laktat\t HR",
        "\t\t [mm:ss]\t [m/s]\t [mmol/l]\t [S/min]",
        "PrL\t1\t\t\t 1,2\t  70",
        "\t2\t\t\t 1,3\t  72",
        "<rule>",
        "Ld\t1\t 03:00 (AV)\t 2,5\t 1,1\t 128",
        "\t2\t 03:00 (AV)\t 3,0\t 1,6\t 140",
        "\t3\t 03:00 (AV)\t 3,5\t 2,6\t 152",
        "\t4\t 02:00 (AV)\t 3,8 (4,0)\t 4,8\t 164",
        "<rule>",
        "\t\t AFL-Zeit\t\t\t",
        "\t\t [mm:ss]\t\t\t",
        "AFL\t1\t 04:00\t\t 5,2\t 150",
        "\t2\t 08:15\t\t -\t 120",
    };
    const std::vector<TableLine> lines = BuildMeasurementTable(t, {});
    EXPECT_EQ(Texts(lines), expected);
    // Bands: every row in the curve; the second pre-load reading is not; the shortened step is dark.
    EXPECT_TRUE(lines[2].shown);
    EXPECT_FALSE(lines[3].shown);
    EXPECT_TRUE(lines[8].shown);
    EXPECT_TRUE(lines[8].shortened);
    EXPECT_FALSE(lines[7].shortened);
}

TEST(MeasurementTableTest, TheEvaluationMarksTheShortenedStep) {
    CTRVDoc doc = trvtest::ProtocolDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({1}, FitCubic, ModelMader);
    const std::vector<TableLine> lines = BuildMeasurementTable(doc.GetTest(1), ws.Analysis(1));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[8].text, "\t4\t 02:00 (AV)\t 3,8 (4,0)\t 4,8\t 164");
    EXPECT_TRUE(lines[8].shortened);
}

TEST(MeasurementTableTest, ReadingsWithoutValueShowADash) {
    TestDataType t = trvtest::TreadmillMs();
    t.m_Steps[0].m_nStatus = StatusLow;
    t.m_Steps[2].m_nStatus = StatusHigh;
    t.m_Steps[3].m_nStatus = StatusEmpty;
    const std::vector<TableLine> lines = BuildMeasurementTable(t, {});
    EXPECT_EQ(lines[2].text, "PrL\t1\t\t\t -\t  70");
    EXPECT_EQ(lines[5].text, "Ld\t1\t 03:00\t 2,5\t -\t 128");
    EXPECT_EQ(lines[6].text, "\t2\t 03:00\t 3,0\t -\t 140");
}

TEST(MeasurementTableTest, DurationSources) {
    TestDataType t = trvtest::TreadmillMs();
    t.m_nDurationSource = SourcePc;
    t.m_nPcStepDuration = 240;
    EXPECT_EQ(BuildMeasurementTable(t, {})[5].text, "Ld\t1\t 04:00 (PC)\t 2,5\t 1,1\t 128");
    t.m_nDurationSource = SourceManual;
    EXPECT_EQ(BuildMeasurementTable(t, {})[5].text, "Ld\t1\t 04:00\t 2,5\t 1,1\t 128");
    // A field test with analyser-timed steps prints the analyser's durations.
    TestDataType f = trvtest::FieldTestMs();
    f.m_nDurationSource = SourceAnalyser;
    f.m_Steps[1].m_nStepDuration = 75;
    EXPECT_EQ(BuildMeasurementTable(f, {})[4].text, "Ld\t1\t 01:15 (AV)\t 2,5\t 1,3\t 130");
    // Manual field-test durations come from the track like PC ones, without the source mark.
    f.m_nDurationSource = SourceManual;
    EXPECT_EQ(BuildMeasurementTable(f, {})[4].text, "Ld\t1\t 02:40\t 2,5\t 1,3\t 130");
}

TEST(MeasurementTableTest, FieldStepWithoutSpeedHasNoDuration) {
    TestDataType f = trvtest::FieldTestMs();
    f.m_Steps[1].m_dSpeed = 0.0;
    EXPECT_EQ(PrintedStepDuration(f, f.m_Steps[1]), 0);
    EXPECT_EQ(BuildMeasurementTable(f, {})[4].text, "Ld\t1\t 00:00 (PC)\t 0,0\t 1,3\t 130");
}

TEST(MeasurementTableTest, PostLoadTimeCountsFromTheLastStepBeforeIt) {
    const COleDateTime a = COleDateTime::FromParts(2024, 5, 14, 23, 58, 0);
    const COleDateTime b = COleDateTime::FromParts(2024, 5, 15, 0, 1, 30);
    EXPECT_EQ(SecondsBetween(a, b), 210);  // across midnight
    EXPECT_EQ(SecondsBetween(b, a), 0);    // clock set back: no negative time
    EXPECT_EQ(SecondsBetween(COleDateTime(0.0, COleDateTime::invalid), b), 0);
    // Post-load readings only: no step before them.
    TestDataType t;
    t.m_Steps.push_back(trvtest::Reading(1, MeasPostLoad, 0.0, 3.0, 100, 5));
    const std::vector<TableLine> lines = BuildMeasurementTable(t, {});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5].text, "AFL\t1\t 00:00\t\t 3,0\t 100");
}

TEST(MeasurementTableTest, SingleReadingsAndEmptyTests) {
    TestDataType t;
    EXPECT_EQ(BuildMeasurementTable(t, {}).size(), 2u);  // the two header lines
    t.m_Steps.push_back(trvtest::Reading(1, MeasSingle, 0.0, 3.0, 100, 5));
    EXPECT_EQ(BuildMeasurementTable(t, {}).size(), 2u);
}

TEST(MeasurementTableTest, HeartRatesNeverEnteredPrintADash) {
    TestDataType t = trvtest::TreadmillMs();
    t.m_Steps[0].m_nHeartRate = 0;  // pre-load
    t.m_Steps[3].m_nHeartRate = 0;  // second step
    t.m_Steps[6].m_nHeartRate = 0;  // first post-load reading
    const std::vector<TableLine> lines = BuildMeasurementTable(t, {});
    EXPECT_EQ(lines[2].text, "PrL\t1\t\t\t 1,2\t   -");
    EXPECT_EQ(lines[5].text, "Ld\t1\t 03:00 (AV)\t 2,5\t 1,1\t 128");
    EXPECT_EQ(lines[6].text, "\t2\t 03:00 (AV)\t 3,0\t 1,6\t   -");
    bool postDash = false;
    for (const TableLine& l : lines) postDash |= l.text.rfind("AFL\t1\t", 0) == 0 && l.text.ends_with("\t   -");
    EXPECT_TRUE(postDash) << "the first post-load row ends with a dash";
}
