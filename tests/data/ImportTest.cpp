// Readings from spreadsheet text: decoding, separators, header names, refusals.
#include "data/CsvExport.h"
#include "data/ImportMapping.h"
#include "data/ManualIds.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace trv;
using namespace std::literals;

namespace {

struct Imported {
    bool ok = false;
    std::string error;
    std::vector<std::string> questions;
    ImportTable table;
    TestDataType test;
};

// Without a date of its own the test is dated 07.04.2026 09:30 unless the rows' own times are to stay.
Imported Import(std::string_view bytes, ImportOptions options = {}, bool ownDates = false) {
    Imported r;
    ManualTestInput input;
    if (!options.m_Date && !ownDates) options.m_Date = COleDateTime::FromParts(2026, 4, 7, 9, 30, 0);
    Result read = ReadImportTable(bytes, r.table);
    if (read) read = ImportInputFromTable(r.table, GuessImportMapping(r.table), options, input);
    if (read) read = BuildManualTest(input, r.test, r.questions);
    r.ok = read.ok;
    r.error = read.message;
    return r;
}

ImportOptions Kmh() {
    ImportOptions o;
    o.m_nLoadUnit = UnitKmh;
    return o;
}

// Three steps of a treadmill test: 8, 10 and 12 km/h, lactate 1.2, 2.5, 4.8, HR 131, 150, 171.
void ExpectTreadmillSteps(const Imported& r) {
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.test.m_Steps.size(), 3u);
    const double speeds[] = {8.0 / 3.6, 10.0 / 3.6, 12.0 / 3.6};
    const int lactate[] = {12, 25, 48}, hr[] = {131, 150, 171};
    for (size_t i = 0; i < 3; ++i) {
        const PCMDataType& m = r.test.m_Steps[i];
        EXPECT_NEAR(m.m_dSpeed, speeds[i], 1e-12) << i;
        EXPECT_EQ(std::tuple(m.m_nLactate, m.m_nHeartRate, m.m_nMeasType), std::tuple(lactate[i], hr[i], MeasLoad))
            << i;
    }
    EXPECT_EQ(r.test.m_nLoadUnit, UnitKmh);
}

}  // namespace

TEST(ImportText, SeparatorsDecimalMarksAndEncodings) {
    // German spreadsheet: ";" and decimal comma, Windows-1252 (0xFC is "ü" in a column left alone).
    const Imported semicolon = Import(
        "Belastung;Laktat;HF;Bemerkung\r\n8,0;1,2;131;m\xFC"
        "de\r\n10,0;2,5;150;\r\n12;4,8;171;\r\n");
    ExpectTreadmillSteps(semicolon);
    EXPECT_EQ(semicolon.table.m_Encoding, ImportTable::Cp1252);
    EXPECT_EQ(semicolon.table.m_Rows[0][3],
              "m\xC3\xBC"
              "de");
    // English spreadsheet: "," and decimal point, UTF-8 with a byte-order mark.
    const Imported comma = Import(
        "\xEF\xBB\xBFLoad,Lactate,HR,Note\n8.0,1.2,131,m\xC3\xBC"
        "de\n10.0,2.5,150,\n12.0,4.8,171,\n");
    ExpectTreadmillSteps(comma);
    EXPECT_EQ(std::tuple(comma.table.m_Encoding, comma.table.m_cSeparator), std::tuple(ImportTable::Utf8, ','));
    // Tab-separated with decimal comma and quoted cells, as copied out of a spreadsheet.
    const Imported tab =
        Import("Last\t\"Laktat [mmol/l]\"\tHerzfrequenz\n\"8,0\"\t1,2\t131\n10\t\"2,5\"\t150\n12\t4,8\t171");
    ExpectTreadmillSteps(tab);
    EXPECT_EQ(tab.table.m_cSeparator, '\t');
    // ";" with decimal point also occurs.
    ExpectTreadmillSteps(Import("Speed;La;Heart Rate\n8.0;1.2;131\n10.0;2.5;150\n12.0;4.8;171\n"));
    // "Unicode text" of a spreadsheet: UTF-16 little-endian with a byte-order mark, Tab-separated.
    const std::string ascii = "Power\tLaktat\tHR\r\n8\t1,2\t131\r\n10\t2,5\t150\r\n12\t4,8\t171\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : ascii) utf16 += std::string{c, '\0'};
    ExpectTreadmillSteps(Import(utf16, Kmh()));
    EXPECT_EQ(Import(utf16, Kmh()).table.m_Encoding, ImportTable::Utf16);
}

TEST(ImportText, HeaderNamesAndUnits) {
    // The unit column of the export and the test type are not the load or the measurement type.
    const ImportTable t = Import(
                              "Step;Load unit;Test type;Load;Stufendauer;Zeit;Typ;Lactate value;HF [S/min]\n"
                              "1;W;Ergometer;100;03:00;00:00;Ld;1,0;100\n")
                              .table;
    EXPECT_EQ(GuessImportMapping(t), (ImportMapping{RoleIgnore, RoleLoadUnit, RoleTestType, RoleLoad, RoleDuration,
                                                    RoleTime, RoleType, RoleLactate, RoleHeartRate}));
    // A unit in the load's header decides when the caller names none: 200 W stays 200 W, on a bike.
    const Imported watt = Import("Belastung [W];Laktat\n100;1,1\n150;1,9\n200;3,9\n");
    ASSERT_TRUE(watt.ok) << watt.error;
    EXPECT_EQ(std::tuple(watt.test.m_nTestType, watt.test.m_nLoadUnit, watt.test.m_Steps[2].m_dPower,
                         watt.test.m_Steps[2].m_dSpeed),
              std::tuple(TestErgometer, UnitWatt, 200.0, 0.0));
    // A treadmill or track test in watts, or a bike in km/h, would be re-read by the test parameters.
    ImportOptions runInWatts;
    runInWatts.m_nTestType = TestTreadmill;
    const Imported refused = Import("Belastung [W];Laktat\n100;1,1\n150;1,9\n200;3,9\n", runInWatts);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "Ein Ergometertest wird in W erfasst, ein Laufband- oder Feldtest in km/h oder m/s.");
    // m/s from the header; the caller's choice wins over it.
    const Imported ms = Import("v (m/s);La\n2,5;1,0\n3,0;2,0\n");
    ASSERT_TRUE(ms.ok) << ms.error;
    EXPECT_EQ(std::tuple(ms.test.m_nLoadUnit, ms.test.m_Steps[0].m_dSpeed), std::tuple(UnitMs, 2.5));
    EXPECT_DOUBLE_EQ(Import("v (m/s);La\n9,0;1,0\n10,8;2,0\n", Kmh()).test.m_Steps[1].m_dSpeed, 3.0);
    // A pasted block without a header: load, lactate, heart rate by position.
    const Imported bare = Import("8,0\t1,2\t131\n10,0\t2,5\t150\n12,0\t4,8\t171\n");
    ExpectTreadmillSteps(bare);
    EXPECT_TRUE(bare.table.m_Header.empty());
}

TEST(ImportText, TypesTimesAndOrder) {
    // Steps out of order are sorted by load between the pre-load and the post-load readings; the
    // times after the start ride along with their rows.
    const Imported r = Import(
        "Typ;Zeit;Belastung;Laktat;HF\n"
        "AFL;15:00;;6,1;150\n"
        "Ld;09:00;14;4,0;175\n"
        "PrL;00:00;;1,0;70\n"
        "Ld;03:00;10;1,5;140\n"
        "Ld;06:00;12;2,4;160\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.test.m_Steps.size(), 5u);
    const int types[] = {MeasPreLoad, MeasLoad, MeasLoad, MeasLoad, MeasPostLoad};
    const int lactate[] = {10, 15, 24, 40, 61};
    const char* times[] = {"2026-04-07T09:30:00", "2026-04-07T09:33:00", "2026-04-07T09:36:00", "2026-04-07T09:39:00",
                           "2026-04-07T09:45:00"};
    for (size_t i = 0; i < 5; ++i) {
        const PCMDataType& m = r.test.m_Steps[i];
        EXPECT_EQ(std::tuple(m.m_nMeasType, m.m_nLactate, m.m_Time.FormatIso()),
                  std::tuple(types[i], lactate[i], times[i]))
            << i;
    }
    EXPECT_EQ(std::tuple(r.test.m_Steps.front().m_bFirstStep, r.test.m_Steps.back().m_bLastStep), std::tuple(1, 1));
    // 3 min between the first two main-load times: the PC step duration of the test.
    EXPECT_EQ(std::tuple(r.test.m_nPcStepDuration, r.test.m_bIndividualLoads, r.test.m_bParamsEntered),
              std::tuple(180, 1, 1));
    EXPECT_NEAR(r.test.m_dStartValue, 10.0 / 3.6, 1e-12);
    EXPECT_NEAR(r.test.m_dIncrement, 2.0 / 3.6, 1e-12);
}

TEST(ImportText, RefusalsNameTheLine) {
    struct Case {
        std::string_view text;
        const char* error;
    };
    const Case cases[] = {
        {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"sv, "Zeile 2: Die Datei ist keine Textdatei mit Messwerten."},
        {""sv, "Die Datei enthält keine Messwerte."},
        {"Belastung;HF\n8;130\n"sv, "Zeile 1: Keine Spalte mit Laktatwerten"},
        {"\n\nLaktat;HF\n1,0;130\n"sv, "Zeile 3: Keine Spalte mit Belastungen"},
        {"Belastung;Laktat\n\n;\n"sv, "Zeile 1: Nach der Kopfzeile folgt keine Zeile mit Messwerten."},
        {"Belastung;Laktat\n8;1,0\n10;\n"sv, "Zeile 3: Der Laktatwert fehlt."},
        {"Belastung;Laktat\n8;1,0\n;2,0\n"sv, "Zeile 3: Die Belastung fehlt."},
        {"Belastung;Laktat\n8;1,0\n10;-0,5\n"sv, "Zeile 3: Der Laktatwert darf nicht negativ sein."},
        {"Belastung;Laktat\n-8;1,0\n"sv, "Zeile 2: Die Belastung darf nicht negativ sein."},
        {"Belastung;Laktat;HF\n8;1,0;-1\n"sv, "Zeile 2: Die Herzfrequenz darf nicht negativ sein."},
        {"Belastung;Laktat\n8;1,0\n10;zwei\n"sv, "Zeile 3: \"zwei\" ist kein Laktatwert."},
        {"Belastung;Laktat;Typ\n8;1,0;Ruhe\n"sv, "Zeile 2: \"Ruhe\" ist kein Messtyp"},
        {"Belastung;Laktat\n8;1,0\n10;2,0\n8,0;3,0\n"sv,
         "Zeile 2 und Zeile 4: Zwei Stufen haben dieselbe Belastung (8,0 km/h)."},
        {"Typ;Belastung;Laktat\nPrL;;1,0\n"sv, "Zeile 2: Der Test hat keine Belastungsstufe"},
        {"Load,Lactate\n8.0,1.2\n10,0,2,5\n"sv, "Zeile 3: Die Zeile hat mehr Werte als die Kopfzeile Spalten"},
        // Hours that overflow a count of seconds (found by fuzzing the import): no time of a test.
        {"Belastung;Laktat;Zeit\n8;1,0;2043514880:00\n"sv, "Zeile 2"},
        {"Belastung;Laktat;Zeit\n8;1,0;999999999:00:00\n"sv, "Zeile 2"},
    };
    for (const Case& c : cases) {
        const Imported r = Import(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.text << " -> " << r.error;
    }
    // 1,000 readings are taken, the 1,001st (line 1,002 after the header) is one too many.
    std::string rows = "Belastung;Laktat\n";
    for (int i = 0; i < 1000; ++i) rows += std::to_string(i) + ";1,0\n";
    EXPECT_TRUE(Import(rows).ok);
    rows += "1000;1,0\n";
    EXPECT_EQ(Import(rows).error.rfind("Zeile 1002: ", 0), 0u) << Import(rows).error;
}

TEST(ImportText, ImplausibleValuesAreQuestions) {
    const Imported r = Import("Belastung;Laktat;HF\n8;1,0;130\n10;30,0;250\n12;30,1;251\n");
    ASSERT_TRUE(r.ok) << r.error;
    const std::vector<std::string> expected = {"Zeile 4: Laktat 30,1 mmol/l liegt über 30 mmol/l.",
                                               "Zeile 4: Herzfrequenz 251 S/min liegt über 250 S/min."};
    EXPECT_EQ(r.questions, expected);
    EXPECT_TRUE(Import("Belastung;Laktat;HF\n8;1,0;130\n10;30,0;250\n").questions.empty());
}

TEST(ImportText, OwnExportComesBackWithTheSameValues) {
    // An ergometer test as the analyser's download and the parameter dialog leave it.
    CTRVDoc doc;
    TestDataType t;
    t.m_nTestType = TestErgometer;
    t.m_nLoadUnit = UnitWatt;
    t.m_nPcStepDuration = 240;
    struct Row {
        int type, lactate, hr, status;
        double power;
    };
    const Row rows[] = {{MeasPreLoad, 9, 72, 1, 0},  {MeasLoad, 11, 118, 2, 100}, {MeasLoad, 17, 137, 2, 150},
                        {MeasLoad, 34, 158, 2, 200}, {MeasLoad, 0, 176, 6, 250},  {MeasPostLoad, 71, 150, 1, 0}};
    for (const Row& row : rows) {
        PCMDataType& m = t.m_Steps.emplace_back();
        m.m_nMeasId = static_cast<uint16_t>(40 + t.m_Steps.size());
        m.m_nMeasType = static_cast<uint8_t>(row.type);
        m.m_nLactate = static_cast<uint16_t>(row.lactate);
        m.m_nStatus = static_cast<uint8_t>(row.status);
        m.m_nHeartRate = row.hr;
        m.m_dPower = row.power;
        m.m_Time = COleDateTime::FromParts(2025, 11, 3, 17, static_cast<int>(4 * t.m_Steps.size()), 12);
    }
    doc.m_Tests.push_back(t);
    // No date chosen: the rows' own date and time stay.
    const Imported r = Import(CsvText(doc, {0}, nullptr), {}, true);
    ASSERT_TRUE(r.ok) << r.error;
    const TestDataType& got = r.test;
    EXPECT_EQ(std::tuple(got.m_nTestType, got.m_nLoadUnit, got.m_nPcStepDuration),
              std::tuple(TestErgometer, UnitWatt, 240));
    ASSERT_EQ(got.m_Steps.size(), std::size(rows));
    for (size_t i = 0; i < got.m_Steps.size(); ++i) {
        const PCMDataType &a = t.m_Steps[i], &b = got.m_Steps[i];
        EXPECT_EQ(std::tuple(b.m_nMeasType, b.m_nLactate, b.m_nStatus == StatusHigh, b.m_nHeartRate, b.m_dPower,
                             b.m_Time.FormatIso()),
                  std::tuple(a.m_nMeasType, a.m_nLactate, a.m_nStatus == StatusHigh, a.m_nHeartRate, a.m_dPower,
                             a.m_Time.FormatIso()))
            << i;
    }
    // The export of the imported test reads like the first one but for the ID and memory position cells.
    CTRVDoc again;
    int index = -1;
    ASSERT_EQ(AddManualTest(again, got, index).message, "");
    auto withoutIds = [](const std::string& csv) {
        std::string out;
        size_t at = csv.find("\r\n") + 2;
        while (at < csv.size()) {
            const size_t end = csv.find("\r\n", at);
            const std::string line = csv.substr(at, end - at);
            out += line.substr(line.find(';', line.find(';') + 1)) + "\n";
            at = end + 2;
        }
        return out;
    };
    EXPECT_EQ(withoutIds(CsvText(again, {0}, nullptr)), withoutIds(CsvText(doc, {0}, nullptr)));
}
