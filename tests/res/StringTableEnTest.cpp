// Every text in German and English: the English table against the German one, and the language switch.
#include "res/Format.h"
#include "res/Strings.h"

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The printf conversions of a text, each as its kind: length modifier and conversion letter ("d", "ld", "f"),
// with "*" for a width or precision taken from the arguments. "%%" is no conversion.
std::vector<std::string> Conversions(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') continue;
        if (i + 1 < s.size() && s[i + 1] == '%') {
            ++i;
            continue;
        }
        // A per-cent sign of the prose ("300 %.", "[% der IANS]") is no conversion: a conversion follows its
        // '%' directly.
        if (i + 1 >= s.size() || std::string(" ,;:)]").find(s[i + 1]) != std::string::npos) continue;
        size_t j = i + 1;
        std::string kind;
        while (j < s.size() && std::string("-+ #0'").find(s[j]) != std::string::npos) ++j;
        while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.' || s[j] == '*')) {
            if (s[j] == '*') kind += '*';
            ++j;
        }
        while (j < s.size() && std::string("hlLjzt").find(s[j]) != std::string::npos) kind += s[j++];
        // Only printf's conversions count: "95-%-Intervall" has none.
        if (j >= s.size() || std::string("diouxXeEfFgGaAcspn").find(s[j]) == std::string::npos) continue;
        kind += s[j];
        out.push_back(kind);
        i = j;
    }
    return out;
}

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& k : v) s += (s.empty() ? "%" : " %") + k;
    return s.empty() ? "(none)" : s;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
std::string Leading(const std::string& s) {
    size_t n = 0;
    while (n < s.size() && IsSpace(s[n])) ++n;
    return s.substr(0, n);
}
std::string Trailing(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && IsSpace(s[n - 1])) --n;
    return s.substr(n);
}

std::map<int, std::string> Table(const trv::StringEntry* t, int n) {
    std::map<int, std::string> m;
    for (int i = 0; i < n; ++i) m[t[i].id] = t[i].text ? t[i].text : "";
    return m;
}

}  // namespace

TEST(StringTableEn, ConversionsAreReadAsTheirKind) {
    EXPECT_EQ(Join(Conversions("t(%.0fm) = %02d:%02d %% %s %ld %*d %-4s")), "%f %d %d %s %ld %*d %s");
    EXPECT_EQ(Join(Conversions("100 % der Last, 100 %.")), "(none)");  // per-cent signs of the prose
}

TEST(StringTableEn, IsSortedWithUniqueIdsEachOfAGermanText) {
    int n = 0;
    const trv::StringEntry* t = trv::StringTableEn(&n);
    ASSERT_GT(n, 0);
    for (int i = 0; i < n; ++i) {
        ASSERT_NE(t[i].text, nullptr) << "id " << t[i].id;
        EXPECT_TRUE(i == 0 || t[i - 1].id < t[i].id) << "StringTableEn.cpp: id " << t[i].id << " comes after id "
                                                     << t[i - 1].id << "; keep the rows sorted by id";
        EXPECT_TRUE(trv::HasStr(t[i].id)) << "StringTableEn.cpp: id " << t[i].id << " has no German text";
        EXPECT_FALSE(std::string(t[i].text).empty()) << "id " << t[i].id;
        EXPECT_EQ(std::string(t[i].text).find('\\'), std::string::npos) << "id " << t[i].id;
    }
}

TEST(StringTableEn, EveryIdHasAnEnglishTextWithTheGermanPlaceholders) {
    int nDe = 0, nEn = 0;
    const auto de = Table(trv::StringTable(&nDe), nDe);
    const auto en = Table(trv::StringTableEn(&nEn), nEn);
    std::vector<int> missing;
    std::ostringstream wrong;
    for (const auto& [id, german] : de) {
        const auto it = en.find(id);
        if (it == en.end()) {
            missing.push_back(id);
            continue;
        }
        const std::string& english = it->second;
        const auto cDe = Conversions(german), cEn = Conversions(english);
        if (cDe != cEn)
            wrong << "\n  id " << id << ": German " << Join(cDe) << ", English " << Join(cEn) << " (\"" << english
                  << "\")";
        // The chart breaks lines at "\r"; the printout and the lists rely on leading and trailing blanks,
        // tabs and line ends.
        if (Leading(german) != Leading(english) || Trailing(german) != Trailing(english))
            wrong << "\n  id " << id << ": leading or trailing blanks, tabs or line ends differ from the German text";
        if (std::count(german.begin(), german.end(), '\r') != std::count(english.begin(), english.end(), '\r'))
            wrong << "\n  id " << id << ": the number of \"\\r\" line breaks differs from the German text";
    }
    std::ostringstream list;
    for (int id : missing) list << ' ' << id;
    EXPECT_TRUE(missing.empty()) << missing.size()
                                 << " ids have no English text in src/res/StringTableEn.cpp:" << list.str();
    EXPECT_TRUE(wrong.str().empty()) << "English texts that do not fit their German text:" << wrong.str();
}

TEST(StringTableEn, GermanIsTheDefaultAndAScopeSwitchesOnlyItsThread) {
    ASSERT_EQ(trv::CurrentLang(), trv::Lang::de);
    EXPECT_STREQ(trv::LoadStr(trv::IDS_TESTTYPE_FIELD), "Feldtest");
    EXPECT_EQ(trv::FmtId(trv::IDS_RES_MADER_LACTATE, 4.0), "Laktat = 4,00 mmol/l");
    {
        const trv::LangScope english(trv::Lang::en);
        EXPECT_STREQ(trv::LoadStr(trv::IDS_TESTTYPE_FIELD), "Field test");
        EXPECT_EQ(trv::FmtId(trv::IDS_RES_MADER_LACTATE, 4.0), "Lactate = 4.00 mmol/l");
        EXPECT_EQ(trv::Fmt("%2.1f (%2.1f)", 10.25, 11.0), "10.2 (11.0)");
        {
            const trv::LangScope german(trv::Lang::de);
            EXPECT_EQ(trv::Fmt("%2.1f", 2.5), "2,5");
        }
        EXPECT_EQ(trv::Fmt("%2.1f", 2.5), "2.5");
    }
    EXPECT_EQ(trv::Fmt("%2.1f", 2.5), "2,5");
    trv::SetLang(trv::Lang::en);
    EXPECT_STREQ(trv::LoadStr(trv::IDS_SEX_FEMALE), "female");
    EXPECT_STREQ(trv::LoadStrIn(trv::Lang::de, trv::IDS_SEX_FEMALE), "weiblich");
    // An id without a text stays empty in English too.
    EXPECT_STREQ(trv::LoadStr(1999), "");
    trv::SetLang(trv::Lang::de);
    EXPECT_STREQ(trv::LoadStr(trv::IDS_SEX_FEMALE), "weiblich");
}

TEST(StringTableEn, LanguageNames) {
    struct Case {
        const char* text;
        bool ok;
        trv::Lang lang;
    };
    for (const Case& c : {Case{"de", true, trv::Lang::de},
                          {"EN", true, trv::Lang::en},
                          {"en_GB.UTF-8", true, trv::Lang::en},
                          {"de-AT", true, trv::Lang::de},
                          {"english", true, trv::Lang::en},
                          {"fr", false, trv::Lang::de},
                          {"", false, trv::Lang::de},
                          {"eng", false, trv::Lang::de}}) {
        trv::Lang lang = trv::Lang::de;
        EXPECT_EQ(trv::ParseLang(c.text, lang), c.ok) << c.text;
        EXPECT_EQ(lang, c.lang) << c.text;
    }
    trv::Lang lang = trv::Lang::de;
    setenv("TRV_LANG", "en", 1);
    EXPECT_TRUE(trv::LangFromEnvironment(lang));
    EXPECT_EQ(lang, trv::Lang::en);
    setenv("TRV_LANG", "xx", 1);
    EXPECT_FALSE(trv::LangFromEnvironment(lang));
    unsetenv("TRV_LANG");
    EXPECT_FALSE(trv::LangFromEnvironment(lang));
}
