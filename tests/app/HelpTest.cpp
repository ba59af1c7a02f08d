// "?" > "Hilfe" (F1): the guide inside the program, and the about box's versions and licences.
#include "app/MainFrame.h"
#include "view/dialogs/AboutDlg.h"
#include "view/dialogs/HelpDialog.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QString GuideHtml() {
    QFile f(QStringLiteral(":/trv/hilfe.html"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

}  // namespace

TEST(Help, F1OpensTheGuideBesideTheWorkOnce) {
    CMainFrame frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_EQ(frame.findChild<CHelpDialog*>(), nullptr);
    QTest::keyClick(&frame, Qt::Key_F1);
    auto* help = frame.findChild<CHelpDialog*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("TRV-Hilfe"));
    EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("Erste Übertragung")));
    // Asked again: the same window comes to the front, no second one.
    help->close();
    frame.Action(CommandId::Help)->trigger();
    EXPECT_EQ(frame.findChildren<CHelpDialog*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
    help->close();
}

TEST(Help, TheQuestionMarkMenuOffersIt) {
    CMainFrame frame;
    QMenu* menu = nullptr;
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == QStringLiteral("&?")) menu = a->menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->actions().isEmpty());
    QAction* first = menu->actions().first();
    EXPECT_EQ(first, frame.Action(CommandId::Help));
    EXPECT_EQ(first->text(), QStringLiteral("&Hilfe"));
    EXPECT_EQ(first->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(first->isEnabled());
}

TEST(Help, TheGuideCoversTheDailyWorkAndItsLinksLeadSomewhere) {
    const QString html = GuideHtml();
    for (const char* topic :
         {"Erste Übertragung", "Ein Stufentest", "Testparameter", "Schwellen", "Drucken", "Serielle Schnittstelle",
          "dialout", "Daten empfangen", "In Stufentest umwandeln", "Protokolldruck"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(topic))) << topic;
    // Every link within the page has its anchor.
    QRegularExpression link(QStringLiteral("href=\"#([a-z]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        ++links;
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(name))) << name.toStdString();
    }
    EXPECT_GE(links, 7);
}

TEST(AboutBox, NamesTheVersionsAndLicencesOfTheLibraries) {
    CAboutDlg dlg;
    const QString line = dlg.LicenceLine();
    EXPECT_TRUE(line.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion()))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("QCustomPlot 2.1"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("Lesser General Public License, Version 3")));
    EXPECT_TRUE(line.contains(QStringLiteral("General Public License, Version 3 oder später")));
    auto* shown = dlg.findChild<QLabel*>(QStringLiteral("licences"));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), line);
}
