// The texts of both lists, against values worked out by hand.
#include "ViewFixture.h"
#include "view/lists/MeasurementListModel.h"
#include "view/lists/TestListModel.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace viewtest;

TEST(TestListModel, IdsMemoryPositionsAndNewestFirst) {
    CTRVDoc doc;
    FillDocument(doc);
    CTestListModel model(&doc);
    ASSERT_EQ(model.rowCount(), 6);
    // Row 0 is the newest test (index 5, ID 500), the last row the oldest (index 0, ID 42).
    EXPECT_EQ(model.index(0, CTestListModel::ColId).data().toString(), QStringLiteral("00500"));
    EXPECT_EQ(model.index(0, CTestListModel::ColMemPos).data().toString(), QStringLiteral("250"));
    EXPECT_EQ(model.index(2, CTestListModel::ColMemPos).data().toString(), QStringLiteral("001"));  // ID 251
    EXPECT_EQ(model.index(5, CTestListModel::ColId).data().toString(), QStringLiteral("00042 ..."));
    EXPECT_EQ(model.index(5, CTestListModel::ColMemPos).data().toString(), QStringLiteral("042 ..."));
    EXPECT_EQ(model.index(5, CTestListModel::ColDate).data().toString(), QStringLiteral("02.03.2026"));
    EXPECT_EQ(model.index(5, CTestListModel::ColTestType).data().toString(), QStringLiteral("Laufband"));
    EXPECT_EQ(model.index(5, CTestListModel::ColCurve).data().toString(), QStringLiteral("-"));
    EXPECT_EQ(model.TestIndexOfRow(0), 5);
    EXPECT_EQ(model.RowOfTestIndex(0), 5);
    EXPECT_EQ(model.TestIndexOfRow(6), -1);
}

TEST(TestListModel, IconsAndHeaders) {
    CTRVDoc doc;
    FillDocument(doc);
    EXPECT_EQ(CTestListModel::IconIndex(doc.m_Tests[0]), 2);  // step test, ordinary reading
    EXPECT_EQ(CTestListModel::IconIndex(doc.m_Tests[3]), 0);  // single, ordinary
    EXPECT_EQ(CTestListModel::IconIndex(doc.m_Tests[4]), 1);  // single, "High"
    doc.m_Tests[0].m_Steps[0].m_nStatus = 7;
    EXPECT_EQ(CTestListModel::IconIndex(doc.m_Tests[0]), 3);
    CTestListModel model(&doc);
    QStringList headers;
    for (int c = 0; c < model.columnCount(); ++c)
        headers << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers.join(QLatin1Char('|')), QStringLiteral("Mess-ID|SP|Datum|Testtyp|Kurve"));
}

TEST(MeasurementListModel, LactateLoadAndTemperatureTexts) {
    TestDataType t = StepTest(42, 3);
    t.m_Steps[1].m_nStatus = StatusHigh;
    t.m_Steps[2].m_nStatus = StatusLow;
    t.m_nLoadUnit = UnitKmh;
    using M = CMeasurementListModel;
    EXPECT_EQ(M::CellText(t, t.m_Steps[0], M::ColLactate, 0.0), QStringLiteral("1,0"));
    EXPECT_EQ(M::CellText(t, t.m_Steps[1], M::ColLactate, 0.0), QStringLiteral("High"));
    EXPECT_EQ(M::CellText(t, t.m_Steps[2], M::ColLactate, 0.0), QStringLiteral("Low"));
    // 2.5 m/s = 9.0 km/h; 3.0 m/s = 10.8 km/h.
    EXPECT_EQ(M::CellText(t, t.m_Steps[0], M::ColLoad, 0.0), QStringLiteral("9,0"));
    EXPECT_EQ(M::CellText(t, t.m_Steps[1], M::ColLoad, 0.0), QStringLiteral("10,8"));
    EXPECT_EQ(M::CellText(t, t.m_Steps[0], M::ColTemperature, 0.0), QStringLiteral("22"));
    EXPECT_EQ(M::CellText(t, t.m_Steps[1], M::ColHeartRate, 0.0), QStringLiteral("135"));
    EXPECT_EQ(M::LoadHeader(UnitKmh), QStringLiteral("v [km/h]"));
    EXPECT_EQ(M::LoadHeader(UnitMs), QStringLiteral("v [m/s]"));
    EXPECT_EQ(M::LoadHeader(UnitWatt), QStringLiteral("P [W]"));
}

TEST(MeasurementListModel, StepDurationBySource) {
    using M = CMeasurementListModel;
    TestDataType field = StepTest(1, 2);
    field.m_nTestType = TestField;
    field.m_nDurationSource = SourcePc;
    field.m_dTrackLength = 400.0;
    field.m_Steps[0].m_dSpeed = 4.0;  // 100 s
    field.m_Steps[1].m_dSpeed = 3.0;  // 133.33 s, truncated to 133 s
    EXPECT_EQ(M::DurationText(field, field.m_Steps[0]), QStringLiteral("01:40 (PC)"));
    EXPECT_EQ(M::DurationText(field, field.m_Steps[1]), QStringLiteral("02:13 (PC)"));
    field.m_nDurationSource = SourceManual;
    EXPECT_EQ(M::DurationText(field, field.m_Steps[0]), QStringLiteral("01:40"));
    // A field-test step without a speed yet has no duration (instead of a division by zero).
    field.m_Steps[0].m_dSpeed = 0.0;
    EXPECT_EQ(M::DurationText(field, field.m_Steps[0]), QString());

    TestDataType run = StepTest(1, 2);
    run.m_nPcStepDuration = 185;
    EXPECT_EQ(M::DurationText(run, run.m_Steps[0]), QStringLiteral("03:05 (PC)"));
    run.m_Steps[1].m_bShortened = 1;
    EXPECT_EQ(M::DurationText(run, run.m_Steps[1]), QStringLiteral("03:05 (PC)*"));
    run.m_nDurationSource = SourceAnalyser;
    run.m_Steps[0].m_nStepDuration = 90;
    EXPECT_EQ(M::DurationText(run, run.m_Steps[0]), QStringLiteral("01:30 (AV)"));
    // Pre-load and single readings have no step duration.
    run.m_Steps[0].m_nMeasType = MeasPreLoad;
    EXPECT_EQ(M::DurationText(run, run.m_Steps[0]), QString());
}

TEST(MeasurementListModel, ShortenedStepShowsCompensatedLoadFirst) {
    TestDataType t = StepTest(1, 2);
    t.m_nLoadUnit = UnitKmh;
    t.m_Steps[1].m_bShortened = 1;
    // Own load 3.0 m/s = 10.8 km/h; the evaluation compensated it to 10.4 km/h.
    EXPECT_EQ(CMeasurementListModel::LoadText(t, t.m_Steps[1], 10.4), QStringLiteral("10,4 (10,8)"));
}

TEST(MeasurementListModel, IconIndexByTypeAndStatus) {
    PCMDataType m;
    m.m_nStatus = 1;
    EXPECT_EQ(CMeasurementListModel::IconIndex(m), 0);
    m.m_nMeasType = MeasPreLoad;
    EXPECT_EQ(CMeasurementListModel::IconIndex(m), 2);
    m.m_nMeasType = MeasLoad;
    m.m_nStatus = 6;
    EXPECT_EQ(CMeasurementListModel::IconIndex(m), 5);
    m.m_nMeasType = MeasPostLoad;
    m.m_nStatus = 2;
    EXPECT_EQ(CMeasurementListModel::IconIndex(m), 6);
}
