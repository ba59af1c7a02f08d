// trv-cli-print: the commands of trv-cli that draw (and so need Qt), run by trv-cli as
// "trv-cli-print COMMAND ARGS...". Not meant to be called directly.
#include "Cli.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <clocale>
#include <csignal>
#include <cstring>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // A file-size limit must end in the German message of the failed write, not in a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    // trv-cli passes its language on through TRV_LANG.
    trv::Lang lang = trv::Lang::de;
    trv::LangFromEnvironment(lang);
    trv::SetLang(lang);
    if (argc >= 2 && std::strcmp(argv[1], "print") == 0) return trv::cli::CmdPrint(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "zones") == 0) return trv::cli::CmdZones(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "team") == 0) return trv::cli::CmdTeam(argc - 1, argv + 1);
    return trv::cli::Fail(trv::cli::ExitUsage, trv::FmtId(trv::IDS_CLI_UNKNOWN_COMMAND, argc >= 2 ? argv[1] : ""));
}
