#pragma once
// The main window: menus, tool bar, status bar and the area of the document windows.
#include "data/TRVDoc.h"

#include <QMainWindow>
#include <QMdiSubWindow>

#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class CDocHandle;
class CHelpDialog;
class CHistoryDock;
class CTRVView;

// A document window: one view on one document.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CDocHandle* doc, QWidget* parent = nullptr);
    CTRVView* View() const { return m_pView; }
    CDocHandle* Doc() const { return m_pDoc; }
    void UpdateTitle(int number, int count);

signals:
    // Asked before the window closes; `allow` may be set to false (the save question was cancelled).
    void closeRequested(CChildFrame* frame, bool& allow);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    CDocHandle* m_pDoc;
    CTRVView* m_pView;
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // File commands. Each returns false when nothing happened (cancelled or failed with a message).
    CChildFrame* NewDocument(const trv::TransferSlot* slot = nullptr);
    bool OpenDocument(const QString& path);
    bool SaveDocument(CDocHandle* doc, bool saveAs);
    void NewFromSelection();
    void NewWindow();
    void TileSideBySide();
    // Files dropped on the window: each local file is opened. Returns how many opened.
    int OpenDropped(const QMimeData* mime);

    CChildFrame* ActiveFrame() const;
    CTRVView* ActiveView() const;
    QMdiArea* MdiArea() const { return m_pMdi; }
    QStringList RecentFiles() const;
    // The document windows' entries of the "Fenster" menu, in window order (for tests).
    const std::vector<QAction*>& WindowEntries() const { return m_windowActs; }
    const std::vector<CDocHandle*>& Documents() const { return m_docs; }

    // The save question for a modified document: true when the caller may go on closing.
    bool SaveModified(CDocHandle* doc);

    // Commands reachable for tests.
    QAction* m_pActNew;
    QAction* m_pActNewSel;
    QAction* m_pActOpen;
    QAction* m_pActClose;
    QAction* m_pActSave;
    QAction* m_pActSaveAs;
    QAction* m_pActExport;
    QAction* m_pActExportThresholds;
    QAction* m_pActZones;
    QAction* m_pActPreferred;
    QAction* m_pActLangDe;  // "Sprache / Language": "Deutsch"
    QAction* m_pActLangEn;  // "English"
    QAction* m_pActPrint;
    QAction* m_pActPreview;  // "Seitenansicht"
    QAction* m_pActSavePdf;  // "Als PDF speichern ..."
    QAction* m_pActPrintSetup;
    QAction* m_pActExit;
    QAction* m_pActUndo;
    QAction* m_pActRedo;
    QAction* m_pActCopy;
    QAction* m_pActPaste;
    QAction* m_pActConvert;
    QAction* m_pActManualTest;
    QAction* m_pActImport;
    QAction* m_pActToolbar;
    QAction* m_pActStatusbar;
    QAction* m_pActCursor1;
    QAction* m_pActCursor2;
    QAction* m_pActBt;
    QAction* m_pActConfig;
    QAction* m_pActWinNew;
    QAction* m_pActCascade;
    QAction* m_pActTile;
    QAction* m_pActArrange;
    QAction* m_pActWeb;
    QAction* m_pActAbout;
    QAction* m_pActHelp;  // "Hilfe", F1
    QAction* m_pActResetDevice;
    QAction* m_pActHistory;
    QAction* m_pActHistoryPrint;
    CHistoryDock* m_pHistory;

public slots:
    void UpdateCommands();
    // A line in the status bar for a few seconds: what an action did or why it was refused.
    void ShowStatusMessage(const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void CreateActions();
    void BuildMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void AddRecentFile(const QString& path);
    void FillRecentMenu();
    void UpdateTitles();
    // The entries of the open document windows at the end of "Fenster".
    void FillWindowMenu();
    void OnFrameClose(CChildFrame* frame, bool& allow);
    void OnAbout();
    void OnHelp();
    void OnWebPage();
    void OnPrintSetup();
    // "Trainingszonen": the dialog, then every window's thresholds follow the new settings.
    void OnZoneSettings();
    void OnPreferredChoice();
    // "Sprache / Language": saves the choice for the next start and says so in both languages.
    void OnLanguage(QAction* chosen);
    CDocHandle* ActiveDoc() const;
    CChildFrame* AddFrame(CDocHandle* doc);

    QMdiArea* m_pMdi;
    QMenu* m_pRecentMenu;
    QToolBar* m_pToolBar = nullptr;
    std::vector<QAction*> m_recentActs;
    QMenu* m_pWindowMenu = nullptr;
    std::vector<QAction*> m_windowActs;
    std::vector<CDocHandle*> m_docs;
    CHelpDialog* m_pHelp = nullptr;
    bool m_bHasDocMenus = false;
    bool m_bClosingAll = false;
};
