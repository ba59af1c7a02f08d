// Recovery copies: written privately and safely, listed once their program is gone, restored with
// their path and the file's identity; and times in the hour that daylight saving time skips.
#include "data/ManualIds.h"
#include "data/Recovery.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>

using namespace trv;
namespace fs = std::filesystem;

namespace {

struct RecoveryTest : ::testing::Test {
    fs::path dir;
    RecoveryTest() {
        char tmpl[] = "/tmp/trv-recovery-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    ~RecoveryTest() override { fs::remove_all(dir); }
    static CTRVDoc Typed(int readings) {
        CTRVDoc doc;
        TestDataType t;
        t.m_nReserved1 = kTypedTestMark;
        for (int i = 0; i < readings; ++i) {
            PCMDataType m;
            m.m_nMeasId = static_cast<uint16_t>(60000 + i);
            m.m_nLactate = static_cast<uint16_t>(10 + i);
            m.m_Time = COleDateTime::FromParts(2026, 2, 14, 8, 15 + 3 * i, 0);
            t.m_Steps.push_back(m);
        }
        doc.m_Tests.push_back(t);
        doc.m_UserData.m_strLastName = "Müller";
        return doc;
    }
};

TEST_F(RecoveryTest, FolderFromTheEnvironment) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string keep = oldXdg ? oldXdg : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "/root";
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(CRecoveryStore::DefaultDir(), "/srv/data/trv/recovery");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);  // a relative XDG folder is not used: the home folder serves
    ::setenv("HOME", "/home/anna", 1);
    EXPECT_EQ(CRecoveryStore::DefaultDir(), "/home/anna/.local/share/trv/recovery");
    if (oldXdg)
        ::setenv("XDG_DATA_HOME", keep.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", oldHome.c_str(), 1);
}

TEST_F(RecoveryTest, CopiesArePrivateListedWhenTheirProgramIsGoneAndRestored) {
    const CRecoveryStore store((dir / "a" / "recovery").string());
    // A program that wrote a copy and was killed before saving.
    const std::string docPath = (dir / "Müller.trv").string();
    CTRVDoc saved = Typed(2);
    ASSERT_TRUE(SaveDocument(saved, docPath).ok);
    const pid_t child = ::fork();
    if (child == 0) {
        CTRVDoc doc;
        if (!LoadDocument(docPath, doc).ok) ::_exit(1);
        doc.m_Tests.push_back(Typed(4).m_Tests.front());  // typed in, not saved
        std::string error;
        ::_exit(store.Write("crashed", doc, "Müller.trv") ? 0 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    // This program's own copy is not offered while it runs.
    ASSERT_EQ(store.Write("mine", Typed(1), "TRV1").message, "");

    EXPECT_EQ(fs::status(store.Dir()).permissions() & fs::perms::all, fs::perms::owner_all);
    for (const char* f : {"crashed.trv", "crashed.info", "mine.trv"})
        EXPECT_EQ(fs::status(fs::path(store.Dir()) / f).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << f;

    const auto entries = store.List();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key, "crashed");
    EXPECT_EQ(entries[0].docPath, docPath);
    EXPECT_EQ(entries[0].title, "Müller.trv");
    EXPECT_LE(std::abs(entries[0].written - std::time(nullptr)), 5);
    EXPECT_EQ(store.List(true).size(), 2u);

    CTRVDoc back;
    ASSERT_EQ(store.Restore(entries[0], back).message, "");
    EXPECT_EQ(back.GetTestCount(), 2);
    EXPECT_EQ(back.GetTest(1).m_Steps.size(), 4u);
    EXPECT_EQ(back.m_UserData.m_strLastName, "Müller");
    EXPECT_EQ(back.GetPathName(), docPath);
    EXPECT_TRUE(back.IsModified());
    // The identity is the file's as the crashed window read it: unchanged since, a save goes ahead.
    EXPECT_EQ(back.m_DiskIdentity, FileIdentity::Of(docPath));

    store.Remove("crashed");
    store.Remove("mine");
    EXPECT_TRUE(store.List(true).empty());
    EXPECT_TRUE(fs::is_empty(store.Dir()));
}

// The analyser says 02:30 on the morning the clocks go from 02:00 to 03:00. The file stores seconds
// since 1970 in UTC, which has no such local time: the save says which readings move and by how much.
TEST(DaylightSaving, TimesInTheSkippedHourAreNamed) {
    const char* oldTz = std::getenv("TZ");
    const std::string keep = oldTz ? oldTz : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    CTRVDoc doc;
    TestDataType t;
    const int times[][2] = {{1, 59}, {2, 0}, {2, 30}, {2, 59}, {3, 0}, {3, 30}};
    uint16_t id = 4711;
    for (const auto& hm : times) {
        PCMDataType m;
        m.m_nMeasId = id++;
        m.m_Time = COleDateTime::FromParts(2026, 3, 29, hm[0], hm[1], 0);
        t.m_Steps.push_back(m);
    }
    doc.m_Tests.push_back(t);
    const auto moved = ReadingsMovedByLayout(doc);
    ASSERT_EQ(moved.size(), 3u);
    EXPECT_EQ(moved[0].measId, 4712);
    EXPECT_EQ(moved[2].measId, 4714);
    // Each moves by one hour, to the same clock time in summer time.
    for (const auto& m : moved) EXPECT_NEAR((m.stored.m_dt - m.reported.m_dt) * 24, 1.0, 1e-6);
    EXPECT_EQ(MovedReadingsText(moved),
              "Diese Uhrzeiten liegen in der Stunde, die die Umstellung auf Sommerzeit überspringt. Die Datei "
              "speichert sie verschoben:\n"
              "Messung 04712 vom 29.03.2026: 02:00:00 wird als 03:00:00 gespeichert (+60 Minuten).\n"
              "Messung 04713 vom 29.03.2026: 02:30:00 wird als 03:30:00 gespeichert (+60 Minuten).\n"
              "Messung 04714 vom 29.03.2026: 02:59:00 wird als 03:59:00 gespeichert (+60 Minuten).");
    // What the notice says is what reopening shows; the times outside the hour are kept exactly.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteTrv(doc, bytes));
    CTRVDoc back;
    ASSERT_TRUE(ReadTrv(bytes, back));
    const char* expected[] = {"2026-03-29T01:59:00", "2026-03-29T03:00:00", "2026-03-29T03:30:00",
                              "2026-03-29T03:59:00", "2026-03-29T03:00:00", "2026-03-29T03:30:00"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(back.GetTest(0).m_Steps[i].m_Time.FormatIso(), expected[i]) << i;
    // Nothing to say on an ordinary day.
    doc.GetTest(0).m_Steps.resize(1);
    EXPECT_TRUE(ReadingsMovedByLayout(doc).empty());
    if (oldTz)
        ::setenv("TZ", keep.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
