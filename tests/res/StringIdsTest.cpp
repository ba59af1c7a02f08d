// The names of the string-table ids against the table itself, and the sources against numeric ids.
#include "res/Strings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// name -> id, as the header declares them (read as text, so that a name added without a table entry
// shows up even though nothing uses it yet).
std::map<std::string, int> DeclaredNames() {
    const std::string text = ReadText(std::filesystem::path(TRV_SOURCE_DIR) / "src/res/StringIds.h");
    std::map<std::string, int> names;
    const std::regex entry(R"((IDS_\w+)\s*=\s*(\d+)\s*,)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it)
        names[(*it)[1]] = std::stoi((*it)[2]);
    return names;
}

}  // namespace

TEST(StringIds, EveryNameHasATextAndEveryTextOneName) {
    const auto names = DeclaredNames();
    ASSERT_GT(names.size(), 250u);
    std::map<int, std::string> byId;
    for (const auto& [name, id] : names) {
        EXPECT_TRUE(trv::HasStr(id)) << name << " = " << id << " is not in the table";
        const auto [it, inserted] = byId.emplace(id, name);
        EXPECT_TRUE(inserted) << name << " and " << it->second << " share id " << id;
    }
    int n = 0;
    const trv::StringEntry* table = trv::StringTable(&n);
    for (int i = 0; i < n; ++i) EXPECT_TRUE(byId.count(table[i].id)) << "id " << table[i].id << " has no name";
}

TEST(StringIds, NamesMeanTheEstablishedTexts) {
    // A few spot checks that the names were not shifted against the numbers.
    EXPECT_EQ(trv::IDS_COL_MEAS_ID, 2000);
    EXPECT_STREQ(trv::LoadStr(trv::IDS_NOTICE_NO_ANALYSER),
                 "Kein Arvento gefunden! Bitte Gerät mittels PC-Kabel oder BT-Modul anschließen und einschalten.");
    EXPECT_STREQ(trv::LoadStr(trv::IDS_FIT_SPLINES), "Kubische Splines");
    EXPECT_STREQ(trv::LoadStr(trv::IDS_RES_FIELD_SIMON_TTRACK), "t(%.0fm) = %02d:%02d");
    EXPECT_STREQ(trv::LoadStr(trv::IDS_TESTTYPE_TREADMILL + 2), "Feldtest");
    EXPECT_STREQ(trv::LoadStr(trv::IDS_NEW_TITLE), "TRV%d");
}

TEST(StringIds, SourcesLookTextsUpByName) {
    // LoadStr(2106) or FmtId(3059, ...) in the code would hide which text is meant.
    const std::regex numeric(R"(\b(LoadStr|QStr|FmtId)\(\s*\d)");
    int files = 0;
    for (const char* dir : {"src", "tools"}) {
        for (const auto& e :
             std::filesystem::recursive_directory_iterator(std::filesystem::path(TRV_SOURCE_DIR) / dir)) {
            const auto ext = e.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            ++files;
            const std::string text = ReadText(e.path());
            std::smatch m;
            EXPECT_FALSE(std::regex_search(text, m, numeric)) << e.path() << ": " << m.str();
        }
    }
    EXPECT_GT(files, 50);
}
