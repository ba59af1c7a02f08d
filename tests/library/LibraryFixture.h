#pragma once
// A library folder in a temporary directory, with its index in a cache folder of its own.
#include "HistoryDocs.h"
#include "data/TrvFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace trvtest::library {

namespace fs = std::filesystem;

struct TempLibrary {
    fs::path root;
    TempLibrary() {
        char tmpl[] = "/tmp/trv-lib-XXXXXX";
        root = ::mkdtemp(tmpl);
        fs::create_directories(root / "lib");
        fs::create_directories(root / "cache");
        ::setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    }
    ~TempLibrary() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::string Dir() const { return (root / "lib").string(); }
    std::string Path(const std::string& rel) const { return (root / "lib" / rel).string(); }

    // An athlete's document: the four-test athlete of the history tests with another name.
    void Athlete(const std::string& rel, const std::string& last, const std::string& first, int y = 1990, int m = 5,
                 int d = 17) const {
        trv::CTRVDoc doc = history::Athlete();
        doc.m_UserData.m_strLastName = last;
        doc.m_UserData.m_strFirstName = first;
        doc.m_UserData.m_BirthDate = y ? trv::COleDateTime::FromParts(y, m, d, 0, 0, 0) : trv::COleDateTime(0.0);
        Save(rel, doc);
    }
    void Save(const std::string& rel, trv::CTRVDoc doc) const {
        fs::create_directories(fs::path(Path(rel)).parent_path());
        const auto r = trv::SaveDocument(doc, Path(rel));
        if (!r.ok) throw std::runtime_error(r.message);
    }
    void Raw(const std::string& rel, const std::string& bytes) const {
        fs::create_directories(fs::path(Path(rel)).parent_path());
        std::ofstream(Path(rel), std::ios::binary) << bytes;
    }
    std::string Bytes(const std::string& rel) const {
        std::ifstream f(Path(rel), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
};

}  // namespace trvtest::library
