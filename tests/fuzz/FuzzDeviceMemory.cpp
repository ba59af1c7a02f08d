// The analyser's memory, any 3500 bytes of it, decoded and merged into a document: a second download
// of the same memory adds nothing, every reading is in the document once, and the tests stay in
// the order of their first reading.
#include "FuzzCheck.h"
#include "data/TRVDoc.h"
#include "device/DeviceProtocol.h"
#include "device/MemorySlot.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

std::vector<uint8_t> Memory(FuzzInput& in) {
    std::vector<uint8_t> mem(trv::proto::kMemoryBytes, 0);
    size_t got = 0;
    const uint8_t* p = in.Take(mem.size(), got);
    std::copy(p, p + got, mem.begin());
    return mem;
}

size_t Readings(const trv::CTRVDoc& doc) {
    size_t n = 0;
    for (const auto& t : doc.m_Tests) n += t.m_Steps.size();
    return n;
}

void CheckDocument(const trv::CTRVDoc& doc) {
    std::set<uint16_t> ids;
    for (const auto& t : doc.m_Tests) {
        FUZZ_CHECK(!t.m_Steps.empty());
        for (const auto& m : t.m_Steps) {
            FUZZ_CHECK(m.m_nMeasId != 0);
            FUZZ_CHECK(ids.insert(m.m_nMeasId).second);
        }
    }
    for (size_t i = 1; i < doc.m_Tests.size(); ++i)
        FUZZ_CHECK(doc.m_Tests[i - 1].m_Steps.front().m_nMeasId <= doc.m_Tests[i].m_Steps.front().m_nMeasId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    // One download, then perhaps a second memory (the analyser went on measuring), each twice.
    trv::CTRVDoc doc;
    while (!in.Empty()) {
        const std::vector<uint8_t> mem = Memory(in);
        const std::vector<trv::PCMDataType> slots = trv::DecodeMemory(mem.data());
        FUZZ_CHECK(slots.size() == static_cast<size_t>(trv::proto::kMemorySlots));
        doc.MergeDeviceMemory(slots);
        CheckDocument(doc);
        const size_t after = Readings(doc);
        const size_t tests = doc.m_Tests.size();
        doc.MergeDeviceMemory(slots);
        FUZZ_CHECK(Readings(doc) == after);
        FUZZ_CHECK(doc.m_Tests.size() == tests);
        // A slot in use encodes back to the bytes it came from, once its date parts are valid.
        for (int s = 0; s < trv::proto::kMemorySlots; ++s) {
            uint8_t again[trv::proto::kSlotBytes];
            trv::EncodeSlot(slots[static_cast<size_t>(s)], again);
            trv::PCMDataType twice;
            trv::DecodeSlot(again, twice);
            FUZZ_CHECK(twice.m_nMeasId == slots[static_cast<size_t>(s)].m_nMeasId);
            FUZZ_CHECK(twice.m_nLactate == slots[static_cast<size_t>(s)].m_nLactate);
        }
    }
    return 0;
}
