// The library's windows offscreen: the Athleten list searched as you type, and a team's tests
// assigned with the keyboard alone, one of them to a new athlete and one to a document open in a
// window (which gets it as an undoable command, nothing written behind its back).
#include "../library/LibraryFixture.h"
#include "data/AssignedTests.h"
#include "res/Strings.h"
#include "view/library/AssignDialog.h"
#include "view/library/AthletesDock.h"
#include "view/library/LibraryService.h"
#include "view/library/TeamDialog.h"
#include "view/lists/TestListModel.h"
#include "view/lists/TestListProxy.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace trv;
using namespace trvtest::library;
using namespace trvtest::history;

namespace {

// With TRV_SHOT_DIR set (and a display), the windows are written there as pictures to look at.
void Shot(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("TRV_SHOT_DIR")) {
        QTest::qWait(200);
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
    }
}

void WaitRefreshed(CLibraryService& s) {
    for (int i = 0; i < 500 && s.Busy(); ++i) QTest::qWait(10);
    QApplication::processEvents();
}

class LibraryView : public ::testing::Test {
protected:
    void SetUp() override {
        lib.Athlete("Radsport/Mueller_Anna.trv", "Müller", "Anna");
        lib.Athlete("Radsport/Zander_Ole.trv", "Zander", "Ole", 2001, 1, 2);
        lib.Athlete("U23/Arndt_Eva.trv", "Arndt", "Eva", 2003, 3, 4);
        service.SetFolder(QString::fromStdString(lib.Dir()));
        WaitRefreshed(service);
    }
    TempLibrary lib;
    CLibraryService service;
};

TEST_F(LibraryView, DockSearchesAsYouTypeAndOpensOnEnter) {
    CAthletesDock dock(&service);
    dock.show();
    EXPECT_EQ(dock.m_pList->model()->rowCount(), 3);
    QTest::keyClicks(dock.m_pSearch, "MUL");  // finds "Müller"
    EXPECT_EQ(dock.m_pList->model()->rowCount(), 1);
    dock.m_pSearch->clear();
    QTest::keyClicks(dock.m_pSearch, "radsport");
    EXPECT_EQ(dock.m_pList->model()->rowCount(), 2);
    QSignalSpy open(&dock, &CAthletesDock::openRequested);
    dock.m_pList->setFocus();
    dock.m_pList->setCurrentIndex(dock.m_pList->model()->index(1, 0));
    QTest::keyClick(dock.m_pList, Qt::Key_Return);
    ASSERT_EQ(open.count(), 1);
    EXPECT_TRUE(open.at(0).at(0).toString().endsWith(QStringLiteral("Radsport/Zander_Ole.trv")));
    dock.m_pSearch->clear();
    dock.resize(640, 420);
    Shot(&dock, "dock.png");
    // Sorting by the threshold column keeps every row.
    dock.m_pList->sortByColumn(CAthleteListModel::ColThreshold, Qt::DescendingOrder);
    EXPECT_EQ(dock.m_pList->model()->rowCount(), 3);
}

TEST_F(LibraryView, AssignsATeamWithTheKeyboardAlone) {
    CTRVDoc source;
    for (int a = 0; a < 3; ++a) {
        TestDataType t =
            StepTest(TestTreadmill, UnitKmh, COleDateTime::FromParts(2026, 3, 2, 9 + a, 0, 0), kRun, kMarch, kMarchHr);
        for (size_t k = 0; k < t.m_Steps.size(); ++k) t.m_Steps[k].m_nMeasId = static_cast<uint16_t>(11 + 10 * a + k);
        source.m_Tests.push_back(t);
    }
    CCommandHistory history;
    CWorkspace ws(source, history);
    // Zander's document is open in a window.
    CTRVDoc open;
    ASSERT_TRUE(LoadDocument(lib.Path("Radsport/Zander_Ole.trv"), open).ok);
    CCommandHistory openHistory;
    CWorkspace openWs(open, openHistory);
    const std::string zanderFile = lib.Bytes("Radsport/Zander_Ole.trv");

    AssignWindows windows;
    windows.source = &ws;
    windows.workspaceOf = [&](const std::string& path) {
        return path == lib.Path("Radsport/Zander_Ole.trv") ? &openWs : nullptr;
    };
    windows.refresh = [](CWorkspace*, uint32_t) {};
    windows.askAthlete = [](UserDataType& u) {
        u.m_strLastName = "Neu";
        u.m_strFirstName = "Ben";
        return true;
    };
    CAssignDialog dlg(&service, windows, {0, 1, 2}, QStringLiteral("U23"));
    dlg.show();
    ASSERT_EQ(dlg.m_Athletes.size(), 3u);
    // Row 1: type part of the name, take the completion, Enter goes on.
    dlg.m_Athletes[0]->setFocus();
    dlg.m_Athletes[0]->setText(QStringLiteral("Müller, Anna (1990) \u00b7 Radsport"));
    QTest::keyClick(dlg.m_Athletes[0], Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());  // Enter is not OK
    EXPECT_TRUE(dlg.m_pError->isHidden());
    EXPECT_TRUE(dlg.m_Athletes[1]->hasFocus() || QApplication::focusWidget() == nullptr);
    dlg.m_Athletes[1]->setText(QStringLiteral("Zander, Ole (2001) \u00b7 Radsport"));
    dlg.m_Athletes[2]->setFocus();
    dlg.m_pNew->click();  // the new athlete goes into the current row
    EXPECT_EQ(dlg.m_Athletes[2]->text().left(9), QStringLiteral("Neu, Ben "));
    Shot(&dlg, "assign.png");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    CTRVDoc anna, ben;
    ASSERT_TRUE(LoadDocument(lib.Path("Radsport/Mueller_Anna.trv"), anna).ok);
    EXPECT_EQ(anna.GetTestCount(), 7);
    ASSERT_TRUE(LoadDocument(lib.Path("U23/Neu_Ben.trv"), ben).ok);
    EXPECT_EQ(ben.GetTest(0).m_Steps.front().m_nMeasId, 31);
    // The open document got its test through its window, the file is untouched.
    EXPECT_EQ(lib.Bytes("Radsport/Zander_Ole.trv"), zanderFile);
    EXPECT_EQ(open.GetTestCount(), 7);
    EXPECT_TRUE(openWs.IsModified());
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(IsAssignedTest(source.GetTest(i)));
    // The marking in the source is one undoable command.
    EXPECT_EQ(history.Count(), 1u);
    ws.Undo();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsAssignedTest(source.GetTest(i)));
}

TEST_F(LibraryView, UnknownAthleteKeepsTheDialogOpenAndWritesNothing) {
    CTRVDoc source;
    source.m_Tests.push_back(StepTest(TestTreadmill, UnitKmh, Day(2026, 3, 2), kRun, kMarch, kMarchHr));
    CCommandHistory history;
    CWorkspace ws(source, history);
    AssignWindows windows;
    windows.source = &ws;
    CAssignDialog dlg(&service, windows, {0}, QString());
    dlg.m_Athletes[0]->setText(QStringLiteral("Niemand"));
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.m_pError->text().contains(QStringLiteral("Niemand")));
    EXPECT_FALSE(IsAssignedTest(source.GetTest(0)));
}

TEST_F(LibraryView, TeamOverviewTableCopiesAndSaves) {
    CTeamDialog dlg(&service, {QString::fromStdString(lib.Path("Radsport/Mueller_Anna.trv")),
                               QString::fromStdString(lib.Path("U23/Arndt_Eva.trv"))});
    EXPECT_EQ(dlg.m_pTable->rowCount(), 2);
    dlg.show();
    Shot(&dlg, "team.png");
    const QString copy = dlg.CopyText();
    EXPECT_TRUE(copy.startsWith(QStringLiteral("Nachname\tVorname\t")));
    EXPECT_EQ(copy.count(QLatin1Char('\n')), 3);
    const std::string csv = (lib.root / "t.csv").string(), pdf = (lib.root / "t.pdf").string();
    EXPECT_TRUE(dlg.SaveCsv(QString::fromStdString(csv)));
    EXPECT_TRUE(dlg.SavePdf(QString::fromStdString(pdf)));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    dlg.m_pBefore->setChecked(true);  // before today: the same tests
    EXPECT_EQ(dlg.m_pTable->rowCount(), 2);
}

TEST_F(LibraryView, TeamOverviewWritesDatesAndHeadingsInTheProgramsLanguage) {
    const struct {
        Lang lang;
        const char* date;
        const char* head;
    } cases[] = {{Lang::de, "02.03.2026", "Nachname\tVorname\tGeburtsdatum\t"},
                 {Lang::en, "02/03/2026", "Last name\tFirst name\tDate of birth\t"}};
    for (const auto& c : cases) {
        const LangScope scope(c.lang);
        CTeamDialog dlg(&service, {QString::fromStdString(lib.Path("Radsport/Mueller_Anna.trv"))});
        dlg.m_pDate->setDate(QDate(2026, 3, 2));
        EXPECT_EQ(dlg.m_pDate->text(), QString::fromLatin1(c.date)) << LangCode(c.lang);
        EXPECT_TRUE(dlg.CopyText().startsWith(QString::fromLatin1(c.head))) << dlg.CopyText().toStdString();
    }
}

TEST(TestListAssigned, GreyedAndHideable) {
    CTRVDoc doc;
    for (int a = 0; a < 3; ++a)
        doc.m_Tests.push_back(StepTest(TestTreadmill, UnitKmh, Day(2026, 3, 2 + a), kRun, kMarch, kMarchHr));
    SetAssigned(doc.GetTest(1), true);
    CTestListModel model(&doc);
    model.Refill();
    CTestListProxy proxy(&model);
    ASSERT_EQ(proxy.rowCount(), 3);
    const QModelIndex assigned = model.index(model.RowOfTestIndex(1), 0);
    const QModelIndex plain = model.index(model.RowOfTestIndex(0), 0);
    EXPECT_EQ(assigned.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    EXPECT_FALSE(plain.data(Qt::ForegroundRole).isValid());
    proxy.SetHideAssigned(true);
    ASSERT_EQ(proxy.rowCount(), 2);
    EXPECT_NE(proxy.TestIndexOfRow(0), 1);
    EXPECT_NE(proxy.TestIndexOfRow(1), 1);
    proxy.SetHideAssigned(false);
    EXPECT_EQ(proxy.rowCount(), 3);
}

}  // namespace
