#include "data/DocLock.h"

#include "data/SafeFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace trv {

namespace {

constexpr size_t kMaxLockBytes = 4096;  // a lock line is short; anything longer is not a lock of ours
constexpr int kMaxAttempts = 8;         // stale takeovers racing with other writers

std::string DirOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A field of the lock line may hold no comma and no line end.
std::string Clean(std::string s) {
    for (char& c : s)
        if (c == ',' || c == '\n' || c == '\r') c = '_';
    return s;
}

std::string UserName() {
    std::vector<char> buf(16384);
    passwd pw{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name)
        return found->pw_name;
    for (const char* var : {"USER", "LOGNAME"})
        if (const char* v = std::getenv(var); v && *v) return v;
    return std::to_string(::geteuid());
}

std::string HostName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return "localhost";
    return buf;
}

std::string NowText() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &tm);
    return buf;
}

// The whole lock file; false when it does not exist (errno ENOENT) or cannot be read.
bool ReadLockFile(const std::string& lockPath, std::string& text, int& err) {
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        err = errno;
        return false;
    }
    text.clear();
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text.append(buf, static_cast<size_t>(n));
        if (text.size() > kMaxLockBytes) break;
    }
    ::close(fd);
    return true;
}

LockHolder ParseLine(const std::string& text) {
    LockHolder h;
    const std::string line = text.substr(0, text.find_first_of("\r\n"));
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (fields.size() < 4 || fields[0].empty() || fields[1].empty()) return h;
    const std::string& pid = fields[2];
    if (pid.empty() || pid.size() > 10 || pid.find_first_not_of("0123456789") != std::string::npos) return h;
    h.user = fields[0];
    h.host = fields[1];
    h.pid = std::stol(pid);
    h.time = fields[3];
    h.known = h.pid > 0;
    return h;
}

// Creates the lock file with `line` exclusively. 0, EEXIST or another errno.
int CreateExclusive(const std::string& lockPath, const std::string& line) {
    const int fd = ::open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return errno;
    const std::string text = line + "\n";
    size_t done = 0;
    int err = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (!err && ::fsync(fd) != 0 && errno != EINVAL) err = errno;
    ::close(fd);
    if (err) ::unlink(lockPath.c_str());
    return err;
}

// Moves the lock file that was read as `seen` out of the way. Renaming is atomic: of two processes
// that both found the same stale lock only one moves it; should the file moved be another's fresh
// lock (written between our reading and our rename), it is put back.
bool RemoveIfStill(const std::string& lockPath, const std::string& seen) {
    const std::string aside = lockPath + ".stale-" + std::to_string(::getpid());
    if (::rename(lockPath.c_str(), aside.c_str()) != 0) return false;
    std::string moved;
    int err = 0;
    if (ReadLockFile(aside, moved, err) && moved == seen) {
        ::unlink(aside.c_str());
        return true;
    }
    // Not the lock we judged: give it back (link fails when yet another lock appeared meanwhile).
    ::link(aside.c_str(), lockPath.c_str());
    ::unlink(aside.c_str());
    return false;
}

CDocLock::Result ErrorResult(const std::string& lockPath, int err) {
    CDocLock::Result r;
    r.status = CDocLock::Status::Error;
    r.error = FmtId(IDS_LOCK_CANNOT_CREATE, lockPath.c_str(), FileErrorText(err).c_str());
    return r;
}

}  // namespace

std::string LockHolder::Message() const {
    if (!known) return LoadStr(IDS_LOCK_HELD_UNKNOWN);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    std::string since = time;
    if (std::sscanf(time.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &y, &mo, &d, &h, &mi, &s) == 6)
        since = Fmt("%02d.%02d.%04d %02d:%02d", d, mo, y, h, mi);
    return FmtId(IDS_LOCK_HELD, user.c_str(), host.c_str(), since.c_str());
}

std::string CDocLock::Result::Message() const {
    switch (status) {
        case Status::Taken:
            return {};
        case Status::HeldByOther:
            return holder.Message();
        case Status::Error:
            break;
    }
    return error;
}

CDocLock::~CDocLock() { Release(); }

CDocLock::CDocLock(CDocLock&& other) noexcept
    : m_docPath(std::exchange(other.m_docPath, {})),
      m_line(std::exchange(other.m_line, {})),
      m_device(other.m_device),
      m_inode(other.m_inode) {}

CDocLock& CDocLock::operator=(CDocLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_docPath = std::exchange(other.m_docPath, {});
        m_line = std::exchange(other.m_line, {});
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

std::string CDocLock::LockPath(const std::string& docPath) {
    return DirOf(docPath) + ".~lock." + BaseOf(docPath) + "#";
}

std::string CDocLock::OwnLine() {
    return Clean(UserName()) + "," + Clean(HostName()) + "," + std::to_string(::getpid()) + "," + NowText();
}

bool CDocLock::ReadHolder(const std::string& docPath, LockHolder& holder) {
    holder = {};
    std::string text;
    int err = 0;
    if (!ReadLockFile(LockPath(docPath), text, err)) return err != ENOENT;  // unreadable: held, unknown
    holder = ParseLine(text);
    return true;
}

bool CDocLock::IsStale(const LockHolder& holder) {
    if (!holder.known || holder.host != HostName()) return false;
    if (holder.pid <= 0) return false;
    return ::kill(static_cast<pid_t>(holder.pid), 0) != 0 && errno == ESRCH;
}

CDocLock::Result CDocLock::Acquire(const std::string& docPath) {
    Release();
    const std::string lockPath = LockPath(docPath);
    const std::string line = OwnLine();
    Result r;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const int err = CreateExclusive(lockPath, line);
        if (err == 0) {
            Hold(docPath, line);
            r.status = Status::Taken;
            return r;
        }
        if (err != EEXIST) return ErrorResult(lockPath, err);
        std::string text;
        int readErr = 0;
        if (!ReadLockFile(lockPath, text, readErr)) {
            if (readErr == ENOENT) continue;  // released between our attempt and the reading
            r.status = Status::HeldByOther;   // there, but unreadable
            return r;
        }
        r.holder = ParseLine(text);
        if (!IsStale(r.holder)) {
            r.status = Status::HeldByOther;
            return r;
        }
        RemoveIfStill(lockPath, text);  // then try again; whoever wins the next create holds it
    }
    r.status = Status::HeldByOther;
    return r;
}

CDocLock::Result CDocLock::TakeOver(const std::string& docPath) {
    Result r = Acquire(docPath);
    if (r.status != Status::HeldByOther) return r;
    const std::string lockPath = LockPath(docPath);
    const std::string line = OwnLine();
    // Replace the other's lock file by ours in one step: write beside it, then rename over it.
    const std::string temp = lockPath + ".new-" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (const int err = CreateExclusive(temp, line); err != 0) return ErrorResult(lockPath, err);
    if (::rename(temp.c_str(), lockPath.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorResult(lockPath, err);
    }
    Hold(docPath, line);
    Result taken;
    taken.status = Status::Taken;
    taken.holder = r.holder;  // whom we took it from
    return taken;
}

void CDocLock::Hold(const std::string& docPath, const std::string& line) {
    m_docPath = docPath;
    m_line = line;
    struct stat st {};
    if (::lstat(LockPath(docPath).c_str(), &st) == 0) {
        m_device = st.st_dev;
        m_inode = st.st_ino;
    }
}

void CDocLock::Release() {
    if (m_docPath.empty()) return;
    const std::string lockPath = LockPath(m_docPath);
    std::string text;
    int err = 0;
    struct stat st {};
    if (ReadLockFile(lockPath, text, err) && text.substr(0, text.find_first_of("\r\n")) == m_line &&
        ::lstat(lockPath.c_str(), &st) == 0 && st.st_dev == m_device && st.st_ino == m_inode)
        ::unlink(lockPath.c_str());
    m_docPath.clear();
    m_line.clear();
}

}  // namespace trv
