#pragma once
// Runs trv-cli as a script would and collects its exit status, stdout and stderr.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct CliRun {
    int code = -1;
    std::string out, err;
};

// Whether this build draws: trv-cli hands PDFs to trv-cli-print beside it, built only with the desktop program.
inline bool CliDraws() {
    return std::filesystem::exists(std::filesystem::path(TRV_CLI).parent_path() / "trv-cli-print");
}

inline CliRun Cli(const std::string& args) {
    static int n = 0;
    const std::filesystem::path errFile = std::filesystem::temp_directory_path() /
                                          ("trv-cli-err-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
    const std::string cmd = std::string(TRV_CLI) + " " + args + " 2>" + errFile.string();
    CliRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t k;
    while ((k = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), k);
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream e(errFile);
    r.err.assign(std::istreambuf_iterator<char>(e), {});
    std::filesystem::remove(errFile);
    return r;
}
