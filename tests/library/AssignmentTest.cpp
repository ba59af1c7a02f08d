// The assignment of tests to athletes' documents: what is copied, what is refused, all or nothing,
// and what the next download makes of the source.
#include "LibraryFixture.h"
#include "data/AssignedTests.h"
#include "data/DocLock.h"
#include "data/ManualIds.h"
#include "library/Assignment.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

using namespace trv;
using namespace trvtest::library;
using namespace trvtest::history;

namespace {

// Three athletes' treadmill tests as one download brings them: IDs 11.., 21.., 31..
CTRVDoc TeamDay() {
    CTRVDoc doc;
    doc.m_strDeviceId = "ARV0012345";
    doc.m_dFirmware = 3.05;
    for (int a = 0; a < 3; ++a) {
        TestDataType t = StepTest(TestTreadmill, UnitKmh, COleDateTime::FromParts(2026, 3, 2, 9 + a, 0, 0), kRun,
                                  a == 1 ? kSeptember : kMarch, kMarchHr);
        for (size_t k = 0; k < t.m_Steps.size(); ++k) t.m_Steps[k].m_nMeasId = static_cast<uint16_t>(11 + 10 * a + k);
        doc.m_Tests.push_back(t);
    }
    return doc;
}

// A host with no window, the source saved by the test itself.
class FileHost : public IAssignHost {
public:
    explicit FileHost(CTRVDoc& doc) : m_doc(doc) {}
    CTRVDoc* OpenDocument(const std::string& path) override { return path == m_strOpenPath ? m_pOpen : nullptr; }
    Result AddToOpen(const std::string&, const std::vector<TestAddition>& a) override {
        return m_pWs->AddAssignedTests(a) != 0 ? Result::Ok() : Result::Fail({});
    }
    void UndoAddToOpen(const std::string&) override { m_pWs->Undo(); }
    Result PrepareSource() override { return Result::Ok(); }
    Result MarkSource(const std::vector<int>& tests) override {
        if (m_bFailMark) return Result::Fail(m_strMarkRefusal);
        MarkAssigned(m_doc, tests, true);
        return Result::Ok();
    }
    void ReleaseSource() override {}
    CTRVDoc& m_doc;
    bool m_bFailMark = false;
    std::string m_strMarkRefusal = "mark refused";
    std::string m_strOpenPath;
    CTRVDoc* m_pOpen = nullptr;
    CWorkspace* m_pWs = nullptr;
};

class Assignment : public ::testing::Test {
protected:
    void SetUp() override {
        lib.Athlete("Anna.trv", "Müller", "Anna");  // tests with IDs 0: none of the analyser's
        source.SetPathName(lib.Path("team.trv"));
    }
    AssignRequest To(int test, const std::string& rel, bool newAthlete = false) {
        AssignRequest rq;
        rq.test = test;
        rq.target = lib.Path(rel);
        if (newAthlete) {
            UserDataType u;
            u.m_strLastName = "Neu";
            u.m_strFirstName = rel;
            rq.newAthlete = u;
        }
        return rq;
    }
    CTRVDoc Load(const std::string& rel) {
        CTRVDoc d;
        EXPECT_TRUE(LoadDocument(lib.Path(rel), d).ok) << rel;
        return d;
    }
    TempLibrary lib;
    CTRVDoc source = TeamDay();
    FileHost host{source};
};

TEST_F(Assignment, CopiesTestsWithIdsAndParametersAndMarksTheSource) {
    const AssignPlan plan =
        PlanAssignment(source, {To(0, "Anna.trv"), To(2, "Anna.trv"), To(1, "Ole.trv", true)}, &host);
    ASSERT_EQ(plan.error, "");
    ASSERT_TRUE(plan.refused.empty());
    EXPECT_EQ(plan.Copied(), 18);
    EXPECT_TRUE(CommitAssignment(plan, host));

    const CTRVDoc anna = Load("Anna.trv");
    ASSERT_EQ(anna.GetTestCount(), 8);  // six of its own, two new at the end
    for (int k : {0, 1}) {
        const TestDataType& copy = anna.GetTest(6 + k);
        const TestDataType& orig = source.GetTest(k * 2);
        ASSERT_EQ(copy.m_Steps.size(), orig.m_Steps.size());
        for (size_t s = 0; s < copy.m_Steps.size(); ++s) {
            EXPECT_EQ(copy.m_Steps[s].m_nMeasId, orig.m_Steps[s].m_nMeasId);
            EXPECT_EQ(copy.m_Steps[s].m_nLactate, orig.m_Steps[s].m_nLactate);
            EXPECT_DOUBLE_EQ(copy.m_Steps[s].m_dSpeed, orig.m_Steps[s].m_dSpeed);
            EXPECT_EQ(copy.m_Steps[s].m_nHeartRate, orig.m_Steps[s].m_nHeartRate);
        }
        EXPECT_TRUE(copy.m_bParamsEntered);
        EXPECT_EQ(copy.m_nLoadUnit, UnitKmh);
        EXPECT_FALSE(IsAssignedTest(copy));  // the copy is an ordinary test
    }
    EXPECT_EQ(anna.m_UserData.m_strFirstName, "Anna");
    const CTRVDoc ole = Load("Ole.trv");
    ASSERT_EQ(ole.GetTestCount(), 1);
    EXPECT_EQ(ole.m_UserData.m_strLastName, "Neu");
    EXPECT_EQ(ole.GetTest(0).m_Steps.front().m_nMeasId, 21);
    EXPECT_EQ(ole.m_strDeviceId, "ARV0012345");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(IsAssignedTest(source.GetTest(i))) << i;
    // No lock is left behind.
    LockHolder holder;
    EXPECT_FALSE(CDocLock::ReadHolder(lib.Path("Anna.trv"), holder));

    // Assigning again is harmless: nothing copied, nothing written.
    const std::string before = lib.Bytes("Anna.trv");
    const AssignPlan again = PlanAssignment(source, {To(0, "Anna.trv")}, &host);
    EXPECT_EQ(again.Copied(), 0);
    EXPECT_EQ(again.Held(), 6);
    EXPECT_TRUE(CommitAssignment(again, host));
    EXPECT_EQ(lib.Bytes("Anna.trv"), before);
}

TEST_F(Assignment, RefusesAnIdHeldWithOtherContentNamingBoth) {
    CTRVDoc other = TeamDay();
    other.m_Tests.resize(1);
    other.GetTest(0).m_Steps[2].m_nLactate = 99;  // reading 13 measured otherwise
    other.GetTest(0).m_Steps[2].m_Time = COleDateTime::FromParts(2025, 1, 2, 8, 0, 0);
    lib.Save("Eva.trv", other);
    const AssignPlan plan = PlanAssignment(source, {To(0, "Eva.trv"), To(1, "Eva.trv")}, &host);
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].first, 0);
    EXPECT_EQ(plan.refused[0].second,
              "Test vom 02.03.2026: Messwert 00013 ist in \"Eva.trv\" schon mit anderem Inhalt vorhanden (Test vom "
              "02.03.2026, Laktat 9,9 statt 2,0). Der Test wird nicht zugeordnet.");
    EXPECT_EQ(plan.Marked(), std::vector<int>{1});
}

TEST_F(Assignment, TypedTestsTakeFreeIdsInsteadOfClashing) {
    CTRVDoc typed;
    TestDataType t =
        StepTest(TestErgometer, UnitWatt, COleDateTime::FromParts(2026, 1, 1, 8, 0, 0), kBike, kBikeLactate, kBikeHr);
    t.m_nReserved1 = kTypedTestMark;
    for (size_t k = 0; k < t.m_Steps.size(); ++k) t.m_Steps[k].m_nMeasId = static_cast<uint16_t>(kManualIdFirst + k);
    typed.m_Tests.push_back(t);
    lib.Save("Tom.trv", typed);
    t.m_Steps[0].m_nLactate = 33;  // another typed test with the same IDs
    source.m_Tests = {t};
    const AssignPlan plan = PlanAssignment(source, {To(0, "Tom.trv")}, &host);
    ASSERT_TRUE(plan.refused.empty());
    ASSERT_TRUE(CommitAssignment(plan, host));
    const CTRVDoc tom = Load("Tom.trv");
    ASSERT_EQ(tom.GetTestCount(), 2);
    EXPECT_EQ(tom.GetTest(1).m_Steps[0].m_nLactate, 33);
    EXPECT_GE(tom.GetTest(1).m_Steps[0].m_nMeasId, kManualIdFirst + 5);
}

TEST_F(Assignment, AllTargetsOrNoneByteForByte) {
    lib.Athlete("Eva.trv", "Arndt", "Eva");
    const std::string anna = lib.Bytes("Anna.trv"), eva = lib.Bytes("Eva.trv");
    const CTRVDoc sourceBefore = source;
    auto unchanged = [&](const char* why) {
        EXPECT_EQ(lib.Bytes("Anna.trv"), anna) << why;
        EXPECT_EQ(lib.Bytes("Eva.trv"), eva) << why;
        EXPECT_FALSE(std::filesystem::exists(lib.Path("Neu.trv"))) << why;
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsAssignedTest(source.GetTest(i))) << why;
        LockHolder h;
        EXPECT_FALSE(CDocLock::ReadHolder(lib.Path("Anna.trv"), h)) << why;
    };
    const std::vector<AssignRequest> requests = {To(0, "Anna.trv"), To(1, "Neu.trv", true), To(2, "Eva.trv")};

    // Eva's document is open on another workstation: nothing is written, the message names who.
    lib.Raw(".~lock.Eva.trv#", "trainer,labor-pc-2,4242,2026-03-02T10:15:00\n");
    std::string error = CommitAssignment(PlanAssignment(source, requests, &host), host).message;
    EXPECT_NE(error.find("Eva.trv"), std::string::npos) << error;
    EXPECT_NE(error.find("trainer"), std::string::npos) << error;
    EXPECT_NE(error.find("labor-pc-2"), std::string::npos) << error;
    unchanged("locked");
    std::filesystem::remove(lib.Path(".~lock.Eva.trv#"));

    // Marking the source fails at the very end: the targets already written are put back.
    host.m_bFailMark = true;
    error = CommitAssignment(PlanAssignment(source, requests, &host), host).message;
    EXPECT_EQ(error, "mark refused");
    unchanged("mark refused");
    // A refusal without a text is a failure all the same, with everything put back.
    host.m_strMarkRefusal.clear();
    EXPECT_FALSE(CommitAssignment(PlanAssignment(source, requests, &host), host));
    unchanged("mark refused without a text");
    host.m_bFailMark = false;

    // Eva's document changed after planning: refused, nothing written.
    AssignPlan plan = PlanAssignment(source, requests, &host);
    lib.Athlete("Eva.trv", "Arndt", "Eva", 1991);
    const std::string eva2 = lib.Bytes("Eva.trv");
    error = CommitAssignment(plan, host).message;
    EXPECT_NE(error.find("inzwischen"), std::string::npos) << error;
    EXPECT_EQ(lib.Bytes("Anna.trv"), anna);
    EXPECT_EQ(lib.Bytes("Eva.trv"), eva2);

    // Eva's document is write-protected.
    plan = PlanAssignment(source, requests, &host);
    ::chmod(lib.Path("Eva.trv").c_str(), 0444);
    error = CommitAssignment(plan, host).message;
    ::chmod(lib.Path("Eva.trv").c_str(), 0644);
    EXPECT_NE(error.find("schreibgeschützt"), std::string::npos) << error;
    EXPECT_EQ(lib.Bytes("Anna.trv"), anna);
    EXPECT_EQ(lib.Bytes("Eva.trv"), eva2);
    EXPECT_FALSE(std::filesystem::exists(lib.Path("Neu.trv")));
}

TEST_F(Assignment, AnOpenTargetGetsTheTestsAsOneUndoableCommand) {
    CTRVDoc open = Load("Anna.trv");
    CCommandHistory history;
    CWorkspace ws(open, history);
    host.m_strOpenPath = lib.Path("Anna.trv");
    host.m_pOpen = &open;
    host.m_pWs = &ws;
    const std::string file = lib.Bytes("Anna.trv");
    std::vector<uint8_t> before, after, again;
    ASSERT_TRUE(WriteTrv(open, before));

    AssignRequest rq = To(1, "Anna.trv");
    rq.fit = FitSpline;
    rq.model = ModelMader;
    ASSERT_TRUE(CommitAssignment(PlanAssignment(source, {rq}, &host), host));
    EXPECT_EQ(lib.Bytes("Anna.trv"), file);  // nothing written behind the window's back
    EXPECT_EQ(open.GetTestCount(), 7);
    EXPECT_TRUE(ws.IsModified());
    EXPECT_EQ(history.Count(), 1u);
    EXPECT_EQ(ws.Analysis(6).m_nFitFunction, FitSpline);
    ASSERT_TRUE(WriteTrv(open, after));
    ws.Undo();
    ASSERT_TRUE(WriteTrv(open, again));
    EXPECT_EQ(again, before);
    EXPECT_FALSE(ws.IsModified());
    ws.Redo();
    ASSERT_TRUE(WriteTrv(open, again));
    EXPECT_EQ(again, after);
}

TEST(AssignedTests, MarkingIsOneUndoableCommandByteForByte) {
    CTRVDoc doc = TeamDay();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    std::vector<uint8_t> before, after, again;
    ASSERT_TRUE(WriteTrv(doc, before));
    EXPECT_NE(ws.MarkAssigned({0, 2}, true), 0u);
    EXPECT_EQ(ws.MarkAssigned({0, 2}, true), 0u);  // nothing changes: refused, no history entry
    EXPECT_EQ(history.Count(), 1u);
    ASSERT_TRUE(WriteTrv(doc, after));
    EXPECT_NE(before, after);
    EXPECT_TRUE(IsAssignedTest(doc.GetTest(0)) && !IsAssignedTest(doc.GetTest(1)) && IsAssignedTest(doc.GetTest(2)));
    ws.Undo();
    ASSERT_TRUE(WriteTrv(doc, again));
    EXPECT_EQ(again, before);
    ws.Redo();
    ASSERT_TRUE(WriteTrv(doc, again));
    EXPECT_EQ(again, after);
    // "Zuordnung aufheben".
    EXPECT_NE(ws.MarkAssigned({2}, false), 0u);
    EXPECT_FALSE(IsAssignedTest(doc.GetTest(2)));
}

TEST(AssignedTests, TheNextDownloadBringsNothingTwiceButATestThatWentOnComesBack) {
    CTRVDoc doc = TeamDay();
    // The analyser's memory: the three tests' readings with their start and end marks.
    std::vector<PCMDataType> slots;
    for (const TestDataType& t : doc.m_Tests)
        for (size_t k = 0; k < t.m_Steps.size(); ++k) {
            PCMDataType m = t.m_Steps[k];
            m.m_bFirstStep = k == 0;
            m.m_bLastStep = k + 1 == t.m_Steps.size();
            slots.push_back(m);
        }
    for (TestDataType& t : doc.m_Tests) SetAssigned(t, true);
    std::vector<uint8_t> file;
    ASSERT_TRUE(WriteTrv(doc, file));
    CTRVDoc reread;
    ASSERT_TRUE(ReadTrv(file, reread));
    for (const TestDataType& t : reread.m_Tests) EXPECT_TRUE(IsAssignedTest(t));  // the mark survives the file
    EXPECT_EQ(file[0], 5);

    reread.MergeDeviceMemory(slots);
    EXPECT_EQ(reread.GetTestCount(), 3);
    EXPECT_EQ(reread.CountReadings(), 18);
    for (const TestDataType& t : reread.m_Tests) EXPECT_TRUE(IsAssignedTest(t));

    // The last test had not ended when it was assigned: its further readings join it, and it no
    // longer counts as handed on.
    CTRVDoc open;
    ASSERT_TRUE(ReadTrv(file, open));
    open.GetTest(2).m_Steps.pop_back();
    slots.back().m_nMeasId = 37;
    slots.insert(slots.end() - 1, slots.back());
    slots[slots.size() - 2].m_nMeasId = 36;
    slots[slots.size() - 2].m_bLastStep = 0;
    open.MergeDeviceMemory(slots);
    ASSERT_EQ(open.GetTestCount(), 3);
    EXPECT_EQ(open.GetTest(2).m_Steps.size(), 7u);
    EXPECT_FALSE(IsAssignedTest(open.GetTest(2)));
    EXPECT_TRUE(IsAssignedTest(open.GetTest(1)));
}

}  // namespace
