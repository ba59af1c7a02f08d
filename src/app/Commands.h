#pragma once
// The main window's command table: one row per command of the menus, the tool bar and the lists'
// context menus. The main window makes one QAction per row, builds the menus and the tool bar in
// table order and updates every action's enabled and checked state from the rows. A new command is
// one row here, one id in view/window/CommandId.h, and the function it runs.
#include "view/window/CommandId.h"

#include <QString>

#include <array>
#include <span>

class CMainFrame;
class CTRVView;

namespace trv {

enum class Menu { None, File, Edit, View, Settings, Window, Help };

enum CommandFlag : unsigned {
    SepBefore = 1u << 0,       // a separator above it in its menu
    WithDoc = 1u << 1,         // in its menu only while a document window is open
    Checkable = 1u << 2,       // a tick mark
    CheckedAtStart = 1u << 3,  // ticked when the program starts
    ToolSepBefore = 1u << 4,   // a separator left of its tool bar button
    RecentBefore = 1u << 5,    // the recent-files list (between separators) above it
    WindowKey = 1u << 6,       // its shortcut works while no menu holds it (the menu bar is rebuilt)
};

enum class CommandIcon { None, File, Open, Save, Print, Sheets, About };

struct CommandRow {
    CommandId id;
    Menu menu;
    unsigned flags;
    int textId;
    int tipId;                // the status bar's line; 0 for none
    std::array<int, 2> keys;  // QKeyCombination::toCombined(); 0 for none
    CommandIcon icon;
    // What the command does: on the active document window (run only when there is one), or on the
    // main window. One of the two is set.
    void (*onView)(CTRVView& view);
    void (*onFrame)(CMainFrame& frame);
    // When it can be chosen (view: the active window, null when there is none); null: always.
    bool (*enabled)(const CTRVView* view);
    // When it is ticked; null: the action keeps its own tick.
    bool (*checked)(const CTRVView* view);
    // Its menu text when that depends on the window ("Rückgängig: Laktatwert ändern"); null: textId.
    QString (*text)(const CTRVView* view);
};

// Every command, in menu order.
std::span<const CommandRow> Commands();
// The menus of the menu bar, left to right, and whether one shows only with a document window.
std::span<const Menu> MenuOrder();
// The tool bar's buttons, left to right.
std::span<const CommandId> ToolBarOrder();
int MenuTitleId(Menu menu);
bool MenuNeedsDoc(Menu menu);

}  // namespace trv
