// trv-cli's writing commands and the document lock: a held lock refuses them with exit 7 and the
// German message and leaves the file as it was; a stale lock is taken over; a write-protected
// document is refused; and writers started together never lose what they reported as done.
#include "CliRun.h"
#include "WriterStress.h"
#include "data/DocLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace trv;

namespace {

struct CliLock : ::testing::Test {
    fs::path dir;
    CliLock() {
        char tmpl[] = "/tmp/trv-clilock-XXXXXX";
        dir = ::mkdtemp(tmpl);
        stress::WriteCsv(P("run.csv"), 130);
        EXPECT_EQ(Cli("import '" + P("doc.trv") + "' '" + P("run.csv") + "'").code, 0);
    }
    ~CliLock() override { fs::remove_all(dir); }
    std::string P(const std::string& n) const { return (dir / n).string(); }
    static std::string Host() {
        char buf[256] = {};
        ::gethostname(buf, sizeof buf - 1);
        return buf;
    }
};

TEST_F(CliLock, WritersRefuseALockedDocumentWithExitSeven) {
    const std::string doc = P("doc.trv");
    const std::string before = stress::Slurp(doc);
    const std::string writers[] = {
        "import '" + doc + "' '" + P("run.csv") + "'",
        "save '" + doc + "' -o '" + doc + "'",
        "save '" + P("run.csv") + "' -o '" + doc + "'",  // OUT is what is locked
        "download '" + doc + "' --port COM1",
    };
    const std::string holders[] = {
        "anna,labor-pc-2,4242,2026-12-07T09:05:00\n",   // another workstation
        "anna," + Host() + ",1,2026-12-07T09:05:00\n",  // a live process here
        "",                                             // unreadable: someone unknown
    };
    for (const std::string& holder : holders) {
        std::ofstream(CDocLock::LockPath(doc), std::ios::binary) << holder;
        for (const std::string& w : writers) {
            SCOPED_TRACE(w + " / " + holder);
            const CliRun r = Cli(w);
            EXPECT_EQ(r.code, 7);
            const std::string expected =
                holder.empty()
                    ? "trv-cli: Die Datei wird bereits von einem unbekannten Benutzer bearbeitet.\n"
                    : "trv-cli: Die Datei wird bereits von anna auf " + holder.substr(5, holder.find(',', 5) - 5) +
                          " bearbeitet (seit 07.12.2026 09:05).\n";
            EXPECT_EQ(r.err, expected);
            EXPECT_EQ(stress::Slurp(doc), before);
            EXPECT_EQ(stress::Slurp(CDocLock::LockPath(doc)), holder);  // the holder's lock stays
        }
    }
}

TEST_F(CliLock, StaleLockIsTakenOverAndRemovedAfterwards) {
    const std::string doc = P("doc.trv");
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    std::ofstream(CDocLock::LockPath(doc)) << "anna," << Host() << "," << gone << ",2026-12-07T09:05:00\n";
    const CliRun r = Cli("import '" + doc + "' '" + P("run.csv") + "'");
    EXPECT_EQ(r.code, 0) << r.err;
    CTRVDoc d;
    ASSERT_TRUE(LoadDocument(doc, d).ok);
    EXPECT_EQ(d.GetTestCount(), 2);
    EXPECT_FALSE(fs::exists(CDocLock::LockPath(doc)));
}

TEST_F(CliLock, WriteProtectedDocumentIsRefusedAndKept) {
    const std::string doc = P("doc.trv");
    ASSERT_EQ(::chmod(doc.c_str(), 0444), 0);
    const std::string before = stress::Slurp(doc);
    for (const std::string& w :
         {"import '" + doc + "' '" + P("run.csv") + "'", "save '" + doc + "' -o '" + doc + "'"}) {
        SCOPED_TRACE(w);
        const CliRun r = Cli(w);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("Die Datei ist schreibgeschützt."), std::string::npos) << r.err;
        EXPECT_EQ(stress::Slurp(doc), before);
        EXPECT_EQ(fs::status(doc).permissions() & fs::perms::all, fs::perms(0444));
    }
    EXPECT_FALSE(fs::exists(CDocLock::LockPath(doc)));
}

// The stress runs of bench_writers, a few each (TRV_STRESS_RUNS for more).
int Runs() {
    const char* v = std::getenv("TRV_STRESS_RUNS");
    return v ? std::max(1, std::atoi(v)) : 4;
}

void ExpectNothingLost(const stress::Figures& f) {
    EXPECT_EQ(f.readingsLost, 0);
    EXPECT_EQ(f.otherFailures, 0) << f.firstProblem;
    EXPECT_EQ(f.accepted + f.refused, f.writers);
    EXPECT_GE(f.accepted, f.runs);  // in every run at least one writer gets through
}

TEST(WriterStress, TwoImports) {
    stress::Bench bench(TRV_CLI);
    const auto f = bench.TwoImports(Runs());
    stress::Print("two imports", f);
    ExpectNothingLost(f);
}

TEST(WriterStress, ImportAgainstAWindow) {
    stress::Bench bench(TRV_CLI);
    ASSERT_TRUE(bench.PrepareWindowTest());
    const auto f = bench.ImportAgainstWindow(Runs());
    stress::Print("import against a window", f);
    ExpectNothingLost(f);
}

TEST(WriterStress, DownloadAgainstImport) {
    stress::Bench bench(TRV_CLI);
    const auto f = bench.DownloadAgainstImport(Runs(), false);
    stress::Print("download against import", f);
    ExpectNothingLost(f);
}

}  // namespace
