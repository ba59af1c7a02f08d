#pragma once
// What the program and the analyser say to each other over the serial line: the words, their
// payloads, the memory frame with its checksum, and the layout of one memory slot. The link
// controller, the slot codec and the simulator all take them from here.
//
// Words are plain ASCII without terminator; a payload follows its word directly.
#include <cstddef>
#include <cstdint>

namespace trv::proto {

// Requests of the program.
inline constexpr char kGetIdentity[] = "gethmgid";  // -> kPutIdentity + kIdentityChars characters
inline constexpr char kGetMemory[] = "getmdata";    // -> kPutMemory + kFrameBytes bytes
inline constexpr char kGetConfig[] = "geticonfig";  // + kGetConfigPayload bytes -> kPutConfig + kConfigBytes
inline constexpr char kSetConfig[] = "seticonfig";  // + kSetConfigPayload bytes -> kPutConfig (read-back)
inline constexpr char kReset[] = "reset";           // clears the memory; no answer
inline constexpr uint8_t kKeepAlive = 'O';          // polling; no answer

inline constexpr size_t kGetConfigPayload = 1;   // one 0x00
inline constexpr size_t kSetConfigPayload = 4;   // 0x00, 0x00, step-test mode, 0x00
inline constexpr size_t kSetConfigModeByte = 2;  // index of the mode within that payload

// Words of the analyser; all of them kAnswerWordChars long.
inline constexpr size_t kAnswerWordChars = 8;
inline constexpr char kPutIdentity[] = "puthmgid";
inline constexpr char kPutMemory[] = "putmdata";
inline constexpr char kPutConfig[] = "puticonf";
inline constexpr char kNotify[] = "menotify";     // a new measurement was taken
inline constexpr char kSwitchOff[] = "swhmgoff";  // the analyser switches itself off
inline constexpr char kPutOther[] = "putddata";   // never requested; whatever follows is dropped
static_assert(sizeof kPutIdentity - 1 == kAnswerWordChars && sizeof kPutMemory - 1 == kAnswerWordChars &&
              sizeof kPutConfig - 1 == kAnswerWordChars && sizeof kNotify - 1 == kAnswerWordChars &&
              sizeof kSwitchOff - 1 == kAnswerWordChars && sizeof kPutOther - 1 == kAnswerWordChars);

// Identity: the device ID, then the firmware version times 100 as decimal digits.
inline constexpr size_t kDeviceIdChars = 10;
inline constexpr size_t kFirmwareDigits = 3;
inline constexpr size_t kIdentityChars = kDeviceIdChars + kFirmwareDigits;

// Configuration answer: five bytes, the step-test mode in the last one.
inline constexpr size_t kConfigBytes = 5;
inline constexpr size_t kConfigModeByte = 4;

// The memory frame: 250 slots, the CRC-16/ARC of the slots (low byte first), two unused bytes.
inline constexpr int kMemorySlots = 250;
inline constexpr int kSlotBytes = 14;
inline constexpr int kMemoryBytes = kMemorySlots * kSlotBytes;  // what the checksum covers
inline constexpr int kCrcOffset = kMemoryBytes;
inline constexpr int kFrameBytes = kMemoryBytes + 4;
inline constexpr uint16_t kCrcPolynomial = 0xA001;  // 0x8005 reflected

// One slot: little-endian numbers, BCD date and time (years after 2000).
inline constexpr int kSlotMeasId = 0;    // 2 bytes; 0 = empty slot
inline constexpr int kSlotDuration = 2;  // 2 bytes, seconds
inline constexpr int kSlotFlags = 4;     // status, measurement type, first and last step
inline constexpr int kSlotLactate = 5;   // 2 bytes, 0.1 mmol/l
inline constexpr int kSlotTemperature = 7;
inline constexpr int kSlotSecond = 8;
inline constexpr int kSlotMinute = 9;
inline constexpr int kSlotHour = 10;
inline constexpr int kSlotDay = 11;
inline constexpr int kSlotMonth = 12;
inline constexpr int kSlotYear = 13;

inline constexpr uint8_t kFlagStatusMask = 0x0F;
inline constexpr int kFlagTypeShift = 4;
inline constexpr uint8_t kFlagTypeMask = 0x03;  // after the shift
inline constexpr uint8_t kFlagFirstStep = 0x40;
inline constexpr uint8_t kFlagLastStep = 0x80;

}  // namespace trv::proto
