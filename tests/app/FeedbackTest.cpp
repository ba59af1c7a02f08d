// What the main window tells the user after an action: status-bar lines and the title's marks.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "sim/SimMemory.h"
#include "view/lists/MeasurementListModel.h"
#include "view/window/DocHandle.h"
#include "view/window/ProtocolPrinting.h"
#include "view/window/TRVView.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

TEST(Feedback, ARefusedCellEntryIsNamedInTheStatusBar) {
    CMainFrame frame;
    frame.NewDocument();
    CTRVView* view = frame.ActiveView();
    ASSERT_NE(view, nullptr);
    emit view->Ui().measModel->editRefused(0, 4,
                                           QStringLiteral("Der Laktatwert muss zwischen 0,0 und 30,0 mmol/l liegen."));
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QStringLiteral("Der Laktatwert muss zwischen 0,0 und 30,0 mmol/l liegen."));
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

TEST(Feedback, SaveAsPdfNamesTheFileAfterTheAthleteAndSaysWhereItWrote) {
    CMainFrame frame;
    frame.NewDocument();
    CTRVView* view = frame.ActiveView();
    ASSERT_NE(view, nullptr);
    trv::CTRVDoc& doc = view->GetDocument();
    doc.m_UserData.m_strFirstName = "Jörg";
    doc.m_UserData.m_strLastName = "Weiß Müller";
    EXPECT_EQ(view->Printing().FileName(), QStringLiteral("Weiß_Müller_Jörg.pdf"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.pdf"));
    ASSERT_TRUE(view->Printing().SavePdfTo(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith(QStringLiteral("Protokoll gespeichert: ")));
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

namespace {

// The title the window system shows: Qt's "[*]" placeholder already replaced.
QString ShownTitle(QWidget* w) { return w->windowHandle() ? w->windowHandle()->title() : QString(); }

}  // namespace

TEST(Feedback, ADownloadIsCountedInTheNoticeAreaAndMarksAnUntitledDocument) {
    CMainFrame frame;
    frame.show();
    CChildFrame* child = frame.NewDocument();
    CTRVView* view = child->View();
    const QString name = child->Doc()->Title();
    ASSERT_TRUE(name.startsWith(QStringLiteral("TRV")));
    EXPECT_FALSE(child->isWindowModified());
    EXPECT_FALSE(ShownTitle(&frame).contains(QLatin1Char('*'))) << ShownTitle(&frame).toStdString();

    const trv::sim::SimMemory sample = trv::sim::SampleMemory();
    const std::vector<uint8_t> image = trv::sim::BuildMemoryImage(sample.readings);
    const int readings = static_cast<int>(sample.readings.size());
    ASSERT_GT(readings, 1);
    view->OnMemoryReceived(image.data(), sample.deviceId, sample.firmware100 / 100.0);
    QApplication::processEvents();

    const QString line = QString::number(readings) + QStringLiteral(" neue Messwerte übertragen");
    EXPECT_EQ(frame.statusBar()->currentMessage(), line + QLatin1Char('.'));
    ASSERT_FALSE(view->ChartModel().notices.lines.empty());
    EXPECT_EQ(QString::fromStdString(view->ChartModel().notices.lines[0]), line);
    // It stays for a few seconds, also through the once-a-second refresh.
    EXPECT_GE(view->Ui().downloadNoticeTimer->remainingTime(), 3000);
    view->RefreshNotices();
    EXPECT_EQ(QString::fromStdString(view->ChartModel().notices.lines[0]), line);

    // The untitled document is modified now, and its window and the main title say so.
    EXPECT_TRUE(child->isWindowModified());
    EXPECT_TRUE(frame.isWindowModified());
    EXPECT_TRUE(ShownTitle(&frame).contains(name + QLatin1Char('*'))) << ShownTitle(&frame).toStdString();

    // Time up: the line goes, the other notices stay.
    view->Ui().downloadNoticeTimer->start(0);
    QApplication::processEvents();
    QApplication::processEvents();
    for (const std::string& l : view->ChartModel().notices.lines) EXPECT_NE(QString::fromStdString(l), line);

    // The same memory again brings nothing new, and says so.
    view->OnMemoryReceived(image.data(), sample.deviceId, sample.firmware100 / 100.0);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Keine neuen Messwerte im Arvento."));
    EXPECT_EQ(view->ChartModel().notices.lines[0], "Keine neuen Messwerte");
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

TEST(Feedback, TheWindowMenuListsTheOpenWindowsAndActivatesTheChosenOne) {
    CMainFrame frame;
    frame.show();
    CChildFrame* first = frame.NewDocument();
    CChildFrame* second = frame.NewDocument();
    const QString one = first->Doc()->Title(), two = second->Doc()->Title();
    auto texts = [&frame] {
        QStringList t;
        for (QAction* a : frame.WindowEntries()) t << a->text() + (a->isChecked() ? QStringLiteral(" (x)") : QString());
        return t;
    };
    EXPECT_EQ(texts(),
              QStringList({QStringLiteral("&1 ") + one, QStringLiteral("&2 ") + two + QStringLiteral(" (x)")}));
    // The entries stand in the menu itself, after the window commands.
    QMenu* windows = nullptr;
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == QStringLiteral("&Fenster")) windows = a->menu();
    ASSERT_NE(windows, nullptr);
    ASSERT_GE(windows->actions().size(), 2);
    EXPECT_EQ(windows->actions().last(), frame.WindowEntries().back());

    frame.WindowEntries().front()->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame.ActiveFrame(), first);
    EXPECT_EQ(texts(),
              QStringList({QStringLiteral("&1 ") + one + QStringLiteral(" (x)"), QStringLiteral("&2 ") + two}));

    // A change and a new name show at once; "&" in a file name is not taken for a mnemonic.
    first->View()->MarkModified();
    EXPECT_EQ(texts().front(), QStringLiteral("&1 ") + one + QStringLiteral("* (x)"));
    first->Doc()->Doc().SetPathName("/tmp/Lauf & Rad.trv");
    first->Doc()->PathChanged();
    EXPECT_EQ(texts().front(), QStringLiteral("&1 Lauf && Rad.trv* (x)"));

    // A second window on the same document is listed with its number; a closed one goes.
    frame.NewWindow();
    EXPECT_EQ(texts().size(), 3);
    EXPECT_EQ(texts().last(), QStringLiteral("&3 Lauf && Rad.trv:2* (x)"));
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_EQ(texts().size(), 2);
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}
