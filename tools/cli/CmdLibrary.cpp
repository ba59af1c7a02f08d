// trv-cli library and team: the documents of a library folder, and the team overview.
#include "CiOptions.h"
#include "Cli.h"
#include "analysis/History.h"
#include "library/LibraryFolder.h"
#include "library/LibraryIndex.h"
#include "library/TeamOverview.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv::cli {

namespace {

// One document as `library` lists it; `team` adds the zones of the last test.
void WriteEntry(Json& j, const LibraryEntry& e, const std::optional<LibraryLast>& last, bool zones) {
    j.BeginObject();
    j.Field("file", e.file).Field("group", e.group);
    j.Field("first_name", e.firstName).Field("last_name", e.lastName);
    j.Key("birth_date");
    if (const std::string b = e.BirthIso(); !b.empty())
        j.Str(b);
    else
        j.Null();
    j.Field("sex", e.sex).Field("tests", e.tests).Field("step_tests", e.stepTests);
    j.Field("first_test", e.firstTest).Field("last_test", e.lastTest);
    j.Field("duplicate", e.duplicate);
    j.Key("error");
    if (e.error.empty())
        j.Null();
    else
        j.Str(e.error);
    j.Key("last");
    if (!last) {
        j.Null();
    } else {
        j.BeginObject();
        j.Field("index", last->test.index);
        j.Field("date", last->test.date);
        j.Field("test_type", last->test.testType).Field("load_unit", last->test.loadUnit);
        j.Key("methods").BeginArray();
        for (const HistoryValue& v : last->methods) {
            j.BeginObject();
            WriteHistoryValueFields(j, v);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    if (zones) {
        j.Key("zones");
        if (last)
            WriteZoneArray(j, last->zones);
        else
            j.Null();
    }
    j.EndObject();
}

// The options `library` and `team` share. ExitOk, or the exit code after the error line.
int OpenLibrary(const Args& args, const std::vector<std::string>& valued, const std::string& usage,
                CLibraryIndex& index, std::vector<std::string>& methods) {
    const auto dirs = args.Positional(valued);
    std::vector<std::string> known = valued;
    known.push_back("--json");
    if (dirs.size() != 1 || !args.Unknown(known).empty()) return Fail(ExitUsage, usage);
    LibraryChoice choice;
    if (!ParseCodeOption(args.Value("--fit"), 1, choice.fit) ||
        !ParseCodeOption(args.Value("--model"), 2, choice.model))
        return Fail(ExitUsage, usage);
    methods = DefaultHistoryMethods();
    bool missing = false;
    if (const auto list = args.Value("--methods", &missing)) {
        std::string unknown;
        if (!ParseMethodList(*list, methods, unknown))
            return Fail(ExitUsage, FmtId(IDS_CLI_UNKNOWN_METHOD, unknown.c_str()));
    } else if (missing) {
        return Fail(ExitUsage, usage);
    }
    for (const char* opt : {"--search", "--group", "--before", "--csv", "--pdf"}) {
        args.Value(opt, &missing);
        if (missing) return Fail(ExitUsage, usage);
    }
    if (const Result opened = index.Open(dirs[0]); !opened) return Fail(ExitFile, opened.message);
    index.SetChoice(choice);
    if (const Result read = index.Refresh(); !read) return Fail(ExitFile, read.message);
    return ExitOk;
}

}  // namespace

int CmdLibrary(int argc, char** argv) {
    const Args args(argc, argv);
    const std::string usage =
        FmtId(IDS_CLI_USAGE, "library DIR [--search TEXT] [--methods LIST] [--fit 0|1] [--model 0|1|2] --json");
    if (!args.Has("--json")) return Fail(ExitUsage, usage);
    CLibraryIndex index;
    std::vector<std::string> methods;
    if (int rc = OpenLibrary(args, {"--search", "--methods", "--fit", "--model"}, usage, index, methods)) return rc;
    Json j;
    j.BeginArray();
    for (int i : index.Search(args.Value("--search").value_or(""))) {
        const LibraryEntry& e = index.Entries()[static_cast<size_t>(i)];
        WriteEntry(j, e, e.error.empty() ? index.Last(i, methods) : std::nullopt, false);
    }
    j.EndArray();
    j.Print();
    return ExitOk;
}

int CmdTeam(int argc, char** argv) {
    const Args args(argc, argv);
    const std::string usage =
        FmtId(IDS_CLI_USAGE,
              "team DIR [--group SUB] [--search TEXT] [--methods LIST] [--fit 0|1] [--model 0|1|2] "
              "[--before YYYY-MM-DD] (--json | --csv OUT.csv | --pdf OUT.pdf)");
    const int outputs = (args.Has("--json") ? 1 : 0) + (args.Has("--csv") ? 1 : 0) + (args.Has("--pdf") ? 1 : 0);
    if (outputs != 1) return Fail(ExitUsage, usage);
    CLibraryIndex index;
    std::vector<std::string> methods;
    if (int rc =
            OpenLibrary(args, {"--group", "--search", "--methods", "--fit", "--model", "--before", "--csv", "--pdf"},
                        usage, index, methods))
        return rc;
    COleDateTime before(0.0, COleDateTime::invalid);
    if (const auto b = args.Value("--before"); b && !ParseIsoDate(*b, before))
        return Fail(ExitUsage, FmtId(IDS_CLI_TEAM_BEFORE, b->c_str()));
    const auto group = args.Value("--group");
    if (group) {
        const auto groups = index.Groups();
        if (std::find(groups.begin(), groups.end(), *group) == groups.end())
            return Fail(ExitFile, FmtId(IDS_CLI_TEAM_GROUP, group->c_str()));
    }
    const std::string groupText = group.value_or("");
    const std::vector<TeamRow> rows =
        BuildTeam(index, index.Search(args.Value("--search").value_or(""), &groupText), methods, before);
    if (args.Has("--json")) {
        Json j;
        j.BeginArray();
        for (const TeamRow& r : rows) WriteEntry(j, index.Entries()[static_cast<size_t>(r.entry)], r.last, true);
        j.EndArray();
        j.Print();
        return ExitOk;
    }
    const TeamTable table = MakeTeamTable(index, rows, methods);
    if (const auto csv = args.Value("--csv")) {
        if (const Result written = WriteTeamCsv(table, *csv); !written) return Fail(ExitFile, written.message);
        return ExitOk;
    }
    return WriteTeamPdf(table, *args.Value("--pdf"));
}

}  // namespace trv::cli
