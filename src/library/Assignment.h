#pragma once
// "Tests zuordnen": copying tests of one document (typically the one the analyser downloads into)
// into their athletes' documents, all targets of one request or none.
//
// The plan says, per target, which readings go where and which tests are refused; nothing is
// written. The commit writes it: each target open in a window of this program through that window
// (one undoable command, nothing written behind its back), every other target safely under its
// lock; then the source's tests are marked "zugeordnet". When anything fails on the way, whatever was
// done is put back, and the message says why.
#include "data/AssignedTests.h"
#include "data/FileIdentity.h"
#include "data/Result.h"
#include "data/TRVDoc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trv {

// One test for one athlete's document.
struct AssignRequest {
    int test = -1;       // index in the source document
    std::string target;  // path of the athlete's document
    // The athlete of a document that does not exist yet (it is made with the test's analyser identity).
    std::optional<UserDataType> newAthlete;
    int fit = -1, model = -1;  // the test's fitting choice in the source's window (-1: none)
};

// What goes into one target.
struct TargetPlan {
    std::string path;
    bool create = false;  // the document is new
    bool open = false;    // held by a window of this program
    CTRVDoc before;       // the target as read (or as the window holds it)
    std::vector<TestAddition> additions;
    std::vector<int> tests;    // source tests that count as handed on to this target
    int copied = 0, held = 0;  // readings copied, readings the target already held
    FileIdentity identity;     // the file as read, to notice a change by another program before writing
};

struct AssignPlan {
    std::vector<TargetPlan> targets;
    // Tests refused (an ID held by the target with other content) and why, naming both.
    std::vector<std::pair<int, std::string>> refused;
    std::string error;  // a target that cannot be read or made: nothing can be done
    // The source tests to mark, sorted.
    std::vector<int> Marked() const;
    int Copied() const;
    int Held() const;
};

// What the commit needs of the program around it. trv-cli: no window holds anything. The program:
// its windows.
class IAssignHost {
public:
    virtual ~IAssignHost() = default;
    // The document of `path` when a window of this program holds it; null otherwise.
    virtual CTRVDoc* OpenDocument(const std::string& path) = 0;
    // Applies `additions` to the open document of `path` as one undoable command.
    virtual Result AddToOpen(const std::string& path, const std::vector<TestAddition>& additions) = 0;
    // Takes back what AddToOpen did (after a later failure).
    virtual void UndoAddToOpen(const std::string& path) = 0;
    // Takes what marking the source needs (trv-cli: the source file's lock); fails with the reason.
    virtual Result PrepareSource() = 0;
    // Marks the source's tests "zugeordnet" (or not); fails with the reason, nothing changed.
    virtual Result MarkSource(const std::vector<int>& tests) = 0;
    virtual void ReleaseSource() = 0;
};

// Works out what the requests do. `host` may be null (no window holds anything).
AssignPlan PlanAssignment(const CTRVDoc& source, const std::vector<AssignRequest>& requests, IAssignHost* host);

// Writes the plan (refused tests are left out: the caller decides before whether to go on without
// them). On failure the German message, and nothing changed. `inUse` (may be null) is set
// when a target is locked by another window, process or workstation, or was changed by one.
Result CommitAssignment(const AssignPlan& plan, IAssignHost& host, bool* inUse = nullptr);

// "Zuordnung aufheben" and marking in a document without a window: the marks of `tests` set or
// cleared in `doc`; the number of tests whose mark changed.
int MarkAssigned(CTRVDoc& doc, const std::vector<int>& tests, bool assigned);

}  // namespace trv
