#pragma once
// Reading a written PDF back with poppler's command-line tools.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace trvtest {

inline std::string RunShell(const std::string& cmd, int* status = nullptr) {
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = ::pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

inline bool HavePoppler() {
    int status = -1;
    RunShell("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1", &status);
    return status == 0;
}

// `raw` with runs of blanks and line breaks made single blanks.
inline std::string Words(const std::string& raw) {
    std::string out;
    for (char c : raw) {
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\f';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    return out;
}

// The words of a page (only within `crop`, pdftotext's -x -y -W -H options, when given); page 0: all pages.
inline std::string PageText(const std::filesystem::path& pdf, int page, const std::string& crop = "") {
    const std::string pages = page > 0 ? "-f " + std::to_string(page) + " -l " + std::to_string(page) + " " : "";
    return Words(RunShell("pdftotext -layout " + pages + crop + " '" + pdf.string() + "' - 2>/dev/null"));
}

inline int PageCount(const std::filesystem::path& pdf) {
    const std::string info = RunShell("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

}  // namespace trvtest

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << "missing: " << (part)
