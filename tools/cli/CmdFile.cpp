#include "Cli.h"

namespace trv::cli {
int CmdInfo(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
int CmdSave(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
int CmdExport(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
}  // namespace trv::cli
