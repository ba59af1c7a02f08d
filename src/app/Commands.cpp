#include "app/Commands.h"

#include "app/AppStart.h"
#include "app/MainFrame.h"
#include "data/AssignedTests.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/window/DocHandle.h"
#include "view/window/ProtocolPrinting.h"
#include "view/window/TRVView.h"

#include <QKeyCombination>

namespace trv {

namespace {

constexpr int Key(QKeyCombination k) { return k.toCombined(); }
constexpr std::array<int, 2> NoKeys{0, 0};
constexpr std::array<int, 2> Keys(QKeyCombination a) { return {Key(a), 0}; }
constexpr std::array<int, 2> Keys(QKeyCombination a, QKeyCombination b) { return {Key(a), Key(b)}; }

// When a command can be chosen.
bool WithWindow(const CTRVView* v) { return v != nullptr; }
bool HasSelection(const CTRVView* v) { return v && !v->SelectedTestIndices().empty(); }
bool HasAssignedSelection(const CTRVView* v) {
    if (!v) return false;
    for (int t : v->SelectedTestIndices())
        if (trv::IsAssignedTest(v->GetDocument().GetTest(t))) return true;
    return false;
}
bool CanExport(const CTRVView* v) { return v && v->CanExport(); }
bool CanConvert(const CTRVView* v) { return v && v->CanConvertToStepTest(); }
bool CanConfigure(const CTRVView* v) { return v && v->ReceiveEnabled(); }
bool CanCopy(const CTRVView* v) { return v && v->MeasurementRowCount() > 0; }
bool CanUndo(const CTRVView* v) { return v && v->DocHandle()->History().CanUndo(); }
bool CanRedo(const CTRVView* v) { return v && v->DocHandle()->History().CanRedo(); }

// The language "Sprache / Language" ticks: the one chosen for the next start, else the program's.
Lang ChosenLanguage() {
    Lang lang = CurrentLang();
    SavedLanguage(lang);
    return lang;
}

// "Rückgängig: Laktatwert ändern": the name of the command an undo or redo replays.
QString Named(int plainId, int namedId, int commandId) {
    return commandId ? QU8(FmtId(namedId, LoadStr(commandId))) : QStr(plainId);
}
QString UndoText(const CTRVView* v) {
    return Named(IDS_UNDO, IDS_UNDO_NAMED, v ? v->DocHandle()->History().UndoNameId() : 0);
}
QString RedoText(const CTRVView* v) {
    return Named(IDS_REDO, IDS_REDO_NAMED, v ? v->DocHandle()->History().RedoNameId() : 0);
}

// A language's own name ("Deutsch", "English") is also a choice in the print set-up, where it has no Alt
// letter; in the menu its first letter is one.
QString WithAltLetter(int id) { return QLatin1Char('&') + QStr(id); }

using M = Menu;
using I = CommandIcon;
using Id = CommandId;
const auto C = Qt::CTRL;

// clang-format off
const CommandRow kCommands[] = {
// id                    menu        flags                                text / tip                                keys                                                           icon
{Id::New,              M::File,     0,                                    IDS_FILE_NEW, IDS_TIP_NEW,                 Keys(C | Qt::Key_N),                                          I::File,
    nullptr, [](CMainFrame& f) { f.NewDocument(); }, nullptr, nullptr, nullptr},
{Id::NewFromSelection, M::File,     WithDoc,                              IDS_FILE_NEW_SEL, IDS_TIP_NEW_SEL,         NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.NewFromSelection(); }, WithWindow, nullptr, nullptr},
{Id::Open,             M::File,     0,                                    IDS_FILE_OPEN, IDS_TIP_OPEN,               Keys(C | Qt::Key_O),                                          I::Open,
    nullptr, [](CMainFrame& f) { f.OnOpen(); }, nullptr, nullptr, nullptr},
{Id::Close,            M::File,     WithDoc,                              IDS_FILE_CLOSE, 0,                         NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.CloseActiveDocument(); }, WithWindow, nullptr, nullptr},
{Id::Save,             M::File,     WithDoc,                  IDS_FILE_SAVE, IDS_TIP_SAVE,               Keys(C | Qt::Key_S),                                          I::Save,
    nullptr, [](CMainFrame& f) { f.SaveActiveDocument(false); }, WithWindow, nullptr, nullptr},
{Id::SaveAs,           M::File,     WithDoc,                              IDS_FILE_SAVE_AS, 0,                       NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.SaveActiveDocument(true); }, WithWindow, nullptr, nullptr},
{Id::ExportData,       M::File,     WithDoc | SepBefore,                  IDS_FILE_EXPORT, IDS_TIP_EXPORT,           NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnExportData(); }, nullptr, CanExport, nullptr, nullptr},
{Id::ExportThresholds, M::File,     WithDoc,                              IDS_THR_EXPORT_MENU, IDS_THR_EXPORT_TIP,   NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnExportThresholds(); }, nullptr, CanExport, nullptr, nullptr},
{Id::ImportReadings,   M::File,     WithDoc,                              IDS_IMPD_ACTION, IDS_IMPD_ACTION_TIP,      NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnImportReadings(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::Print,            M::File,     WithDoc | SepBefore | ToolSepBefore, IDS_FILE_PRINT, IDS_TIP_PRINT, Keys(C | Qt::Key_P),                                    I::Print,
    [](CTRVView& v) { v.Printing().Print(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::Preview,          M::File,     WithDoc,                              IDS_FILE_PREVIEW, IDS_TIP_PREVIEW,         NoKeys,                                                        I::None,
    [](CTRVView& v) { v.Printing().Preview(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::SavePdf,          M::File,     WithDoc,                              IDS_FILE_SAVE_PDF, IDS_TIP_SAVE_PDF,       NoKeys,                                                        I::None,
    [](CTRVView& v) { v.Printing().SavePdf(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::HistoryPrint,     M::File,     WithDoc,                              IDS_HIST_PRINT, IDS_HIST_PRINT_TIP,        NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.PrintHistory(); }, WithWindow, nullptr, nullptr},
{Id::PrintSetup,       M::File,     0,                                    IDS_FILE_PRINT_SETUP, 0,                   NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnPrintSetup(); }, nullptr, nullptr, nullptr},
{Id::Exit,             M::File,     RecentBefore,                         IDS_FILE_EXIT, 0,                          NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.close(); }, nullptr, nullptr, nullptr},

{Id::Undo,             M::Edit,     0,                                    IDS_UNDO, 0,                               Keys(C | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace),             I::None,
    [](CTRVView& v) { v.OnUndo(); }, nullptr, CanUndo, nullptr, UndoText},
{Id::Redo,             M::Edit,     0,                                    IDS_REDO, 0,                               Keys(C | Qt::Key_Y, C | Qt::SHIFT | Qt::Key_Z),               I::None,
    [](CTRVView& v) { v.OnRedo(); }, nullptr, CanRedo, nullptr, RedoText},
{Id::CopyTable,        M::Edit,     SepBefore | ToolSepBefore, IDS_COPY_TABLE, IDS_TIP_COPY_TABLE,     Keys(C | Qt::Key_C, C | Qt::Key_Insert),                      I::Sheets,
    [](CTRVView& v) { v.OnCopyTable(); }, nullptr, CanCopy, nullptr, nullptr},
// Pasting a table of readings into a document window imports it as a test.
{Id::PasteReadings,    M::Edit,     0,                                    IDS_EDIT_PASTE, IDS_IMPD_PASTE_TIP,        Keys(C | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert),              I::None,
    [](CTRVView& v) { v.OnPasteReadings(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::ConvertToStepTest, M::Edit,    SepBefore,                            IDS_EDIT_CONVERT, IDS_TIP_CONVERT,         NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnConvertToStepTest(); }, nullptr, CanConvert, nullptr, nullptr},
{Id::ManualTest,       M::Edit,     0,                                    IDS_MT_ACTION, IDS_MT_ACTION_TIP,          NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnManualTest(); }, nullptr, WithWindow, nullptr, nullptr},
{Id::AssignTests,      M::Edit,     SepBefore,                            IDS_LIBGUI_ASSIGN, 0,                      NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnAssignTests(); }, HasSelection, nullptr, nullptr},
{Id::UnassignTests,    M::Edit,     0,                                    IDS_LIBGUI_UNASSIGN, 0,                    NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnUnassignTests(); }, HasAssignedSelection, nullptr, nullptr},

{Id::ToolBar,          M::View,     Checkable | CheckedAtStart,           IDS_VIEW_TOOLBAR, 0,                       NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.ShowToolBar(f.Action(Id::ToolBar)->isChecked()); }, nullptr, nullptr, nullptr},
{Id::StatusBar,        M::View,     Checkable | CheckedAtStart,           IDS_VIEW_STATUSBAR, 0,                     NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.ShowStatusBar(f.Action(Id::StatusBar)->isChecked()); }, nullptr, nullptr, nullptr},
// The history dock's own show/hide action: it runs itself.
{Id::History,          M::View,     SepBefore,                            IDS_HIST_MENU, IDS_HIST_TIP,               Keys(C | Qt::Key_H),                                          I::None,
    nullptr, nullptr, nullptr, nullptr, nullptr},
// The Athleten dock's own show/hide action, like the history's.
{Id::Athletes,         M::View,     0,                                    IDS_LIBGUI_DOCK_MENU, 0,                   Keys(C | Qt::Key_B),                                          I::None,
    nullptr, nullptr, nullptr, nullptr, nullptr},
{Id::TeamOverview,     M::View,     0,                                    IDS_LIBGUI_TEAM, 0,                        NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnTeamOverview(); }, nullptr, nullptr, nullptr},
{Id::HideAssigned,     M::View,     Checkable,                            IDS_LIBGUI_HIDE_ASSIGNED, 0,               NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnHideAssigned(); }, WithWindow, nullptr, nullptr},

{Id::Cursor1,          M::Settings, Checkable,                            IDS_SET_CURSOR1, IDS_TIP_CURSOR1,          NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnCursor(1); }, nullptr, WithWindow, [](const CTRVView* v) { return v && v->CursorShown(1); }, nullptr},
{Id::Cursor2,          M::Settings, Checkable,                            IDS_SET_CURSOR2, IDS_TIP_CURSOR2,          NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnCursor(2); }, nullptr, WithWindow, [](const CTRVView* v) { return v && v->CursorShown(2); }, nullptr},
{Id::ZoneSettings,     M::Settings, SepBefore,                            IDS_ZONES_MENU, IDS_ZONES_TIP,             NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnZoneSettings(); }, nullptr, nullptr, nullptr},
{Id::UncertaintySettings, M::Settings, 0,                                  IDS_CI_SETTINGS_MENU, IDS_CI_SETTINGS_TIP, NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnUncertaintySettings(); }, nullptr, nullptr, nullptr},
{Id::PreferredChoice,  M::Settings, 0,                                    IDS_PREF_MENU, IDS_PREF_TIP,               NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnPreferredChoice(); }, nullptr, nullptr, nullptr},
{Id::LanguageGerman,   M::Settings, LanguageMenu | Checkable,             IDS_LANG_GERMAN, IDS_LANG_TIP,             NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnLanguage(Lang::de); }, nullptr, [](const CTRVView*) { return ChosenLanguage() == Lang::de; }, [](const CTRVView*) { return WithAltLetter(IDS_LANG_GERMAN); }},
{Id::LanguageEnglish,  M::Settings, LanguageMenu | Checkable,             IDS_LANG_ENGLISH, IDS_LANG_TIP,            NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnLanguage(Lang::en); }, nullptr, [](const CTRVView*) { return ChosenLanguage() == Lang::en; }, [](const CTRVView*) { return WithAltLetter(IDS_LANG_ENGLISH); }},
{Id::LibrarySettings,  M::Settings, 0,                                    IDS_LIBGUI_SETTINGS, 0,                    NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnLibrarySettings(); }, nullptr, nullptr, nullptr},
{Id::BtMode,           M::Settings, SepBefore | Checkable,                IDS_SET_BT, IDS_TIP_BT,                    NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnBtMode(); }, nullptr, WithWindow, [](const CTRVView* v) { return v && v->BtMode(); }, nullptr},
{Id::DeviceSettings,   M::Settings, 0,                                    IDS_SET_CONFIG, IDS_TIP_CONFIG,            NoKeys,                                                        I::None,
    [](CTRVView& v) { v.OnDeviceSettings(); }, nullptr, CanConfigure, nullptr, nullptr},

{Id::WindowNew,        M::Window,   0,                                    IDS_WIN_NEW, 0,                            NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.NewWindow(); }, WithWindow, nullptr, nullptr},
{Id::Cascade,          M::Window,   0,                                    IDS_WIN_CASCADE, 0,                        NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.Cascade(); }, WithWindow, nullptr, nullptr},
{Id::Tile,             M::Window,   0,                                    IDS_WIN_TILE, 0,                           NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.TileSideBySide(); }, WithWindow, nullptr, nullptr},
{Id::Arrange,          M::Window,   0,                                    IDS_WIN_ARRANGE, 0,                        NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.TileSideBySide(); }, WithWindow, nullptr, nullptr},

{Id::Help,             M::Help,     WindowKey,                            IDS_HELP_CONTENTS, IDS_TIP_HELP,           Keys(QKeyCombination(Qt::Key_F1)),                            I::None,
    nullptr, [](CMainFrame& f) { f.OnHelp(); }, nullptr, nullptr, nullptr},
{Id::WebPage,          M::Help,     SepBefore,                            IDS_HELP_WEB, 0,                           NoKeys,                                                        I::None,
    nullptr, [](CMainFrame& f) { f.OnWebPage(); }, nullptr, nullptr, nullptr},
{Id::About,            M::Help,     SepBefore | ToolSepBefore, IDS_HELP_ABOUT, IDS_TIP_ABOUT,            NoKeys,                                                        I::About,
    nullptr, [](CMainFrame& f) { f.OnAbout(); }, nullptr, nullptr, nullptr},

// Ctrl+R: empties the analyser's memory after its question.
{Id::ResetAnalyser,    M::None,     WindowKey,                            0, 0,                                      Keys(C | Qt::Key_R),                                          I::None,
    [](CTRVView& v) { v.OnResetAnalyser(); }, nullptr, nullptr, nullptr, nullptr},
};
// clang-format on

const CommandId kToolBar[] = {Id::New, Id::Open, Id::Save, Id::CopyTable, Id::Print, Id::About};

const Menu kMenuOrder[] = {Menu::File, Menu::Edit, Menu::View, Menu::Settings, Menu::Window, Menu::Help};

}  // namespace

std::span<const CommandRow> Commands() { return kCommands; }

std::span<const Menu> MenuOrder() { return kMenuOrder; }

std::span<const CommandId> ToolBarOrder() { return kToolBar; }

int MenuTitleId(Menu menu) {
    switch (menu) {
        case Menu::File:
            return IDS_MENU_FILE;
        case Menu::Edit:
            return IDS_MENU_EDIT;
        case Menu::View:
            return IDS_MENU_VIEW;
        case Menu::Settings:
            return IDS_MENU_SETTINGS;
        case Menu::Window:
            return IDS_MENU_WINDOW;
        case Menu::Help:
            return IDS_MENU_HELP;
        case Menu::None:
            break;
    }
    return 0;
}

bool MenuNeedsDoc(Menu menu) { return menu == Menu::Edit || menu == Menu::Settings || menu == Menu::Window; }

}  // namespace trv
