#pragma once
// What a file was when a window or a command read or last wrote it: size, modification time and
// identity (device and inode). A save compares it with the file as it is now, so that a change by
// another program is noticed before it would be overwritten.
#include <cstdint>
#include <string>

namespace trv {

struct FileIdentity {
    bool exists = false;
    uint64_t size = 0;
    int64_t mtimeNs = 0;  // modification time, nanoseconds since 1970
    uint64_t device = 0;
    uint64_t inode = 0;

    // The file `path` now (symbolic links followed, as a save writes through them).
    static FileIdentity Of(const std::string& path);

    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && size == o.size && mtimeNs == o.mtimeNs && device == o.device && inode == o.inode;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// Whether the file at `path` is write-protected for this process (no write permission in the mode
// bits that apply to it; the superuser counts as write-protected only when no write bit is set).
bool IsWriteProtected(const std::string& path);

}  // namespace trv
