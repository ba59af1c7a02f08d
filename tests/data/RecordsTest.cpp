#include "data/TRVDoc.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(Records, NewRecordsHaveTheirInitialValues) {
    const COleDateTime before = COleDateTime::Now();
    const PCMDataType m;
    EXPECT_EQ(std::tuple(m.m_nStepDuration, m.m_nTemperature, m.m_nMeasType), std::tuple(180, 23, 0));
    EXPECT_GE(m.m_Time.m_dt, before.m_dt);
    EXPECT_LT(m.m_Time.m_dt - before.m_dt, 5.0 / 86400);
    const TestDataType t;
    EXPECT_EQ(std::tuple(t.m_nLoadUnit, t.m_nTestType, t.m_dTrackLength, t.m_nPcStepDuration),
              std::tuple(UnitMs, TestTreadmill, 150.0, 180));
    EXPECT_EQ(UserDataType().m_BirthDate.FormatDate(), "30.12.1899");
}

TEST(Records, DerivedTexts) {
    const TestDataType t;
    EXPECT_EQ(std::tuple(MemoryPositionText(t, 250), MemoryPositionText(t, 500), MemoryPositionText(t, 251),
                         MeasIdText(t, 500)),
              std::tuple("250", "250", "001", "00500"));
    PCMDataType m;
    m.m_nStatus = 1;
    EXPECT_EQ(LactateText(m), "0,0");
    // Status 6 and 7 are above and below the measuring range.
    for (const auto& [status, text] : {std::pair(1, "4,2"), {6, "High"}, {7, "Low"}}) {
        m.m_nLactate = 42, m.m_nStatus = static_cast<uint8_t>(status);
        EXPECT_EQ(LactateText(m), text);
    }
    m.m_dSpeed = 2.5, m.m_dPower = 150;
    EXPECT_EQ(std::tuple(LoadText(m, UnitKmh), LoadText(m, UnitMs), LoadText(m, UnitWatt)),
              std::tuple("9,0", "2,5", "150,0"));
    EXPECT_STREQ(TestTypeText(TestField), "Feldtest");
    EXPECT_STREQ(TestTypeText(7), "");
    EXPECT_STREQ(MeasTypeText(MeasPostLoad), "AFL");
}

TEST(OleDateTime, CalendarAndDaysBefore1899) {
    // 1900 was no leap year.
    for (const auto& [days, date] :
         {std::pair(0.0, "30.12.1899"), {2.0, "01.01.1900"}, {60.0, "28.02.1900"}, {61.0, "01.03.1900"}})
        EXPECT_EQ(COleDateTime(days).FormatDate(), date) << days;
    // Negative days count backwards, their fraction still forward from midnight.
    const COleDateTime t(-1.25);
    EXPECT_EQ(t.FormatDate(), "29.12.1899");
    EXPECT_EQ(t.FormatTime(), "06:00:00");
    EXPECT_DOUBLE_EQ(COleDateTime::FromParts(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    EXPECT_DOUBLE_EQ(COleDateTime::FromParts(1800, 1, 1, 0, 0, 0).m_dt, -36522.0);
    EXPECT_EQ(COleDateTime(45000.999999).FormatIso(), "2023-03-16T00:00:00");  // rounds to the second
    EXPECT_FALSE(COleDateTime::FromParts(2023, 2, 29, 0, 0, 0).IsValid());
    EXPECT_EQ(COleDateTime(1.0, COleDateTime::null).FormatDate(), "");
}

TEST(Document, SortsByMeasurementIdAndKeepsWholeTests) {
    CTRVDoc doc;
    for (uint16_t first : {30, 10, 20}) {
        TestDataType& t = doc.m_Tests.emplace_back();
        t.m_nPcStepDuration = first;  // a marker that must travel with the test
        for (uint16_t k = 0; k < 3; ++k) t.m_Steps.emplace_back().m_nMeasId = static_cast<uint16_t>(first + k);
    }
    doc.SortTests();
    for (int i = 0; i < 3; ++i) {
        const TestDataType& t = doc.GetTest(i);
        EXPECT_EQ(std::tuple(t.m_Steps.front().m_nMeasId, t.m_nPcStepDuration, t.m_Steps.back().m_nMeasId),
                  std::tuple(10 * (i + 1), 10 * (i + 1), 10 * (i + 1) + 2));
    }
    // A long already-sorted list (the normal case after a download) sorts without deep recursion.
    for (int i = 0; i < 200000; ++i) doc.m_Downloaded.emplace_back().m_nMeasId = static_cast<uint16_t>(i % 60000);
    doc.m_Downloaded.back().m_nMeasId = 0;
    doc.SortDownloaded();
    EXPECT_TRUE(std::is_sorted(doc.m_Downloaded.begin(), doc.m_Downloaded.end(),
                               [](const auto& a, const auto& b) { return a.m_nMeasId < b.m_nMeasId; }));
}

TEST(Document, NewFromSelectionTakesTestsInDocumentOrder) {
    CTRVDoc src;
    for (uint16_t id : {1, 2, 3}) src.m_Tests.emplace_back().m_Steps.emplace_back().m_nMeasId = id;
    src.m_strDeviceId = "DEV0000001";
    src.m_dFirmware = 3.05;
    src.m_bDeviceBound = true;
    src.m_UserData.m_strFirstName = "Anna";
    src.m_UserData.m_dHeight = 181.5;
    TransferSlot slot;
    // Rows 0 and 2 of the list (newest first) are tests 2 and 0, selected in that order.
    FillTransferSlot(src, {TestIndexOfRow(0, 3), TestIndexOfRow(2, 3), 7}, slot);
    slot.m_bNewFromSelection = true;
    CTRVDoc doc;
    doc.OnNewDocument(&slot);
    ASSERT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(std::tuple(doc.GetTest(0).m_Steps[0].m_nMeasId, doc.GetTest(1).m_Steps[0].m_nMeasId), std::tuple(1, 3));
    EXPECT_EQ(doc.m_strDeviceId, "DEV0000001");
    EXPECT_FALSE(doc.m_bDeviceBound);
    // The athlete comes along: the tests are hers.
    EXPECT_EQ(doc.m_UserData.m_strFirstName, "Anna");
    EXPECT_EQ(doc.m_UserData.m_dHeight, 181.5);
    // Nothing selected: an empty document that still carries the analyser's identity.
    FillTransferSlot(src, {}, slot);
    doc.OnNewDocument(&slot);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.05);
    // A plain new document starts without an athlete.
    doc.OnNewDocument();
    EXPECT_TRUE(doc.m_UserData.m_strFirstName.empty());
}
