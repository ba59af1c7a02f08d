// trv-cli print: the commands that draw need Qt, which costs every other command ~25 ms to load.
// They run in the helper program trv-cli-print (built with the desktop program; beside trv-cli in
// the build, in ../libexec/trv when installed),
// which takes over this process with the same arguments: output, error lines and exit code are its.
#include "Cli.h"
#include "res/Strings.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace trv::cli {

namespace {

// The helper beside this program or where it is installed; "" when there is none.
std::string HelperPath(const char* name) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n <= 0) return {};
    std::string dir(self, static_cast<size_t>(n));
    dir.erase(dir.find_last_of('/') + 1);
    for (const std::string& path : {dir + name, dir + "../libexec/trv/" + name})
        if (access(path.c_str(), X_OK) == 0) return path;
    return {};
}

}  // namespace

bool HasDrawingHelper() { return !HelperPath("trv-cli-print").empty(); }

int RunDrawingHelper(int argc, char** argv) {
    const std::string helper = HelperPath("trv-cli-print");
    // A build without the desktop program (TRV_BUILD_GUI=OFF) has no Qt, and so no helper.
    if (helper.empty()) return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT));
    // The helper speaks the language this program chose (the option is no longer among the arguments).
    setenv("TRV_LANG", LangCode(CurrentLang()), 1);
    std::vector<char*> args;
    args.push_back(const_cast<char*>(helper.c_str()));
    for (int i = 0; i < argc; ++i) args.push_back(argv[i]);  // argv[0] is the command word
    args.push_back(nullptr);
    execv(helper.c_str(), args.data());
    return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT));
}

int CmdPrint(int argc, char** argv) { return RunDrawingHelper(argc, argv); }

}  // namespace trv::cli
