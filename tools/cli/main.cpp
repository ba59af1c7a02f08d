// trv-cli: the headless companion of the desktop program.
#include "Cli.h"

#include <clocale>
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
};

void PrintUsage(FILE* to) {
    std::fprintf(to, "Aufruf: trv-cli BEFEHL [ARGUMENTE] [OPTIONEN]\n\nBefehle:\n");
    for (const auto& c : kCommands) std::fprintf(to, "  trv-cli %s\n", c.usage);
    std::fprintf(to,
                 "\nPortnamen: COMn (n = 1..100) oder ein Gerätepfad. Ist TRV_PORT_DIR gesetzt, ist COMn der "
                 "Eintrag COMn in diesem Verzeichnis.\n"
                 "Exit-Status: 0 Erfolg, 1 Aufruffehler, 2 Dateifehler, 3 kein Analysegerät, 4 andere Geräte-ID,\n"
                 "5 Übertragung fehlgeschlagen, 6 Funktion vom Gerät nicht unterstützt.\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
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
                std::printf("Aufruf: trv-cli %s\n", c.usage);
                return trv::cli::ExitOk;
            }
        return c.run(argc - 1, argv + 1);
    }
    return trv::cli::Fail(trv::cli::ExitUsage, "Unbekannter Befehl \"" + word + "\". Siehe trv-cli --help.");
}
