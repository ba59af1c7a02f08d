// Files that are not ours, files that are not files, and writes that a crash or a full disk interrupts.
#include "ByteBuilder.h"
#include "data/CsvExport.h"
#include "data/DeviceIdentity.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

using namespace trv;
namespace fs = std::filesystem;

namespace {

struct FileSafety : ::testing::Test {
    fs::path dir;
    FileSafety() {
        char tmpl[] = "/tmp/trv-safety-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    ~FileSafety() override { fs::remove_all(dir); }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    static void Put(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    static std::vector<uint8_t> Get(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    std::vector<std::string> Names(const fs::path& in = {}) const {
        std::vector<std::string> n;
        for (const auto& e : fs::directory_iterator(in.empty() ? dir : in)) n.push_back(e.path().filename().string());
        std::sort(n.begin(), n.end());
        return n;
    }
};

// A version-5 document with one reading, built by hand.
std::vector<uint8_t> SmallV5(const std::string& deviceId = "ARV0012345") {
    ByteBuilder bb;
    bb.i32(5).u32(1);
    bb.i32(0).i32(0).i32(0).u8(1).i32(0).f64(2.5).f64(0.5).f64(400).i32(0).u8(0).i32(180).u8(1).u8(0);
    bb.u32(1);
    bb.u16(25).u16(3).u8(1).u8(22).u32(1700000000u).f64(0).i32(150).f64(3).f64(0).u8(2).u16(180).u8(1).u8(0).u8(0);
    bb.emptyAthlete().str(deviceId).f64(3.05);
    return bb.b;
}

// One test of `n` readings: 44 bytes each in the document, a line each in the export.
CTRVDoc ManyReadings(size_t n) {
    CTRVDoc doc;
    doc.m_Tests.resize(1);
    doc.m_Tests[0].m_Steps.resize(n);
    for (auto& m : doc.m_Tests[0].m_Steps) m.m_Time = COleDateTime::FromParts(2024, 5, 1, 10, 0, 0);
    return doc;
}

}  // namespace

TEST_F(FileSafety, UnknownLayoutsAndForeignFilesAreRefusedNamingFileAndWhy) {
    // 1953460082: a text file's first four bytes ("root") read as a number far outside the known layouts.
    for (int version : {0, 1, 6, 1953460082, -1}) {
        SCOPED_TRACE(version);
        if (version == 1953460082)
            std::ofstream(P("x.trv")) << "root:x:0:0:root:/root:/bin/bash\n";
        else
            Put(P("x.trv"), ByteBuilder().i32(version).u32(0).b);
        CTRVDoc doc;
        doc.m_strDeviceId = "keep";
        const FileResult r = LoadDocument(P("x.trv"), doc);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(P("x.trv")), std::string::npos) << r.message;
        // Versions near the known ones may come from another release and are named; a number far
        // outside them is some other kind of file.
        const bool foreign = version == 1953460082 || version < 0;
        if (foreign)
            EXPECT_NE(r.message.find("ist kein TRV-Dokument"), std::string::npos) << r.message;
        else
            EXPECT_NE(r.message.find("Version " + std::to_string(version)), std::string::npos) << r.message;
        EXPECT_EQ(r.message.find("Version 1953460082"), std::string::npos) << r.message;
        EXPECT_EQ(doc.m_strDeviceId, "keep");
    }
}

TEST_F(FileSafety, OnlyRegularFilesOfSaneSizeAreRead) {
    CTRVDoc doc;
    // A sparse file of 3 GB costs no disk space but must not be read into memory.
    {
        std::ofstream(P("huge.trv")) << "";
        fs::resize_file(P("huge.trv"), 3ull << 30);
        const FileResult r = LoadDocument(P("huge.trv"), doc);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find("huge.trv"), std::string::npos);
        EXPECT_NE(r.message.find("zu groß"), std::string::npos) << r.message;
    }
    // An endless device and a pipe nobody writes to end at once with a refusal.
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), std::string("/dev/null"), P("fifo")}) {
        const FileResult r = LoadDocument(path, doc);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_NE(r.message.find("keine gewöhnliche Datei"), std::string::npos) << r.message;
    }
    // A real document just below the limit's order of magnitude still opens: 20,000 tests.
    Put(P("small.trv"), SmallV5());
    EXPECT_TRUE(LoadDocument(P("small.trv"), doc).ok);
    EXPECT_GT(kMaxDocumentBytes, 20000u * 2 * 44 + 20000u * 57);
}

TEST_F(FileSafety, StaleTemporariesOfTheTargetAreRemovedByTheNextSave) {
    // A writer that was killed: its process is gone, its temporary stays.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = "doc.trv.tmp-" + std::to_string(gone);
    const std::string alive = "doc.trv.tmp-" + std::to_string(::getppid());  // a writer that still runs
    const std::string other = "other.trv.tmp-" + std::to_string(gone);       // not this target's
    for (const auto& n : {stale, alive, other, std::string("doc.trv.tmp-x1")}) Put(P(n), {1, 2, 3});
    CTRVDoc doc;
    ASSERT_TRUE(SaveDocument(doc, P("doc.trv")).ok);
    EXPECT_EQ(Names(), (std::vector<std::string>{"doc.trv", alive, "doc.trv.tmp-x1", other}));
    EXPECT_EQ(fs::file_size(P("doc.trv")), 57u);
}

TEST_F(FileSafety, SavingThroughASymbolicLinkWritesItsTarget) {
    fs::create_directory(dir / "real");
    Put(P("real/a.trv"), SmallV5());
    fs::create_symlink("real/a.trv", dir / "link.trv");
    fs::create_symlink("link.trv", dir / "link2.trv");  // a chain of two
    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(P("link2.trv"), doc).ok);
    doc.m_UserData.m_strFirstName = "Eva";
    ASSERT_TRUE(SaveDocument(doc, P("link2.trv")).ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.trv"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.trv"));
    EXPECT_EQ(fs::read_symlink(dir / "link.trv"), "real/a.trv");
    EXPECT_EQ(fs::file_size(P("real/a.trv")), SmallV5().size() + 3);  // "Eva" in the first-name text
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.trv", "link2.trv", "real"}));
    // A link whose target does not exist yet: the target is created, the link stays.
    fs::create_symlink("real/new.csv", dir / "out.csv");
    ASSERT_TRUE(ExportCsv(doc, {0}, P("out.csv"), {}).ok);
    EXPECT_TRUE(fs::is_symlink(dir / "out.csv"));
    EXPECT_TRUE(fs::is_regular_file(dir / "real/new.csv"));
    // A loop of links is refused with a German text.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    const FileResult r = SaveDocument(doc, P("loop1"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.find("Systemfehler"), std::string::npos) << r.message;
}

TEST(FileErrors, EveryErrnoASaveCanMeetHasAGermanText) {
    for (int e : {ENOENT, EACCES,  EPERM,     EISDIR, ENOSPC, EROFS,      EDQUOT,    ENAMETOOLONG, EFBIG,
                  EIO,    ENOTDIR, ELOOP,     EMLINK, EXDEV,  ETXTBSY,    EBUSY,     EMFILE,       ENFILE,
                  ENOMEM, EINVAL,  EEXIST,    EAGAIN, EINTR,  ENXIO,      EOVERFLOW, ESTALE,       ENODEV,
                  EBADF,  EFAULT,  ENOTEMPTY, ENOLCK, ENOSYS, EOPNOTSUPP, ETIMEDOUT}) {
        SCOPED_TRACE(e);
        const std::string t = FileErrorText(e);
        EXPECT_EQ(t.find("Systemfehler"), std::string::npos) << t;
        EXPECT_EQ(t.back(), '.');
    }
    EXPECT_NE(FileErrorText(EFBIG), FileErrorText(ENOSPC));
}

// Writes are limited to a few kilobytes, as a full disk or a quota would: the write fails with EFBIG
// (the signal that would end the process is ignored, as the programs do).
TEST_F(FileSafety, WriteThatFailsHalfwayLeavesTheOldFileAndNoTemporary) {
    CTRVDoc doc = ManyReadings(400);  // 17.6 kB
    Put(P("old.trv"), SmallV5());
    std::ofstream(P("old.csv"), std::ios::binary) << "old";
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lim{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        const FileResult s = SaveDocument(doc, P("old.trv"));
        const FileResult c = ExportCsv(doc, {0}, P("old.csv"), {});
        const bool texts = s.message.find("zu groß") != std::string::npos &&
                           c.message.find("zu groß") != std::string::npos &&
                           c.message.find("old.csv") != std::string::npos;
        ::_exit(!s.ok && !c.ok && texts ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Get(P("old.trv")), SmallV5());
    EXPECT_EQ(Get(P("old.csv")), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"old.csv", "old.trv"}));
}

// A real full file system, where the machine lets us mount one.
TEST_F(FileSafety, FullFileSystemKeepsTheOldFiles) {
    const fs::path mnt = dir / "mnt";
    fs::create_directory(mnt);
    if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs mount here";
    struct Unmount {
        fs::path p;
        ~Unmount() { ::umount(p.c_str()); }
    } unmount{mnt};
    const std::string trv = (mnt / "a.trv").string(), csv = (mnt / "a.csv").string();
    Put(trv, SmallV5());
    std::ofstream(csv, std::ios::binary) << "old";
    std::ofstream((mnt / "filler").string(), std::ios::binary) << std::string(40 * 1024, 'x');
    CTRVDoc doc = ManyReadings(600);  // 26 kB: more than is left
    for (const FileResult& r : {SaveDocument(doc, trv), ExportCsv(doc, {0}, csv, {})}) {
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find("nicht genügend Platz"), std::string::npos) << r.message;
    }
    EXPECT_EQ(Get(trv), SmallV5());
    EXPECT_EQ(Get(csv), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(Names(mnt), (std::vector<std::string>{"a.csv", "a.trv", "filler"}));
}

TEST_F(FileSafety, EmptyDeviceIdNeverBindsAndIdsComeBackByteForByte) {
    // A version-5 file with an empty device ID (an old file saved once) belongs to no analyser.
    Put(P("empty.trv"), SmallV5(""));
    CTRVDoc doc;
    ASSERT_TRUE(LoadDocument(P("empty.trv"), doc).ok);
    EXPECT_FALSE(IsDeviceBound(doc));
    doc.m_bDeviceBound = true;  // as a download of an empty identity would have set it
    EXPECT_FALSE(IsDeviceBound(doc));

    // Every byte an analyser could send as part of its ID is kept through save and open.
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string sent = std::string("ARV") + static_cast<char>(b) + "012345";
        CTRVDoc d;
        d.m_strDeviceId = DeviceIdFromAnalyser(sent);
        d.m_bDeviceBound = true;
        ASSERT_TRUE(SaveDocument(d, P("id.trv")).ok);
        // The file holds the analyser's bytes as a plain code-page text.
        const auto bytes = Get(P("id.trv"));
        ASSERT_EQ(bytes.size(), 57u + sent.size());
        EXPECT_EQ(std::string(bytes.end() - 8 - 10, bytes.end() - 8), sent);
        CTRVDoc back;
        ASSERT_TRUE(LoadDocument(P("id.trv"), back).ok);
        EXPECT_TRUE(IsDeviceBound(back));
        EXPECT_TRUE(IsSameDevice(back, sent));
        EXPECT_FALSE(IsSameDevice(back, b == 'X' ? "ARVY012345" : "ARVX012345"));
    }
    CTRVDoc d;
    d.m_strDeviceId = "ARV0012345";
    EXPECT_FALSE(IsSameDevice(d, "ARV0012345 "));
    EXPECT_FALSE(IsSameDevice(d, "arv0012345"));
}
