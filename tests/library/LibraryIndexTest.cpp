// The library's index: what it lists, how it follows the folder, and that its values are the history's.
#include "LibraryFixture.h"
#include "analysis/History.h"
#include "library/LibraryFolder.h"
#include "library/LibraryIndex.h"
#include "library/LibraryText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

using namespace trv;
using namespace trvtest::library;
using namespace trvtest::history;

namespace {

TEST(LibraryText, FoldsCaseAndAccents) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Müller", "muller"},
        {"ÄRGER", "arger"},
        {"Straße", "strasse"},
        {"Ærø", "aero"},
        {"Łukasz Żak", "lukasz zak"},
        {"Zoë O'Brien", "zoe o'brien"},
        {"Šimůnek", "simunek"},
        {"Œuvre", "oeuvre"},
        {"Ğ", "g"},
        {"🏃 Läufer", "🏃 laufer"},
        {"ΣΑΣ", "σασ"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FoldText(c.in), c.out) << c.in;
    EXPECT_EQ(SearchWords("  Müll  1990 "), (std::vector<std::string>{"mull", "1990"}));
    EXPECT_TRUE(ContainsAllWords("anna muller 1990 radsport", SearchWords("MÜLL rad")));
    EXPECT_FALSE(ContainsAllWords("anna muller 1990 radsport", SearchWords("mull lauf")));
}

TEST(LibraryFolder, NamesNewAthletesFiles) {
    UserDataType u;
    u.m_strLastName = "Müller/Lüdenscheidt";
    u.m_strFirstName = "Anna: \"Ann\"";
    u.m_BirthDate = COleDateTime::FromParts(1990, 5, 7, 0, 0, 0);
    EXPECT_EQ(AthleteFileName(u), "Müller_Lüdenscheidt_Anna_ _Ann__1990-05-07.trv");
    u.m_strLastName = "O'Brien 🏃";
    u.m_strFirstName = " Seán. ";
    u.m_BirthDate = COleDateTime(0.0);  // unset
    EXPECT_EQ(AthleteFileName(u), "O'Brien 🏃_Seán.trv");
    u.m_strFirstName = "..";
    EXPECT_EQ(AthleteFileName(u), "O'Brien 🏃.trv");

    TempLibrary lib;
    u.m_strFirstName = "Seán";
    const std::string first = NewAthletePath(lib.Dir(), "U23/Läufer", u);
    EXPECT_EQ(first, lib.Dir() + "/U23/Läufer/O'Brien 🏃_Seán.trv");
    lib.Raw("U23/Läufer/O'Brien 🏃_Seán.trv", "x");
    EXPECT_EQ(NewAthletePath(lib.Dir(), "U23/Läufer", u), lib.Dir() + "/U23/Läufer/O'Brien 🏃_Seán (2).trv");
}

TEST(LibraryFolder, RefusesWhatIsNoFolder) {
    TempLibrary lib;
    lib.Raw("plain.trv", "x");
    CLibraryIndex index;
    Result opened = index.Open(lib.Dir() + "/missing");
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.message.find("existiert nicht"), std::string::npos) << opened.message;
    opened = index.Open(lib.Path("plain.trv"));
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.message.find("ist kein Ordner"), std::string::npos) << opened.message;
    EXPECT_FALSE(index.Open(""));
    // An empty library is a library.
    TempLibrary empty;
    ASSERT_EQ(index.Open(empty.Dir()).message, "");
    RefreshStats st;
    ASSERT_TRUE(index.Refresh(&st));
    EXPECT_EQ(st.files, 0);
    EXPECT_TRUE(index.Entries().empty());
    EXPECT_TRUE(index.Search("x").empty());
}

class LibraryIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        lib.Athlete("Radsport/Mueller_Anna.trv", "Müller", "Anna");
        lib.Athlete("Radsport/Zander_Ole.trv", "Zander", "Ole", 2001, 1, 2);
        lib.Athlete("U23/Läufer/Arndt_Eva.trv", "Arndt", "Eva", 2003, 3, 4);
        lib.Athlete("muller_anna_copy.trv", "MÜLLER", "anna");  // the same athlete once more
        lib.Athlete("Aerger_Tom.trv", "Ärger", "Tom", 0);       // no birth date
        CTRVDoc empty;
        empty.m_UserData.m_strLastName = "Leer";
        lib.Save("Leer.trv", empty);
        lib.Raw("kaputt.trv", lib.Bytes("Radsport/Zander_Ole.trv").substr(0, 300));
        lib.Raw("fremd.trv", "%PDF-1.4 not a document");
        std::string v7 = lib.Bytes("Leer.trv");
        v7[0] = 7;
        lib.Raw("neu.trv", v7);
        lib.Raw("notes.txt", "not a .trv file");
        lib.Raw(".~lock.Leer.trv#", "someone,host,1,2024-01-01T00:00:00");
        ASSERT_EQ(index.Open(lib.Dir()).message, "");
        ASSERT_TRUE(index.Refresh(&stats));
    }
    const LibraryEntry& Entry(const std::string& file) {
        const LibraryEntry* e = index.FindFile(file);
        if (!e) throw std::runtime_error(file);
        return *e;
    }
    std::vector<std::string> Files(const std::vector<int>& hits) {
        std::vector<std::string> out;
        for (int i : hits) out.push_back(index.Entries()[static_cast<size_t>(i)].file);
        return out;
    }
    TempLibrary lib;
    CLibraryIndex index;
    RefreshStats stats;
};

TEST_F(LibraryIndexTest, ListsEveryDocumentWithItsAthleteAndReason) {
    EXPECT_EQ(stats.files, 9);
    EXPECT_EQ(stats.read, 9);
    EXPECT_EQ(stats.errors, 3);
    std::vector<std::string> order;
    for (const LibraryEntry& e : index.Entries()) order.push_back(e.file);
    // Last name, first name, birth date with case and accents not counting; unreadable files have no name.
    EXPECT_EQ(order, (std::vector<std::string>{"fremd.trv", "kaputt.trv", "neu.trv", "Aerger_Tom.trv",
                                               "U23/Läufer/Arndt_Eva.trv", "Leer.trv", "muller_anna_copy.trv",
                                               "Radsport/Mueller_Anna.trv", "Radsport/Zander_Ole.trv"}));
    EXPECT_EQ(Entry("kaputt.trv").error, "Datei beschädigt");
    EXPECT_EQ(Entry("fremd.trv").error, "kein TRV-Dokument");
    EXPECT_EQ(Entry("neu.trv").error, "unbekannte Dateiversion 7");
    const LibraryEntry& a = Entry("Radsport/Mueller_Anna.trv");
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.group, "Radsport");
    EXPECT_EQ(a.lastName, "Müller");
    EXPECT_EQ(a.BirthIso(), "1990-05-17");
    EXPECT_EQ(a.tests, 6);
    EXPECT_EQ(a.stepTests, 4);  // the one without parameters is no step test of the history
    EXPECT_EQ(a.firstTest.FormatDate(), "01.01.2023");
    EXPECT_EQ(a.lastTest.FormatDate(), "01.09.2024");
    EXPECT_TRUE(a.duplicate);
    EXPECT_TRUE(Entry("muller_anna_copy.trv").duplicate);
    EXPECT_FALSE(Entry("Radsport/Zander_Ole.trv").duplicate);
    EXPECT_EQ(Entry("Aerger_Tom.trv").BirthIso(), "");
    EXPECT_EQ(Entry("U23/Läufer/Arndt_Eva.trv").group, "U23/Läufer");
    EXPECT_EQ(index.Groups(), (std::vector<std::string>{"Radsport", "U23", "U23/Läufer"}));
}

TEST_F(LibraryIndexTest, SearchesNamePartsBirthYearAndGroup) {
    const struct {
        const char* text;
        std::vector<std::string> files;
    } cases[] = {
        {"müller", {"muller_anna_copy.trv", "Radsport/Mueller_Anna.trv"}},
        {"MULL 1990 rad", {"Radsport/Mueller_Anna.trv"}},
        {"läufer", {"U23/Läufer/Arndt_Eva.trv"}},
        {"ärg", {"Aerger_Tom.trv"}},
        {"2001", {"Radsport/Zander_Ole.trv"}},
        {"nobody", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Files(index.Search(c.text)), c.files) << c.text;
    const std::string group = "U23";
    EXPECT_EQ(Files(index.Search("", &group)), (std::vector<std::string>{"U23/Läufer/Arndt_Eva.trv"}));
}

TEST_F(LibraryIndexTest, LastTestHasTheHistorysValues) {
    int entry = -1;
    for (size_t i = 0; i < index.Entries().size(); ++i)
        if (index.Entries()[i].file == "Radsport/Zander_Ole.trv") entry = static_cast<int>(i);
    const auto last = index.Last(entry, {"obla_4.0", "ians"});
    ASSERT_TRUE(last);
    // The newest test is September's treadmill test; its change goes against March's.
    EXPECT_EQ(last->test.index, 1);
    EXPECT_EQ(last->test.date.FormatDate(), "01.09.2024");
    const double kKmh = 3.6;
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18);
    ASSERT_EQ(last->methods.size(), 2u);
    EXPECT_EQ(last->methods[0].id, "obla_4.0");
    ASSERT_TRUE(last->methods[0].load);
    EXPECT_NEAR(*last->methods[0].load * kKmh, september, 1e-6);
    ASSERT_TRUE(last->methods[0].loadChange);
    EXPECT_NEAR(*last->methods[0].loadChange * kKmh, september - march, 1e-6);
    EXPECT_FALSE(last->zones.empty());
    // Before September: the field test of March 1 (after the treadmill test of the same time), no previous.
    const auto before = index.Last(entry, {"obla_4.0"}, COleDateTime::FromParts(2024, 8, 1, 0, 0, 0));
    ASSERT_TRUE(before);
    EXPECT_EQ(before->test.index, 3);
    EXPECT_NEAR(*before->methods[0].load * kKmh, Crossing(LsCubic(kField, kFieldLactate), 4.0, 12, 14), 1e-6);
    EXPECT_FALSE(before->methods[0].loadChange);
    EXPECT_FALSE(index.Last(entry, {"obla_4.0"}, COleDateTime::FromParts(2020, 1, 1, 0, 0, 0)));
}

TEST_F(LibraryIndexTest, RereadsOnlyWhatChangedAndForgetsWhatIsGone) {
    CLibraryIndex again;
    ASSERT_TRUE(again.Open(lib.Dir()));
    RefreshStats st;
    ASSERT_TRUE(again.Refresh(&st));
    EXPECT_EQ(st.read, 0);
    EXPECT_EQ(st.computed, 0);
    EXPECT_EQ(again.Entries().size(), index.Entries().size());
    EXPECT_TRUE(again.FindFile("Radsport/Mueller_Anna.trv")->duplicate);

    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(lib.Path("Radsport/Zander_Ole.trv"), doc).ok);
    doc.m_UserData.m_strFirstName = "Olaf";
    lib.Save("Radsport/Zander_Ole.trv", doc);
    std::filesystem::remove(lib.Path("muller_anna_copy.trv"));
    ASSERT_TRUE(again.Refresh(&st));
    EXPECT_EQ(st.read, 1);
    EXPECT_EQ(st.removed, 1);
    EXPECT_EQ(again.FindFile("Radsport/Zander_Ole.trv")->firstName, "Olaf");
    EXPECT_EQ(again.FindFile("muller_anna_copy.trv"), nullptr);
    EXPECT_FALSE(again.FindFile("Radsport/Mueller_Anna.trv")->duplicate);

    // Another choice is computed once, then kept.
    LibraryChoice spline;
    spline.fit = 1;
    again.SetChoice(spline);
    ASSERT_TRUE(again.Refresh(&st));
    EXPECT_GT(st.computed, 0);
    ASSERT_TRUE(again.Refresh(&st));
    EXPECT_EQ(st.computed, 0);
}

TEST_F(LibraryIndexTest, IndexIsPrivateAndLosesNothingWhenDeleted) {
    const std::string db = IndexDatabasePath(lib.Dir());
    EXPECT_EQ(db.rfind((lib.root / "cache" / "trv").string(), 0), 0u) << db;
    struct stat st {};
    ASSERT_EQ(::stat(db.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::vector<std::string> before;
    for (const LibraryEntry& e : index.Entries()) before.push_back(e.file + e.error + e.firstName);
    std::filesystem::remove(db);
    CLibraryIndex fresh;
    ASSERT_TRUE(fresh.Open(lib.Dir()));
    ASSERT_TRUE(fresh.Refresh());
    std::vector<std::string> after;
    for (const LibraryEntry& e : fresh.Entries()) after.push_back(e.file + e.error + e.firstName);
    EXPECT_EQ(before, after);
    // Nothing in the folder was written: no index, no lock, the damaged file as it was.
    EXPECT_EQ(lib.Bytes("fremd.trv"), "%PDF-1.4 not a document");
    for (const auto& f : std::filesystem::recursive_directory_iterator(lib.Dir()))
        EXPECT_EQ(f.path().string().find("sqlite"), std::string::npos) << f.path();
}

TEST_F(LibraryIndexTest, UnwritableCacheStillGivesTheLibrary) {
    ::setenv("XDG_CACHE_HOME", "/proc/trv-no-such-cache", 1);
    CLibraryIndex memory;
    ASSERT_EQ(memory.Open(lib.Dir()).message, "");
    EXPECT_NE(memory.IndexWarning(), "");
    ASSERT_TRUE(memory.Refresh());
    EXPECT_EQ(memory.Entries().size(), 9u);
}

}  // namespace
