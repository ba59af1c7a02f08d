#include "data/TRVDoc.h"

#include "data/AssignedTests.h"
#include "data/ManualIds.h"

#include <algorithm>

namespace trv {

int CTRVDoc::CountReadings() const {
    int n = 0;
    for (const TestDataType& t : m_Tests) n += static_cast<int>(t.m_Steps.size());
    return n;
}

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

bool CTRVDoc::IsDeletedId(uint16_t id) const {
    return id != 0 && std::find(m_DeletedIds.begin(), m_DeletedIds.end(), id) != m_DeletedIds.end();
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
    m_DeletedIds.clear();
    m_bModified = false;
    m_strPathName.clear();
    if (slot && slot->m_bNewFromSelection) {
        m_Tests = slot->m_TransferTests;
        m_UserData = slot->m_TransferUser;
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
    slot.m_TransferUser = doc.m_UserData;
}

// Merging the analyser's memory into the document.

bool CTRVDoc::MergeDeviceMemory(const std::vector<PCMDataType>& slots) {
    m_Downloaded.clear();
    for (const PCMDataType& m : slots)
        if (m.m_nStatus != StatusEmpty && m.m_nMeasId != 0) m_Downloaded.push_back(m);
    SortDownloaded();

    // The test that new step records are appended to; -1 when no test is open. It is the last test
    // of the document, except when a test read earlier is continued: its records go to that test.
    int open = -1;
    for (const PCMDataType& r : m_Downloaded) {
        if (IsDeletedId(r.m_nMeasId)) {
            // Deleted here: it stays away. A test it started is gone with it, so the steps that
            // follow have no test to join; a test it ended still ends with it.
            if (r.m_bFirstStep || r.m_bLastStep) open = -1;
            continue;
        }
        int holder = -1;
        for (size_t ti = 0; ti < m_Tests.size() && holder < 0; ++ti) {
            // A typed test is never the analyser's: neither a reading already here nor one to go on.
            if (IsTypedTest(m_Tests[ti])) continue;
            const auto& steps = m_Tests[ti].m_Steps;
            if (std::any_of(steps.begin(), steps.end(),
                            [&](const PCMDataType& s) { return s.m_nMeasId != 0 && s.m_nMeasId == r.m_nMeasId; }))
                holder = static_cast<int>(ti);
        }
        if (holder >= 0) {
            // A start record found again plays its part as in the download that brought it: it ends
            // whatever test was open before it, and its own test is open only when not closed.
            if (r.m_bFirstStep)
                open = !m_Tests[static_cast<size_t>(holder)].m_bClosed && r.m_nMeasType != MeasSingle ? holder : -1;
            // The end record of that test is already here: nothing more belongs to it.
            if (open == holder && r.m_bLastStep) open = -1;
            continue;
        }
        // The analyser reached the IDs of typed readings: the typed reading gives its ID up.
        for (TestDataType& t : m_Tests)
            for (PCMDataType& s : t.m_Steps)
                if (IsTypedTest(t) && s.m_nMeasId == r.m_nMeasId)
                    if (const uint16_t free = FreeManualId(*this, m_Downloaded)) s.m_nMeasId = free;
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
            // A test handed on to its athlete grew on the analyser after that: its new readings have
            // not reached the athlete, so it no longer counts as handed on.
            SetAssigned(t, false);
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
