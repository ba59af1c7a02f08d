#pragma once
// Small documents for the workspace tests, and the document's file bytes for round trips.
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "device/MemorySlot.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace wstest {

inline trv::PCMDataType Reading(uint16_t id, int lactateTenths, uint8_t type = trv::MeasSingle) {
    trv::PCMDataType m;
    m.m_nMeasId = id;
    m.m_nLactate = static_cast<uint16_t>(lactateTenths);
    m.m_nMeasType = type;
    m.m_nStatus = trv::StatusNormal;
    m.m_nTemperature = 22;
    m.m_Time = trv::COleDateTime::FromParts(2026, 3, 2, 9, id % 60, 0);
    return m;
}

// A step test of `n` main-load steps, IDs first..first+n-1, 2.5 m/s + 0.5 m/s per step.
inline trv::TestDataType StepTest(uint16_t first, int n) {
    static const int kLactate[] = {10, 15, 22, 34, 51, 73, 95};
    trv::TestDataType t;
    for (int i = 0; i < n; ++i) {
        trv::PCMDataType m = Reading(static_cast<uint16_t>(first + i), kLactate[i % 7], trv::MeasLoad);
        m.m_dSpeed = 2.5 + 0.5 * i;
        m.m_nHeartRate = 120 + 15 * i;
        m.m_bFirstStep = i == 0;
        m.m_bLastStep = i == n - 1;
        t.m_Steps.push_back(m);
    }
    t.m_dStartValue = 2.5;
    t.m_dIncrement = 0.5;
    t.m_bClosed = 1;
    return t;
}

inline trv::TestDataType SingleTest(uint16_t id, int lactateTenths) {
    trv::TestDataType t;
    t.m_Steps.push_back(Reading(id, lactateTenths));
    t.m_bClosed = 1;
    return t;
}

// 0 step test ID 42 (5 steps), 1 step test ID 100 (5), 2 step test ID 200 (4), 3 single 251,
// 4 single 252, 5 single 500; nothing shown.
inline trv::CTRVDoc SampleDoc() {
    trv::CTRVDoc doc;
    doc.m_Tests = {StepTest(42, 5),     StepTest(100, 5),    StepTest(200, 4),
                   SingleTest(251, 12), SingleTest(252, 80), SingleTest(500, 9)};
    return doc;
}

// What the document's file would hold.
inline std::vector<uint8_t> Bytes(const trv::CTRVDoc& doc) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(trv::WriteTrv(doc, bytes).message, "");
    return bytes;
}

// The analyser's 3500 memory bytes holding `readings` in consecutive slots.
inline std::array<uint8_t, trv::proto::kMemoryBytes> Memory(const std::vector<trv::PCMDataType>& readings) {
    std::array<uint8_t, trv::proto::kMemoryBytes> mem{};
    for (size_t i = 0; i < readings.size(); ++i) trv::EncodeSlot(readings[i], mem.data() + i * trv::proto::kSlotBytes);
    return mem;
}

}  // namespace wstest
