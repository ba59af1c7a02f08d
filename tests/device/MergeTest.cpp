// Decoding the analyser's memory and merging it into a document.
#include "LinkTestUtil.h"
#include "device/MemorySlot.h"

using namespace trv;
using namespace trv::test;

TEST(DecodeSlot, FieldsFromHandWrittenBytes) {
    const uint8_t slot[14] = {0x2C, 0x01, 0xB4, 0x00, 0x62, 0x50, 0x00, 0x17, 0x05, 0x30, 0x14, 0x28, 0x02, 0x24};
    PCMDataType m;
    DecodeSlot(slot, m);
    EXPECT_EQ(m.m_nMeasId, 300);
    EXPECT_EQ(m.m_nStepDuration, 180);
    EXPECT_EQ(m.m_nStatus, 2);
    EXPECT_EQ(m.m_nMeasType, 2);
    EXPECT_EQ(m.m_bFirstStep, 1);
    EXPECT_EQ(m.m_bLastStep, 0);
    EXPECT_EQ(m.m_nLactate, 80);
    EXPECT_EQ(m.m_nTemperature, 23);
    EXPECT_EQ(m.m_bDurationMeasured, 1);
    EXPECT_EQ(m.m_Time.FormatIso(), "2024-02-28T14:30:05");
    EXPECT_EQ(m.m_abRaw[13], 0x24);
    EXPECT_EQ(MemoryPosition(m.m_nMeasId), 50);
}

TEST(DecodeSlot, InvalidBcdPartsAreReplaced) {
    // second 45, minute 61 -> 0, hour 25 -> 0, day 0 -> 1, month 13 -> 1, year 07.
    const uint8_t slot[14] = {1, 0, 0, 0, 0x01, 10, 0, 20, 0x45, 0x61, 0x25, 0x00, 0x13, 0x07};
    PCMDataType m;
    DecodeSlot(slot, m);
    EXPECT_EQ(m.m_Time.FormatIso(), "2007-01-01T00:00:45");
    EXPECT_EQ(m.m_bDurationMeasured, 0);
    // Bytes that are no BCD at all: 0xFF is 165 -> second 0, day 1, month 1.
    const uint8_t junk[14] = {2, 0, 0, 0, 0x01, 10, 0, 20, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x26};
    DecodeSlot(junk, m);
    EXPECT_EQ(m.m_Time.FormatIso(), "2026-01-01T00:00:00");
    // 31 April does not exist: the last day of the month instead of an invalid time stamp.
    const uint8_t april[14] = {3, 0, 0, 0, 0x01, 10, 0, 20, 0x00, 0x00, 0x08, 0x31, 0x04, 0x25};
    DecodeSlot(april, m);
    EXPECT_EQ(m.m_Time.FormatIso(), "2025-04-30T08:00:00");
    // Year byte 0x99 is 2099, the last year taken; 0xA5 (10 * 10 + 5) would be 2105 and becomes 2000.
    const uint8_t last[14] = {4, 0, 0, 0, 0x01, 10, 0, 20, 0x00, 0x00, 0x08, 0x15, 0x06, 0x99};
    DecodeSlot(last, m);
    EXPECT_EQ(m.m_Time.FormatIso(), "2099-06-15T08:00:00");
    const uint8_t beyond[14] = {5, 0, 0, 0, 0x01, 10, 0, 20, 0x00, 0x00, 0x08, 0x15, 0x06, 0xA5};
    DecodeSlot(beyond, m);
    EXPECT_EQ(m.m_Time.FormatIso(), "2000-06-15T08:00:00");
}

TEST(DecodeSlot, EmptySlotKeepsTheConstructedTime) {
    const uint8_t slot[14] = {5, 0, 0, 0, 0x00, 0, 0, 0, 0x45, 0x61, 0x25, 0x00, 0x13, 0x07};
    PCMDataType m;
    m.m_Time = COleDateTime(1000.5);
    DecodeSlot(slot, m);
    EXPECT_DOUBLE_EQ(m.m_Time.m_dt, 1000.5);
}

TEST(Merge, EmptyMemoryAddsNothing) {
    CTRVDoc doc;
    const std::vector<uint8_t> mem(3500, 0);
    EXPECT_TRUE(doc.MergeDeviceMemory(DecodeMemory(mem.data())));
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(doc.m_Downloaded.empty());
}

TEST(Merge, SingleReadingsAndAStepTestFormTestsInIdOrder) {
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    // Out of order in the ring: the step test sits in the low slots after a wrap. ID 0 is no
    // measurement, status 0 an empty slot.
    EXPECT_EQ(MergeSlots(doc, mem,
                         {{0, 252, kLoad, 30},
                          {1, 253, kPostEnd, 40},
                          {248, 249, kSingle, 12},
                          {249, 250, kPreStart, 11},
                          {2, 251, kLoad, 20},
                          {3, 0, kSingle, 12},
                          {4, 260, 0x40, 12}}),
              (TestIds{{249}, {250, 251, 252, 253}}));
    EXPECT_TRUE(doc.GetTest(0).m_bClosed);
    EXPECT_TRUE(doc.GetTest(1).m_bClosed);
    EXPECT_EQ(doc.m_Downloaded.size(), 5u);
    EXPECT_EQ(doc.GetTest(1).m_Steps[3].m_nLactate, 40);
    // A repeated download adds nothing.
    EXPECT_EQ(MergeSlots(doc, mem, {}), (TestIds{{249}, {250, 251, 252, 253}}));
}

TEST(Merge, OpenStepTestIsContinuedByTheNextDownloadAClosedOneIsNot) {
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    EXPECT_EQ(MergeSlots(doc, mem, {{0, 20, kPreStart, 11}, {1, 21, kLoad, 15}}), (TestIds{{20, 21}}));
    EXPECT_FALSE(doc.GetTest(0).m_bClosed);
    EXPECT_EQ(MergeSlots(doc, mem, {{2, 22, kLoad, 30}, {3, 23, kPostEnd, 50}, {4, 24, kSingle, 14}}),
              (TestIds{{20, 21, 22, 23}, {24}}));
    EXPECT_TRUE(doc.GetTest(0).m_bClosed);

    CTRVDoc closed;
    std::vector<uint8_t> mem2(3500, 0);
    MergeSlots(closed, mem2, {{0, 20, kPreStart, 11}, {1, 21, kPostEnd, 15}});
    // A step whose start is not in this test's run.
    EXPECT_EQ(MergeSlots(closed, mem2, {{2, 22, kLoad, 30}}), (TestIds{{20, 21}}));
}

TEST(Merge, OrphanedStepReadingIsDropped) {
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    // Its start was overwritten in the ring.
    EXPECT_EQ(MergeSlots(doc, mem, {{0, 3, kLoad, 30}, {1, 4, kPostEnd, 40}, {2, 5, kSingle, 12}}), (TestIds{{5}}));
}

TEST(Merge, TestReadFromAFileIsContinuedIntoItselfNotIntoALaterTest) {
    // As after opening a file: tests are not closed. The step test 30..31 misses 32; a later single
    // reading 40 is the document's last test.
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    MergeSlots(doc, mem, {{0, 30, kPreStart, 11}, {1, 31, kLoad, 15}, {3, 40, kSingle, 13}});
    for (auto& t : doc.m_Tests) t.m_bClosed = 0;
    EXPECT_EQ(MergeSlots(doc, mem, {{2, 32, kPostEnd, 45}}), (TestIds{{30, 31, 32}, {40}}));
}

TEST(Merge, ReadingDroppedOnceIsDroppedAgainAndNeverJoinsAnEarlierOpenTest) {
    // Step test 601..602 never got its end record; 751..753 came later and ended; 900 is a step reading
    // whose test start is gone. The second download of the same memory must not hand 900 to 601's test
    // just because that one is still open: 751 started after it.
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    const TestIds expected{{601, 602}, {751, 752, 753}};
    EXPECT_EQ(MergeSlots(doc, mem,
                         {{0, 601, kPreStart, 11},
                          {1, 602, kLoad, 15},
                          {2, 751, kPreStart, 12},
                          {3, 752, kLoad, 20},
                          {4, 753, kPostEnd, 45},
                          {5, 900, kPostEnd, 50}}),
              expected);
    EXPECT_EQ(MergeSlots(doc, mem, {}), expected);
}

TEST(Merge, HighAndLowReadingsKeepTheirStatus) {
    CTRVDoc doc;
    std::vector<uint8_t> mem(3500, 0);
    MergeSlots(doc, mem, {{0, 1, 0x46, 999}, {1, 2, 0x47, 0}});
    ASSERT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(LactateText(doc.GetTest(0).m_Steps[0]), "High");
    EXPECT_EQ(LactateText(doc.GetTest(1).m_Steps[0]), "Low");
}
