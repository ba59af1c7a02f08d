// trv-cli assign: tests of one document copied into an athlete's document, the source's tests then
// marked "zugeordnet"; both files written safely under their locks, or neither.
#include "Cli.h"
#include "data/DocLock.h"
#include "data/FileIdentity.h"
#include "data/TrvFile.h"
#include "library/Assignment.h"
#include "library/LibraryFolder.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv::cli {

namespace {

// No window holds anything; the source is a file written under its lock.
class CliAssignHost : public IAssignHost {
public:
    CliAssignHost(CTRVDoc& source, std::string path) : m_doc(source), m_path(std::move(path)) {}
    CTRVDoc* OpenDocument(const std::string&) override { return nullptr; }
    Result AddToOpen(const std::string&, const std::vector<TestAddition>&) override { return Result::Fail({}); }
    void UndoAddToOpen(const std::string&) override {}
    Result PrepareSource() override {
        const CDocLock::Result r = m_lock.Acquire(m_path);
        if (!r.Taken()) {
            m_nExit = r.status == CDocLock::Status::HeldByOther ? ExitInUse : ExitFile;
            return Result::Fail(r.Message());
        }
        if (FileIdentity::Of(m_path) != m_doc.m_DiskIdentity) {
            m_nExit = ExitInUse;
            return Result::Fail(LoadStr(IDS_DISK_CHANGED_CLI));
        }
        return Result::Ok();
    }
    Result MarkSource(const std::vector<int>& tests) override {
        if (MarkAssigned(m_doc, tests, true) == 0) return Result::Ok();  // assigned before: nothing to write
        const FileResult r = SaveDocument(m_doc, m_path);
        if (!r.ok) {
            m_nExit = ExitFile;
            return Result::Fail(FmtId(IDS_ASSIGN_WRITE_FAILED, r.message.c_str()));
        }
        return Result::Ok();
    }
    void ReleaseSource() override { m_lock.Release(); }
    int Exit() const { return m_nExit; }

private:
    CTRVDoc& m_doc;
    std::string m_path;
    CDocLock m_lock;
    int m_nExit = ExitFile;
};

// "LAST;FIRST;YYYY-MM-DD" (the date may be empty).
bool ParseAthlete(const std::string& text, UserDataType& user) {
    const size_t a = text.find(';');
    const size_t b = a == std::string::npos ? a : text.find(';', a + 1);
    if (b == std::string::npos || text.find(';', b + 1) != std::string::npos) return false;
    user.m_strLastName = text.substr(0, a);
    user.m_strFirstName = text.substr(a + 1, b - a - 1);
    const std::string date = text.substr(b + 1);
    if (user.m_strLastName.empty() || user.m_strLastName.size() > kUserTextMax ||
        user.m_strFirstName.size() > kUserTextMax)
        return false;
    if (date.empty()) return true;  // unknown: the record's unset date
    return ParseIsoDate(date, user.m_BirthDate);
}

}  // namespace

int CmdAssign(int argc, char** argv) {
    const Args args(argc, argv);
    const std::string usage =
        FmtId(IDS_CLI_USAGE, "assign FILE --tests LIST --to TARGET.trv [--athlete \"LAST;FIRST;YYYY-MM-DD\"]");
    const std::vector<std::string> valued{"--tests", "--to", "--athlete"};
    const auto files = args.Positional(valued);
    bool missing = false;
    const auto list = args.Value("--tests", &missing);
    const auto target = args.Value("--to", &missing);
    const auto athlete = args.Value("--athlete", &missing);
    if (files.size() != 1 || !list || !target || missing || !args.Unknown(valued).empty())
        return Fail(ExitUsage, usage);
    UserDataType user;
    if (athlete && !ParseAthlete(*athlete, user))
        return Fail(ExitUsage, FmtId(IDS_ASSIGN_BAD_ATHLETE, athlete->c_str()));

    CTRVDoc source;
    std::vector<int> indices;
    if (int rc = LoadDocumentAndTests(files[0], &*list, source, indices)) return rc;
    std::vector<AssignRequest> requests;
    for (int i : NormalizedTestIndices(source, indices)) {
        AssignRequest rq;
        rq.test = i;
        rq.target = *target;
        if (athlete) rq.newAthlete = user;
        requests.push_back(rq);
    }
    CliAssignHost host(source, files[0]);
    const AssignPlan plan = PlanAssignment(source, requests, &host);
    if (!plan.error.empty()) return Fail(ExitFile, plan.error);
    if (!plan.refused.empty()) {
        // Every refusal on its own line; the last line is the error line of the command.
        for (size_t k = 0; k + 1 < plan.refused.size(); ++k)
            std::fprintf(stderr, "trv-cli: %s\n", plan.refused[k].second.c_str());
        return Fail(ExitFile, plan.refused.back().second);
    }
    bool inUse = false;
    if (const Result committed = CommitAssignment(plan, host, &inUse); !committed)
        return Fail(inUse ? ExitInUse : host.Exit(), committed.message);
    std::printf("%s\n", FmtId(IDS_ASSIGN_SUMMARY, static_cast<int>(plan.Marked().size()),
                              static_cast<int>(plan.targets.size()), plan.Copied(), plan.Held())
                            .c_str());
    return ExitOk;
}

}  // namespace trv::cli
