#include "Strings.h"

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
        if (i > 0) {
            EXPECT_LT(t[i - 1].id, t[i].id) << "at index " << i;
        }
        std::string s = t[i].text;
        EXPECT_FALSE(s.empty()) << t[i].id;
        EXPECT_TRUE(IsUtf8(s)) << t[i].id;
        // An escape written twice ("\\r") would leave a backslash in the text.
        EXPECT_EQ(s.find('\\'), std::string::npos) << t[i].id;
        EXPECT_STREQ(LoadStr(t[i].id), t[i].text);
    }
}

TEST(StringTable, LookupAtTheEdgesAndInGaps) {
    EXPECT_STREQ(LoadStr(2000), "Mess-ID");
    EXPECT_STREQ(LoadStr(2234), "Empfange Messdaten ... (%d. Versuch)");
    for (int id : {0, -1, 1999, 2003, 2224, 2235, 32802}) {
        EXPECT_FALSE(HasStr(id)) << id;
        ASSERT_NE(LoadStr(id), nullptr) << id;
        EXPECT_STREQ(LoadStr(id), "") << id;
    }
}

TEST(StringTable, BlanksAndControlCharactersAreKept) {
    EXPECT_EQ(std::string(LoadStr(2174)), std::string("AS "));
    EXPECT_EQ(std::strlen(LoadStr(2175)), 13u);
    EXPECT_STREQ(LoadStr(2175), "Madermodell:\r");
    EXPECT_STREQ(LoadStr(2221), "\rHR = %2.0f S/min");
    EXPECT_STREQ(LoadStr(2140), "\nProtokoll vom ");
    EXPECT_STREQ(LoadStr(2139), "Ger\xC3\xA4te-ID   : %s\rFirmware: %2.2f\rCOM-Port: %s");
    EXPECT_STREQ(LoadStr(2164), "\t\t AFL-Zeit\t\t\t");
    EXPECT_STREQ(LoadStr(2158),
                 "Laktat IANS:\t\t%2.2f mmol/l\nv an IANS:\t\t%2.2f %s\n"
                 "t (1000 m):\t\t%02d:%02d\nt (%5.0f m):\t\t%02d:%02d%s");
}

TEST(StringTable, UmlautsAreUtf8) {
    EXPECT_STREQ(LoadStr(2217),
                 "Info \xC3\xBC"
                 "ber TRV");
    EXPECT_STREQ(LoadStr(2010),
                 "T [\xC2\xB0"
                 "C]");
    EXPECT_STREQ(LoadStr(2136),
                 "\xC3\x9C"
                 "bertragungsfehler:");
    EXPECT_STREQ(LoadStr(2151), "m\xC3\xA4nnlich");
}

TEST(StringTable, LongExplanationTexts) {
    const char* stopNote =
        "Die im Arvento eingestellte Stufendauer wird verwendet.\n"
        "Wurde die letzte Belastungsstufe vorzeitig abgebrochen und am Arvento die "
        "Stop-Funktion verwendet, dann kann die Checkbox <<Stufenabbruch automatisch "
        "kompensieren>> aktiviert werden. Dadurch wird der Belastungswert der letzten "
        "Stufe in Abh\xC3\xA4ngigkeit von der verk\xC3\xBCrzten Stufendauer entsprechend "
        "angepasst. ";
    EXPECT_STREQ(LoadStr(2121), stopNote);
    EXPECT_STREQ(LoadStr(2123), stopNote);
    EXPECT_STREQ(LoadStr(2129),
                 "Die im Handmessger\xC3\xA4t mittels Stop-Funktion ermittelten "
                 "Stufendauerwerte werden \xC3\xBC"
                 "bernommen und zur Berechnung der "
                 "Geschwindigkeiten herangezogen. ");
    // The treadmill text keeps its established spelling; the ergometer one differs.
    EXPECT_STREQ(LoadStr(2120), "Die am PC einegestellte Stufendauer wird verwendet.");
    EXPECT_STREQ(LoadStr(2122), "Die am PC eingestellte Stufendauer wird verwendet.");
}

TEST(StringTable, FieldTestResultLinesMatchForAllModels) {
    // Every threshold model of a field test fills the same four lines after its heading.
    for (int k = 0; k < 4; ++k) {
        EXPECT_STREQ(LoadStr(2190 + k), LoadStr(2185 + k)) << k;
        EXPECT_STREQ(LoadStr(2195 + k), LoadStr(2185 + k)) << k;
    }
    EXPECT_STREQ(LoadStr(2188), "t(%.0fm) = %02d:%02d");
}
