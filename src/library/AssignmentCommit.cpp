// Writing an assignment: every target of one request, then the source's marks, or nothing.
#include "data/DocLock.h"
#include "data/SafeFile.h"
#include "data/TrvFile.h"
#include "library/Assignment.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <unistd.h>

namespace trv {

namespace {

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A target written so far, and how to take it back.
struct Done {
    const TargetPlan* target = nullptr;
    std::vector<uint8_t> original;  // the file before (closed targets that existed)
};

}  // namespace

Result CommitAssignment(const AssignPlan& plan, IAssignHost& host, bool* inUse) {
    if (inUse) *inUse = false;
    if (!plan.error.empty()) return Result::Fail(plan.error);
    if (Result prepared = host.PrepareSource(); !prepared) return prepared;

    std::vector<CDocLock> locks(plan.targets.size());
    std::vector<Done> done;
    auto fail = [&](const std::string& message) {
        // Back to the state before, newest first.
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            const TargetPlan& t = *it->target;
            if (t.open)
                host.UndoAddToOpen(t.path);
            else if (t.create)
                ::unlink(t.path.c_str());
            else
                (void)WriteFileSafely(t.path, it->original);
        }
        for (CDocLock& l : locks) l.Release();
        host.ReleaseSource();
        return Result::Fail(message);
    };

    // Every closed target locked and as it was planned before anything is written.
    std::vector<std::vector<uint8_t>> originals(plan.targets.size());
    for (size_t i = 0; i < plan.targets.size(); ++i) {
        const TargetPlan& t = plan.targets[i];
        if (t.open || t.additions.empty()) continue;
        const CDocLock::Result r = locks[i].Acquire(t.path);
        if (!r.Taken()) {
            if (r.status == CDocLock::Status::HeldByOther) {
                if (inUse) *inUse = true;
                return fail(FmtId(IDS_ASSIGN_LOCKED, BaseName(t.path).c_str(), r.Message().c_str()));
            }
            return fail(FmtId(IDS_ASSIGN_LOCK_FAILED, t.path.c_str(), r.Message().c_str()));
        }
        const FileIdentity now = FileIdentity::Of(t.path);
        if (t.create ? now.exists : now != t.identity) {
            if (inUse) *inUse = true;
            return fail(FmtId(IDS_ASSIGN_CHANGED, t.path.c_str()));
        }
        if (!t.create) {
            if (IsWriteProtected(t.path))
                return fail(
                    FmtId(IDS_ASSIGN_WRITE_FAILED,
                          FmtId(IDS_ERR_FILE_WRITE, t.path.c_str(), LoadStr(IDS_FILE_WRITE_PROTECTED)).c_str()));
            const Result read = ReadWholeFile(t.path, originals[i]);
            if (!read)
                return fail(FmtId(IDS_ASSIGN_WRITE_FAILED,
                                  FmtId(IDS_ERR_FILE_WRITE, t.path.c_str(), read.message.c_str()).c_str()));
        }
    }

    // The closed targets, each written safely (temporary file, sync, rename) under its lock.
    for (size_t i = 0; i < plan.targets.size(); ++i) {
        const TargetPlan& t = plan.targets[i];
        if (t.open || t.additions.empty()) continue;
        CTRVDoc doc = t.before;
        ApplyTestAdditions(doc, t.additions);
        std::vector<uint8_t> bytes;
        Result written = WriteTrv(doc, bytes);
        if (written) written = WriteFileSafely(t.path, bytes);
        if (!written)
            return fail(FmtId(IDS_ASSIGN_WRITE_FAILED,
                              FmtId(IDS_ERR_FILE_WRITE, t.path.c_str(), written.message.c_str()).c_str()));
        done.push_back({&t, std::move(originals[i])});
    }
    // The targets open in windows: through their workspaces.
    for (const TargetPlan& t : plan.targets) {
        if (!t.open || t.additions.empty()) continue;
        if (const Result added = host.AddToOpen(t.path, t.additions); !added) return fail(added.message);
        done.push_back({&t, {}});
    }
    if (const Result marked = host.MarkSource(plan.Marked()); !marked) return fail(marked.message);
    for (CDocLock& l : locks) l.Release();
    host.ReleaseSource();
    return Result::Ok();
}

}  // namespace trv
