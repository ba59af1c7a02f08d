#pragma once
// The index of a library folder: what the list, the search and the team overview need of every
// document, kept in an SQLite database in the user's cache folder so that opening a library of
// thousands of documents reads only what changed.
//
// The documents stay the only truth: the index is refreshed by each file's size and modification
// time, a file that is gone leaves it, and a deleted index is rebuilt from the folder. Threshold
// values are kept per fitting choice (function, model and zone settings) and computed by the same
// code as the history of a document, only for the tests that are asked for.
#include "analysis/History.h"
#include "analysis/Zones.h"
#include "data/OleDateTime.h"
#include "data/Result.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace trv {

class CTRVDoc;

// A step test of a document as the history lists it.
struct LibraryTest {
    int index = -1;  // test index in the document
    COleDateTime date;
    int testType = 0, loadUnit = 0, steps = 0;
};

struct LibraryEntry {
    int64_t id = 0;     // row of the index
    std::string file;   // relative to the library folder
    std::string group;  // its folder ("" at the top)
    std::string error;  // why the file is not readable ("" when it is)
    std::string firstName, lastName;
    COleDateTime birthDate{0.0, COleDateTime::invalid};  // invalid when unknown
    int sex = 0;
    int tests = 0, stepTests = 0;
    COleDateTime firstTest{0.0, COleDateTime::invalid}, lastTest{0.0, COleDateTime::invalid};
    bool duplicate = false;            // another document holds the same athlete
    std::vector<LibraryTest> history;  // in history order (oldest first)
    int64_t size = 0, mtime = 0;
    std::string searchText;  // folded names, birth year and group
    // "YYYY-MM-DD" or "".
    std::string BirthIso() const;
};

// The values of one test under one choice: every method of the catalogue and the zones.
struct LibraryValues {
    struct Method {
        bool ok = false;
        std::optional<double> load, lactate, heartRate;
    };
    std::vector<Method> methods;  // catalogue order
    std::vector<ZoneResult> zones;
};

// The fitting choice the values are computed with.
struct LibraryChoice {
    int fit = 0, model = 0;
    ZoneSettings zones;
    std::string Key() const;
};

// The last step test of an athlete (before a date, when asked) with the chosen methods and their
// change against the previous test of the same test type and load unit, as the history has it.
struct LibraryLast {
    LibraryTest test;
    std::vector<HistoryValue> methods;
    std::vector<ZoneResult> zones;
};

struct RefreshStats {
    int files = 0, read = 0, removed = 0, errors = 0, computed = 0;
};

class CLibraryIndex {
public:
    CLibraryIndex();
    ~CLibraryIndex();
    CLibraryIndex(const CLibraryIndex&) = delete;
    CLibraryIndex& operator=(const CLibraryIndex&) = delete;

    // Opens the index of the library `dir` (database at `dbPath`, or IndexDatabasePath(dir)). Fails
    // with the German reason when the folder cannot serve as a library. An index database that cannot
    // be made works in memory (`IndexWarning()` says why).
    Result Open(const std::string& dir, const std::string& dbPath = {});
    const std::string& Folder() const { return m_strDir; }
    const std::string& IndexWarning() const { return m_strWarning; }

    void SetChoice(const LibraryChoice& choice);
    const LibraryChoice& Choice() const { return m_Choice; }

    // Reads what changed in the folder; `progress` (may be empty) hears (done, total) of the
    // documents read, from any thread. Fails with the German reason when the folder is no longer
    // readable.
    Result Refresh(RefreshStats* stats = nullptr, const std::function<void(int, int)>& progress = {});
    // Only the document `file` (relative), e.g. after this program saved it.
    bool RefreshFile(const std::string& file);

    // Ordered by last name, first name, birth date (case and accents not counting), then file.
    const std::vector<LibraryEntry>& Entries() const { return m_Entries; }
    const LibraryEntry* FindFile(const std::string& file) const;

    // Indices into Entries() of the documents matching every word of `text` (names, birth year,
    // group), and within `group` (and its subgroups) when given.
    std::vector<int> Search(const std::string& text, const std::string* group = nullptr) const;
    // Every group of the library, sorted (subgroups listed as "U23/Läufer").
    std::vector<std::string> Groups() const;

    // The last step test of entry `entry` (with a date before `before` when valid); none without one.
    std::optional<LibraryLast> Last(int entry, const std::vector<std::string>& methods,
                                    const COleDateTime& before = COleDateTime(0.0, COleDateTime::invalid));
    // The values of every method of test `testIndex` of entry `entry` under the current choice.
    const LibraryValues* Values(int entry, int testIndex);

    // Values computed since the index was opened (a refresh of nothing changed computes none).
    int Computed() const { return m_nComputed; }

private:
    struct Job;
    void Close();
    bool Exec(const char* sql);
    bool LoadEntries();
    void SortAndMark();
    void LoadValues();
    void ComputeMissing(const std::vector<int>& entries, const COleDateTime& before);
    std::vector<int> NeededTests(const LibraryEntry& e, const COleDateTime& before) const;
    void StoreEntry(LibraryEntry& e);
    void StoreValues(int64_t doc, int test, const LibraryValues& v);

    std::string m_strDir, m_strWarning, m_strChoiceKey;
    sqlite3* m_pDb = nullptr;
    LibraryChoice m_Choice;
    std::vector<LibraryEntry> m_Entries;
    // (doc id, test index) -> values under the current choice.
    std::map<std::pair<int64_t, int>, LibraryValues> m_Values;
    int m_nComputed = 0;
};

// Reads a document for the library into `doc`; on failure the reason shown in the list ("Datei
// beschädigt", "kein TRV-Dokument", "unbekannte Dateiversion 7", "nicht lesbar: ...").
Result ReadLibraryDocument(const std::string& path, CTRVDoc& doc);

// The values of a test as the history computes them.
LibraryValues ComputeLibraryValues(const CTRVDoc& doc, int testIndex, const LibraryChoice& choice);

}  // namespace trv
