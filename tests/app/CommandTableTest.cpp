// The main window built from its command table: every menu holds its commands in the order the
// program always had, the tool bar too, no two commands share a key, and the test list's context
// menu offers the very actions of the menus.
#include "ViewFixture.h"
#include "app/ChildFrame.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "view/window/TRVView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeView>

#include <gtest/gtest.h>

#include <set>

using namespace trv;

namespace {

// A menu's entries as "text" or "-" for a separator, '&' removed.
QStringList Entries(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text().remove('&'));
    return out;
}

QMenu* MenuNamed(CMainFrame& frame, const QString& title) {
    for (QAction* a : frame.menuBar()->actions())
        if (a->text().remove('&') == title) return a->menu();
    return nullptr;
}

}  // namespace

TEST(CommandTable, MenusHoldTheirCommandsInTheirOrder) {
    CMainFrame frame;
    // Without a document the "Datei" menu is short; the recent files sit between two separators.
    QMenu* file = MenuNamed(frame, QStringLiteral("Datei"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Entries(file).join('|'), QStringLiteral("Neu|Öffnen...|Druckeinrichtung...|-|-|Beenden"));

    frame.NewDocument();
    struct Case {
        const char* menu;
        const char* entries;
    } const cases[] = {
        {"Datei",
         "Neu|Neu mit ausgewählten Tests|Öffnen...|Schließen|Speichern|Speichern unter...|-|Daten exportieren|"
         "Schwellen exportieren...|Messwerte importieren ...|-|Drucken...|Seitenansicht|Als PDF speichern ...|"
         "Verlauf drucken...|Druckeinrichtung...|-|-|Beenden"},
        {"Bearbeiten",
         "Rückgängig|Wiederholen|-|Messdaten kopieren|Einfügen|-|In Stufentest umwandeln|Test manuell erfassen ...|-|"
         "Tests zuordnen...|Zuordnung aufheben"},
        {"Ansicht", "Symbolleiste|Statusleiste|-|Verlauf|Athleten|Teamübersicht...|Zugeordnete Tests ausblenden"},
        {"Einstellungen",
         "Cursor L1 anzeigen|Cursor L2 anzeigen|-|Trainingszonen...|Messunsicherheit...|Bevorzugte Auswertung...|"
         "Sprache / Language|Athletenbibliothek...|-|BT-Kompatibilitätsmodus|Geräteeinstellungen"},
        {"?", "Hilfe|-|Morvane im Internet|-|Info über TRV..."},
    };
    for (const Case& c : cases) {
        QMenu* menu = MenuNamed(frame, QString::fromUtf8(c.menu));
        ASSERT_NE(menu, nullptr) << c.menu;
        EXPECT_EQ(Entries(menu).join('|').toStdString(), std::string(c.entries)) << c.menu;
    }
    // "Fenster": its commands, then one entry per document window.
    QMenu* windows = MenuNamed(frame, QStringLiteral("Fenster"));
    ASSERT_NE(windows, nullptr);
    const QStringList w = Entries(windows);
    ASSERT_GE(w.size(), 6);
    EXPECT_EQ(w.mid(0, 5).join('|'), QStringLiteral("Neues Fenster|Überlappend|Nebeneinander|Symbole anordnen|-"));
}

TEST(CommandTable, TheToolBarAndTheKeys) {
    CMainFrame frame;
    auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    QStringList order;
    for (QAction* a : bar->actions())
        order << (a->isSeparator() ? QStringLiteral("-") : a->text().remove('&').remove(QStringLiteral("...")));
    EXPECT_EQ(order.join('|'), QStringLiteral("Neu|Öffnen|Speichern|-|Messdaten kopieren|-|Drucken|-|Info über TRV"));
    // Every row has its action; a key belongs to one command only.
    std::set<QString> keys;
    for (const CommandRow& row : Commands()) {
        QAction* a = frame.Action(row.id);
        ASSERT_NE(a, nullptr) << static_cast<int>(row.id);
        for (const QKeySequence& k : a->shortcuts())
            EXPECT_TRUE(keys.insert(k.toString()).second) << k.toString().toStdString();
    }
    EXPECT_EQ(
        frame.Action(CommandId::Redo)->shortcuts(),
        (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
}

TEST(CommandTable, TheTestListsContextMenuOffersTheMenusActions) {
    CMainFrame frame;
    frame.show();
    CChildFrame* child = frame.NewDocument();
    CTRVView* view = child->View();
    QTreeView* list = view->Ui().testList;
    QList<QAction*> offered;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = menu->actions();
            menu->close();
        }
    });
    const QPoint local = list->viewport()->rect().center();
    QContextMenuEvent e(QContextMenuEvent::Mouse, view->mapFromGlobal(list->viewport()->mapToGlobal(local)),
                        list->viewport()->mapToGlobal(local));
    QApplication::sendEvent(view, &e);
    // An empty document has no single readings to convert: the tests that need no analyser.
    ASSERT_EQ(offered.size(), 3);
    EXPECT_EQ(offered[0], frame.Action(CommandId::ManualTest));
    EXPECT_EQ(offered[1], frame.Action(CommandId::ImportReadings));
    EXPECT_EQ(offered[2], frame.Action(CommandId::PasteReadings));
    for (QAction* a : offered) EXPECT_TRUE(a->isEnabled());
}
