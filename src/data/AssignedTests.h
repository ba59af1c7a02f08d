#pragma once
// Tests handed on to athletes' documents ("Tests zuordnen"), as the source document keeps them, and
// the copies the targets receive.
//
// A team's tests are downloaded into one document and then copied into each athlete's document.
// The tests stay in the source, marked "zugeordnet" in the test record's second reserved field,
// which every reader of the file layout carries through unchanged: the layout stays 5. Their
// readings stay where the download's merge looks for known IDs, so a later download into the
// source brings none of them twice.
#include "data/Records.h"

#include <cstdint>
#include <vector>

namespace trv {

class CTRVDoc;

// The mark in m_nReserved2 ("ZUGE").
constexpr int32_t kAssignedTestMark = 0x4547555A;
inline bool IsAssignedTest(const TestDataType& t) { return t.m_nReserved2 == kAssignedTestMark; }
inline void SetAssigned(TestDataType& t, bool assigned) { t.m_nReserved2 = assigned ? kAssignedTestMark : 0; }

// Whether two readings with the same ID are the same measurement: what the analyser measured
// (ID, lactate, status, time to the second, step duration, temperature) agrees. The reading's type
// (a single reading made part of a step test, pre-load or main load), loads, heart rate and the
// chart's tick are the user's and the evaluation's, and may differ.
bool SameReading(const PCMDataType& a, const PCMDataType& b);

// What a target document receives: a new test (intoTest -1, the test as it is) or further readings
// for a test it already holds (intoTest, the readings in test.m_Steps).
struct TestAddition {
    int intoTest = -1;
    TestDataType test;
    int sourceTest = -1;       // the source's test it comes from
    int fit = -1, model = -1;  // the source's fitting choice (-1: none known)
};

// Applies the additions in order: new tests are appended, further readings appended to their test.
void ApplyTestAdditions(CTRVDoc& doc, const std::vector<TestAddition>& additions);

}  // namespace trv
