#pragma once
// Recovery copies: a window with unsaved changes keeps a copy of its document in the user's data
// folder, so that a crash (or a kill) costs nothing typed or downloaded. A clean save or close
// removes the copy; the next start offers the copies whose program is gone.
//
// A copy is two files in the folder ($XDG_DATA_HOME/trv/recovery, else ~/.local/share/trv/recovery,
// mode 0700): KEY.trv, the document in its file layout, and KEY.info, a few "name=value" lines (the
// document's path and title, when the copy was written, the writer's process and host, and the file's
// identity when the window read it). Both are written safely (temporary file, synced, renamed) with
// mode 0600: a document holds personal data.
#include "data/FileIdentity.h"
#include "data/Result.h"
#include "data/TRVDoc.h"

#include <ctime>
#include <string>
#include <vector>

namespace trv {

struct RecoveryEntry {
    std::string key;
    std::string docPath;  // the document's file; empty for a document never saved
    std::string title;    // the window's title ("TRV1" for a document never saved)
    std::time_t written = 0;
    long pid = 0;
    std::string host;
    FileIdentity diskIdentity;  // the file as the window had read or last written it
};

class CRecoveryStore {
public:
    // The folder of the copies; DefaultDir() when empty.
    explicit CRecoveryStore(std::string dir = {});
    static std::string DefaultDir();
    const std::string& Dir() const { return m_dir; }

    // A key unique to this process and window.
    static std::string NewKey();

    // Writes (or replaces) the copy `key` of `doc`. A failure says why in German.
    Result Write(const std::string& key, const CTRVDoc& doc, const std::string& title) const;
    // Removes the copy `key` (nothing when there is none).
    void Remove(const std::string& key) const;
    // The copies whose writer is gone (a process of this host that no longer runs, or any copy of
    // another host), oldest first. `includeLive` lists the copies of running programs too.
    std::vector<RecoveryEntry> List(bool includeLive = false) const;
    // Reads the copy into `doc`: its path, its identity on disk as the window had it, and modified.
    Result Restore(const RecoveryEntry& entry, CTRVDoc& doc) const;

private:
    std::string m_dir;
};

// "DD.MM.YYYY HH:MM" of a copy's time, local.
std::string RecoveryTimeText(std::time_t t);

}  // namespace trv
