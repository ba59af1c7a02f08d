// trv-cli: the headless companion of the desktop program.
#include "Cli.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command kCommands[] = {
    {"info", trv::cli::CmdInfo, "info FILE --json"},
    {"save", trv::cli::CmdSave, "save FILE -o OUT"},
    {"export", trv::cli::CmdExport, "export FILE -o OUT.csv (--tests LIST | --all)"},
    {"evaluate", trv::cli::CmdEvaluate, "evaluate FILE --tests LIST [--fit 0|1] [--model 0|1|2] --json"},
    {"search", trv::cli::CmdSearch, "search --json"},
    {"download", trv::cli::CmdDownload, "download FILE [--port PORT]"},
    {"config", trv::cli::CmdConfig, "config --port PORT [--step-test-mode on|off] [--json]"},
    {"reset", trv::cli::CmdReset, "reset --port PORT --yes"},
    {"print", trv::cli::CmdPrint, "print FILE --tests LIST -o OUT.pdf"},
    {"import", trv::cli::CmdImport,
     "import FILE IN.csv [--test-type 0|1|2] [--load-unit 0|1|2] [--date YYYY-MM-DDTHH:MM:SS]"},
    {"thresholds", trv::cli::CmdThresholds,
     "thresholds FILE --tests LIST [--fit 0|1] [--model 0|1|2] [--ci] [--error A,C] --json"},
    {"history", trv::cli::CmdHistory,
     "history FILE [--methods LIST] [--fit 0|1] [--model 0|1|2] [--ci] [--error A,C] --json"},
};

void PrintUsage(FILE* to) {
    std::fputs(trv::LoadStr(trv::IDS_CLI_HELP_HEAD), to);
    for (const auto& c : kCommands) std::fprintf(to, "  trv-cli %s\n", c.usage);
    std::fputs(trv::LoadStr(trv::IDS_CLI_HELP_TAIL), to);
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // A file-size limit must end in the German message of the failed write, not in a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        PrintUsage(stderr);
        return trv::cli::ExitUsage;
    }
    const std::string word = argv[1];
    if (word == "--help" || word == "-h" || word == "help") {
        PrintUsage(stdout);
        return trv::cli::ExitOk;
    }
    for (const auto& c : kCommands) {
        if (word != c.name) continue;
        for (int i = 2; i < argc; ++i)
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                std::printf("%s\n", trv::FmtId(trv::IDS_CLI_USAGE, c.usage).c_str());
                return trv::cli::ExitOk;
            }
        return c.run(argc - 1, argv + 1);
    }
    return trv::cli::Fail(trv::cli::ExitUsage, trv::FmtId(trv::IDS_CLI_UNKNOWN_COMMAND, word.c_str()));
}
