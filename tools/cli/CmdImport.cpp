// trv-cli import: one step test from a CSV or tab-separated file into a document.
#include "Cli.h"
#include "data/DocLock.h"
#include "data/ImportMapping.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace trv::cli {

namespace {

constexpr const char* kUsage =
    "import FILE IN.csv [--test-type 0|1|2] [--load-unit 0|1|2] [--date YYYY-MM-DDTHH:MM:SS]";

bool ParseCode(const std::optional<std::string>& text, std::optional<int32_t>& code) {
    if (!text) return true;
    if (*text != "0" && *text != "1" && *text != "2") return false;
    code = (*text)[0] - '0';
    return true;
}

bool ParseIsoDate(const std::string& text, COleDateTime& date) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    date = COleDateTime::FromParts(y, mo, d, h, mi, s);
    return date.IsValid();
}

// The values beyond the plausible range are taken only when the person at the terminal says so.
bool Confirm(const std::vector<std::string>& questions) {
    for (const std::string& q : questions) std::fprintf(stderr, "%s\n", q.c_str());
    std::fputs(LoadStr(IDS_CLI_IMPORT_ASK), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) answer.clear();
    std::fprintf(stderr, "\n");
    return answer == "j" || answer == "J" || answer == "ja" || answer == "Ja" || answer == "y" || answer == "yes";
}

}  // namespace

int CmdImport(int argc, char** argv) {
    const Args args(argc, argv);
    const std::vector<std::string> valued = {"--test-type", "--load-unit", "--date"};
    const auto files = args.Positional(valued);
    bool missingValue = false;
    for (const auto& o : valued) {
        bool missing = false;
        args.Value(o, &missing);
        missingValue = missingValue || missing;
    }
    if (files.size() != 2 || missingValue || !args.Unknown(valued).empty())
        return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, kUsage));
    ImportOptions options;
    if (!ParseCode(args.Value("--test-type"), options.m_nTestType))
        return Fail(ExitUsage, FmtId(IDS_CLI_IMPORT_CODE, "--test-type", kUsage));
    if (!ParseCode(args.Value("--load-unit"), options.m_nLoadUnit))
        return Fail(ExitUsage, FmtId(IDS_CLI_IMPORT_CODE, "--load-unit", kUsage));
    if (const auto date = args.Value("--date")) {
        COleDateTime d;
        if (!ParseIsoDate(*date, d)) return Fail(ExitUsage, FmtId(IDS_CLI_IMPORT_DATE, kUsage));
        options.m_Date = d;
    }
    const std::string& path = files[0];
    const std::string& csvPath = files[1];

    // Held from reading the document to writing it back: no other writer can come between.
    CDocLock lock;
    if (int rc = LockForWriting(path, lock)) return rc;
    CTRVDoc doc;
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    if (existed) {
        const FileResult r = LoadDocument(path, doc);
        if (!r.ok) return Fail(ExitFile, r.message);
    }
    std::vector<uint8_t> bytes;
    // A thousand rows of readings stay far below this; a larger file is not read into memory at all.
    constexpr std::uintmax_t kLargestText = 16u << 20;
    if (const auto size = std::filesystem::file_size(csvPath, ec); !ec && size > kLargestText)
        return Fail(ExitFile, FmtId(IDS_CLI_IMPORT_TOO_LARGE, csvPath.c_str()));
    if (const Result read = ReadWholeFile(csvPath, bytes); !read)
        return Fail(ExitFile, FmtId(IDS_CLI_IMPORT_CANNOT_READ, csvPath.c_str(), read.message.c_str()));
    ImportTable table;
    ManualTestInput input;
    TestDataType test;
    std::vector<std::string> questions;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Result built = ReadImportTable(text, table);
    if (built) built = ImportInputFromTable(table, GuessImportMapping(table), options, input);
    if (built) built = BuildManualTest(input, test, questions);
    if (!built) return Fail(ExitFile, csvPath + ": " + built.message);
    if (!questions.empty() && !Confirm(questions))
        return Fail(ExitFile, csvPath + ": " + FmtId(IDS_CLI_IMPORT_REFUSED, questions.front().c_str()));
    const int steps = static_cast<int>(test.m_Steps.size());
    int index = -1;
    if (const Result added = AddManualTest(doc, std::move(test), index); !added) return Fail(ExitFile, added.message);
    if (int rc = CheckUnchangedOnDisk(doc, path)) return rc;
    WarnMovedTimes(doc);
    const FileResult saved = SaveDocument(doc, path);
    if (!saved.ok) return Fail(ExitFile, saved.message);
    // One line; it says when the document was made new (a mistyped FILE is noticed at once).
    const int count = doc.GetTestCount();
    const std::string tests = count == 1 ? std::string(LoadStr(IDS_COUNT_ONE_TEST)) : FmtId(IDS_COUNT_TESTS, count);
    const std::string readings =
        steps == 1 ? std::string(LoadStr(IDS_CLI_ONE_READING)) : FmtId(IDS_CLI_READINGS, steps);
    std::printf("%s\n", FmtId(existed ? IDS_CLI_IMPORTED : IDS_CLI_IMPORTED_NEW, index, readings.c_str(),
                              TestTypeText(doc.GetTest(index).m_nTestType),
                              LoadUnitText(doc.GetTest(index).m_nLoadUnit), existed ? tests.c_str() : path.c_str())
                            .c_str());
    return ExitOk;
}

}  // namespace trv::cli
