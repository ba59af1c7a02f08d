// trv-cli print: the two-page test protocol of the listed tests as a PDF file.
#include "Cli.h"
#include "PrintApp.h"
#include "data/TrvFile.h"
#include "print/Protocol.h"
#include "res/Format.h"
#include "workspace/Workspace.h"

#include <QDir>

namespace trv::cli {

int CmdPrint(int argc, char** argv) {
    const Args args(argc, argv);
    const std::vector<std::string> valued{"--tests", "-o"};
    const auto files = args.Positional(valued);
    const auto list = args.Value("--tests");
    const auto out = args.Value("-o");
    const std::string usage = FmtId(IDS_CLI_USAGE, "print FILE --tests LIST -o OUT.pdf");
    if (files.size() != 1 || !list || !out || out->empty() || !args.Unknown(valued).empty())
        return Fail(ExitUsage, usage);
    CTRVDoc doc;
    std::vector<int> indices;
    if (int rc = LoadDocumentAndTests(files[0], &*list, doc, indices)) return rc;

    // Fitting function and threshold model are not stored in files: the program's defaults apply.
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly(indices, FitCubic, ModelMader);

    const auto app = StartPrintApplication(true);

    ProtocolOptions opt;
    opt.logoDir = QDir::currentPath();
    opt.chart = &ws.Chart();
    opt.analysis = ws.AnalysisLookup();
    if (const Result written = WriteProtocolPdf(QString::fromStdString(*out), doc, indices, opt); !written)
        return Fail(ExitFile, written.message);
    return ExitOk;
}

}  // namespace trv::cli
