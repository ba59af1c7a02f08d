// trv-cli history: the chosen thresholds of every step test of a document over time.
#include "CiOptions.h"
#include "Cli.h"
#include "analysis/History.h"
#include "analysis/HistoryUncertainty.h"
#include "data/TRVDoc.h"
#include "res/Format.h"

namespace trv::cli {

int CmdHistory(int argc, char** argv) {
    CiOptions ci;
    if (int rc = TakeCiOptions(argc, argv, ci)) return rc;
    const Args args(argc, argv);
    const auto files = args.Positional({"--methods", "--fit", "--model"});
    const std::string usage = FmtId(IDS_CLI_USAGE, "history FILE [--methods LIST] [--fit 0|1] [--model 0|1|2] --json");
    if (files.size() != 1 || !args.Has("--json") || !args.Unknown({"--methods", "--fit", "--model", "--json"}).empty())
        return Fail(ExitUsage, usage);
    HistoryOptions options;
    int fit = FitCubic;
    int model = ModelMader;
    if (!ParseCodeOption(args.Value("--fit"), 1, fit) || !ParseCodeOption(args.Value("--model"), 2, model))
        return Fail(ExitUsage, usage);
    options.fit = fit;
    options.model = model;
    bool missing = false;
    if (const auto list = args.Value("--methods", &missing)) {
        std::string unknown;
        if (!ParseMethodList(*list, options.methods, unknown))
            return Fail(ExitUsage, FmtId(IDS_CLI_UNKNOWN_METHOD, unknown.c_str()));
    } else if (missing) {
        return Fail(ExitUsage, usage);
    }
    CTRVDoc doc;
    std::vector<int> indices;
    if (int rc = LoadDocumentAndTests(files[0], nullptr, doc, indices)) return rc;

    Json j;
    j.BeginObject();
    j.Key("tests").BeginArray();
    std::vector<HistoryRow> rows = BuildHistory(doc, options);
    if (ci.ci) AddHistoryIntervals(doc, rows, ci.error, kDefaultDayToDay);
    for (const HistoryRow& row : rows) {
        j.BeginObject();
        j.Field("index", row.index);
        j.Field("date", row.date);
        j.Field("test_type", row.testType).Field("load_unit", row.loadUnit).Field("steps", row.steps);
        j.Key("methods").BeginArray();
        for (const HistoryValue& v : row.methods) {
            j.BeginObject();
            WriteHistoryValueFields(j, v);
            WriteHistoryIntervalFields(j, v);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Print();
    return ExitOk;
}

}  // namespace trv::cli
