#include "Cli.h"

// Stands in until the commands of this group are built.
namespace trv::cli {
int CmdSearch(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
int CmdDownload(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
int CmdConfig(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
int CmdReset(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
}  // namespace trv::cli
