// The simulator's memory: its text format, the ring of slots and the frame it sends.
#include "device/Crc16.h"
#include "sim/SimMemory.h"

#include <gtest/gtest.h>

using namespace trv::sim;

TEST(SimMemoryText, SettingsAndReadings) {
    const std::string text =
        "# two readings\n"
        "device ABC1234567\n"
        "firmware 3,05\n"
        "steptest off\n"
        "7  2026-03-02 09:12:40 Ld     end       4.25  23  2  135   # last step\n"
        "\n"
        "8  2026-03-02 09:15:00 single start,end High  22  1  180\n";
    SimMemory m;
    ASSERT_EQ(ParseSimMemory(text, m).message, "");
    EXPECT_EQ(std::tuple(m.deviceId, m.firmware100, m.stepTestMode), std::tuple("ABC1234567", 305, false));
    ASSERT_EQ(m.readings.size(), 2u);
    const SimReading& a = m.readings[0];
    // 4.25 mmol/l rounds to 4.3.
    EXPECT_EQ(std::tuple(a.id, a.type, a.start, a.end, a.lactate, a.temperature, a.status, a.duration),
              std::tuple(7, 2, false, true, 43, 23, 2, 135));
    EXPECT_EQ(a.year * 10000 + a.month * 100 + a.day, 20260302);
    EXPECT_EQ(a.hour * 10000 + a.minute * 100 + a.second, 91240);
    const SimReading& b = m.readings[1];
    EXPECT_TRUE(b.start && b.end);
    EXPECT_EQ(b.status, 6);  // "High" is the status above the measuring range
}

TEST(SimMemoryText, ABadLineNamesItsNumberAndChangesNothing) {
    SimMemory m;
    m.deviceId = "KEEPME0000";
    trv::Result parsed = ParseSimMemory("device SHORT\n", m);
    EXPECT_FALSE(parsed);
    EXPECT_EQ(parsed.message, "Zeile 1: die Ger\xC3\xA4te-ID hat 10 Zeichen");
    parsed = ParseSimMemory("firmware 3.05\n\n1 2026-03-02 09:12:40 Xy start 1.0 22 1 180\n", m);
    EXPECT_FALSE(parsed);
    EXPECT_EQ(parsed.message.rfind("Zeile 3: unbekannter Typ", 0), 0u) << parsed.message;
    parsed = ParseSimMemory("1 2026-03-02 09:12:40 single start 1.0 22 16 180\n", m);
    EXPECT_FALSE(parsed);
    EXPECT_EQ(parsed.message.rfind("Zeile 1: ", 0), 0u) << parsed.message;
    EXPECT_EQ(m.deviceId, "KEEPME0000");
}

TEST(SimMemoryText, TheBuiltInSampleIsValid) {
    SimMemory m;
    ASSERT_EQ(ParseSimMemory(SampleMemoryText(), m).message, "");
    EXPECT_EQ(std::tuple(m.deviceId, m.firmware100), std::tuple("ARV0012345", 305));
    EXPECT_GT(m.readings.size(), 20u);
    EXPECT_EQ(SampleMemory().readings.size(), m.readings.size());
}

TEST(SimMemoryImage, SlotBytesAndTheRing) {
    SimReading r;
    r.id = 258;  // slot (258 - 1) mod 250 = 7
    r.year = 2026, r.month = 3, r.day = 2, r.hour = 9, r.minute = 12, r.second = 40;
    r.type = 2, r.end = true, r.lactate = 43, r.temperature = 23, r.status = 2, r.duration = 135;
    SimReading old = r;
    old.id = 8;  // the same slot, overwritten by the newer reading
    old.lactate = 99;
    SimReading wrapped = r;
    wrapped.id = 251;  // slot 0
    const std::vector<uint8_t> image = BuildMemoryImage({r, old, wrapped});
    ASSERT_EQ(image.size(), 3500u);
    EXPECT_EQ(
        std::vector<uint8_t>(image.begin() + 7 * 14, image.begin() + 8 * 14),
        (std::vector<uint8_t>{0x02, 0x01, 0x87, 0x00, 0xA2, 0x2B, 0x00, 0x17, 0x40, 0x12, 0x09, 0x02, 0x03, 0x26}));
    EXPECT_EQ(std::tuple(image[0], image[1]), std::tuple(0xFB, 0x00));  // 251
    for (int slot : {1, 6, 8, 249}) EXPECT_EQ(image[slot * 14], 0) << slot;
}

TEST(SimMemoryImage, FrameEndsInTheChecksumOfTheSlots) {
    EXPECT_EQ(BuildMemoryFrame({}), std::vector<uint8_t>(3504, 0));  // the checksum of zeros is 0
    SimReading r;
    r.id = 1;
    r.start = true;
    r.lactate = 12;
    const std::vector<uint8_t> frame = BuildMemoryFrame({r});
    ASSERT_EQ(frame.size(), 3504u);
    const uint16_t crc = trv::Crc16Arc(frame.data(), 3500);
    EXPECT_NE(crc, 0);
    EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 3500, frame.end()),
              (std::vector<uint8_t>{static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8), 0, 0}));
}
