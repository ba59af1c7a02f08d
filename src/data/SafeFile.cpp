#include "data/SafeFile.h"

#include "res/Format.h"
#include "res/Strings.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

namespace trv {

namespace {

constexpr char kTempMark[] = ".tmp-";
constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP

std::string DirOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write to `path` must replace: symbolic links of the last name component are followed
// (an editor keeps the link and changes what it points to). A missing target is fine; it is created.
bool ResolveLinks(const std::string& path, std::string& target, int& err) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        link.resize(static_cast<size_t>(n));
        target = !link.empty() && link[0] == '/' ? link : DirOf(target) + "/" + link;
    }
    err = ELOOP;
    return false;
}

// Removes "NAME.tmp-PID" files of this target whose writer process no longer exists: a save killed
// between creating its temporary and the rename leaves one, and nothing else would ever remove it.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string dir = DirOf(target);
    const std::string prefix = BaseOf(target) + kTempMark;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue;  // its writer may still be at work
        ::unlinkat(::dirfd(d), name.c_str(), 0);
    }
    ::closedir(d);
}

// The rename is only durable once the directory entry is on disk too.
void SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // file systems that cannot sync a directory keep the rename as their own rules say
    ::close(fd);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes, int& err) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string FileErrorText(int err) {
    switch (err) {
        case ENOENT:
            return LoadStr(IDS_ERR_NO_SUCH_FILE);
        case EACCES:
        case EPERM:
            return LoadStr(IDS_ERR_ACCESS_DENIED);
        case EISDIR:
            return LoadStr(IDS_ERR_IS_FOLDER);
        case ENOSPC:
            return LoadStr(IDS_ERR_DISK_FULL);
        case EROFS:
            return LoadStr(IDS_ERR_READ_ONLY);
        case EDQUOT:
            return LoadStr(IDS_ERR_QUOTA);
        case ENAMETOOLONG:
            return LoadStr(IDS_ERR_NAME_TOO_LONG);
        case ENOTDIR:
            return LoadStr(IDS_ERR_NOT_FOLDER);
        case EFBIG:
            return LoadStr(IDS_ERR_SIZE_LIMIT);
        case ELOOP:
            return LoadStr(IDS_ERR_LINK_LOOP);
        case EIO:
            return LoadStr(IDS_ERR_IO);
        case ENXIO:
        case ENODEV:
            return LoadStr(IDS_ERR_NO_DEVICE);
        case EMLINK:
            return LoadStr(IDS_ERR_TOO_MANY_LINKS);
        case EXDEV:
            return LoadStr(IDS_ERR_CROSS_DEVICE);
        case ETXTBSY:
        case EBUSY:
            return LoadStr(IDS_ERR_BUSY);
        case EMFILE:
        case ENFILE:
            return LoadStr(IDS_ERR_TOO_MANY_OPEN);
        case ENOMEM:
            return LoadStr(IDS_ERR_NO_MEMORY);
        case EEXIST:
            return LoadStr(IDS_ERR_EXISTS);
        case ENOTEMPTY:
            return LoadStr(IDS_ERR_NOT_EMPTY);
        case EAGAIN:
        case EINTR:
            return LoadStr(IDS_ERR_INTERRUPTED);
        case ETIMEDOUT:
        case ESTALE:
            return LoadStr(IDS_ERR_NETWORK);
        case EOVERFLOW:
            return LoadStr(IDS_ERR_OVERFLOW);
        case ENOLCK:
            return LoadStr(IDS_ERR_NO_LOCK);
        case EINVAL:
        case EBADF:
        case EFAULT:
        case ENOSYS:
        case EOPNOTSUPP:
            return LoadStr(IDS_ERR_UNSUPPORTED);
        default:
            return FmtId(IDS_ERR_SYSTEM, err);
    }
}

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    // Non-blocking, so that a pipe without a writer cannot hold the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Result::Fail(FileErrorText(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Result failed = Result::Fail(FileErrorText(errno));
        ::close(fd);
        return failed;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::Fail(S_ISDIR(st.st_mode) ? FileErrorText(EISDIR) : LoadStr(IDS_ERR_NOT_REGULAR));
    }
    const auto tooLarge = [&] {
        ::close(fd);
        return Result::Fail(FmtId(IDS_ERR_TOO_LARGE, static_cast<int>(kMaxDocumentBytes >> 20)));
    };
    if (static_cast<uint64_t>(st.st_size) > kMaxDocumentBytes) return tooLarge();
    bytes.clear();
    try {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        for (;;) {
            // A file that grows while it is read is still held to the limit.
            if (done == bytes.size()) {
                if (done >= kMaxDocumentBytes + 1) break;
                bytes.resize(std::min(kMaxDocumentBytes + 1, done + 65536));
            }
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                Result failed = Result::Fail(FileErrorText(errno));
                ::close(fd);
                return failed;
            }
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
    } catch (const std::bad_alloc&) {
        bytes.clear();
        ::close(fd);
        return Result::Fail(FileErrorText(ENOMEM));
    }
    if (bytes.size() > kMaxDocumentBytes) return tooLarge();
    ::close(fd);
    return Result::Ok();
}

Result WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string target;
    int err = 0;
    if (!ResolveLinks(path, target, err)) return Result::Fail(FileErrorText(err));
    // Only a regular file is replaced: a link to a device (or a pipe) must never turn into a file.
    if (struct stat st{}; ::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return Result::Fail(S_ISDIR(st.st_mode) ? FileErrorText(EISDIR) : LoadStr(IDS_ERR_NOT_REGULAR));
    RemoveStaleTemporaries(target);
    const std::string tmp = target + kTempMark + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return Result::Fail(FileErrorText(errno));
    const auto fail = [&](int e) {
        ::unlink(tmp.c_str());
        return Result::Fail(FileErrorText(e));
    };
    if (!WriteAll(fd, bytes, err)) {
        ::close(fd);
        return fail(err);
    }
    // The new file must be on disk before it replaces the old one.
    if (::fsync(fd) != 0) {
        err = errno;
        ::close(fd);
        return fail(err);
    }
    if (::close(fd) != 0) return fail(errno);
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) ::chmod(tmp.c_str(), st.st_mode & 07777);
    if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(errno);
    SyncDirectory(DirOf(target));
    return Result::Ok();
}

}  // namespace trv
