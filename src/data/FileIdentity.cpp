#include "data/FileIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

namespace trv {

FileIdentity FileIdentity::Of(const std::string& path) {
    FileIdentity id;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return id;
    id.exists = true;
    id.size = static_cast<uint64_t>(st.st_size);
    id.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.device = static_cast<uint64_t>(st.st_dev);
    id.inode = static_cast<uint64_t>(st.st_ino);
    return id;
}

bool IsWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const uid_t uid = ::geteuid();
    if (uid == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (st.st_uid == uid) return (st.st_mode & S_IWUSR) == 0;
    bool inGroup = st.st_gid == ::getegid();
    if (!inGroup) {
        gid_t groups[256];
        const int n = ::getgroups(256, groups);
        for (int i = 0; i < n && !inGroup; ++i) inGroup = groups[i] == st.st_gid;
    }
    return (st.st_mode & (inGroup ? S_IWGRP : S_IWOTH)) == 0;
}

}  // namespace trv
