#include "Cli.h"
#include "res/Strings.h"

// A build without the desktop program (TRV_BUILD_GUI=OFF) has no Qt, and so no printed protocol.
namespace trv::cli {
int CmdPrint(int, char**) { return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT)); }
int WriteZoneCard(const CTRVDoc&, int, const TestThresholds&, const std::string&) {
    return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT));
}
int WriteTeamPdf(const TeamTable&, const std::string&) { return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT)); }
}  // namespace trv::cli
