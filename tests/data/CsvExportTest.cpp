#include "data/CsvExport.h"
#include "res/Strings.h"

#include <gtest/gtest.h>
#include <filesystem>

using namespace trv;

namespace {

// A reading of 05.03.2024 at 09:mm:07; status 1 unless it is out of the measuring range (6 above, 7 below).
PCMDataType Meas(uint16_t id, uint8_t type, uint16_t lactate, int hr, int minute, double speed = 0,
                 uint8_t status = 1) {
    PCMDataType m;
    m.m_nMeasId = id, m.m_nMeasType = type, m.m_nLactate = lactate, m.m_nStatus = status, m.m_nHeartRate = hr;
    m.m_dSpeed = speed;
    m.m_Time = COleDateTime::FromParts(2024, 3, 5, 9, minute, 7);
    return m;
}

// The evaluation's compensated load of the run's shortened step (the run is test 0).
const CompensatedLoadOf kCompensated = [](int test) { return test == 0 ? 10.25 : 0.0; };

CTRVDoc SmallDocument() {
    CTRVDoc doc;
    TestDataType run;  // treadmill in km/h, durations from the PC, a compensated last step
    run.m_nLoadUnit = UnitKmh;
    run.m_Steps.push_back(Meas(1, MeasPreLoad, 12, 90, 0));
    run.m_Steps.push_back(Meas(2, MeasLoad, 15, 120, 3, 2.5));
    run.m_Steps.push_back(Meas(3, MeasLoad, 38, 171, 6, 3.0));
    run.m_Steps.back().m_bShortened = 1;
    run.m_Steps.push_back(Meas(4, MeasPostLoad, 0, 150, 9, 0, 6));
    doc.m_Tests.push_back(run);
    doc.m_Tests.emplace_back().m_Steps.push_back(Meas(500, MeasSingle, 0, 0, 30, 0, 7));

    TestDataType field;  // 400 m track, speeds from the PC
    field.m_nTestType = TestField;
    field.m_dTrackLength = 400.0;
    field.m_Steps.push_back(Meas(501, MeasLoad, 21, 140, 40, 3.0));
    field.m_Steps.push_back(Meas(502, MeasLoad, 33, 150, 45));  // speed 0: no duration, no division
    doc.m_Tests.push_back(field);

    TestDataType bike;  // durations timed on the analyser
    bike.m_nTestType = TestErgometer;
    bike.m_nLoadUnit = UnitWatt;
    bike.m_nDurationSource = SourceAnalyser;
    bike.m_Steps.push_back(Meas(503, MeasLoad, 25, 130, 50));
    bike.m_Steps.back().m_dPower = 150.0;
    bike.m_Steps.back().m_nStepDuration = 175;
    doc.m_Tests.push_back(bike);
    return doc;
}

}  // namespace

TEST(CsvExport, WholeDocumentByteForByte) {
    const std::string expected =
        "MID;Mem Pos;Date;Time;Test type;Step length;Load;Load unit;Lactate value;Heart rate;Measurement type\r\n"
        "00001;001;05.03.2024;09:00:07;Laufband;;0,0;km/h;1,2;90;PrL\r\n"
        "00002;002;05.03.2024;09:03:07;Laufband;03:00 (PC);9,0;km/h;1,5;120;Ld\r\n"
        "00003;003;05.03.2024;09:06:07;Laufband;03:00 (PC)*;10,2 (10,8);km/h;3,8;171;Ld\r\n"
        "00004;004;05.03.2024;09:09:07;Laufband;;0,0;km/h;High;150;AFL\r\n"
        "00500;250;05.03.2024;09:30:07;Laufband;;0,0;m/s;Low;0; \r\n"
        "00501;001;05.03.2024;09:40:07;Feldtest;02:13 (PC);3,0;m/s;2,1;140;Ld\r\n"
        "00502;002;05.03.2024;09:45:07;Feldtest;;0,0;m/s;3,3;150;Ld\r\n"
        "00503;003;05.03.2024;09:50:07;Ergometer;02:55 (AV);150,0;W;2,5;130;Ld\r\n";
    // Given in any order, the tests come out in document order; the export stays German whatever language the
    // program speaks.
    for (Lang lang : {Lang::de, Lang::en}) {
        SetLang(lang);
        EXPECT_EQ(CsvText(SmallDocument(), {3, 1, 0, 2, 2}, kCompensated), expected) << LangCode(lang);
    }
    SetLang(Lang::de);
}

TEST(Dates, GermanWithPointsEnglishWithSlashes) {
    const COleDateTime d = COleDateTime::FromParts(2024, 3, 5, 9, 4, 7);
    EXPECT_EQ(d.FormatDate(), "05.03.2024");
    {
        const LangScope english(Lang::en);
        EXPECT_EQ(d.FormatDate(), "05/03/2024");
        EXPECT_EQ(d.FormatTime(), "09:04:07");
    }
    EXPECT_EQ(d.FormatIso(), "2024-03-05T09:04:07");
}

TEST(CsvExport, SelectionAndSources) {
    CTRVDoc doc = SmallDocument();
    const std::string header =
        "MID;Mem Pos;Date;Time;Test type;Step length;Load;Load unit;Lactate value;Heart rate;Measurement type\r\n";
    EXPECT_EQ(CsvText(doc, {}, kCompensated), header);
    // Manual source: the field test's duration without "(PC)", the treadmill's from the PC setting.
    doc.GetTest(2).m_nDurationSource = SourceManual;
    doc.GetTest(0).m_nDurationSource = SourceManual;
    doc.GetTest(0).m_nPcStepDuration = 125;
    const std::string text = CsvText(doc, {0, 2}, kCompensated);
    EXPECT_NE(text.find(";Feldtest;02:13;3,0;"), std::string::npos);
    EXPECT_NE(text.find(";Laufband;02:05;9,0;"), std::string::npos);
}

TEST(CsvExport, WritesTheCodePageAndReportsFailures) {
    const auto dir = std::filesystem::temp_directory_path() / ("trv-csv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "out.csv").string();
    CTRVDoc doc = SmallDocument();
    doc.GetTest(0).m_Steps.resize(1);
    ASSERT_TRUE(ExportCsv(doc, {0}, path, kCompensated).ok);
    EXPECT_EQ(std::filesystem::file_size(path), CsvText(doc, {0}, kCompensated).size());
    const FileResult bad = ExportCsv(doc, {0}, (dir / "missing" / "out.csv").string(), kCompensated);
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.message.find("out.csv"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(CsvExport, AnalyserReadingsPastSixtyThousandKeepTheirIdsAndTypedOnesAreManual) {
    CTRVDoc doc;
    TestDataType late;  // an analyser three years into a busy lab
    late.m_Steps.push_back(Meas(60001, MeasSingle, 15, 0, 1));
    doc.m_Tests.push_back(late);
    TestDataType typed;  // typed by hand: "manuell", whatever its ID
    typed.m_nReserved1 = 0x44505954;
    typed.m_Steps.push_back(Meas(60500, MeasSingle, 21, 0, 2));
    typed.m_Steps.push_back(Meas(17, MeasSingle, 22, 0, 3));
    doc.m_Tests.push_back(typed);
    const std::string text = CsvText(doc, {0, 1}, kCompensated);
    EXPECT_NE(text.find("\r\n60001;001;05.03.2024;09:01:07;"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nmanuell;;05.03.2024;09:02:07;"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nmanuell;;05.03.2024;09:03:07;"), std::string::npos) << text;
}
