#include "res/Strings.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

using trv::HasStr;
using trv::LoadStr;

namespace {

// Rough UTF-8 well-formedness check: lead bytes followed by their continuation bytes.
bool IsUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (more < 0 || (more == 1 && c < 0xC2)) return false;
        if (s.size() - i <= static_cast<size_t>(more)) return false;  // cut short
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

}  // namespace

TEST(StringTable, IsSortedWithUniqueIdsAndWellFormedTexts) {
    int n = 0;
    const trv::StringEntry* t = trv::StringTable(&n);
    ASSERT_NE(t, nullptr);
    ASSERT_GT(n, 100);
    for (int i = 0; i < n; ++i) {
        ASSERT_NE(t[i].text, nullptr) << t[i].id;
        EXPECT_TRUE(i == 0 || t[i - 1].id < t[i].id) << "at index " << i;
        std::string s = t[i].text;
        EXPECT_FALSE(s.empty()) << t[i].id;
        EXPECT_TRUE(IsUtf8(s)) << t[i].id;
        // An escape written twice ("\\r") would leave a backslash in the text.
        EXPECT_EQ(s.find('\\'), std::string::npos) << t[i].id;
        EXPECT_STREQ(LoadStr(t[i].id), t[i].text);
    }
}

TEST(StringTable, GapsAndIdsOutsideTheTableGiveAnEmptyText) {
    for (int id : {0, -1, 1999, 2003, 2224, 2235, 32802}) {
        EXPECT_FALSE(HasStr(id)) << id;
        ASSERT_NE(LoadStr(id), nullptr) << id;
        EXPECT_STREQ(LoadStr(id), "") << id;
    }
}

TEST(StringTable, EstablishedTextsKeepTheirBlanksControlCharactersAndSpelling) {
    const char* stopNote =
        "Die im Arvento eingestellte Stufendauer wird verwendet.\nWurde die letzte Belastungsstufe vorzeitig "
        "abgebrochen und am Arvento die Stop-Funktion verwendet, dann kann die Checkbox <<Stufenabbruch "
        "automatisch kompensieren>> aktiviert werden. Dadurch wird der Belastungswert der letzten Stufe in "
        "Abhängigkeit von der verkürzten Stufendauer entsprechend angepasst. ";
    const std::pair<int, const char*> texts[] = {
        {2000, "Mess-ID"},
        {2234, "Empfange Messdaten ... (%d. Versuch)"},
        {2174, "AS "},
        {2175, "Madermodell:\r"},
        {2221, "\rHR = %2.0f S/min"},
        {2140, "\nProtokoll vom "},
        {2164, "\t\t AFL-Zeit\t\t\t"},
        {2139, "Geräte-ID   : %s\rFirmware: %2.2f\rCOM-Port: %s"},
        {2158,
         "Laktat IANS:\t\t%2.2f mmol/l\nv an IANS:\t\t%2.2f %s\nt (1000 m):\t\t%02d:%02d\nt (%5.0f m):\t\t%02d:%02d%s"},
        {2217, "Info über TRV"},
        {2010, "T [°C]"},
        {2136, "Übertragungsfehler:"},
        {2151, "männlich"},
        {2121, stopNote},
        {2123, stopNote},
        {2129,
         "Die im Handmessgerät mittels Stop-Funktion ermittelten Stufendauerwerte werden übernommen und zur "
         "Berechnung der Geschwindigkeiten herangezogen. "},
        // The treadmill text keeps its established spelling; the ergometer one differs.
        {2120, "Die am PC einegestellte Stufendauer wird verwendet."},
        {2122, "Die am PC eingestellte Stufendauer wird verwendet."},
        {2188, "t(%.0fm) = %02d:%02d"}};
    for (const auto& [id, text] : texts) EXPECT_STREQ(LoadStr(id), text) << id;
    // Every threshold model of a field test fills the same four lines after its heading.
    for (int k = 0; k < 4; ++k) {
        EXPECT_STREQ(LoadStr(2190 + k), LoadStr(2185 + k)) << k;
        EXPECT_STREQ(LoadStr(2195 + k), LoadStr(2185 + k)) << k;
    }
}
