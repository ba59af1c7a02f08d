#pragma once
// The names of the main window's commands (its command table is src/app/Commands.cpp). A document
// window puts some of the same actions into its lists' context menus and asks for them by name.
#include <functional>

class QAction;

enum class CommandId {
    // "Datei"
    New,
    NewFromSelection,
    Open,
    Close,
    Save,
    SaveAs,
    ExportData,
    ExportThresholds,
    ImportReadings,
    Print,
    Preview,
    SavePdf,
    HistoryPrint,
    PrintSetup,
    Exit,
    // "Bearbeiten"
    Undo,
    Redo,
    CopyTable,
    PasteReadings,
    ConvertToStepTest,
    ManualTest,
    AssignTests,
    UnassignTests,
    // "Ansicht"
    ToolBar,
    StatusBar,
    History,
    Athletes,
    TeamOverview,
    HideAssigned,
    // "Einstellungen"
    Cursor1,
    Cursor2,
    ZoneSettings,
    UncertaintySettings,
    PreferredChoice,
    LanguageGerman,  // "Sprache / Language" > "Deutsch"
    LanguageEnglish,
    LibrarySettings,
    BtMode,
    DeviceSettings,
    // "Fenster"
    WindowNew,
    Cascade,
    Tile,
    Arrange,
    // "?"
    Help,
    WebPage,
    About,
    // In no menu: Ctrl+R
    ResetAnalyser,
};

// The action of a command, up to date for the active window; null when there is none (a window
// without a main window, as in tests).
using CommandLookup = std::function<QAction*(CommandId)>;
