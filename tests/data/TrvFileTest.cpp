#include "ByteBuilder.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

using namespace trv;

namespace {

// Test block fields shared by every version, then the optional flags, then the measurements.
void TestHeader(ByteBuilder& bb, int version, int unit, int type, double start, double inc, double track, int source,
                bool comp, int pcDur, bool paramsEntered, bool individual) {
    bb.i32(77).i32(unit).i32(66).u8(1).i32(type).f64(start).f64(inc).f64(track).i32(source).u8(comp ? 1 : 0).i32(pcDur);
    if (version >= 3) bb.u8(paramsEntered ? 1 : 0);
    if (version >= 4) bb.u8(individual ? 1 : 0);
}

// A measurement block of versions 2 to 4 (12-byte date-time).
void OldMeasurement(ByteBuilder& bb, uint16_t lactate, uint16_t id, double days) {
    bb.u16(lactate).u16(id).u8(1).u8(24).date(0, days).f64(0.0).i32(150).f64(2.5).f64(2.4).u8(2).u16(175);
    bb.u8(1).u8(0).u8(1);
}

std::vector<uint8_t> Old(int version) {
    ByteBuilder bb;
    bb.i32(version).u32(1);
    TestHeader(bb, version, 0, 2, 2.5, 0.5, 400.0, 2, true, 120, true, true);
    bb.u32(2);
    OldMeasurement(bb, 42, 251, 45000.5);  // 15.03.2023 12:00
    OldMeasurement(bb, 63, 252, 45000.75);
    bb.athlete({"J\xF6rg", "M\xFCller",
                "Stra\xDF"
                "e 1",
                "12345", "K\xF6ln", "0221", "a@b.de"},
               71.5, 180.6, 30000.0, 1, "\x80 Bemerkung");
    return bb.b;
}

}  // namespace

TEST(TrvFile, EmptyDocumentIs57Bytes) {
    CTRVDoc doc;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteTrv(doc, bytes));
    ByteBuilder expect;
    expect.i32(5).u32(0).emptyAthlete().u8(0).f64(0.0);
    ASSERT_EQ(expect.b.size(), 57u);
    EXPECT_EQ(bytes, expect.b);
}

TEST(TrvFile, OldLayoutsReadTheirFlagsAndDefaults) {
    for (int version : {2, 3, 4}) {
        SCOPED_TRACE(version);
        CTRVDoc doc;
        ASSERT_EQ(ReadTrv(Old(version), doc).message, "");
        EXPECT_EQ(std::tuple(doc.m_nVersion, doc.m_bDeviceBound), std::tuple(version, false));
        ASSERT_EQ(doc.GetTestCount(), 1);
        const TestDataType& t = doc.GetTest(0);
        EXPECT_EQ(std::tuple(t.m_nReserved2, t.m_nReserved1, t.m_nLoadUnit, t.m_nTestType, t.m_dTrackLength,
                             t.m_nPcStepDuration, t.m_bParamsEntered, t.m_bIndividualLoads),
                  std::tuple(77, 66, 0, 2, 400.0, 120, version >= 3, version >= 4));
        ASSERT_EQ(t.m_Steps.size(), 2u);
        const PCMDataType& m = t.m_Steps[0];
        EXPECT_EQ(std::tuple(m.m_nLactate, m.m_nMeasId, m.m_nTemperature, m.m_Time.FormatIso(), m.m_nHeartRate,
                             m.m_nStepDuration, m.m_bChecked, m.m_bShortened, m.m_bFirstStep),
                  std::tuple(42, 251, 24, "2023-03-15T12:00:00", 150, 175, 1, 1, 0));
        // Umlauts of the code page arrive as UTF-8.
        const UserDataType& u = doc.m_UserData;
        EXPECT_EQ(std::tuple(u.m_strFirstName, u.m_strLastName, u.m_strStreet, u.m_strTown, u.m_strRemarks),
                  std::tuple("Jörg", "Müller", "Straße 1", "Köln", "€ Bemerkung"));
        EXPECT_EQ(std::tuple(u.m_dWeight, u.m_dHeight, u.m_nSex), std::tuple(71.5, 180.6, 1));
    }
}

TEST(TrvFile, Version4SavedAgainBecomesVersion5) {
    CTRVDoc doc;
    const auto v4 = Old(4);
    ASSERT_TRUE(ReadTrv(v4, doc));
    std::vector<uint8_t> v5;
    ASSERT_EQ(WriteTrv(doc, v5).message, "");
    // Two measurements 8 bytes shorter each; the empty device ID (1 byte) and firmware (8) appended.
    EXPECT_EQ(v5.size(), v4.size() - 2 * 8 + 1 + 8);
    EXPECT_EQ(std::vector<uint8_t>(v5.begin(), v5.begin() + 8), ByteBuilder().i32(5).u32(1).b);
    EXPECT_EQ(std::vector<uint8_t>(v5.end() - 9, v5.end()), ByteBuilder().u8(0).f64(0.0).b);
    // The athlete's texts go back to the code page unchanged.
    EXPECT_NE(std::search(v5.begin(), v5.end(), v4.end() - 12, v4.end()), v5.end());

    CTRVDoc again;
    ASSERT_EQ(ReadTrv(v5, again).message, "");
    // The empty ID names no analyser.
    EXPECT_EQ(std::tuple(again.m_nVersion, again.m_bDeviceBound, again.GetTest(0).m_Steps[1].m_Time.FormatTime(),
                         again.m_UserData.m_strRemarks),
              std::tuple(5, false, "18:00:00", "€ Bemerkung"));
}

TEST(TrvFile, Version5MeasurementUsesCompactLocalTime) {
    // Pin the zone so the daylight-saving rule is known: 01.07.2024 12:00 CEST is 10:00 UTC.
    struct Zone {
        const char* old = std::getenv("TZ");
        const std::string saved = old ? old : "";
        Zone() { setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1), tzset(); }
        ~Zone() { old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ"), tzset(); }
    } zone;
    ByteBuilder bb;
    bb.i32(5).u32(1);
    TestHeader(bb, 5, 1, 0, 0, 0, 150, 0, false, 180, false, false);
    bb.u32(1);
    bb.u16(12).u16(5).u8(1).u8(23).u32(1719828000u).f64(0).i32(0).f64(0).f64(0).u8(0).u16(180).u8(0).u8(0).u8(0);
    bb.emptyAthlete().str("A123456789").f64(3.05);
    CTRVDoc doc;
    ASSERT_EQ(ReadTrv(bb.b, doc).message, "");
    EXPECT_EQ(std::tuple(doc.GetTest(0).m_Steps[0].m_Time.FormatIso(), doc.m_strDeviceId, doc.m_dFirmware),
              std::tuple("2024-07-01T12:00:00", "A123456789", 3.05));
    std::vector<uint8_t> out;
    ASSERT_TRUE(WriteTrv(doc, out));
    EXPECT_EQ(out, bb.b);  // byte for byte the same file
}

TEST(TrvFile, Utf16AndLongStrings) {
    ByteBuilder bb;
    bb.i32(5).u32(0);
    // First name as UTF-16 ("Zoë" plus a character the code page cannot hold).
    bb.u8(0xFF).u16(0xFFFE).u8(4).u16(u'Z').u16(u'o').u16(0xEB).u16(0x4E2D);
    // Last name with the 0xFF + uint16 length form, 300 characters long: cut to 254.
    bb.u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i) bb.u8(static_cast<uint8_t>('a' + i % 26));
    for (int i = 0; i < 5; ++i) bb.str("");
    bb.f64(0).f64(0).date(0, 0).i32(0);
    // Remarks with 300 characters keep all of them.
    bb.u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i) bb.u8('r');
    bb.str("").f64(0);
    CTRVDoc doc;
    ASSERT_EQ(ReadTrv(bb.b, doc).message, "");
    EXPECT_EQ(doc.m_UserData.m_strFirstName, "Zoë中");
    EXPECT_EQ(std::tuple(doc.m_UserData.m_strLastName.size(), doc.m_UserData.m_strLastName.substr(0, 3)),
              std::tuple(254u, "abc"));
    EXPECT_EQ(doc.m_UserData.m_strRemarks, std::string(300, 'r'));
}

TEST(TrvFile, TextsTheCodePageCannotHoldAreWrittenAsUtf16) {
    CTRVDoc doc;
    doc.m_UserData.m_strFirstName = "Łukasz";  // Ł is not in Windows-1252
    doc.m_UserData.m_strLastName = "Müller";   // ü is
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteTrv(doc, bytes));
    ByteBuilder expect;
    expect.i32(5).u32(0).u8(0xFF).u16(0xFFFE).u8(6).u16(0x141);
    for (char c : std::string("ukasz")) expect.u16(static_cast<uint16_t>(c));
    expect.str("M\xFCller");
    ASSERT_GE(bytes.size(), expect.b.size());
    EXPECT_TRUE(std::equal(expect.b.begin(), expect.b.end(), bytes.begin()));
    CTRVDoc back;
    ASSERT_EQ(ReadTrv(bytes, back).message, "");
    EXPECT_EQ(std::tuple(back.m_UserData.m_strFirstName, back.m_UserData.m_strLastName),
              std::tuple("Łukasz", "Müller"));
}

TEST(TrvFile, DamagedFilesAreRefusedWithoutTouchingTheDocument) {
    const auto good = Old(4);
    // Every truncation of a valid file fails cleanly.
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        CTRVDoc doc;
        doc.m_strDeviceId = "keep";
        const Result read = ReadTrv(cut, doc);
        ASSERT_FALSE(read) << n;
        EXPECT_FALSE(read.message.empty());
        EXPECT_EQ(doc.m_strDeviceId, "keep");
    }
    // Counts larger than the file can hold are refused before allocating.
    CTRVDoc doc;
    EXPECT_FALSE(ReadTrv(ByteBuilder().i32(5).u32(0xFFFFFFFFu).b, doc));
    auto manySteps = Old(4);
    const size_t countAt = 4 + 4 + 4 * 3 + 1 + 4 + 24 + 4 + 1 + 4 + 2;
    manySteps[countAt] = 0xFF, manySteps[countAt + 1] = 0xFF, manySteps[countAt + 2] = 0xFF;
    EXPECT_FALSE(ReadTrv(manySteps, doc));
    // A string length pointing past the end.
    EXPECT_FALSE(ReadTrv(ByteBuilder().i32(5).u32(0).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFF).b, doc));
    // Random damage never crashes.
    std::srand(7);
    for (int round = 0; round < 2000; ++round) {
        auto bytes = good;
        for (int k = 0; k < 4; ++k)
            bytes[static_cast<size_t>(std::rand()) % bytes.size()] = static_cast<uint8_t>(std::rand());
        CTRVDoc d;
        ReadTrv(bytes, d);
    }
}

TEST(TrvFile, SaveKeepsTheOldFileWhenItFails) {
    const auto dir = std::filesystem::temp_directory_path() / ("trv-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "keep.trv").string();
    CTRVDoc doc;
    doc.m_Tests.resize(1);
    doc.m_Tests[0].m_Steps.resize(1);
    ASSERT_TRUE(SaveDocument(doc, path).ok);
    std::vector<uint8_t> before, after;
    ASSERT_TRUE(ReadWholeFile(path, before));

    doc.m_Tests[0].m_Steps[0].m_Time = COleDateTime::FromParts(1950, 1, 1, 0, 0, 0);  // before 1970
    doc.SetModifiedFlag(true);
    const FileResult r = SaveDocument(doc, path);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("keep.trv"), std::string::npos);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(before, after);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);

    const FileResult missing = LoadDocument((dir / "nope.trv").string(), doc);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("nope.trv"), std::string::npos);
    EXPECT_FALSE(SaveDocument(doc, (dir / "no/such/dir.trv").string()).ok);
    std::filesystem::remove_all(dir);
}
