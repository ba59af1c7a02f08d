// The test list's search: words against the ID, the date and the test type as the list shows them.
#include "WorkspaceDocs.h"
#include "data/ManualIds.h"
#include "workspace/TestFilter.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(TestFilter, EveryWordMustOccurInOneOfTheShownTexts) {
    // ID 42, 02.03.2026, Ergometer.
    TestDataType bike = wstest::StepTest(42, 3);
    bike.m_nTestType = TestErgometer;
    struct Case {
        const char* text;
        bool found;
    };
    const Case cases[] = {
        {"", true},         {"   ", true},      {"42", true},           {"00042", true},     {"000042", false},
        {"02.03.", true},   {"2026", true},     {"03.2026 ergo", true}, {"ERGOMETER", true}, {"  ergo   42 ", true},
        {"lauf", false},    {"ergo 43", false}, {"2025", false},        {"0042\n02", true},  {"ergometer2", false},
        {"manuell", false}, {"42.03", false},
    };
    for (const Case& c : cases) EXPECT_EQ(CTestFilter(c.text).Matches(bike), c.found) << '"' << c.text << '"';
    EXPECT_TRUE(CTestFilter().Empty());
    EXPECT_TRUE(CTestFilter(" \t ").Empty());
}

TEST(TestFilter, TypedTestsTestTypesAndEmptyTests) {
    TestDataType typed = wstest::StepTest(kManualIdFirst, 2);
    typed.m_nReserved1 = kTypedTestMark;
    typed.m_nTestType = TestField;
    EXPECT_TRUE(CTestFilter("Manuell feld").Matches(typed));
    EXPECT_FALSE(CTestFilter("60000").Matches(typed));  // shown as "manuell", never as a number
    TestDataType late = wstest::StepTest(60000, 2);     // an analyser past 60,000 readings
    EXPECT_TRUE(CTestFilter("60000").Matches(late));
    EXPECT_FALSE(CTestFilter("manuell").Matches(late));
    TestDataType run = wstest::SingleTest(251, 12);
    EXPECT_TRUE(CTestFilter("laufBAND").Matches(run));
    // An empty test shows no texts: only the empty search finds it.
    EXPECT_TRUE(CTestFilter("").Matches(TestDataType{}));
    EXPECT_FALSE(CTestFilter("lauf").Matches(TestDataType{}));
    EXPECT_EQ(FoldCase("ÄÖÜ Straße GRÖSSE"), "äöü straße grösse");
}
