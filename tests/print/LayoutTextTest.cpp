// Page measures and the texts of the protocol's boxes.
#include "ProtocolDocs.h"
#include "print/ProtocolLayout.h"
#include "print/ProtocolText.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(ProtocolLayoutTest, MeasuresOfAPage2100Wide) {
    // A4 proportions: 2100 x 2970.
    const ProtocolLayout l = ProtocolLayout::ForPage(2100, 2970);
    EXPECT_EQ(l.ml, 210);
    EXPECT_EQ(l.mr, 105);
    EXPECT_EQ(l.mt, 105);
    EXPECT_EQ(l.mb, 210);
    EXPECT_EQ(l.g, 26);
    EXPECT_EQ(l.hh, 157);
    EXPECT_EQ(l.cw, 1785);
    EXPECT_EQ(l.ch, 2655);
    EXPECT_EQ(l.y0, 262);
    EXPECT_EQ(l.q, 663);
    EXPECT_EQ(l.dq, 247);  // 221 + 26
    EXPECT_EQ(l.rq, 416);  // 442 - 26
    EXPECT_EQ(l.y1, 925);
    EXPECT_EQ(l.cq, 1015);  // 885 + 130
    EXPECT_EQ(l.y2, 1940);
    // Tab unit 99: stops 99, 198, 396, 564, 732.
    EXPECT_EQ(l.TabUnit(), 99);
    const int stops[] = {99, 198, 396, 564, 732};
    for (int i = 0; i < kTableTabStops; ++i) EXPECT_EQ(l.TabStop(i), stops[i]) << i;
}

TEST(ProtocolLayoutTest, OddWidthTruncatesEveryQuantity) {
    const ProtocolLayout l = ProtocolLayout::ForPage(767, 1097);
    EXPECT_EQ(l.ml, 76);
    EXPECT_EQ(l.mr, 38);
    EXPECT_EQ(l.mt, 38);
    EXPECT_EQ(l.g, 9);
    EXPECT_EQ(l.hh, 57);
    EXPECT_EQ(l.cw, 653);
    EXPECT_EQ(l.ch, 983);  // 1097 - 38 - 76
}

TEST(ProtocolTextTest, HeaderAndFooter) {
    UserDataType u;
    u.m_strFirstName = "Anna";
    u.m_strLastName = "Berger";
    EXPECT_EQ(ProtocolHeaderText(u, COleDateTime::FromParts(2024, 6, 1, 15, 30, 0)),
              "Anna Berger\nProtokoll vom 01.06.2024");
    const std::string footer = ProtocolFooterText(2);
    ASSERT_GE(footer.size(), 12u);
    EXPECT_EQ(footer.substr(footer.size() - 12), "\nSeite 2 / 2");
}

TEST(ProtocolTextTest, AthleteBoxRoundsWeightAndHeightAndNamesTheSex) {
    const CTRVDoc doc = trvtest::ProtocolDoc();
    EXPECT_EQ(AthleteText(doc.m_UserData),
              "Vorname:\tAnna\nName:\t\tBerger\nStrasse:\tLindenweg 4\nPLZ/Ort:\t79098 Freiburg\n"
              "Tel.:\t\t0761 123456\nE-Mail:\t\tanna.berger@example.org\n\nGeb.-Datum:\t15.03.1990\n"
              "Gewicht:\t73 kg\nGröße:\t\t171 cm\nGeschlecht:\tweiblich");
    UserDataType male = doc.m_UserData;
    male.m_nSex = 0;
    male.m_dWeight = 80.4;
    const std::string text = AthleteText(male);
    EXPECT_NE(text.find("Gewicht:\t80 kg\n"), std::string::npos);
    EXPECT_NE(text.find("Geschlecht:\tmännlich"), std::string::npos);
    // Never entered: day 0 as the birth date, no weight, no height (a weight under half a kilogram
    // would print as 0 as well).
    UserDataType unset = doc.m_UserData;
    unset.m_BirthDate = COleDateTime(0.0);
    unset.m_dWeight = 0.3;
    unset.m_dHeight = 0.0;
    const std::string empty = AthleteText(unset);
    EXPECT_NE(empty.find("\n\nGeb.-Datum:\t\nGewicht:\t\nGröße:\t\t\nGeschlecht:\tweiblich"), std::string::npos)
        << empty;
}

TEST(ProtocolTextTest, AnalyserBoxWithDecimalComma) {
    const CTRVDoc doc = trvtest::ProtocolDoc();
    EXPECT_EQ(AnalyserText(doc), "Geräte-ID:\t\tARV0012345\nFirmware:\t\tV3,05");
}

TEST(ProtocolTextTest, TestBoxTitleAndParameters) {
    CTRVDoc doc = trvtest::ProtocolDoc();
    EXPECT_EQ(TestTitleText(0, doc.GetTest(0)), "Test 1  (Feldtest)\n");
    EXPECT_EQ(TestTitleText(1, doc.GetTest(1)), "Test 2  (Laufband)\n");
    // A typed or imported test says where its readings came from.
    // The test's mark decides: an analyser that counted past 60,000 still shows as the analyser's.
    TestDataType typed = doc.GetTest(1);
    typed.m_Steps.front().m_nMeasId = 60000;
    EXPECT_EQ(TestTitleText(1, typed), "Test 2  (Laufband)\n");
    typed.m_nReserved1 = 0x44505954;  // the mark of a typed or imported test
    EXPECT_EQ(TestTitleText(1, typed), "Test 2  (Laufband, manuell)\n");
    EXPECT_EQ(TestInfoText(doc.GetTest(0), TestAnalysis{}),
              "Datum:\t\t\t14.05.2024\nUhrzeit:\t\t\t09:00:00\nSchwellwertmodell:\tMader-Modell\n"
              "Fitting-Funktion:\tPolynom 3. Grades\nStreckenlänge:\t\t400 m\n");
    TestAnalysis choice;
    choice.m_nThresholdModel = ModelSimon;
    choice.m_nFitFunction = FitSpline;
    EXPECT_EQ(TestInfoText(doc.GetTest(1), choice),
              "Datum:\t\t\t14.05.2024\nUhrzeit:\t\t\t10:00:00\nSchwellwertmodell:\tModell nach Simon\n"
              "Fitting-Funktion:\tKubische Splines\n");
}

TEST(ProtocolTextTest, EmptyTestHasNoDate) {
    EXPECT_EQ(TestInfoText(TestDataType{}, TestAnalysis{}),
              "Datum:\t\t\t\nUhrzeit:\t\t\t\nSchwellwertmodell:\tMader-Modell\n"
              "Fitting-Funktion:\tPolynom 3. Grades\n");
}

TEST(ShownTestsTest, OnlyTheListedTestsAreShownAndMissingParametersAreNoticed) {
    CTRVDoc doc = trvtest::ProtocolDoc();
    doc.m_Tests.push_back(trvtest::FieldTestMs());
    doc.GetTest(2).m_bParamsEntered = 0;
    doc.GetTest(0).m_bShowInChart = 1;
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({2, 1, 7}, FitSpline, ModelKeul);
    EXPECT_EQ(doc.GetTest(0).m_bShowInChart, 0);
    EXPECT_EQ(doc.GetTest(1).m_bShowInChart, 1);
    EXPECT_EQ(doc.GetTest(2).m_bShowInChart, 1);
    EXPECT_EQ(ws.Analysis(2).m_nFitFunction, FitSpline);
    EXPECT_EQ(ws.Analysis(1).m_nThresholdModel, ModelKeul);
    // Test 2 (the second shown in document order) has no parameters.
    EXPECT_EQ(CWorkspace::ParamsMissingNotices(doc), 0x2u);
}

TEST(ShownTestsTest, FieldTestThresholdOnAStraightLine) {
    // The lactate cubic reaches 4 mmol/l at 4.0 m/s (the second halving lands there); heart rate
    // 130 + 20 * (v - 2.5): 160 there;
    // 1000 m at 4 m/s take 250 s, 400 m 100 s.
    CTRVDoc doc = trvtest::ProtocolDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({0}, FitCubic, ModelMader);
    const uint32_t flags = ws.Notices();
    EXPECT_EQ(flags & (NoticeFit1 | NoticeIans1), 0u);
    const TestAnalysis& an = ws.Analysis(0);
    EXPECT_NEAR(an.m_dIansLoad, 4.0, 5e-4);
    EXPECT_EQ(an.m_nTime1000, 250);
    EXPECT_EQ(an.m_nTimeTrack, 100);
    EXPECT_NEAR(an.m_dIansHeartRate, 160.0, 0.05);
}
