#include "Cli.h"

// A build without the desktop program (TRV_BUILD_GUI=OFF) has no Qt, and so no printed protocol.
namespace trv::cli {
int CmdPrint(int, char**) {
    return Fail(ExitUsage, "Der Protokolldruck ist in dieser Ausgabe ohne Qt nicht enthalten.");
}
}  // namespace trv::cli
