#pragma once
// The main window: menus, tool bar, status bar and the area of the document windows. Its commands
// come from the command table (Commands.cpp): one QAction per row, looked up by CommandId.
#include "data/TRVDoc.h"
#include "res/Strings.h"
#include "view/window/CommandId.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include <array>
#include <map>
#include <utility>
#include <vector>

class QAction;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QToolBar;
class CChildFrame;
class CDocHandle;
class CHelpDialog;
class CHistoryDock;
class CAthletesDock;
class CLibraryService;
class CRecentFiles;
class CTRVView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // The action of a command of the table.
    QAction* Action(CommandId id) const { return m_acts[static_cast<size_t>(id)]; }

    // File commands. Each returns false when nothing happened (cancelled or failed with a message).
    CChildFrame* NewDocument(const trv::TransferSlot* slot = nullptr);
    bool OpenDocument(const QString& path);
    // The path as the file system has it (bytes, which need not be UTF-8).
    bool OpenDocumentPath(const std::string& path);
    bool SaveDocument(CDocHandle* doc, bool saveAs);
    void NewFromSelection();
    void NewWindow();
    void TileSideBySide();
    bool eventFilter(QObject* watched, QEvent* e) override;
    // Files dropped on the window: each local file is opened. Returns how many opened.
    int OpenDropped(const QMimeData* mime);

    CChildFrame* ActiveFrame() const;
    CTRVView* ActiveView() const;
    QMdiArea* MdiArea() const { return m_pMdi; }
    CHistoryDock* HistoryDock() const { return m_pHistory; }
    QStringList RecentFiles() const;
    // The document windows' entries of the "Fenster" menu, in window order (for tests).
    const std::vector<QAction*>& WindowEntries() const { return m_windowActs; }
    const std::vector<CDocHandle*>& Documents() const { return m_docs; }

    // After a crash: offers each recovery copy whose program is gone ("Wiederherstellen",
    // "Verwerfen", "Später"). Returns how many documents were restored.
    int OfferRecovery();
    // Offers to reload each unmodified document whose file another program changed (runs every
    // two seconds).
    void CheckFilesOnDisk();

    // The save question for a modified document: true when the caller may go on closing.
    bool SaveModified(CDocHandle* doc);

    // What the main window's own commands run (the command table calls them).
    void OnOpen();
    void CloseActiveDocument();
    void SaveActiveDocument(bool saveAs);
    void PrintHistory();
    void OnPrintSetup();
    void ShowToolBar(bool on);
    void ShowStatusBar(bool on);
    // "Trainingszonen": the dialog, then every window's thresholds follow the new settings.
    void OnZoneSettings();
    void OnUncertaintySettings();
    void OnPreferredChoice();
    // "Sprache / Language": saves the choice for the next start and says so in both languages.
    void OnLanguage(trv::Lang lang);
    // The athlete library (LibraryCommands.cpp).
    void OnAssignTests();
    void OnUnassignTests();
    void OnTeamOverview();
    void OnHideAssigned();
    void OnLibrarySettings();
    void OnNewAthlete(const QString& group);
    CAthletesDock* AthletesDock() const { return m_pAthletes; }
    CLibraryService* Library() const { return m_pLibrary; }
    void Cascade();
    void OnHelp();
    void OnWebPage();
    void OnAbout();

    // The widest the Verlauf dock is made at a frame width: the document window's chart keeps room.
    static int HistoryDockWidth(int frameWidth);
    // The widest the Athleten dock is made at a frame width: a third, 280..560.
    static int AthletesDockWidth(int frameWidth);
    // The most a side dock may take of `frameWidth` (the frame less the other open dock) when the
    // document windows need `documentRoom` pixels beside it and the dock itself at least `dockLeast`:
    // `preferred`, less where the document windows would not fit.
    static int DockWidthBeside(int preferred, int frameWidth, int documentRoom, int dockLeast);

public slots:
    void UpdateCommands();
    // A line in the status bar for a few seconds: what an action did or why it was refused.
    void ShowStatusMessage(const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void CreateActions();
    void BuildMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateTitles();
    // The entries of the open document windows at the end of "Fenster".
    void FillWindowMenu();
    void OnFrameClose(CChildFrame* frame, bool& allow);
    CDocHandle* ActiveDoc() const;
    CChildFrame* AddFrame(CDocHandle* doc);
    // Takes the lock of `path` for `doc`. Opening, a lock held by another asks (read-only, edit
    // anyway, cancel); otherwise it is refused with the holder's message. False: not to be opened.
    bool TakeLock(CDocHandle* doc, const std::string& path, bool opening);

    QMdiArea* m_pMdi;
    CHistoryDock* m_pHistory = nullptr;
    // Narrows the Verlauf and the Athleten dock to their widths beside the document windows when they
    // are wider (a narrower width is kept).
    void FitDocks();
    void FitDock(QDockWidget* dock, int preferred, const QDockWidget* other);
    // The width the document area needs for its windows (their least width, frames included).
    int DocumentRoom() const;
    // The windows as "Nebeneinander" left them: tiled again when the area changes its size (the Verlauf
    // dock opening, the frame resized) while none was moved or resized since.
    std::vector<std::pair<QPointer<QMdiSubWindow>, QRect>> m_Tiled;
    void RetileWhenTiled();
    void SetUpLibrary();
    CLibraryService* m_pLibrary = nullptr;
    CAthletesDock* m_pAthletes = nullptr;
    std::vector<QAction*> m_acts;
    CRecentFiles* m_pRecent;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pWindowMenu = nullptr;
    std::vector<QAction*> m_windowActs;
    std::vector<CDocHandle*> m_docs;
    CHelpDialog* m_pHelp = nullptr;
    bool m_bClosingAll = false;
    bool m_bCheckingDisk = false;
    std::map<CDocHandle*, trv::FileIdentity> m_askedIdentity;  // changes on disk already offered
};
