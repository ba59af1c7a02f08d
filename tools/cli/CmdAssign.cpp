// trv-cli assign: tests of one document copied into an athlete's document.
#include "Cli.h"

namespace trv::cli {

int CmdAssign(int, char**) { return Fail(ExitUsage, "assign"); }

}  // namespace trv::cli
