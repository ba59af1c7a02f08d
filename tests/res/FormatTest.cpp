#include "res/Format.h"

#include <gtest/gtest.h>
#include <clocale>

using trv::Fmt;

TEST(Format, FloatingConversionsGetADecimalComma) {
    EXPECT_EQ(Fmt("%2.1f", 9.0), "9,0");
    EXPECT_EQ(Fmt("%3.2f mmol/l", 4.0), "4,00 mmol/l");
    EXPECT_EQ(Fmt("%5.0f", 400.0), "  400");
    EXPECT_EQ(Fmt("%2.1f (%2.1f)", 10.25, 11.0), "10,2 (11,0)");  // 10.25 is exact: round-half-even
    EXPECT_EQ(Fmt("%g", 0.5), "0,5");
}

TEST(Format, OtherConversionsAreUntouched) {
    EXPECT_EQ(Fmt("%05d;%03d", 500, 250), "00500;250");
    EXPECT_EQ(Fmt("%02d:%02d (PC)", 2, 13), "02:13 (PC)");
    EXPECT_EQ(Fmt("%s = %3.2f %s\r", "v", 3.5, "m/s"), "v = 3,50 m/s\r");
    EXPECT_EQ(Fmt("1.5 %s %%", "a.b"), "1.5 a.b %");  // points outside numbers stay
    EXPECT_EQ(Fmt("%*d|%-4s|", 3, 7, "x"), "  7|x   |");
    EXPECT_EQ(Fmt("%.*f", 2, 1.005), "1,00");  // 1.005 is below 1.005 in binary
}

TEST(Format, DoesNotDependOnTheProcessLocale) {
    // Whatever LC_NUMERIC is, the output has exactly one comma and no point.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(Fmt("%2.1f", 2.5), "2,5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Format, LongOutputIsNotCut) {
    std::string s(2000, 'x');
    EXPECT_EQ(Fmt("%s%2.1f", s.c_str(), 1.0), s + "1,0");
}

TEST(Parse, DecimalAcceptsCommaAndPoint) {
    double v = 0;
    for (const auto& [text, value] : {std::pair("4,25", 4.25), {" 4.25 ", 4.25}, {"-0,5", -0.5}, {",5", 0.5}}) {
        ASSERT_TRUE(trv::ParseDecimal(text, v)) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    for (const char* text : {"", "150x", "1,2,3", ","}) EXPECT_FALSE(trv::ParseDecimal(text, v)) << text;
}

TEST(Parse, LeadingIntegerReadsLikeAtoi) {
    bool ok = false;
    EXPECT_EQ(trv::ParseLeadingInt("185s", &ok), 185);
    EXPECT_TRUE(ok);
    EXPECT_EQ(trv::ParseLeadingInt("  -7", &ok), -7);
    EXPECT_EQ(trv::ParseLeadingInt("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(trv::ParseLeadingDecimal("180,6 cm"), 180.6);
    EXPECT_DOUBLE_EQ(trv::ParseLeadingDecimal("kg"), 0.0);
}
