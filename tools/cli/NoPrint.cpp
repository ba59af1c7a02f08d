#include "Cli.h"
#include "res/Strings.h"

// trv-cli itself draws nothing: `zones --pdf` and `team --pdf` are handed to trv-cli-print before these are
// reached (main.cpp), so they answer only where that hand-over found no helper.
namespace trv::cli {
int WriteZoneCard(const CTRVDoc&, int, const TestThresholds&, const std::string&) {
    return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT));
}
int WriteTeamPdf(const TeamTable&, const std::string&) { return Fail(ExitUsage, LoadStr(IDS_CLI_NO_PRINT)); }
}  // namespace trv::cli
