// Downloads into documents that also hold typed or imported tests.
#include "LinkTestUtil.h"
#include "data/ManualIds.h"
#include "data/ManualTest.h"
#include "device/MemorySlot.h"

using namespace trv;
using namespace trv::test;

namespace {

// Adds a typed treadmill test of `steps` steps (8 km/h + 2 km/h, lactate 1.0 + 1.0 per step).
void AddTyped(CTRVDoc& doc, int steps) {
    ManualTestInput input;
    input.m_FirstStep = COleDateTime::FromParts(2026, 2, 1, 9, 0, 0);
    for (int i = 0; i < steps; ++i) {
        ManualStep s;
        s.m_Load = 8.0 + 2 * i;
        s.m_dLactate = 1.0 + i;
        input.m_Steps.push_back(s);
    }
    TestDataType t;
    std::vector<std::string> questions;
    ASSERT_EQ(BuildManualTest(input, t, questions).message, "");
    int index = -1;
    ASSERT_EQ(AddManualTest(doc, t, index).message, "");
}

void ExpectSameReadings(const TestDataType& a, const TestDataType& b) {
    ASSERT_EQ(a.m_Steps.size(), b.m_Steps.size());
    for (size_t i = 0; i < a.m_Steps.size(); ++i) {
        const PCMDataType &x = a.m_Steps[i], &y = b.m_Steps[i];
        EXPECT_EQ(x.m_nMeasId, y.m_nMeasId);
        EXPECT_EQ(x.m_nLactate, y.m_nLactate);
        EXPECT_EQ(x.m_nMeasType, y.m_nMeasType);
        EXPECT_EQ(x.m_dSpeed, y.m_dSpeed);
        EXPECT_EQ(x.m_Time, y.m_Time);
        EXPECT_EQ(x.m_bChecked, y.m_bChecked);
    }
}

// An open typed test of three steps, as after reopening: its IDs are 60000..60002.
TestDataType OpenTyped(CTRVDoc& doc) {
    AddTyped(doc, 3);
    doc.GetTest(0).m_bClosed = 0;
    return doc.GetTest(0);
}

}  // namespace

TEST(ManualMerge, DownloadAfterTypedTestsMergesEveryAnalyserReading) {
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    // The second test is still running on the analyser.
    MergeSlots(doc, mem, {{6, 7, kSingle, 13}, {19, 20, kPreStart, 11}, {20, 21, kLoad, 15}});
    AddTyped(doc, 4);
    AddTyped(doc, 3);
    // As after saving and reopening: no test counts as closed, the typed ones included.
    for (auto& t : doc.m_Tests) t.m_bClosed = 0;
    const TestDataType first = doc.GetTest(2), second = doc.GetTest(3);

    // The last step test is new and still open.
    const TestIds ids = MergeSlots(doc, mem,
                                   {{21, 22, kLoad, 30},
                                    {22, 23, kPostEnd, 52},
                                    {23, 24, kSingle, 14},
                                    {24, 25, kPreStart, 10},
                                    {25, 26, kLoad, 17}});
    ASSERT_EQ(ids.size(), 6u);
    EXPECT_EQ(TestIds(ids.begin(), ids.begin() + 4), (TestIds{{7}, {20, 21, 22, 23}, {24}, {25, 26}}));
    EXPECT_TRUE(doc.GetTest(1).m_bClosed);
    EXPECT_FALSE(doc.GetTest(3).m_bClosed);
    ExpectSameReadings(doc.GetTest(4), first);
    ExpectSameReadings(doc.GetTest(5), second);

    // The open analyser test goes on with the next download, behind the typed tests in the list.
    const TestIds next = MergeSlots(doc, mem, {{26, 27, kPostEnd, 40}});
    EXPECT_EQ(next[3], (std::vector<int>{25, 26, 27}));
    EXPECT_EQ(next[5], (std::vector<int>{60004, 60005, 60006}));
}

TEST(ManualMerge, StepsWithoutTheirStartNeverGoToATypedTest) {
    // The typed test is the document's last test and not closed; analyser steps whose start was
    // overwritten in the ring stay dropped rather than being appended to it.
    CTRVDoc doc;
    const TestDataType typed = OpenTyped(doc);
    std::vector<uint8_t> mem(3500, 0);
    const TestIds ids = MergeSlots(doc, mem, {{0, 1, kLoad, 30}, {1, 2, kPostEnd, 40}, {2, 3, kSingle, 12}});
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], std::vector<int>{3});
    ExpectSameReadings(doc.GetTest(1), typed);
}

TEST(ManualMerge, AnAnalyserCountingIntoTheTypedBlockLosesNothing) {
    // The analyser sends a step test with exactly the open typed test's IDs.
    CTRVDoc doc;
    const TestDataType typed = OpenTyped(doc);
    std::vector<uint8_t> mem(3500, 0);
    MergeSlots(doc, mem, {{0, 60000, kPreStart, 11}, {1, 60001, kLoad, 21}, {2, 60002, kPostEnd, 44}});
    ASSERT_EQ(doc.GetTestCount(), 2);
    // The analyser's test has its IDs; the typed readings moved to the top of the block, unchanged.
    const int analyser = IsTypedTest(doc.GetTest(0)) ? 1 : 0, other = 1 - analyser;
    EXPECT_EQ(Ids(doc.GetTest(analyser)), (std::vector<int>{60000, 60001, 60002}));
    EXPECT_EQ(doc.GetTest(analyser).m_Steps[2].m_nLactate, 44);
    EXPECT_EQ(Ids(doc.GetTest(other)), (std::vector<int>{65535, 65534, 65533}));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.GetTest(other).m_Steps[i].m_nLactate, typed.m_Steps[i].m_nLactate);
        EXPECT_EQ(doc.GetTest(other).m_Steps[i].m_Time, typed.m_Steps[i].m_Time);
    }
    // The same memory again adds nothing.
    EXPECT_EQ(MergeSlots(doc, mem, {}).size(), 2u);
}
