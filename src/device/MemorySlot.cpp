#include "device/MemorySlot.h"

#include <algorithm>

namespace trv {

using namespace proto;

namespace {

int FromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }
uint8_t ToBcd(int v) { return static_cast<uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void PutLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

void DecodeSlot(const uint8_t* s, PCMDataType& m) {
    std::copy(s, s + kSlotBytes, m.m_abRaw.begin());
    m.m_nMeasId = Le16(s + kSlotMeasId);
    m.m_nStepDuration = Le16(s + kSlotDuration);
    m.m_nStatus = s[kSlotFlags] & kFlagStatusMask;
    m.m_nMeasType = (s[kSlotFlags] >> kFlagTypeShift) & kFlagTypeMask;
    m.m_bFirstStep = (s[kSlotFlags] & kFlagFirstStep) ? 1 : 0;
    m.m_bLastStep = (s[kSlotFlags] & kFlagLastStep) ? 1 : 0;
    m.m_nLactate = Le16(s + kSlotLactate);
    m.m_nTemperature = s[kSlotTemperature];
    m.m_bDurationMeasured = m.m_nStatus == StatusTimed ? 1 : 0;
    if (m.m_nStatus == StatusEmpty) return;
    int second = FromBcd(s[kSlotSecond]), minute = FromBcd(s[kSlotMinute]), hour = FromBcd(s[kSlotHour]);
    int day = FromBcd(s[kSlotDay]), month = FromBcd(s[kSlotMonth]);
    // A year byte that is no BCD digit pair decodes to as much as 165: such a year is replaced too.
    int year = 2000 + FromBcd(s[kSlotYear]);
    if (year > 2099) year = 2000;
    if (second > 59) second = 0;
    if (minute > 59) minute = 0;
    if (hour > 23) hour = 0;
    if (day < 1 || day > 31) day = 1;
    if (month < 1 || month > 12) month = 1;
    // 31 February and the like: the last day of that month rather than an invalid time stamp.
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > monthDays) day = monthDays;
    m.m_Time = COleDateTime::FromParts(year, month, day, hour, minute, second);
}

void EncodeSlot(const MDataType& m, uint8_t* s) {
    PutLe16(s + kSlotMeasId, m.m_nMeasId);
    PutLe16(s + kSlotDuration, m.m_nStepDuration);
    s[kSlotFlags] =
        static_cast<uint8_t>((m.m_nStatus & kFlagStatusMask) | ((m.m_nMeasType & kFlagTypeMask) << kFlagTypeShift) |
                             (m.m_bFirstStep ? kFlagFirstStep : 0) | (m.m_bLastStep ? kFlagLastStep : 0));
    PutLe16(s + kSlotLactate, m.m_nLactate);
    s[kSlotTemperature] = m.m_nTemperature;
    DateParts p;
    if (!m.m_Time.GetParts(p)) p = DateParts{2000, 1, 1, 0, 0, 0};
    s[kSlotSecond] = ToBcd(p.second);
    s[kSlotMinute] = ToBcd(p.minute);
    s[kSlotHour] = ToBcd(p.hour);
    s[kSlotDay] = ToBcd(p.day);
    s[kSlotMonth] = ToBcd(p.month);
    s[kSlotYear] = ToBcd(p.year >= 2000 ? p.year - 2000 : 0);
}

std::vector<PCMDataType> DecodeMemory(const uint8_t* memory) {
    std::vector<PCMDataType> slots(kMemorySlots);
    for (int i = 0; i < kMemorySlots; ++i) DecodeSlot(memory + i * kSlotBytes, slots[static_cast<size_t>(i)]);
    return slots;
}

}  // namespace trv
