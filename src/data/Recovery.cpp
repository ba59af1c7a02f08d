#include "data/Recovery.h"

#include "data/SafeFile.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace trv {

namespace {

std::string HostName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return "localhost";
    return buf;
}

// Creates the folder and its parents; the last one private.
bool MakeDirs(const std::string& dir, int& err) {
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/') continue;
        const std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), pos == dir.size() ? 0700 : 0755) != 0 && errno != EEXIST) {
            err = errno;
            return false;
        }
    }
    return true;
}

// Writes a private file (0600) safely: temporary, synced, renamed.
bool WritePrivate(const std::string& path, const std::string& bytes, int& err) {
    const std::string tmp = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        err = errno;
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    ::fchmod(fd, 0600);  // whatever the umask
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(tmp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

// Values are one line: a backslash and a line end are escaped.
std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[i + 1] == 'n' ? '\n' : s[i + 1];
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool ParseInfo(const std::string& text, RecoveryEntry& e) {
    std::istringstream in(text);
    std::string line;
    bool havePid = false;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const std::string value = Unescape(line.substr(eq + 1));
        const auto num = [&] { return std::strtoll(value.c_str(), nullptr, 10); };
        if (name == "path")
            e.docPath = value;
        else if (name == "title")
            e.title = value;
        else if (name == "written")
            e.written = static_cast<std::time_t>(num());
        else if (name == "pid")
            e.pid = static_cast<long>(num()), havePid = true;
        else if (name == "host")
            e.host = value;
        else if (name == "exists")
            e.diskIdentity.exists = num() != 0;
        else if (name == "size")
            e.diskIdentity.size = static_cast<uint64_t>(num());
        else if (name == "mtime")
            e.diskIdentity.mtimeNs = num();
        else if (name == "device")
            e.diskIdentity.device = static_cast<uint64_t>(std::strtoull(value.c_str(), nullptr, 10));
        else if (name == "inode")
            e.diskIdentity.inode = static_cast<uint64_t>(std::strtoull(value.c_str(), nullptr, 10));
    }
    return havePid;
}

bool Alive(const RecoveryEntry& e) {
    if (e.host != HostName()) return false;  // another workstation's copy in a shared home: offered
    if (e.pid <= 0) return false;
    return ::kill(static_cast<pid_t>(e.pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

CRecoveryStore::CRecoveryStore(std::string dir) : m_dir(dir.empty() ? DefaultDir() : std::move(dir)) {}

std::string CRecoveryStore::DefaultDir() {
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x == '/') return std::string(x) + "/trv/recovery";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/trv/recovery";
}

std::string CRecoveryStore::NewKey() {
    static std::atomic<int> serial{0};
    return std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr)) + "-" + std::to_string(++serial);
}

Result CRecoveryStore::Write(const std::string& key, const CTRVDoc& doc, const std::string& title) const {
    std::vector<uint8_t> bytes;
    if (Result written = WriteTrv(doc, bytes); !written) return written;
    int err = 0;
    if (!MakeDirs(m_dir, err)) return Result::Fail(FileErrorText(err));
    const FileIdentity& id = doc.m_DiskIdentity;
    std::ostringstream info;
    info << "path=" << Escape(doc.GetPathName()) << "\ntitle=" << Escape(title) << "\nwritten=" << std::time(nullptr)
         << "\npid=" << ::getpid() << "\nhost=" << Escape(HostName()) << "\nexists=" << (id.exists ? 1 : 0)
         << "\nsize=" << id.size << "\nmtime=" << id.mtimeNs << "\ndevice=" << id.device << "\ninode=" << id.inode
         << "\n";
    // The document first: an info file always has its document beside it.
    if (!WritePrivate(m_dir + "/" + key + ".trv", std::string(bytes.begin(), bytes.end()), err) ||
        !WritePrivate(m_dir + "/" + key + ".info", info.str(), err))
        return Result::Fail(FileErrorText(err));
    return Result::Ok();
}

void CRecoveryStore::Remove(const std::string& key) const {
    if (key.empty()) return;
    ::unlink((m_dir + "/" + key + ".info").c_str());
    ::unlink((m_dir + "/" + key + ".trv").c_str());
}

std::vector<RecoveryEntry> CRecoveryStore::List(bool includeLive) const {
    std::vector<RecoveryEntry> out;
    DIR* d = ::opendir(m_dir.c_str());
    if (!d) return out;
    while (const dirent* de = ::readdir(d)) {
        const std::string name = de->d_name;
        constexpr char kInfo[] = ".info";
        if (name.size() <= 5 || name.compare(name.size() - 5, 5, kInfo) != 0) continue;
        RecoveryEntry e;
        e.key = name.substr(0, name.size() - 5);
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(m_dir + "/" + name, bytes)) continue;
        if (!ParseInfo(std::string(bytes.begin(), bytes.end()), e)) continue;
        struct stat st {};
        if (::stat((m_dir + "/" + e.key + ".trv").c_str(), &st) != 0) continue;
        if (!includeLive && Alive(e)) continue;
        out.push_back(std::move(e));
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(), [](const RecoveryEntry& a, const RecoveryEntry& b) {
        return a.written != b.written ? a.written < b.written : a.key < b.key;
    });
    return out;
}

Result CRecoveryStore::Restore(const RecoveryEntry& entry, CTRVDoc& doc) const {
    std::vector<uint8_t> bytes;
    if (Result read = ReadWholeFile(m_dir + "/" + entry.key + ".trv", bytes); !read) return read;
    CTRVDoc tmp;
    if (Result read = ReadTrv(bytes, tmp); !read) return read;
    tmp.SetPathName(entry.docPath);
    tmp.m_DiskIdentity = entry.diskIdentity;
    tmp.SetModifiedFlag(true);
    doc = std::move(tmp);
    return Result::Ok();
}

std::string RecoveryTimeText(std::time_t t) {
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return Fmt("%02d.%02d.%04d %02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min);
}

}  // namespace trv
