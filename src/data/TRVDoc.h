#pragma once
// One open document: the tests of a file, the athlete and the identity of the analyser.
#include "data/FileIdentity.h"
#include "data/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// What the command "Neu mit ausgewählten Tests" hands to the document it creates.
struct TransferSlot {
    bool m_bNewFromSelection = false;
    std::vector<TestDataType> m_TransferTests;
    std::string m_strTransferDeviceId;
    double m_dTransferFirmware = 0.0;
    UserDataType m_TransferUser;  // the athlete of the source document
};

class CTRVDoc {
public:
    CTRVDoc() = default;

    int m_nVersion = 5;
    std::vector<TestDataType> m_Tests;
    std::vector<PCMDataType> m_Downloaded;
    UserDataType m_UserData;
    std::string m_strDeviceId;
    double m_dFirmware = 0.0;
    bool m_bDeviceBound = false;
    bool m_bStepTestMode = true;
    // IDs of analyser readings the user deleted. The analyser still holds them in its ring memory,
    // and the merge would otherwise bring them back with the next download. Kept for the life of
    // the open document only: the file layout has no room for them.
    std::vector<uint16_t> m_DeletedIds;
    bool IsDeletedId(uint16_t id) const;
    // The file as it was read or last written (not present for a document never read or saved):
    // a save compares it with the file on disk to notice changes made by others.
    FileIdentity m_DiskIdentity;

    int GetTestCount() const { return static_cast<int>(m_Tests.size()); }
    TestDataType& GetTest(int i) { return m_Tests.at(static_cast<size_t>(i)); }
    const TestDataType& GetTest(int i) const { return m_Tests.at(static_cast<size_t>(i)); }
    bool IsValidTest(int i) const { return i >= 0 && i < GetTestCount(); }
    int CountShownTests() const;
    // Readings of every test together.
    int CountReadings() const;

    // Ascending by measurement ID (downloaded records) and by the ID of each test's first
    // measurement (tests). Equal keys keep their order.
    void SortDownloaded();
    void SortTests();

    // Takes the records of the analyser's memory slots (in slot order, empty slots included),
    // rebuilds m_Downloaded and adds the new measurements and tests to m_Tests. Always succeeds.
    bool MergeDeviceMemory(const std::vector<PCMDataType>& slots);

    // Back to the state of a new, empty document; with the selection flag set, takes the slot's tests,
    // athlete, device ID and firmware version (the document stays unbound).
    void OnNewDocument(const TransferSlot* slot = nullptr);

    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    bool IsModified() const { return m_bModified; }

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }

private:
    bool m_bModified = false;
    std::string m_strPathName;
};

// Fills the transfer slot with full copies of the tests `testIndices` (any order, duplicates and
// invalid indices ignored) in document order, the athlete, and the document's device ID and
// firmware version.
void FillTransferSlot(const CTRVDoc& doc, const std::vector<int>& testIndices, TransferSlot& slot);

// The test index shown in row `row` of a list of `rowCount` tests, newest first, and back.
inline int TestIndexOfRow(int row, int rowCount) { return rowCount - row - 1; }
inline int RowOfTestIndex(int index, int rowCount) { return rowCount - index - 1; }

// Sorted, unique, valid test indices.
std::vector<int> NormalizedTestIndices(const CTRVDoc& doc, std::vector<int> indices);

}  // namespace trv
