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
     "thresholds FILE --tests LIST [--fit 0|1] [--model 0|1|2] [--zones ID] [--lt1 ID] [--lt2 ID] [--ci] [--error A,C] "
     "--json"},
    {"history", trv::cli::CmdHistory,
     "history FILE [--methods LIST] [--fit 0|1] [--model 0|1|2] [--ci] [--error A,C] --json"},
    {"zones", trv::cli::CmdZones,
     "zones FILE --test N [--zones ID] [--lt1 ID] [--lt2 ID] (--goldencheetah DIR | --intervals-json | --pdf OUT.pdf)"},
    {"library", trv::cli::CmdLibrary,
     "library DIR [--search TEXT] [--methods LIST] [--fit 0|1] [--model 0|1|2] --json"},
    {"assign", trv::cli::CmdAssign, "assign FILE --tests LIST --to TARGET.trv [--athlete \"LAST;FIRST;YYYY-MM-DD\"]"},
    {"team", trv::cli::CmdTeam,
     "team DIR [--group SUB] [--search TEXT] [--methods LIST] [--fit 0|1] [--model 0|1|2] [--before YYYY-MM-DD] "
     "(--json | --csv OUT.csv | --pdf OUT.pdf)"},
};

void PrintUsage(FILE* to) {
    std::fputs(trv::LoadStr(trv::IDS_CLI_HELP_HEAD), to);
    for (const auto& c : kCommands) std::fprintf(to, "  trv-cli %s\n", c.usage);
    std::fputs(trv::LoadStr(trv::IDS_CLI_HELP_TAIL), to);
    std::fputs(trv::LoadStr(trv::IDS_CLI_HELP_LANG), to);
}

// Takes "--lang de|en" (or "--lang=en") out of the arguments, wherever it stands, and sets the language of
// messages and printed pages: the option, else TRV_LANG, else German. False after the error line when the
// option names no language.
bool TakeLanguage(int& argc, char** argv) {
    trv::Lang lang = trv::Lang::de;
    trv::LangFromEnvironment(lang);
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::string value;
        bool isLang = false;
        if (a == "--lang") {
            isLang = true;
            if (i + 1 < argc) value = argv[++i];
        } else if (a.rfind("--lang=", 0) == 0) {
            isLang = true;
            value = a.substr(7);
        }
        if (!isLang) {
            argv[out++] = argv[i];
            continue;
        }
        if (!trv::ParseLang(value, lang)) {
            trv::SetLang(lang);
            trv::cli::Fail(trv::cli::ExitUsage, trv::FmtId(trv::IDS_CLI_BAD_LANG, value.c_str()));
            return false;
        }
    }
    argc = out;
    argv[argc] = nullptr;
    trv::SetLang(lang);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // A file-size limit must end in the German message of the failed write, not in a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!TakeLanguage(argc, argv)) return trv::cli::ExitUsage;
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
        // A PDF needs Qt: the drawing helper takes over.
        if ((word == "zones" || word == "team") && trv::cli::HasDrawingHelper())
            for (int i = 2; i < argc; ++i)
                if (std::strcmp(argv[i], "--pdf") == 0) return trv::cli::RunDrawingHelper(argc - 1, argv + 1);
        return c.run(argc - 1, argv + 1);
    }
    return trv::cli::Fail(trv::cli::ExitUsage, trv::FmtId(trv::IDS_CLI_UNKNOWN_COMMAND, word.c_str()));
}
