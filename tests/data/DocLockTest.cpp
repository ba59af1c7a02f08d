// The lock file beside a document: its name and line, who holds it, stale and unreadable locks,
// taking over, and many processes racing for one lock.
#include "data/DocLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <regex>

using namespace trv;
namespace fs = std::filesystem;

namespace {

struct DocLockTest : ::testing::Test {
    fs::path dir;
    std::string doc;
    DocLockTest() {
        char tmpl[] = "/tmp/trv-lock-XXXXXX";
        dir = ::mkdtemp(tmpl);
        doc = (dir / "Müller Anna.trv").string();
    }
    ~DocLockTest() override { fs::remove_all(dir); }
    std::string LockFile() const { return (dir / ".~lock.Müller Anna.trv#").string(); }
    void PutLock(const std::string& text) const { std::ofstream(LockFile(), std::ios::binary) << text; }
    std::string GetLock() const {
        std::ifstream f(LockFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    static std::string Host() {
        char buf[256] = {};
        ::gethostname(buf, sizeof buf - 1);
        return buf;
    }
    // The pid of a process that has ended (and been reaped).
    static pid_t DeadPid() {
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(0);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return pid;
    }
};

TEST_F(DocLockTest, LockFileNameAndLine) {
    EXPECT_EQ(CDocLock::LockPath("/a/b/Test.trv"), "/a/b/.~lock.Test.trv#");
    EXPECT_EQ(CDocLock::LockPath("Test.trv"), ".~lock.Test.trv#");
    EXPECT_EQ(CDocLock::LockPath(doc), LockFile());

    CDocLock lock;
    ASSERT_TRUE(lock.Acquire(doc).Taken());
    const std::string text = GetLock();
    const std::regex line(R"(([^,\n]+),([^,\n]+),(\d+),(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)\n)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, line)) << text;
    EXPECT_EQ(m[2].str(), Host());
    EXPECT_EQ(std::stol(m[3].str()), static_cast<long>(::getpid()));
    EXPECT_EQ(fs::status(LockFile()).permissions() & fs::perms::others_write, fs::perms::none);
}

TEST_F(DocLockTest, HeldLockIsRefusedAndReleasedByTheDestructor) {
    {
        CDocLock first;
        ASSERT_TRUE(first.Acquire(doc).Taken());
        EXPECT_TRUE(first.Held());
        CDocLock second;
        const auto r = second.Acquire(doc);
        EXPECT_EQ(r.status, CDocLock::Status::HeldByOther);
        EXPECT_TRUE(r.holder.known);
        EXPECT_EQ(r.holder.pid, static_cast<long>(::getpid()));  // this process lives: not stale
        EXPECT_FALSE(second.Held());
        // Refusing must not disturb the holder's file.
        EXPECT_TRUE(fs::exists(LockFile()));
    }
    EXPECT_FALSE(fs::exists(LockFile()));
    CDocLock again;
    EXPECT_TRUE(again.Acquire(doc).Taken());
    again.Release();
    EXPECT_FALSE(fs::exists(LockFile()));
}

TEST_F(DocLockTest, ForeignLocks) {
    const long dead = DeadPid();
    struct Case {
        const char* what;
        std::string text;
        CDocLock::Status expected;
        bool known;
    };
    const Case cases[] = {
        {"stale: this host, process gone", "otto," + Host() + "," + std::to_string(dead) + ",2026-03-01T08:00:00\n",
         CDocLock::Status::Taken, true},
        {"other host, same pid number", "otto,labor-pc-2," + std::to_string(dead) + ",2026-03-01T08:00:00\n",
         CDocLock::Status::HeldByOther, true},
        {"this host, process alive (init)", "otto," + Host() + ",1,2026-03-01T08:00:00\n",
         CDocLock::Status::HeldByOther, true},
        {"fields after the fourth ignored", "otto,labor-pc-2,4711,2026-03-01T08:00:00,extra,more\n",
         CDocLock::Status::HeldByOther, true},
        {"garbage", "\x01\x02 nothing here", CDocLock::Status::HeldByOther, false},
        {"empty (just being written)", "", CDocLock::Status::HeldByOther, false},
        {"pid not a number", "otto," + Host() + ",abc,2026-03-01T08:00:00\n", CDocLock::Status::HeldByOther, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutLock(c.text);
        LockHolder h;
        EXPECT_TRUE(CDocLock::ReadHolder(doc, h));
        EXPECT_EQ(h.known, c.known);
        CDocLock lock;
        const auto r = lock.Acquire(doc);
        EXPECT_EQ(r.status, c.expected);
        if (r.status == CDocLock::Status::HeldByOther) {
            EXPECT_EQ(r.holder.known, c.known);
            EXPECT_EQ(GetLock(), c.text);  // untouched
        } else {
            EXPECT_EQ(CDocLock::ReadHolder(doc, h) && h.pid == static_cast<long>(::getpid()), true);
        }
        lock.Release();
        fs::remove(LockFile());
    }
    LockHolder none;
    EXPECT_FALSE(CDocLock::ReadHolder(doc, none));
}

TEST_F(DocLockTest, Messages) {
    LockHolder h;
    h.known = true;
    h.user = "anna";
    h.host = "labor-pc-2";
    h.pid = 812;
    h.time = "2026-12-07T09:05:33";
    EXPECT_EQ(h.Message(), "Die Datei wird bereits von anna auf labor-pc-2 bearbeitet (seit 07.12.2026 09:05).");
    EXPECT_EQ(LockHolder{}.Message(), "Die Datei wird bereits von einem unbekannten Benutzer bearbeitet.");

    CDocLock lock;
    const auto r = lock.Acquire((dir / "kein Ordner" / "x.trv").string());
    EXPECT_EQ(r.status, CDocLock::Status::Error);
    EXPECT_NE(r.Message().find(".~lock.x.trv#"), std::string::npos) << r.Message();
}

TEST_F(DocLockTest, TakeOverLeavesTheNewLockToItsNewHolder) {
    CDocLock first;
    ASSERT_TRUE(first.Acquire(doc).Taken());
    const std::string firstLine = GetLock();
    CDocLock second;
    const auto r = second.TakeOver(doc);
    ASSERT_TRUE(r.Taken());
    EXPECT_TRUE(fs::exists(LockFile()));
    first.Release();  // names another line now: must not remove the new holder's lock
    ASSERT_TRUE(fs::exists(LockFile()));
    second.Release();
    EXPECT_FALSE(fs::exists(LockFile()));
}

TEST_F(DocLockTest, MovedLockKeepsHolding) {
    CDocLock a;
    ASSERT_TRUE(a.Acquire(doc).Taken());
    CDocLock b(std::move(a));
    EXPECT_FALSE(a.Held());
    EXPECT_TRUE(b.Held());
    a.Release();
    EXPECT_TRUE(fs::exists(LockFile()));
}

// Processes racing for one lock, some of them around a stale lock: at any moment at most one holds
// it. Each winner checks that nobody else is inside by creating a marker file exclusively.
TEST_F(DocLockTest, RacingProcessesNeverHoldTogether) {
    const std::string inside = (dir / "inside").string();
    constexpr int kProcesses = 6, kRounds = 40;
    PutLock("otto," + Host() + "," + std::to_string(DeadPid()) + ",2026-03-01T08:00:00\n");
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int held = 0;
            for (int i = 0; i < kRounds * 20 && held < kRounds; ++i) {
                CDocLock lock;
                if (!lock.Acquire(doc).Taken()) {
                    ::usleep(200);
                    continue;
                }
                std::FILE* f = std::fopen(inside.c_str(), "wx");
                if (!f) ::_exit(2);  // someone else is inside: the lock failed
                std::fclose(f);
                ::usleep(100);
                std::remove(inside.c_str());
                ++held;
            }
            ::_exit(held > 0 ? 0 : 3);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 2) << "two processes held the lock at once";
    }
    EXPECT_FALSE(fs::exists(LockFile()));
}

}  // namespace
