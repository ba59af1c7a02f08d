// trv-cli print: the two-page test protocol of the listed tests as a PDF file.
#include "Cli.h"
#include "data/TrvFile.h"
#include "print/Protocol.h"
#include "res/Format.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QDir>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

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

    // Fonts and PDF output need a Qt application; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // stderr carries only the program's own error line; Qt's notes about the session
    // (no runtime directory, no display) are not for a script's user.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "trv-cli: %s\n", msg.toLocal8Bit().constData());
    });
    int qtArgc = 1;
    char name[] = "trv-cli";
    char* qtArgv[] = {name, nullptr};
    const auto app = std::make_unique<QApplication>(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");

    ProtocolOptions opt;
    opt.logoDir = QDir::currentPath();
    opt.chart = &ws.Chart();
    opt.analysis = ws.AnalysisLookup();
    QString error;
    if (!WriteProtocolPdf(QString::fromStdString(*out), doc, indices, opt, &error))
        return Fail(ExitFile, error.toStdString());
    return ExitOk;
}

}  // namespace trv::cli
