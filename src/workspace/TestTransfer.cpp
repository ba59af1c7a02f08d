#include "workspace/TestTransfer.h"

#include "data/AssignedTests.h"
#include "data/ManualIds.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "res/Strings.h"
#include "workspace/TestLabel.h"

#include <cstring>
#include <map>

namespace trv {

namespace {

constexpr char kMagic[8] = {'T', 'R', 'V', 'T', 'E', 'S', 'T', '1'};
// A clipboard holds a handful of tests; far more than any document has is not ours.
constexpr uint32_t kMaxTests = 100000;

void PutU32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetU32(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + static_cast<size_t>(i)]) << (8 * i);
    return v;
}

std::string CountText(int count) {
    return count == 1 ? std::string(LoadStr(IDS_COUNT_ONE_TEST)) : FmtId(IDS_COUNT_TESTS, count);
}

}  // namespace

Result WriteTransferTests(const CTRVDoc& doc, const CTestAnalyses& analyses, const std::vector<int>& indices,
                          std::vector<uint8_t>& bytes) {
    CTRVDoc carrier;  // only the tests: no athlete, no analyser leaves the document
    std::vector<AnalysisChoice> choices;
    for (int i : NormalizedTestIndices(doc, indices)) {
        carrier.m_Tests.push_back(doc.GetTest(i));
        const TestAnalysis& an = analyses.Of(doc.GetTest(i));
        choices.push_back({an.m_nFitFunction, an.m_nThresholdModel});
    }
    std::vector<uint8_t> file;
    if (Result written = WriteTrv(carrier, file); !written) return written;
    bytes.assign(kMagic, kMagic + sizeof kMagic);
    PutU32(bytes, static_cast<uint32_t>(choices.size()));
    for (const AnalysisChoice& c : choices) {
        PutU32(bytes, static_cast<uint32_t>(c.fit));
        PutU32(bytes, static_cast<uint32_t>(c.model));
    }
    bytes.insert(bytes.end(), file.begin(), file.end());
    return Result::Ok();
}

Result ReadTransferTests(const std::vector<uint8_t>& bytes, std::vector<TransferTest>& tests) {
    const Result notTests = Result::Fail(LoadStr(IDS_CLIP_NOT_TESTS));
    if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return notTests;
    const uint32_t n = GetU32(bytes, sizeof kMagic);
    const size_t fileAt = sizeof kMagic + 4 + static_cast<size_t>(n) * 8;
    if (n > kMaxTests || bytes.size() < fileAt) return notTests;
    CTRVDoc carrier;
    const std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(fileAt), bytes.end());
    if (!ReadTrv(file, carrier) || carrier.m_Tests.size() != n) return notTests;
    tests.clear();
    for (uint32_t i = 0; i < n; ++i) {
        const size_t at = sizeof kMagic + 4 + static_cast<size_t>(i) * 8;
        const AnalysisChoice c =
            ValidChoice(static_cast<int32_t>(GetU32(bytes, at)), static_cast<int32_t>(GetU32(bytes, at + 4)));
        tests.push_back({std::move(carrier.m_Tests[i]), c});
    }
    return Result::Ok();
}

PastePlan PlanPaste(const CTRVDoc& doc, const std::vector<TransferTest>& tests) {
    struct Held {
        const PCMDataType* reading;
        const TestDataType* test;
    };
    std::map<uint16_t, Held> held;
    for (const TestDataType& t : doc.m_Tests)
        for (const PCMDataType& m : t.m_Steps) held.emplace(m.m_nMeasId, Held{&m, &t});

    PastePlan plan;
    for (const TransferTest& in : tests) {
        if (in.test.m_Steps.empty()) continue;
        TransferTest out{in.test, in.choice};
        out.test.m_Steps.clear();
        bool manual = IsTypedTest(in.test);
        std::string refusal;
        for (const PCMDataType& m : in.test.m_Steps) {
            manual = manual || IsManualMeasId(m.m_nMeasId);
            const auto it = held.find(m.m_nMeasId);
            if (it == held.end()) {
                out.test.m_Steps.push_back(m);
                continue;
            }
            if (SameReading(*it->second.reading, m)) continue;  // held already: not taken twice
            if (refusal.empty())
                refusal = FmtId(IDS_CLIP_CONFLICT, TestLabel(in.test).c_str(), MeasIdText(in.test, m.m_nMeasId).c_str(),
                                TestLabel(*it->second.test).c_str());
        }
        if (manual) {
            // Typed readings: their IDs are the source document's own numbering; the test as a whole
            // is taken (or left out when every reading is held already) and numbered anew.
            if (out.test.m_Steps.empty() && refusal.empty()) {
                ++plan.alreadyHeld;
                continue;
            }
            out.test.m_Steps = in.test.m_Steps;
            plan.add.push_back(std::move(out));
            plan.manualIds.push_back(true);
            continue;
        }
        if (!refusal.empty()) {
            plan.refusals.push_back(refusal);
            continue;
        }
        if (out.test.m_Steps.empty()) {
            ++plan.alreadyHeld;
            continue;
        }
        plan.add.push_back(std::move(out));
        plan.manualIds.push_back(false);
    }
    return plan;
}

std::string PastedMessage(int added, int alreadyHeld) {
    std::string s = added > 0 ? FmtId(IDS_CLIP_PASTED, CountText(added).c_str()) : std::string();
    if (alreadyHeld > 0) {
        if (!s.empty()) s += ' ';
        s += FmtId(alreadyHeld == 1 ? IDS_CLIP_HELD_ONE : IDS_CLIP_HELD, CountText(alreadyHeld).c_str());
    }
    return s;
}

}  // namespace trv
