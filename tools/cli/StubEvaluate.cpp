#include "Cli.h"

// Stands in until the commands of this group are built.
namespace trv::cli {
int CmdEvaluate(int, char**) { return Fail(ExitUsage, "Dieser Befehl ist noch nicht verfügbar."); }
}  // namespace trv::cli
