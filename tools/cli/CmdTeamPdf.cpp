// trv-cli team --pdf: the printed team overview (needs Qt's printing).
#include "Cli.h"
#include "PrintApp.h"
#include "print/TeamPrint.h"

namespace trv::cli {

int WriteTeamPdf(const TeamTable& table, const std::string& path) {
    const auto app = StartPrintApplication();
    if (const Result written = trv::WriteTeamPdf(path, table, TeamPrintOptions()); !written)
        return Fail(ExitFile, written.message);
    return ExitOk;
}

}  // namespace trv::cli
