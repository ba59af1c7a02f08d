#include "library/LibraryFolder.h"

#include "data/SafeFile.h"
#include "library/LibraryText.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace trv {

namespace fs = std::filesystem;

Result CheckLibraryFolder(const std::string& dir) {
    struct stat st {};
    if (dir.empty() || ::stat(dir.c_str(), &st) != 0) {
        if (!dir.empty() && errno == EACCES) return Result::Fail(FmtId(IDS_LIB_ERR_UNREADABLE, dir.c_str()));
        return Result::Fail(FmtId(IDS_LIB_ERR_MISSING, dir.c_str()));
    }
    if (!S_ISDIR(st.st_mode)) return Result::Fail(FmtId(IDS_LIB_ERR_NOT_FOLDER, dir.c_str()));
    if (::access(dir.c_str(), R_OK | X_OK) != 0) return Result::Fail(FmtId(IDS_LIB_ERR_UNREADABLE, dir.c_str()));
    DIR* d = ::opendir(dir.c_str());
    if (!d) return Result::Fail(FmtId(IDS_LIB_ERR_UNREADABLE, dir.c_str()));
    ::closedir(d);
    return Result::Ok();
}

namespace {

bool EndsWithTrv(const std::string& name) {
    if (name.size() < 5) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return ext == ".trv";
}

void Walk(const std::string& root, const std::string& rel, int depth, std::vector<LibraryFile>& out) {
    if (depth > 16) return;  // a link loop or an absurd depth is not a library
    const std::string path = rel.empty() ? root : root + "/" + rel;
    DIR* d = ::opendir(path.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.empty() || name[0] == '.') continue;  // ".", "..", hidden files, lock files
        const std::string childRel = rel.empty() ? name : rel + "/" + name;
        const std::string child = root + "/" + childRel;
        struct stat st {};
        if (::stat(child.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            Walk(root, childRel, depth + 1, out);
        } else if (S_ISREG(st.st_mode) && EndsWithTrv(name)) {
            out.push_back({childRel, static_cast<int64_t>(st.st_size),
                           static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
        }
    }
    ::closedir(d);
}

}  // namespace

std::vector<LibraryFile> ListLibraryFiles(const std::string& dir) {
    std::vector<LibraryFile> out;
    Walk(dir, "", 0, out);
    std::sort(out.begin(), out.end(), [](const LibraryFile& a, const LibraryFile& b) { return a.file < b.file; });
    return out;
}

std::string GroupOf(const std::string& relativeFile) {
    const size_t slash = relativeFile.rfind('/');
    return slash == std::string::npos ? std::string() : relativeFile.substr(0, slash);
}

bool HasBirthDate(const UserDataType& user) { return user.m_BirthDate.IsValid() && user.m_BirthDate.m_dt != 0.0; }

std::string BirthDateIso(const UserDataType& user) {
    DateParts p;
    if (!HasBirthDate(user) || !user.m_BirthDate.GetParts(p)) return {};
    return Fmt("%04d-%02d-%02d", p.year, p.month, p.day);
}

bool ParseIsoDate(const std::string& text, COleDateTime& date) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
    const COleDateTime t = COleDateTime::FromParts(y, m, d, 0, 0, 0);
    DateParts back;
    if (!t.IsValid() || !t.GetParts(back) || back.day != d || back.month != m) return false;
    date = t;
    return true;
}

std::string AthleteFileName(const UserDataType& user) {
    std::string name = FileNamePart(user.m_strLastName);
    const std::string first = FileNamePart(user.m_strFirstName);
    if (name.empty()) name = "_";
    if (!first.empty()) name += "_" + first;
    const std::string birth = BirthDateIso(user);
    if (!birth.empty()) name += "_" + birth;
    // Most file systems take at most 255 bytes per name: long names are cut at a character boundary.
    constexpr size_t kMaxStem = 200;
    if (name.size() > kMaxStem) {
        size_t cut = kMaxStem;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name + ".trv";
}

std::string NewAthletePath(const std::string& dir, const std::string& group, const UserDataType& user) {
    const std::string folder = group.empty() ? dir : dir + "/" + group;
    const std::string file = AthleteFileName(user);
    const std::string stem = file.substr(0, file.size() - 4);
    for (int n = 1;; ++n) {
        const std::string candidate = folder + "/" + (n == 1 ? file : stem + " (" + std::to_string(n) + ").trv");
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0) return candidate;
    }
}

std::string CanonicalFolder(const std::string& dir) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(dir, ec), ec);
    std::string s = p.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string IndexDatabasePath(const std::string& dir) {
    std::string base;
    if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x == '/') {
        base = x;
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        base = std::string(h) + "/.cache";
    } else {
        base = "/tmp";
    }
    // FNV-1a of the folder's path: one database per library folder, a name free of its characters.
    uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : CanonicalFolder(dir)) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char name[40];
    std::snprintf(name, sizeof name, "library-%016llx.sqlite", static_cast<unsigned long long>(hash));
    return base + "/trv/" + name;
}

}  // namespace trv
