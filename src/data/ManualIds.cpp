#include "data/ManualIds.h"

#include "data/TRVDoc.h"

#include <algorithm>

namespace trv {

bool IsManualTest(const CTRVDoc& doc, int testIndex) {
    if (!doc.IsValidTest(testIndex)) return false;
    const TestDataType& t = doc.GetTest(testIndex);
    return !t.m_Steps.empty() && IsTypedTest(t);
}

int LastAnalyserTest(const CTRVDoc& doc) {
    for (int i = doc.GetTestCount() - 1; i >= 0; --i)
        if (!IsManualTest(doc, i)) return i;
    return doc.GetTestCount() - 1;
}

uint16_t FreeManualId(const CTRVDoc& doc, const std::vector<PCMDataType>& taken) {
    std::vector<bool> used(size_t{kManualIdLast} - kManualIdFirst + 1, false);
    auto mark = [&](uint16_t id) {
        if (IsManualMeasId(id)) used[id - kManualIdFirst] = true;
    };
    for (const TestDataType& t : doc.m_Tests)
        for (const PCMDataType& m : t.m_Steps) mark(m.m_nMeasId);
    for (const PCMDataType& m : taken) mark(m.m_nMeasId);
    for (size_t i = used.size(); i-- > 0;)
        if (!used[i]) return static_cast<uint16_t>(kManualIdFirst + i);
    return 0;
}

std::vector<uint16_t> AllocateManualIds(const CTRVDoc& doc, size_t count) {
    constexpr size_t kBlock = size_t{kManualIdLast} - kManualIdFirst + 1;
    std::vector<bool> used(kBlock, false);
    int highest = -1;
    for (const TestDataType& t : doc.m_Tests)
        for (const PCMDataType& m : t.m_Steps)
            if (IsManualMeasId(m.m_nMeasId)) {
                const int slot = m.m_nMeasId - kManualIdFirst;
                used[static_cast<size_t>(slot)] = true;
                highest = std::max(highest, slot);
            }
    std::vector<uint16_t> ids;
    if (count == 0) return ids;
    // Above the highest ID in use, while there is room for the whole test.
    if (static_cast<size_t>(highest + 1) + count <= kBlock) {
        for (size_t i = 0; i < count; ++i) ids.push_back(static_cast<uint16_t>(kManualIdFirst + highest + 1 + i));
        return ids;
    }
    for (size_t slot = 0; slot < kBlock && ids.size() < count; ++slot)
        if (!used[slot]) ids.push_back(static_cast<uint16_t>(kManualIdFirst + slot));
    if (ids.size() < count) ids.clear();
    return ids;
}

}  // namespace trv
