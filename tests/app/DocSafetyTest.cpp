// A document window against other writers and crashes: the question on opening a locked document and
// the read-only window, the lock held while the window is open, the question before overwriting a
// file changed by another program, a write-protected file kept, printing to a PDF that cannot be
// written, and the recovery copy surviving a killed program.
#include "ViewFixture.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "data/DocLock.h"
#include "data/Recovery.h"
#include "data/TrvFile.h"
#include "view/window/DocHandle.h"
#include "view/window/DocSafety.h"
#include "view/window/ProtocolPrinting.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

using namespace trv;
using namespace viewtest;
namespace fs = std::filesystem;

namespace {

// Answers the next message box by the text of one of its buttons and keeps the box's text.
void Answer(const QString& buttonText, QString* text = nullptr) {
    OnNextModal([buttonText, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        if (text) *text = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == buttonText) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no button " << buttonText.toStdString() << " in: " << box->text().toStdString();
        box->reject();
    });
}

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

struct DocSafety : ::testing::Test {
    QTemporaryDir dir;
    std::string path;
    CMainFrame frame;
    DocSafety() {
        CTRVDoc doc;
        FillDocument(doc);
        path = dir.filePath(QStringLiteral("Läufer.trv")).toStdString();
        EXPECT_TRUE(SaveDocument(doc, path).ok);
        frame.show();
    }
    ~DocSafety() override {
        for (CDocHandle* d : frame.Documents()) d->SetModified(false);
        frame.close();
    }
    CDocHandle* Doc() const { return frame.Documents().empty() ? nullptr : frame.Documents().back(); }
    void Change() const {
        Doc()->Doc().m_UserData.m_strRemarks = "im Fenster getippt";
        Doc()->SetModified(true);
        Doc()->UpdateAllViews(nullptr);
    }
};

TEST_F(DocSafety, AWindowHoldsTheLockWhileItIsOpen) {
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    LockHolder h;
    ASSERT_TRUE(CDocLock::ReadHolder(path, h));
    EXPECT_EQ(h.pid, static_cast<long>(::getpid()));
    EXPECT_FALSE(Doc()->IsReadOnly());
    frame.CloseActiveDocument();
    QApplication::processEvents();
    EXPECT_FALSE(fs::exists(CDocLock::LockPath(path)));
}

TEST_F(DocSafety, LockedDocumentOpensReadOnlyAndRefusesSavingOverTheFile) {
    std::ofstream(CDocLock::LockPath(path)) << "anna,labor-pc-2,4242,2026-12-07T09:05:00\n";
    const std::string before = Slurp(path);
    // Cancel opens nothing.
    QString question;
    Answer(QStringLiteral("Abbrechen"), &question);
    EXPECT_FALSE(frame.OpenDocumentPath(path));
    EXPECT_EQ(question,
              QStringLiteral("Die Datei wird bereits von anna auf labor-pc-2 bearbeitet (seit 07.12.2026 09:05)."));
    EXPECT_TRUE(frame.Documents().empty());

    Answer(QStringLiteral("Schreibgeschützt öffnen"));
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    EXPECT_TRUE(Doc()->IsReadOnly());
    EXPECT_EQ(Doc()->Title(), QStringLiteral("Läufer.trv [Schreibgeschützt]"));
    Change();
    QString refusal;
    Answer(QStringLiteral("Abbrechen"), &refusal);
    EXPECT_FALSE(frame.SaveDocument(Doc(), false));
    EXPECT_TRUE(refusal.contains(QStringLiteral("schreibgeschützt geöffnet"))) << refusal.toStdString();
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(Slurp(CDocLock::LockPath(path)), "anna,labor-pc-2,4242,2026-12-07T09:05:00\n");
}

TEST_F(DocSafety, EditAnywayTakesTheLockOver) {
    std::ofstream(CDocLock::LockPath(path)) << "anna,labor-pc-2,4242,2026-12-07T09:05:00\n";
    Answer(QStringLiteral("Trotzdem bearbeiten"));
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    EXPECT_FALSE(Doc()->IsReadOnly());
    LockHolder h;
    ASSERT_TRUE(CDocLock::ReadHolder(path, h));
    EXPECT_EQ(h.pid, static_cast<long>(::getpid()));
    Change();
    EXPECT_TRUE(frame.SaveDocument(Doc(), false));
}

TEST_F(DocSafety, FileChangedByAnotherProgramIsNotOverwrittenUnasked) {
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    Change();
    // Another program (one that ignores the lock) writes the file meanwhile.
    CTRVDoc other;
    ASSERT_TRUE(LoadDocument(path, other).ok);
    other.m_UserData.m_strRemarks = "von außen";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(SaveDocument(other, path).ok);
    const std::string theirs = Slurp(path);

    QString question;
    Answer(QStringLiteral("Abbrechen"), &question);
    EXPECT_FALSE(frame.SaveDocument(Doc(), false));
    EXPECT_TRUE(question.endsWith(QStringLiteral("Die Datei wurde seit dem Öffnen außerhalb des Programms geändert.")))
        << question.toStdString();
    EXPECT_EQ(Slurp(path), theirs);

    Answer(QStringLiteral("Überschreiben"));
    EXPECT_TRUE(frame.SaveDocument(Doc(), false));
    CTRVDoc back;
    ASSERT_TRUE(LoadDocument(path, back).ok);
    EXPECT_EQ(back.m_UserData.m_strRemarks, "im Fenster getippt");
    // Written by the window itself: the next save does not ask.
    Change();
    EXPECT_TRUE(frame.SaveDocument(Doc(), false));
}

TEST_F(DocSafety, UnmodifiedWindowOffersToReloadAChangedFileOnce) {
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    frame.CheckFilesOnDisk();  // nothing changed: no question (an unexpected box would stay open)
    CTRVDoc other;
    ASSERT_TRUE(LoadDocument(path, other).ok);
    other.m_UserData.m_strRemarks = "von außen";
    other.m_Tests.pop_back();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(SaveDocument(other, path).ok);
    QString question;
    Answer(QStringLiteral("Behalten"), &question);
    frame.CheckFilesOnDisk();
    EXPECT_EQ(
        question,
        QStringLiteral("Die Datei \"Läufer.trv\" wurde seit dem Öffnen außerhalb des Programms geändert. Neu laden?"));
    EXPECT_NE(Doc()->Doc().m_UserData.m_strRemarks, "von außen");
    frame.CheckFilesOnDisk();  // the same change is not offered twice
    // A further change is offered again; reloaded, the window shows the file and is unmodified.
    other.m_UserData.m_strRemarks = "noch einmal von außen";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(SaveDocument(other, path).ok);
    Answer(QStringLiteral("Neu laden"));
    frame.CheckFilesOnDisk();
    EXPECT_EQ(Doc()->Doc().m_UserData.m_strRemarks, "noch einmal von außen");
    EXPECT_EQ(Doc()->Doc().GetTestCount(), other.GetTestCount());
    EXPECT_FALSE(Doc()->IsModified());
    // Saving again does not ask: the window now has what is on disk.
    Change();
    EXPECT_TRUE(frame.SaveDocument(Doc(), false));
}

TEST_F(DocSafety, WriteProtectedFileIsKept) {
    ASSERT_TRUE(frame.OpenDocumentPath(path));
    Change();
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string before = Slurp(path);
    QString refusal;
    Answer(QStringLiteral("Abbrechen"), &refusal);
    EXPECT_FALSE(frame.SaveDocument(Doc(), false));
    EXPECT_TRUE(refusal.endsWith(QStringLiteral("Die Datei ist schreibgeschützt."))) << refusal.toStdString();
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0444));
}

TEST_F(DocSafety, FileNameThatIsNotUtf8Opens) {
    const std::string latin1 = dir.filePath(QStringLiteral("M")).toStdString() + "\xfcller.trv";
    fs::copy_file(path, latin1);
    // As the file dialog or the command line hands it over: replacement characters for the bad byte.
    ASSERT_TRUE(frame.OpenDocument(QString::fromUtf8(latin1.c_str())));
    EXPECT_EQ(Doc()->Doc().GetPathName(), latin1);
    EXPECT_EQ(Doc()->Title(), QStringLiteral("Müller.trv"));
    EXPECT_TRUE(fs::exists(CDocLock::LockPath(latin1)));
    Change();
    EXPECT_TRUE(frame.SaveDocument(Doc(), false));
    CTRVDoc back;
    ASSERT_TRUE(LoadDocument(latin1, back).ok);
    EXPECT_EQ(back.m_UserData.m_strRemarks, "im Fenster getippt");
}

TEST(PrintSafely, PdfThatCannotBeWrittenLeavesNoFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kein Ordner/Protokoll.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target);
    const auto paint = [](QPrinter& p) {
        QPainter painter;
        if (!painter.begin(&p)) return false;
        painter.drawText(100, 100, QStringLiteral("Test"));
        return painter.end();
    };
    const Result refused = PrintSafely(printer, paint);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message.rfind("Die PDF-Datei", 0), 0u) << refused.message;
    EXPECT_NE(refused.message.find("Protokoll.pdf"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(target));
    // And where it can be written, it is.
    printer.setOutputFileName(dir.filePath(QStringLiteral("ok.pdf")));
    EXPECT_EQ(PrintSafely(printer, paint).message, "");
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("ok.pdf"))).size(), 100);
}

// The program that gets killed: opens the document, types into it, and waits (run by the test below
// as a child process; skipped otherwise).
TEST(RecoveryChild, TypeAndWait) {
    const char* doc = std::getenv("TRV_TEST_CHILD_DOC");
    if (!doc) GTEST_SKIP() << "run by RecoveryAfterKill";
    ::setenv("XDG_DATA_HOME", std::getenv("TRV_TEST_CHILD_DATA"), 1);  // the test main set its own
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(frame.OpenDocumentPath(doc));
    CDocHandle* h = frame.Documents().back();
    h->Doc().m_UserData.m_strRemarks = "vor dem Absturz getippt";
    h->SetModified(true);
    h->UpdateAllViews(nullptr);
    for (;;) QTest::qWait(50);  // until killed
}

TEST(RecoveryAfterKill, TheNextStartOffersWhatWasTyped) {
    QTemporaryDir dir;
    const std::string data = dir.filePath(QStringLiteral("data")).toStdString();
    const std::string path = dir.filePath(QStringLiteral("Athlet.trv")).toStdString();
    CTRVDoc doc;
    FillDocument(doc);
    ASSERT_TRUE(SaveDocument(doc, path).ok);
    const std::string before = Slurp(path);

    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("TRV_TEST_CHILD_DOC", path.c_str(), 1);
        ::setenv("TRV_RECOVERY_SECONDS", "1", 1);
        ::setenv("TRV_TEST_CHILD_DATA", data.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl("/proc/self/exe", "child", "--gtest_filter=RecoveryChild.TypeAndWait", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const CRecoveryStore store(data + "/trv/recovery");
    bool written = false;
    for (int i = 0; i < 300 && !written; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        written = !store.List(true).empty();
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(written) << "the child wrote no recovery copy";
    EXPECT_EQ(Slurp(path), before);  // never saved
    ASSERT_EQ(store.List().size(), 1u);

    // The next start.
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string keep = oldData ? oldData : "";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    {
        CMainFrame frame;
        frame.show();
        QString offer;
        Answer(QStringLiteral("Wiederherstellen"), &offer);
        EXPECT_EQ(frame.OfferRecovery(), 1);
        EXPECT_TRUE(
            offer.startsWith(QStringLiteral("Nach einem Absturz ist eine Sicherungskopie von \"Athlet.trv\" vom ")))
            << offer.toStdString();
        ASSERT_EQ(frame.Documents().size(), 1u);
        CDocHandle* h = frame.Documents().back();
        EXPECT_EQ(h->Doc().m_UserData.m_strRemarks, "vor dem Absturz getippt");
        EXPECT_EQ(h->Doc().GetPathName(), path);
        EXPECT_TRUE(h->IsModified());
        // The killed program's lock was stale: this window holds it now.
        LockHolder holder;
        ASSERT_TRUE(CDocLock::ReadHolder(path, holder));
        EXPECT_EQ(holder.pid, static_cast<long>(::getpid()));
        // Only the restored window's own copy is left; saving removes it.
        EXPECT_EQ(store.List(true).size(), 1u);
        EXPECT_TRUE(frame.SaveDocument(h, false));
        EXPECT_TRUE(store.List(true).empty());
        frame.close();
    }
    if (oldData)
        ::setenv("XDG_DATA_HOME", keep.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
