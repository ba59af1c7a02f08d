// Decoding the analyser's memory and merging it into the document.
#include "DeviceMemory.h"

#include "TRVDoc.h"

#include <algorithm>

namespace trv {

namespace {

int FromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }
uint8_t ToBcd(int v) { return static_cast<uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }

}  // namespace

void DecodeSlot(const uint8_t* s, PCMDataType& m) {
    std::copy(s, s + kSlotBytes, m.m_abRaw.begin());
    m.m_nMeasId = static_cast<uint16_t>(s[0] | (s[1] << 8));
    m.m_nStepDuration = static_cast<uint16_t>(s[2] | (s[3] << 8));
    m.m_nStatus = s[4] & 0x0F;
    m.m_nMeasType = (s[4] >> 4) & 0x03;
    m.m_bFirstStep = (s[4] >> 6) & 1;
    m.m_bLastStep = (s[4] >> 7) & 1;
    m.m_nLactate = static_cast<uint16_t>(s[5] | (s[6] << 8));
    m.m_nTemperature = s[7];
    m.m_bDurationMeasured = m.m_nStatus == StatusTimed ? 1 : 0;
    if (m.m_nStatus == StatusEmpty) return;
    int second = FromBcd(s[8]), minute = FromBcd(s[9]), hour = FromBcd(s[10]);
    int day = FromBcd(s[11]), month = FromBcd(s[12]);
    // A year byte that is no BCD digit pair decodes to as much as 165: such a year is replaced too.
    int year = 2000 + FromBcd(s[13]);
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
    s[0] = static_cast<uint8_t>(m.m_nMeasId & 0xFF);
    s[1] = static_cast<uint8_t>(m.m_nMeasId >> 8);
    s[2] = static_cast<uint8_t>(m.m_nStepDuration & 0xFF);
    s[3] = static_cast<uint8_t>(m.m_nStepDuration >> 8);
    s[4] = static_cast<uint8_t>((m.m_nStatus & 0x0F) | ((m.m_nMeasType & 0x03) << 4) | (m.m_bFirstStep ? 0x40 : 0) |
                                (m.m_bLastStep ? 0x80 : 0));
    s[5] = static_cast<uint8_t>(m.m_nLactate & 0xFF);
    s[6] = static_cast<uint8_t>(m.m_nLactate >> 8);
    s[7] = m.m_nTemperature;
    DateParts p;
    if (!m.m_Time.GetParts(p)) p = DateParts{2000, 1, 1, 0, 0, 0};
    s[8] = ToBcd(p.second);
    s[9] = ToBcd(p.minute);
    s[10] = ToBcd(p.hour);
    s[11] = ToBcd(p.day);
    s[12] = ToBcd(p.month);
    s[13] = ToBcd(p.year >= 2000 ? p.year - 2000 : 0);
}

bool CTRVDoc::MergeDeviceMemory(const uint8_t* memory) {
    m_Downloaded.clear();
    for (int i = 0; i < kMemorySlots; ++i) {
        PCMDataType m;
        DecodeSlot(memory + i * kSlotBytes, m);
        if (m.m_nStatus != StatusEmpty && m.m_nMeasId != 0) m_Downloaded.push_back(m);
    }
    SortDownloaded();

    // The test that new step records are appended to; -1 when no test is open. It is the last test
    // of the document, except when a test read earlier is continued: its records go to that test.
    int open = -1;
    for (const PCMDataType& r : m_Downloaded) {
        int holder = -1;
        for (size_t ti = 0; ti < m_Tests.size() && holder < 0; ++ti) {
            const auto& steps = m_Tests[ti].m_Steps;
            if (std::any_of(steps.begin(), steps.end(),
                            [&](const PCMDataType& s) { return s.m_nMeasId != 0 && s.m_nMeasId == r.m_nMeasId; }))
                holder = static_cast<int>(ti);
        }
        if (holder >= 0) {
            if (!m_Tests[static_cast<size_t>(holder)].m_bClosed && r.m_bFirstStep && r.m_nMeasType != MeasSingle)
                open = holder;
            // The end record of that test is already here: nothing more belongs to it.
            if (open == holder && r.m_bLastStep) open = -1;
            continue;
        }
        if (r.m_bFirstStep) {
            TestDataType t;
            t.m_Steps.push_back(r);
            const bool closed = r.m_nMeasType == MeasSingle || r.m_bLastStep;
            t.m_bClosed = closed ? 1 : 0;
            m_Tests.push_back(std::move(t));
            open = closed ? -1 : static_cast<int>(m_Tests.size()) - 1;
        } else if (open >= 0) {
            TestDataType& t = m_Tests[static_cast<size_t>(open)];
            t.m_Steps.push_back(r);
            if (r.m_bLastStep) {
                t.m_bClosed = 1;
                open = -1;
            }
        }
        // Otherwise a step record whose test start is not in the document: dropped.
    }
    SortTests();
    return true;
}

}  // namespace trv
