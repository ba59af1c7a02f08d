#pragma once
// Measurement IDs of readings that did not come from the analyser (typed in or imported).
//
// The analyser numbers its readings with a running 16-bit ID that starts at 1, and the merge of a
// download recognises a reading it already holds by that ID alone: an analyser record whose ID is
// found anywhere in the document is skipped, and when the holding test is still open and the record
// starts a test, the records after it are appended to that test. A typed reading therefore must
// never carry an ID the analyser hands out, or a later download would drop the analyser's reading
// or continue the typed test with the analyser's steps.
//
// The design:
// - Typed and imported readings take their IDs from the top of the 16-bit range, kManualIdFirst to
//   kManualIdLast (5,536 IDs). The analyser would have to take 60,000 readings, 240 times its ring
//   memory, to reach the block; a reading of the analyser never lives there in practice.
// - The ID alone says where a reading came from: it is stored in the ordinary ID field of the file,
//   so the file keeps its layout (version 5), every reader of that layout reads it, the readings
//   survive save and reopen unchanged, and every later edit (type changes, copies into a new
//   document) keeps the mark. A document without such readings is written exactly as before.
// - The IDs of one new test are consecutive and ascending in step order, starting above the highest
//   ID in use in the block, so the newest typed test sorts last (the test list shows it on top) and its
//   steps keep their order like an analyser's. When the top is reached, the lowest free IDs of the
//   block are used. Every ID of the document is avoided, whatever its origin, so IDs stay unique.
// - Lists, the CSV export and the protocol show the readings of a marked test (below) as "manuell"
//   and give them no memory position, whatever their IDs; trv-cli's JSON gives the stored number.
// - Should an analyser ever count into the block, its readings still merge: a typed test also carries
//   a mark in its first reserved field (which every reader carries through the file unchanged), the
//   merge never takes a reading of a marked test for one of the analyser's, never continues a marked
//   test, and moves a typed reading whose ID the analyser now uses to a free ID of the block. Such
//   analyser readings keep their IDs and memory positions in every list (the mark, not the ID,
//   decides what is "manuell"); nothing is lost.
#include "data/Records.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trv {

class CTRVDoc;

constexpr uint16_t kManualIdFirst = 60000;
constexpr uint16_t kManualIdLast = 65535;

inline bool IsManualMeasId(uint16_t id) { return id >= kManualIdFirst; }

// The mark of a typed or imported test in m_nReserved1 ("TYPD").
constexpr int32_t kTypedTestMark = 0x44505954;
inline bool IsTypedTest(const TestDataType& t) { return t.m_nReserved1 == kTypedTestMark; }

// True when the test was typed in or imported (its mark; analyser readings reach IDs of 60,000 too).
bool IsManualTest(const CTRVDoc& doc, int testIndex);

// The newest test that came from the analyser (typed tests sort behind every analyser test); the last
// test when there is none; -1 for an empty document.
int LastAnalyserTest(const CTRVDoc& doc);

// A free ID of the block that none of `taken` uses either; 0 when there is none.
uint16_t FreeManualId(const CTRVDoc& doc, const std::vector<PCMDataType>& taken);

// `count` free IDs of the manual block for a new test (see above); empty when the block has not that
// many free IDs left.
std::vector<uint16_t> AllocateManualIds(const CTRVDoc& doc, size_t count);

}  // namespace trv
