#include "TRVDoc.h"

#include <algorithm>

namespace trv {

int CTRVDoc::CountShownTests() const {
    return static_cast<int>(
        std::count_if(m_Tests.begin(), m_Tests.end(), [](const TestDataType& t) { return t.m_bShowInChart != 0; }));
}

// A merge sort: O(n log n) in every case and no recursion as deep as the list, which matters
// because the lists are already sorted after every download.
void CTRVDoc::SortDownloaded() {
    std::stable_sort(m_Downloaded.begin(), m_Downloaded.end(),
                     [](const PCMDataType& a, const PCMDataType& b) { return a.m_nMeasId < b.m_nMeasId; });
}

void CTRVDoc::SortTests() {
    auto key = [](const TestDataType& t) -> int { return t.m_Steps.empty() ? 0 : t.m_Steps.front().m_nMeasId; };
    std::stable_sort(m_Tests.begin(), m_Tests.end(),
                     [&](const TestDataType& a, const TestDataType& b) { return key(a) < key(b); });
}

void CTRVDoc::OnNewDocument(const TransferSlot* slot) {
    m_nVersion = 5;
    m_Tests.clear();
    m_Downloaded.clear();
    m_UserData = UserDataType{};
    m_strDeviceId.clear();
    m_dFirmware = 0.0;
    m_bDeviceBound = false;
    m_bStepTestMode = true;
    m_bModified = false;
    m_strPathName.clear();
    if (slot && slot->m_bNewFromSelection) {
        m_Tests = slot->m_TransferTests;
        m_strDeviceId = slot->m_strTransferDeviceId;
        m_dFirmware = slot->m_dTransferFirmware;
    }
}

std::vector<int> NormalizedTestIndices(const CTRVDoc& doc, std::vector<int> indices) {
    std::erase_if(indices, [&](int i) { return !doc.IsValidTest(i); });
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

void FillTransferSlot(const CTRVDoc& doc, const std::vector<int>& testIndices, TransferSlot& slot) {
    slot.m_TransferTests.clear();
    for (int i : NormalizedTestIndices(doc, testIndices)) slot.m_TransferTests.push_back(doc.GetTest(i));
    slot.m_strTransferDeviceId = doc.m_strDeviceId;
    slot.m_dTransferFirmware = doc.m_dFirmware;
}

}  // namespace trv
