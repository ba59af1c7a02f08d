#include "TRVDoc.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(Records, NewRecordsHaveTheirInitialValues) {
    const COleDateTime before = COleDateTime::Now();
    PCMDataType m;
    EXPECT_EQ(m.m_nStepDuration, 180);
    EXPECT_EQ(m.m_nTemperature, 23);
    EXPECT_EQ(m.m_nMeasType, 0);
    EXPECT_GE(m.m_Time.m_dt, before.m_dt);
    EXPECT_LT(m.m_Time.m_dt - before.m_dt, 5.0 / 86400);
    TestDataType t;
    EXPECT_EQ(t.m_nLoadUnit, UnitMs);
    EXPECT_EQ(t.m_nTestType, TestTreadmill);
    EXPECT_DOUBLE_EQ(t.m_dTrackLength, 150.0);
    EXPECT_EQ(t.m_nPcStepDuration, 180);
    UserDataType u;
    EXPECT_EQ(u.m_BirthDate.FormatDate(), "30.12.1899");
}

TEST(Records, DerivedTexts) {
    EXPECT_EQ(MemoryPositionText(250), "250");
    EXPECT_EQ(MemoryPositionText(500), "250");
    EXPECT_EQ(MemoryPositionText(251), "001");
    EXPECT_EQ(MeasIdText(500), "00500");
    PCMDataType m;
    m.m_nStatus = 1;
    EXPECT_EQ(LactateText(m), "0,0");
    m.m_nLactate = 42;
    EXPECT_EQ(LactateText(m), "4,2");
    m.m_nStatus = 6;
    EXPECT_EQ(LactateText(m), "High");
    m.m_nStatus = 7;
    EXPECT_EQ(LactateText(m), "Low");
    m.m_dSpeed = 2.5;
    m.m_dPower = 150;
    EXPECT_EQ(LoadText(m, UnitKmh), "9,0");
    EXPECT_EQ(LoadText(m, UnitMs), "2,5");
    EXPECT_EQ(LoadText(m, UnitWatt), "150,0");
    EXPECT_STREQ(TestTypeText(TestField), "Feldtest");
    EXPECT_STREQ(TestTypeText(7), "");
    EXPECT_STREQ(MeasTypeText(MeasPostLoad), "AFL");
}

TEST(OleDateTime, CalendarAndDaysBefore1899) {
    EXPECT_EQ(COleDateTime(0.0).FormatDate(), "30.12.1899");
    EXPECT_EQ(COleDateTime(2.0).FormatDate(), "01.01.1900");
    EXPECT_EQ(COleDateTime(60.0).FormatDate(), "28.02.1900");  // 1900 was no leap year
    EXPECT_EQ(COleDateTime(61.0).FormatDate(), "01.03.1900");
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
        TestDataType t;
        t.m_nPcStepDuration = first;  // a marker that must travel with the test
        for (uint16_t k = 0; k < 3; ++k) {
            PCMDataType m;
            m.m_nMeasId = static_cast<uint16_t>(first + k);
            t.m_Steps.push_back(m);
        }
        doc.m_Tests.push_back(t);
    }
    doc.SortTests();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.GetTest(i).m_Steps.front().m_nMeasId, 10 * (i + 1));
        EXPECT_EQ(doc.GetTest(i).m_nPcStepDuration, 10 * (i + 1));
        EXPECT_EQ(doc.GetTest(i).m_Steps.back().m_nMeasId, 10 * (i + 1) + 2);
    }
    // A long already-sorted list (the normal case after a download) sorts without deep recursion.
    for (int i = 0; i < 200000; ++i) {
        PCMDataType m;
        m.m_nMeasId = static_cast<uint16_t>(i % 60000);
        doc.m_Downloaded.push_back(m);
    }
    doc.m_Downloaded.back().m_nMeasId = 0;
    doc.SortDownloaded();
    EXPECT_TRUE(std::is_sorted(doc.m_Downloaded.begin(), doc.m_Downloaded.end(),
                               [](const auto& a, const auto& b) { return a.m_nMeasId < b.m_nMeasId; }));
}

TEST(Document, NewFromSelectionTakesTestsInDocumentOrder) {
    CTRVDoc src;
    for (uint16_t id : {1, 2, 3}) {
        TestDataType t;
        t.m_Steps.resize(1);
        t.m_Steps[0].m_nMeasId = id;
        src.m_Tests.push_back(t);
    }
    src.m_strDeviceId = "DEV0000001";
    src.m_dFirmware = 3.05;
    src.m_bDeviceBound = true;
    src.m_UserData.m_strFirstName = "Anna";
    TransferSlot slot;
    // Rows 0 and 2 of the list (newest first) are tests 2 and 0, selected in that order.
    FillTransferSlot(src, {TestIndexOfRow(0, 3), TestIndexOfRow(2, 3), 7}, slot);
    slot.m_bNewFromSelection = true;
    CTRVDoc doc;
    doc.OnNewDocument(&slot);
    ASSERT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(doc.GetTest(0).m_Steps[0].m_nMeasId, 1);
    EXPECT_EQ(doc.GetTest(1).m_Steps[0].m_nMeasId, 3);
    EXPECT_EQ(doc.m_strDeviceId, "DEV0000001");
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_TRUE(doc.m_UserData.m_strFirstName.empty());
    // Nothing selected: an empty document that still carries the analyser's identity.
    FillTransferSlot(src, {}, slot);
    doc.OnNewDocument(&slot);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.05);
}
