// Working out an assignment: which readings go into which athlete's document.
#include "data/ManualIds.h"
#include "data/TrvFile.h"
#include "library/Assignment.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <set>

namespace trv {

namespace {

std::string TestDate(const TestDataType& t) {
    return t.m_Steps.empty() || !t.m_Steps.front().m_Time.IsValid() ? std::string("?")
                                                                    : t.m_Steps.front().m_Time.FormatDate();
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Plans the tests of one target against `work`, the target as it will be, so that a test asked for
// twice is copied once.
void PlanTarget(const CTRVDoc& source, const std::vector<const AssignRequest*>& requests, TargetPlan& plan,
                AssignPlan& all) {
    CTRVDoc work = plan.before;
    for (const AssignRequest* rq : requests) {
        const TestDataType& src = source.GetTest(rq->test);
        if (src.m_Steps.empty()) {
            all.refused.emplace_back(rq->test, FmtId(IDS_ASSIGN_NOT_STEP, rq->test + 1));
            continue;
        }
        // Where the target holds each ID: (test, reading).
        std::map<uint16_t, std::pair<int, int>> held;
        for (int ti = 0; ti < work.GetTestCount(); ++ti) {
            const auto& steps = work.GetTest(ti).m_Steps;
            for (int si = 0; si < static_cast<int>(steps.size()); ++si)
                if (steps[static_cast<size_t>(si)].m_nMeasId != 0)
                    held.emplace(steps[static_cast<size_t>(si)].m_nMeasId, std::make_pair(ti, si));
        }
        TestDataType copy = src;
        copy.m_Steps.clear();
        int into = -1, alreadyThere = 0;
        std::string conflict;
        std::vector<size_t> renumber;  // typed readings whose ID the target uses otherwise
        for (size_t k = 0; k < src.m_Steps.size(); ++k) {
            const PCMDataType& r = src.m_Steps[k];
            const auto it = r.m_nMeasId != 0 ? held.find(r.m_nMeasId) : held.end();
            if (it == held.end()) {
                copy.m_Steps.push_back(r);
                continue;
            }
            const TestDataType& ht = work.GetTest(it->second.first);
            const PCMDataType& h = ht.m_Steps[static_cast<size_t>(it->second.second)];
            if (SameReading(r, h)) {
                ++alreadyThere;
                if (into < 0) into = it->second.first;
                continue;
            }
            if (IsTypedTest(src)) {
                // A typed reading's ID names no measurement of the analyser: it takes a free one.
                renumber.push_back(copy.m_Steps.size());
                copy.m_Steps.push_back(r);
                continue;
            }
            if (conflict.empty())
                conflict = FmtId(IDS_ASSIGN_CONFLICT, TestDate(src).c_str(), MeasIdText(src, r.m_nMeasId).c_str(),
                                 BaseName(plan.path).c_str(), TestDate(ht).c_str(), LactateText(h).c_str(),
                                 LactateText(r).c_str());
        }
        if (!conflict.empty()) {
            all.refused.emplace_back(rq->test, conflict);
            continue;
        }
        if (!renumber.empty()) {
            const std::vector<uint16_t> ids = AllocateManualIds(work, renumber.size());
            if (ids.size() != renumber.size()) {
                all.refused.emplace_back(rq->test, FmtId(IDS_MAN_NO_IDS_LEFT, static_cast<int>(renumber.size())));
                continue;
            }
            for (size_t k = 0; k < renumber.size(); ++k) copy.m_Steps[renumber[k]].m_nMeasId = ids[k];
        }
        plan.held += alreadyThere;
        plan.tests.push_back(rq->test);
        if (copy.m_Steps.empty()) continue;  // assigned before: nothing to copy
        TestAddition a;
        a.sourceTest = rq->test;
        a.fit = rq->fit;
        a.model = rq->model;
        // Readings of a test the target already holds in part (the test went on on the analyser after
        // the last assignment) join that test.
        a.intoTest = alreadyThere > 0 && renumber.empty() ? into : -1;
        a.test = std::move(copy);
        plan.copied += static_cast<int>(a.test.m_Steps.size());
        ApplyTestAdditions(work, {a});
        plan.additions.push_back(std::move(a));
    }
}

}  // namespace

std::vector<int> AssignPlan::Marked() const {
    std::set<int> s;
    for (const TargetPlan& t : targets) s.insert(t.tests.begin(), t.tests.end());
    return {s.begin(), s.end()};
}

int AssignPlan::Copied() const {
    int n = 0;
    for (const TargetPlan& t : targets) n += t.copied;
    return n;
}

int AssignPlan::Held() const {
    int n = 0;
    for (const TargetPlan& t : targets) n += t.held;
    return n;
}

AssignPlan PlanAssignment(const CTRVDoc& source, const std::vector<AssignRequest>& requests, IAssignHost* host) {
    AssignPlan plan;
    // Requests by target, each target's tests in the source's order.
    std::vector<std::string> order;
    std::map<std::string, std::vector<const AssignRequest*>> byTarget;
    for (const AssignRequest& rq : requests) {
        if (!source.IsValidTest(rq.test)) continue;
        if (!byTarget.count(rq.target)) order.push_back(rq.target);
        byTarget[rq.target].push_back(&rq);
    }
    if (order.empty()) {
        plan.error = LoadStr(IDS_ASSIGN_NOTHING);
        return plan;
    }
    for (const std::string& path : order) {
        auto& list = byTarget[path];
        std::stable_sort(list.begin(), list.end(),
                         [](const AssignRequest* a, const AssignRequest* b) { return a->test < b->test; });
        TargetPlan t;
        t.path = path;
        if (!source.GetPathName().empty() && SameFile(source.GetPathName(), path)) {
            plan.error = FmtId(IDS_ASSIGN_SAME_FILE, path.c_str());
            return plan;
        }
        if (CTRVDoc* open = host ? host->OpenDocument(path) : nullptr) {
            t.open = true;
            t.before = *open;
        } else {
            t.identity = FileIdentity::Of(path);
            if (t.identity.exists) {
                const FileResult r = LoadDocument(path, t.before);
                if (!r.ok) {
                    plan.error = FmtId(IDS_ASSIGN_TARGET_BAD, path.c_str(), r.message.c_str());
                    return plan;
                }
            } else {
                const AssignRequest* withAthlete = nullptr;
                for (const AssignRequest* rq : list)
                    if (rq->newAthlete) withAthlete = rq;
                if (!withAthlete) {
                    plan.error = FmtId(IDS_ASSIGN_NO_ATHLETE, path.c_str());
                    return plan;
                }
                t.create = true;
                t.before.m_UserData = *withAthlete->newAthlete;
                t.before.m_strDeviceId = source.m_strDeviceId;
                t.before.m_dFirmware = source.m_dFirmware;
            }
        }
        PlanTarget(source, list, t, plan);
        plan.targets.push_back(std::move(t));
    }
    return plan;
}

int MarkAssigned(CTRVDoc& doc, const std::vector<int>& tests, bool assigned) {
    int changed = 0;
    for (int i : NormalizedTestIndices(doc, tests)) {
        TestDataType& t = doc.GetTest(i);
        if (IsAssignedTest(t) == assigned) continue;
        SetAssigned(t, assigned);
        ++changed;
    }
    if (changed) doc.SetModifiedFlag();
    return changed;
}

}  // namespace trv
