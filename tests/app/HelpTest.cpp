// "?" > "Hilfe" (F1): the guide inside the program, and the about box's versions and licences.
#include "app/MainFrame.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/dialogs/AboutDlg.h"
#include "view/dialogs/HelpDialog.h"
#include "view/window/DocHandle.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

QString GuideHtml(const QString& resource = QStringLiteral(":/trv/hilfe.html")) {
    QFile f(resource);
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

namespace {

// The commands of the menu bar of a window with a document: (menu, command) with the Alt marks and
// the dots taken away; the lists the program fills itself (recent files, open windows) left out.
std::vector<std::pair<QString, QString>> MenuCommands(CMainFrame& frame) {
    auto plain = [](QString t) {
        t.remove(QLatin1Char('&'));
        t.remove(QStringLiteral("..."));
        t.remove(QChar(0x2026));
        return t.trimmed();
    };
    std::vector<std::pair<QString, QString>> out;
    for (QAction* top : frame.menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator() || a->text().isEmpty() || a->menu()) continue;
            if (QRegularExpression(QStringLiteral("^&?\\d+ ")).match(a->text()).hasMatch()) continue;
            out.emplace_back(plain(top->text()), plain(a->text()));
        }
    }
    return out;
}

// The guide of one language names every command of the menus the program shows in that language,
// the keys and the topics of the daily work.
void ExpectEveryMenuCommandNamed(trv::Lang lang, const QString& resource, std::initializer_list<const char*> keys,
                                 std::initializer_list<const char*> topics) {
    trv::LangScope scope(lang);
    CMainFrame frame;
    frame.NewDocument();
    QTextBrowser browser;
    browser.setHtml(GuideHtml(resource));
    const QString text = browser.toPlainText().simplified();
    const auto commands = MenuCommands(frame);
    ASSERT_GE(commands.size(), 30u);
    // The recent-file placeholder is a place, not a command.
    const QString recent = QString::fromUtf8(trv::LoadStr(trv::IDS_FILE_MRU_NONE));
    for (const auto& [menu, command] : commands) {
        if (command == recent) continue;
        EXPECT_TRUE(text.contains(command))
            << resource.toStdString() << ": " << menu.toStdString() << ": " << command.toStdString();
    }
    for (const char* key : keys) EXPECT_TRUE(text.contains(QString::fromLatin1(key))) << key;
    for (const char* topic : topics) EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

}  // namespace

TEST(Help, NamesEveryMenuCommandAsTheMenuDoes) {
    ExpectEveryMenuCommandNamed(
        trv::Lang::de, QStringLiteral(":/trv/hilfe.html"),
        {"F1", "Strg+Z", "Strg+Y", "Strg+C", "Strg+V", "Strg+F", "Strg+P", "Strg+B", "Entf", "F2"},
        {"Verlauf", "Schwellen", "Trainingszonen", "Test manuell erfassen", "Messwerte importieren", "Suchfeld",
         "Rückgängig", "Sicherungskopie"});
}

TEST(Help, TheEnglishGuideNamesEveryMenuCommandAsTheEnglishMenuDoes) {
    ExpectEveryMenuCommandNamed(
        trv::Lang::en, QStringLiteral(":/trv/help.html"),
        {"F1", "Ctrl+Z", "Ctrl+Y", "Ctrl+C", "Ctrl+V", "Ctrl+F", "Ctrl+P", "Ctrl+B", "Del", "F2"},
        {"History", "Thresholds", "Training zones", "Enter test by hand", "Import readings", "search field", "Undo",
         "recovery copy", "IAT"});
    // The same sections, so that a link into one guide finds its place in the other.
    QRegularExpression anchor(QStringLiteral("name=\"([a-z]+)\""));
    auto anchors = [&](const QString& html) {
        QStringList names;
        for (auto it = anchor.globalMatch(html); it.hasNext();) names << it.next().captured(1);
        return names;
    };
    EXPECT_EQ(anchors(GuideHtml(QStringLiteral(":/trv/help.html"))), anchors(GuideHtml()));
}

namespace {

QChar AltLetter(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

// Every item of one menu (and of its submenus) has a letter of its own within its menu.
void ExpectOwnAltLetters(QMenu* menu, const QString& where, const QString& recentPlaceholder) {
    QSet<QChar> used;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->text().isEmpty() || a->text() == recentPlaceholder) continue;
        const QChar c = AltLetter(a->text());
        EXPECT_FALSE(c.isNull()) << where.toStdString() << ": no Alt letter: " << a->text().toStdString();
        EXPECT_FALSE(!c.isNull() && used.contains(c))
            << where.toStdString() << ": Alt letter twice: " << a->text().toStdString();
        used.insert(c);
        if (a->menu()) ExpectOwnAltLetters(a->menu(), where + QStringLiteral(" > ") + a->text(), recentPlaceholder);
    }
}

class Menus : public ::testing::TestWithParam<trv::Lang> {};

}  // namespace

TEST_P(Menus, EveryCommandHasItsOwnAltLetter) {
    const trv::LangScope scope(GetParam());
    CMainFrame frame;
    frame.NewDocument();
    frame.NewDocument();  // the window list holds two entries
    // The placeholder of the recent-file list is no command.
    const QString recent = QString::fromUtf8(trv::LoadStr(trv::IDS_FILE_MRU_NONE));
    QSet<QChar> menus;
    int items = 0;
    for (QAction* top : frame.menuBar()->actions()) {
        if (!top->menu()) continue;
        const QChar m = AltLetter(top->text());
        EXPECT_FALSE(m.isNull()) << "menu without an Alt letter: " << top->text().toStdString();
        EXPECT_FALSE(menus.contains(m)) << "Alt letter twice in the menu bar: " << top->text().toStdString();
        menus.insert(m);
        ExpectOwnAltLetters(top->menu(), top->text(), recent);
        items += static_cast<int>(top->menu()->actions().size());
    }
    EXPECT_GE(menus.size(), 6);
    EXPECT_GE(items, 40);
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

INSTANTIATE_TEST_SUITE_P(Languages, Menus, ::testing::Values(trv::Lang::de, trv::Lang::en),
                         [](const auto& info) { return std::string(trv::LangCode(info.param)); });

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
