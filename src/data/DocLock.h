#pragma once
// The lock of a document that a window or a writing command holds, so that two writers (windows,
// trv-cli processes, workstations sharing a network folder) never overwrite each other's work.
//
// The lock is a file beside the document, ".~lock.NAME#" (NAME = the document's file name), holding
// one line "USER,HOST,PID,YYYY-MM-DDTHH:MM:SS": the login name, the host name as gethostname gives
// it, the process ID and the local time it was taken. Readers ignore fields after the fourth. It is
// created exclusively (O_CREAT|O_EXCL, which network file systems honour) and removed on release.
// A lock of this host whose process is gone is stale and taken over silently; a lock file that
// cannot be read or parsed counts as held by someone unknown.
#include <string>

namespace trv {

// Who holds a lock, as its file says.
struct LockHolder {
    bool known = false;  // false: the lock file exists but could not be read or understood
    std::string user;
    std::string host;
    long pid = 0;
    std::string time;  // "YYYY-MM-DDTHH:MM:SS", local time of the holder

    // "Die Datei wird bereits von USER auf HOST bearbeitet (seit DD.MM.YYYY HH:MM)." or the text
    // for an unknown holder.
    std::string Message() const;
};

class CDocLock {
public:
    enum class Status {
        Taken,        // this object now holds the lock
        HeldByOther,  // another window, process or workstation holds it: see `holder`
        Error,        // the lock file could not be created (read-only folder, ...): see `error`
    };
    struct Result {
        Status status = Status::Error;
        LockHolder holder;  // HeldByOther
        std::string error;  // Error: a German reason
        bool Taken() const { return status == Status::Taken; }
        // The German text for the user: the holder's message or the error.
        std::string Message() const;
    };

    CDocLock() = default;
    ~CDocLock();  // releases
    CDocLock(const CDocLock&) = delete;
    CDocLock& operator=(const CDocLock&) = delete;
    CDocLock(CDocLock&& other) noexcept;
    CDocLock& operator=(CDocLock&& other) noexcept;

    // Takes the lock of the document `docPath` (which need not exist yet). A stale lock (this host,
    // its process gone) is taken over. Holding a lock already, this releases it first.
    Result Acquire(const std::string& docPath);
    // Takes the lock even when another holds it ("Trotzdem bearbeiten"): its file is replaced by
    // ours. The other holder's release then leaves our lock alone.
    Result TakeOver(const std::string& docPath);
    // Removes the lock file, but only while it is still the one this object wrote.
    void Release();

    bool Held() const { return !m_docPath.empty(); }
    const std::string& DocPath() const { return m_docPath; }

    // ".~lock.NAME#" in the document's folder.
    static std::string LockPath(const std::string& docPath);
    // Whether a lock file exists for `docPath`, and who holds it (holder.known false when unreadable).
    static bool ReadHolder(const std::string& docPath, LockHolder& holder);
    // Whether a holder is this host and its process no longer runs.
    static bool IsStale(const LockHolder& holder);
    // The line this process writes into a lock file (without the line end).
    static std::string OwnLine();

private:
    void Hold(const std::string& docPath, const std::string& line);

    std::string m_docPath;
    std::string m_line;  // what we wrote, to recognise our own lock on release
    // The lock file's identity: two windows of one process taking turns write the same line.
    unsigned long long m_device = 0, m_inode = 0;
};

}  // namespace trv
