// trv-cli zones --pdf: the zone card of one test as a PDF file (needs Qt for fonts and PDF output).
#include "Cli.h"
#include "PrintApp.h"
#include "data/TRVDoc.h"
#include "print/ZoneCard.h"

namespace trv::cli {

int WriteZoneCard(const CTRVDoc& doc, int test, const TestThresholds& r, const std::string& out) {
    const ZoneCardText card = MakeZoneCardText(doc, test, r, COleDateTime::Now());
    const auto app = StartPrintApplication();
    if (const Result written = WriteZoneCardPdf(QString::fromStdString(out), card); !written)
        return Fail(ExitFile, written.message);
    return ExitOk;
}

}  // namespace trv::cli
