#pragma once
// Whole tests between windows of the program (copy and paste): the tests with their readings, IDs,
// reading types, parameters, temperatures and fitting choice, in a private byte format, and the
// rules by which a document takes them.
//
// The bytes: the 8 characters "TRVTEST1", the number of tests n (uint32, little-endian), n pairs of
// fitting function and threshold model (int32 each), then a .trv document (layout 5) that holds the
// n tests in their order and nothing else (no athlete, no analyser).
//
// Taking tests into a document follows the rules of an assignment between documents:
// - a reading keeps its ID; a reading whose ID the document already holds with the same measured
//   content (time, lactate, status, temperature) is not taken twice, and a test all of whose readings
//   are held so is left out (pasting twice is harmless);
// - a reading of the analyser whose ID the document holds with other content refuses its test, with
//   a reason that names both tests;
// - typed or imported tests (IDs of the manual block, which every document hands out anew) take
//   free IDs of the block instead of being refused.
#include "data/Records.h"
#include "data/Result.h"
#include "data/TRVDoc.h"
#include "workspace/TestAnalyses.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

struct TransferTest {
    TestDataType test;
    AnalysisChoice choice;
};

// The MIME type under which the windows put the bytes on the clipboard.
constexpr const char* kTestsMimeType = "application/x-trv-tests";

// The tests `indices` of `doc` (document order, invalid indices ignored) as bytes. Fails when a
// reading's time cannot be written.
Result WriteTransferTests(const CTRVDoc& doc, const CTestAnalyses& analyses, const std::vector<int>& indices,
                          std::vector<uint8_t>& bytes);
// The tests of such bytes; fails (German) when they are not such bytes.
Result ReadTransferTests(const std::vector<uint8_t>& bytes, std::vector<TransferTest>& tests);

// What `doc` takes of `tests`.
struct PastePlan {
    std::vector<TransferTest> add;      // the tests to add (readings held already taken out)
    std::vector<bool> manualIds;        // per test of `add`: give it free IDs of the manual block
    int alreadyHeld = 0;                // tests left out: every reading is held already
    std::vector<std::string> refusals;  // one German line per refused test
};
PastePlan PlanPaste(const CTRVDoc& doc, const std::vector<TransferTest>& tests);

// The status line after a paste: "2 Tests eingefügt.", with the tests that were held already.
std::string PastedMessage(int added, int alreadyHeld);

}  // namespace trv
