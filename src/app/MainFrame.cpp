#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppStart.h"
#include "app/HelpDialog.h"
#include "data/TrvFile.h"
#include "res/StringIds.h"
#include "view/DocHandle.h"
#include "view/HistoryDock.h"
#include "view/Icons.h"
#include "view/MeasurementListModel.h"
#include "view/PreferredChoiceDialog.h"
#include "view/PreferredChoiceStore.h"
#include "view/ProtocolPrinting.h"
#include "view/QtText.h"
#include "view/TRVView.h"
#include "view/ZoneSettingsDialog.h"
#include "view/ZoneSettingsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

using namespace trv;

namespace {

constexpr int kRecentMax = 4;
constexpr QSize kMinimumSize(880, 560);
constexpr int kStatusMessageMs = 10000;
const char kRecentGroup[] = "Recent File List";

// Copy: two sheets.
QIcon SheetsIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0, 0, 96));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 8, 10);
    p.drawRect(6, 5, 8, 10);
    return QIcon(pm);
}

QString TrvFilter() { return QStr(IDS_TRV_FILTER) + QStringLiteral(";;") + QStr(IDS_ALL_FILES); }

}  // namespace

// ---- document window ----------------------------------------------------------------------------

CChildFrame::CChildFrame(CDocHandle* doc, QWidget* parent) : QMdiSubWindow(parent), m_pDoc(doc) {
    m_pView = new CTRVView(doc, this);
    setWidget(m_pView);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
}

void CChildFrame::UpdateTitle(int number, int count) {
    QString t = m_pDoc->Title();
    if (count > 1) t += QStringLiteral(":%1").arg(number);
    setWindowTitle(t + QStringLiteral("[*]"));
    setWindowModified(m_pDoc->IsModified());
}

void CChildFrame::closeEvent(QCloseEvent* e) {
    bool allow = true;
    emit closeRequested(this, allow);
    if (allow)
        QMdiSubWindow::closeEvent(e);
    else
        e->ignore();
}

// ---- main window --------------------------------------------------------------------------------

CMainFrame::CMainFrame() : m_pMdi(new QMdiArea(this)), m_pRecentMenu(nullptr) {
    setWindowIcon(AppIcon());
    setCentralWidget(m_pMdi);
    m_pMdi->setBackground(QBrush(QColor(0x80, 0x80, 0x80)));
    setAcceptDrops(true);
    CreateActions();
    // The history beside the document windows follows the active one.
    m_pHistory = new CHistoryDock(this);
    addDockWidget(Qt::RightDockWidgetArea, m_pHistory);
    resizeDocks({m_pHistory}, {720}, Qt::Horizontal);
    // The history is shown again at start when it was open at the end.
    m_pHistory->setVisible(QSettings().value(QStringLiteral("history/visible"), false).toBool());
    connect(m_pHistory->toggleViewAction(), &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QStringLiteral("history/visible"), on); });
    m_pActHistory = m_pHistory->toggleViewAction();
    m_pActHistory->setText(QStr(IDS_HIST_MENU));
    m_pActHistory->setStatusTip(QStr(IDS_HIST_TIP));
    m_pActHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m_pActHistoryPrint = new QAction(QStr(IDS_HIST_PRINT), this);
    m_pActHistoryPrint->setStatusTip(QStr(IDS_HIST_PRINT_TIP));
    connect(m_pActHistoryPrint, &QAction::triggered, m_pHistory, &CHistoryDock::OnPrint);
    CreateToolBar();
    CreateStatusBar();
    BuildMenus();
    connect(m_pMdi, &QMdiArea::subWindowActivated, this, [this] {
        m_pHistory->SetView(ActiveView());
        BuildMenus();
        UpdateTitles();
        UpdateCommands();
    });
    UpdateTitles();
    // Below this the document window's buttons, lists and chart no longer fit readably.
    setMinimumSize(kMinimumSize);
    resize(1200, 850);
}

CMainFrame::~CMainFrame() {
    // The document windows go with the area after this part of the window is gone: their last
    // activation signals must not reach it.
    m_pMdi->disconnect(this);
}

void CMainFrame::CreateActions() {
    auto make = [this](int textId, int tipId = 0, QKeySequence key = {}) {
        auto* a = new QAction(QStr(textId), this);
        if (tipId) a->setStatusTip(QStr(tipId));
        if (!key.isEmpty()) a->setShortcut(key);
        return a;
    };
    QStyle* st = style();
    m_pActNew = make(IDS_FILE_NEW, IDS_TIP_NEW, QKeySequence(Qt::CTRL | Qt::Key_N));
    m_pActNew->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    m_pActNewSel = make(IDS_FILE_NEW_SEL, IDS_TIP_NEW_SEL);
    m_pActOpen = make(IDS_FILE_OPEN, IDS_TIP_OPEN, QKeySequence(Qt::CTRL | Qt::Key_O));
    m_pActOpen->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    m_pActClose = make(IDS_FILE_CLOSE);
    m_pActSave = make(IDS_FILE_SAVE, IDS_TIP_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S));
    m_pActSave->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    m_pActSaveAs = make(IDS_FILE_SAVE_AS);
    m_pActExport = make(IDS_FILE_EXPORT, IDS_TIP_EXPORT);
    m_pActExportThresholds = make(IDS_THR_EXPORT_MENU, IDS_THR_EXPORT_TIP);
    m_pActZones = make(IDS_ZONES_MENU, IDS_ZONES_TIP);
    m_pActPreferred = make(IDS_PREF_MENU, IDS_PREF_TIP);
    m_pActLangDe = make(IDS_LANG_GERMAN, IDS_LANG_TIP);
    m_pActLangEn = make(IDS_LANG_ENGLISH, IDS_LANG_TIP);
    {
        auto* group = new QActionGroup(this);
        trv::Lang shown = trv::CurrentLang();
        SavedLanguage(shown);
        for (QAction* a : {m_pActLangDe, m_pActLangEn}) {
            a->setCheckable(true);
            group->addAction(a);
        }
        m_pActLangDe->setData(static_cast<int>(trv::Lang::de));
        m_pActLangEn->setData(static_cast<int>(trv::Lang::en));
        (shown == trv::Lang::en ? m_pActLangEn : m_pActLangDe)->setChecked(true);
        connect(group, &QActionGroup::triggered, this, &CMainFrame::OnLanguage);
    }
    m_pActPrint = make(IDS_FILE_PRINT, IDS_TIP_PRINT, QKeySequence(Qt::CTRL | Qt::Key_P));
    m_pActPrint->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), st->standardIcon(QStyle::SP_ComputerIcon)));
    m_pActPreview = make(IDS_FILE_PREVIEW, IDS_TIP_PREVIEW);
    m_pActSavePdf = make(IDS_FILE_SAVE_PDF, IDS_TIP_SAVE_PDF);
    m_pActPrintSetup = make(IDS_FILE_PRINT_SETUP);
    m_pActExit = make(IDS_FILE_EXIT);
    m_pActUndo = make(IDS_UNDO);
    m_pActUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    m_pActRedo = make(IDS_REDO);
    m_pActRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_pActCopy = make(IDS_COPY_TABLE, IDS_TIP_COPY_TABLE);
    m_pActCopy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    m_pActCopy->setIcon(SheetsIcon());
    for (QAction* a : {m_pActUndo, m_pActRedo, m_pActCopy}) a->setEnabled(false);
    m_pActConvert = make(IDS_EDIT_CONVERT, IDS_TIP_CONVERT);
    m_pActManualTest = make(IDS_MT_ACTION, IDS_MT_ACTION_TIP);
    m_pActImport = make(IDS_IMPD_ACTION, IDS_IMPD_ACTION_TIP);
    m_pActPaste = make(IDS_EDIT_PASTE, IDS_IMPD_PASTE_TIP);
    m_pActPaste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    m_pActToolbar = make(IDS_VIEW_TOOLBAR);
    m_pActToolbar->setCheckable(true);
    m_pActToolbar->setChecked(true);
    m_pActStatusbar = make(IDS_VIEW_STATUSBAR);
    m_pActStatusbar->setCheckable(true);
    m_pActStatusbar->setChecked(true);
    m_pActCursor1 = make(IDS_SET_CURSOR1, IDS_TIP_CURSOR1);
    m_pActCursor2 = make(IDS_SET_CURSOR2, IDS_TIP_CURSOR2);
    m_pActBt = make(IDS_SET_BT, IDS_TIP_BT);
    for (QAction* a : {m_pActCursor1, m_pActCursor2, m_pActBt}) a->setCheckable(true);
    m_pActConfig = make(IDS_SET_CONFIG, IDS_TIP_CONFIG);
    m_pActWinNew = make(IDS_WIN_NEW);
    m_pActCascade = make(IDS_WIN_CASCADE);
    m_pActTile = make(IDS_WIN_TILE);
    m_pActArrange = make(IDS_WIN_ARRANGE);
    m_pActWeb = make(IDS_HELP_WEB);
    m_pActAbout = make(IDS_HELP_ABOUT, IDS_TIP_ABOUT);
    m_pActAbout->setIcon(st->standardIcon(QStyle::SP_MessageBoxInformation));
    m_pActHelp = make(IDS_HELP_CONTENTS, IDS_TIP_HELP, QKeySequence(Qt::Key_F1));
    m_pActResetDevice = new QAction(this);
    m_pActResetDevice->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addAction(m_pActResetDevice);
    addAction(m_pActHelp);  // F1 also while the menu bar is being rebuilt
    connect(m_pActUndo, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnUndo();
    });
    connect(m_pActRedo, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnRedo();
    });
    connect(m_pActCopy, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnCopyTable();
    });

    connect(m_pActNew, &QAction::triggered, this, [this] { NewDocument(); });
    connect(m_pActNewSel, &QAction::triggered, this, &CMainFrame::NewFromSelection);
    connect(m_pActOpen, &QAction::triggered, this, [this] {
        QString path = QFileDialog::getOpenFileName(this, QString(), QString(), TrvFilter());
        if (!path.isEmpty()) OpenDocument(path);
    });
    connect(m_pActClose, &QAction::triggered, this, [this] {
        CDocHandle* doc = ActiveDoc();
        if (!doc || !SaveModified(doc)) return;
        m_bClosingAll = true;
        for (QMdiSubWindow* w : m_pMdi->subWindowList())
            if (static_cast<CChildFrame*>(w)->Doc() == doc) w->close();
        m_bClosingAll = false;
    });
    connect(m_pActSave, &QAction::triggered, this, [this] {
        if (ActiveDoc()) SaveDocument(ActiveDoc(), false);
    });
    connect(m_pActSaveAs, &QAction::triggered, this, [this] {
        if (ActiveDoc()) SaveDocument(ActiveDoc(), true);
    });
    connect(m_pActExport, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnExportData();
    });
    connect(m_pActExportThresholds, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnExportThresholds();
    });
    connect(m_pActZones, &QAction::triggered, this, &CMainFrame::OnZoneSettings);
    connect(m_pActPreferred, &QAction::triggered, this, &CMainFrame::OnPreferredChoice);
    connect(m_pActPreview, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->Printing().Preview();
    });
    connect(m_pActSavePdf, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->Printing().SavePdf();
    });
    connect(m_pActPrint, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->Printing().Print();
    });
    connect(m_pActPrintSetup, &QAction::triggered, this, &CMainFrame::OnPrintSetup);
    connect(m_pActExit, &QAction::triggered, this, &QWidget::close);
    connect(m_pActManualTest, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnManualTest();
    });
    connect(m_pActImport, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnImportReadings();
    });
    // Pasting a table of readings into a document window imports it as a test.
    connect(m_pActPaste, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnPasteReadings();
    });
    connect(m_pActConvert, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnConvertToStepTest();
    });
    connect(m_pActToolbar, &QAction::toggled, this, [this](bool on) { m_pToolBar->setVisible(on); });
    connect(m_pActStatusbar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    connect(m_pActCursor1, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnCursor(1);
    });
    connect(m_pActCursor2, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnCursor(2);
    });
    connect(m_pActBt, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnBtMode();
        UpdateCommands();
    });
    connect(m_pActConfig, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnDeviceSettings();
    });
    connect(m_pActResetDevice, &QAction::triggered, this, [this] {
        if (ActiveView()) ActiveView()->OnResetAnalyser();
    });
    connect(m_pActWinNew, &QAction::triggered, this, &CMainFrame::NewWindow);
    connect(m_pActCascade, &QAction::triggered, m_pMdi, &QMdiArea::cascadeSubWindows);
    connect(m_pActTile, &QAction::triggered, this, &CMainFrame::TileSideBySide);
    connect(m_pActArrange, &QAction::triggered, this, &CMainFrame::TileSideBySide);
    connect(m_pActWeb, &QAction::triggered, this, &CMainFrame::OnWebPage);
    connect(m_pActAbout, &QAction::triggered, this, &CMainFrame::OnAbout);
    connect(m_pActHelp, &QAction::triggered, this, &CMainFrame::OnHelp);
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = addToolBar(QStr(IDS_TOOLBAR));
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->addAction(m_pActNew);
    m_pToolBar->addAction(m_pActOpen);
    m_pToolBar->addAction(m_pActSave);
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(m_pActCopy);
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(m_pActPrint);
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(m_pActAbout);
    for (QAction* a : m_pToolBar->actions())
        if (!a->isSeparator() && a->toolTip().contains(QLatin1Char('&')))
            a->setToolTip(a->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
}

void CMainFrame::CreateStatusBar() {
    statusBar()->showMessage(QStr(IDS_READY));
    for (int ind : {IDS_IND_CAPS, IDS_IND_NUM, IDS_IND_SCROLL}) {
        auto* l = new QLabel(QStr(ind), this);
        l->setMinimumWidth(34);
        l->setAlignment(Qt::AlignCenter);
        l->setEnabled(false);
        statusBar()->addPermanentWidget(l);
    }
}

void CMainFrame::BuildMenus() {
    bool withDoc = !m_pMdi->subWindowList().isEmpty();
    QMenuBar* mb = menuBar();
    mb->clear();
    QMenu* file = mb->addMenu(QStr(IDS_MENU_FILE));
    file->addAction(m_pActNew);
    if (withDoc) file->addAction(m_pActNewSel);
    file->addAction(m_pActOpen);
    if (withDoc) {
        file->addAction(m_pActClose);
        file->addAction(m_pActSave);
        file->addAction(m_pActSaveAs);
        file->addSeparator();
        file->addAction(m_pActExport);
        file->addAction(m_pActExportThresholds);
        file->addAction(m_pActImport);
        file->addSeparator();
        file->addAction(m_pActPrint);
        file->addAction(m_pActPreview);
        file->addAction(m_pActSavePdf);
        file->addAction(m_pActHistoryPrint);
    }
    file->addAction(m_pActPrintSetup);
    file->addSeparator();
    m_recentActs.clear();
    m_pRecentMenu = file;
    QAction* recentEnd = file->addSeparator();
    file->addAction(m_pActExit);
    connect(file, &QMenu::aboutToShow, this, [this, file, recentEnd] {
        for (QAction* a : m_recentActs) {
            file->removeAction(a);
            a->deleteLater();
        }
        m_recentActs.clear();
        QStringList files = RecentFiles();
        if (files.isEmpty()) {
            auto* none = new QAction(QStr(IDS_FILE_MRU_NONE), file);
            none->setEnabled(false);
            m_recentActs.push_back(none);
        }
        for (int i = 0; i < files.size(); ++i) {
            auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]), file);
            QString path = files[i];
            connect(a, &QAction::triggered, this, [this, path] { OpenDocument(path); });
            m_recentActs.push_back(a);
        }
        for (QAction* a : m_recentActs) file->insertAction(recentEnd, a);
        UpdateCommands();
    });
    if (withDoc) {
        QMenu* edit = mb->addMenu(QStr(IDS_MENU_EDIT));
        edit->addAction(m_pActUndo);
        edit->addAction(m_pActRedo);
        edit->addSeparator();
        edit->addAction(m_pActCopy);
        edit->addAction(m_pActPaste);
        edit->addSeparator();
        edit->addAction(m_pActConvert);
        edit->addAction(m_pActManualTest);
        connect(edit, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    }
    QMenu* view = mb->addMenu(QStr(IDS_MENU_VIEW));
    view->addAction(m_pActToolbar);
    view->addAction(m_pActStatusbar);
    view->addSeparator();
    view->addAction(m_pActHistory);
    if (withDoc) {
        QMenu* settings = mb->addMenu(QStr(IDS_MENU_SETTINGS));
        settings->addAction(m_pActCursor1);
        settings->addAction(m_pActCursor2);
        settings->addSeparator();
        settings->addAction(m_pActZones);
        settings->addAction(m_pActPreferred);
        QMenu* language = settings->addMenu(QStr(IDS_LANG_MENU));
        language->setObjectName(QStringLiteral("languageMenu"));
        language->addAction(m_pActLangDe);
        language->addAction(m_pActLangEn);
        settings->addSeparator();
        settings->addAction(m_pActBt);
        settings->addAction(m_pActConfig);
        connect(settings, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
        QMenu* win = mb->addMenu(QStr(IDS_MENU_WINDOW));
        win->addAction(m_pActWinNew);
        win->addAction(m_pActCascade);
        win->addAction(m_pActTile);
        win->addAction(m_pActArrange);
        win->addSeparator();
        m_pWindowMenu = win;
        connect(win, &QMenu::aboutToShow, this, &CMainFrame::FillWindowMenu);
    } else {
        m_pWindowMenu = nullptr;
    }
    FillWindowMenu();
    QMenu* help = mb->addMenu(QStr(IDS_MENU_HELP));
    help->addAction(m_pActHelp);
    help->addSeparator();
    help->addAction(m_pActWeb);
    help->addSeparator();
    help->addAction(m_pActAbout);
    m_bHasDocMenus = withDoc;
}

void CMainFrame::UpdateCommands() {
    CTRVView* v = ActiveView();
    bool doc = v != nullptr;
    for (QAction* a :
         {m_pActClose, m_pActSave, m_pActSaveAs, m_pActPrint, m_pActPreview, m_pActSavePdf, m_pActHistoryPrint,
          m_pActWinNew, m_pActCascade, m_pActTile, m_pActArrange, m_pActCursor1, m_pActCursor2, m_pActBt, m_pActNewSel})
        a->setEnabled(doc);
    m_pActExport->setEnabled(doc && v->CanExport());
    m_pActExportThresholds->setEnabled(doc && v->CanExport());
    m_pActConvert->setEnabled(doc && v->CanConvertToStepTest());
    for (QAction* a : {m_pActManualTest, m_pActImport, m_pActPaste}) a->setEnabled(doc);
    m_pActConfig->setEnabled(doc && v->ReceiveEnabled());
    m_pActCursor1->setChecked(doc && v->CursorShown(1));
    m_pActCursor2->setChecked(doc && v->CursorShown(2));
    m_pActBt->setChecked(doc && v->BtMode());
    // "Rückgängig: Laktatwert ändern": the name of the command an undo or redo replays.
    const CCommandHistory* h = doc ? &v->DocHandle()->History() : nullptr;
    auto named = [](int plainId, int namedId, int commandId) {
        return commandId ? QU8(FmtId(namedId, LoadStr(commandId))) : QStr(plainId);
    };
    m_pActUndo->setEnabled(h && h->CanUndo());
    m_pActUndo->setText(named(IDS_UNDO, IDS_UNDO_NAMED, h ? h->UndoNameId() : 0));
    m_pActRedo->setEnabled(h && h->CanRedo());
    m_pActRedo->setText(named(IDS_REDO, IDS_REDO_NAMED, h ? h->RedoNameId() : 0));
    m_pActCopy->setEnabled(doc && v->m_pMeasModel->rowCount() > 0);
}

// ---- documents ----------------------------------------------------------------------------------

CChildFrame* CMainFrame::AddFrame(CDocHandle* doc) {
    if (std::find(m_docs.begin(), m_docs.end(), doc) == m_docs.end()) {
        // A document new to the program: its tests start with the lab's preferred choice.
        doc->Analyses()->UsePreferredChoice(doc->Doc(), LoadPreferredChoice());
        m_docs.push_back(doc);
        connect(doc, &CDocHandle::modifiedChanged, this, &CMainFrame::UpdateTitles);
        connect(doc, &CDocHandle::titleChanged, this, &CMainFrame::UpdateTitles);
    }
    auto* frame = new CChildFrame(doc);
    connect(frame, &CChildFrame::closeRequested, this, &CMainFrame::OnFrameClose);
    connect(frame->View(), &CTRVView::commandStateChanged, this, &CMainFrame::UpdateCommands);
    connect(frame->View(), &CTRVView::statusMessage, this, &CMainFrame::ShowStatusMessage);
    connect(frame, &QObject::destroyed, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                BuildMenus();
                UpdateTitles();
                UpdateCommands();
            },
            Qt::QueuedConnection);
    });
    m_pMdi->addSubWindow(frame);
    frame->showMaximized();
    BuildMenus();
    UpdateTitles();
    UpdateCommands();
    return frame;
}

CChildFrame* CMainFrame::NewDocument(const TransferSlot* slot) {
    auto* doc = new CDocHandle(this);
    doc->Doc().OnNewDocument(slot);
    return AddFrame(doc);
}

bool CMainFrame::OpenDocument(const QString& path) {
    QString abs = QFileInfo(path).absoluteFilePath();
    // A file that is open already is only brought to the front.
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) {
        auto* f = static_cast<CChildFrame*>(w);
        if (!f->Doc()->PathName().isEmpty() && QFileInfo(f->Doc()->PathName()).absoluteFilePath() == abs) {
            m_pMdi->setActiveSubWindow(w);
            return true;
        }
    }
    auto* doc = new CDocHandle(this);
    FileResult r = LoadDocument(abs.toStdString(), doc->Doc());
    if (!r.ok) {
        delete doc;
        QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.message));
        return false;
    }
    doc->Doc().SetPathName(abs.toStdString());
    AddFrame(doc);
    doc->SetModified(false);
    AddRecentFile(abs);
    UpdateTitles();
    return true;
}

bool CMainFrame::SaveDocument(CDocHandle* doc, bool saveAs) {
    QString path = doc->PathName();
    if (saveAs || path.isEmpty()) {
        QString suggestion = path.isEmpty() ? doc->Title() + QStringLiteral(".trv") : path;
        QFileDialog dlg(this, QString(), suggestion, TrvFilter());
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(QStringLiteral("trv"));
        dlg.selectFile(suggestion);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
        path = dlg.selectedFiles().first();
    }
    FileResult r = trv::SaveDocument(doc->Doc(), path.toStdString());
    if (!r.ok) {
        QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.message));
        return false;
    }
    doc->SetModified(false);
    doc->PathChanged();
    AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateTitles();
    ShowStatusMessage(QU8(FmtId(IDS_STATUS_SAVED, QDir::toNativeSeparators(path).toStdString().c_str())));
    return true;
}

bool CMainFrame::SaveModified(CDocHandle* doc) {
    if (!doc->IsModified()) return true;
    QMessageBox::StandardButton b = QMessageBox::question(
        this, QApplication::applicationDisplayName(), QU8(FmtId(IDS_SAVE_CHANGES, doc->Title().toStdString().c_str())),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (b == QMessageBox::Cancel) return false;
    if (b == QMessageBox::No) return true;
    return SaveDocument(doc, false);
}

void CMainFrame::OnFrameClose(CChildFrame* frame, bool& allow) {
    CDocHandle* doc = frame->Doc();
    int views = 0;
    for (QMdiSubWindow* w : m_pMdi->subWindowList())
        if (static_cast<CChildFrame*>(w)->Doc() == doc) ++views;
    if (views <= 1 && !m_bClosingAll && !SaveModified(doc)) {
        allow = false;
        return;
    }
    if (views <= 1) {
        std::erase(m_docs, doc);
        doc->deleteLater();
    }
}

void CMainFrame::NewFromSelection() {
    TransferSlot slot;
    if (CTRVView* v = ActiveView()) v->Workspace().FillTransferSlot(slot);
    slot.m_bNewFromSelection = true;
    NewDocument(&slot);
    slot.m_bNewFromSelection = false;
}

void CMainFrame::NewWindow() {
    if (CDocHandle* doc = ActiveDoc()) AddFrame(doc);
}

void CMainFrame::TileSideBySide() {
    QList<QMdiSubWindow*> wins = m_pMdi->subWindowList();
    if (wins.isEmpty()) return;
    QRect area = m_pMdi->viewport()->rect();
    int n = static_cast<int>(wins.size());
    int w = area.width() / n;
    for (int i = 0; i < n; ++i) {
        wins[i]->showNormal();
        wins[i]->setGeometry(i * w, 0, w, area.height());
    }
}

CChildFrame* CMainFrame::ActiveFrame() const {
    QMdiSubWindow* w = m_pMdi->activeSubWindow();
    if (!w && !m_pMdi->subWindowList().isEmpty()) w = m_pMdi->subWindowList().last();
    return static_cast<CChildFrame*>(w);
}

CTRVView* CMainFrame::ActiveView() const {
    CChildFrame* f = ActiveFrame();
    return f ? f->View() : nullptr;
}

CDocHandle* CMainFrame::ActiveDoc() const {
    CChildFrame* f = ActiveFrame();
    return f ? f->Doc() : nullptr;
}

void CMainFrame::UpdateTitles() {
    for (CDocHandle* doc : m_docs) {
        std::vector<CChildFrame*> frames;
        for (QMdiSubWindow* w : m_pMdi->subWindowList())
            if (static_cast<CChildFrame*>(w)->Doc() == doc) frames.push_back(static_cast<CChildFrame*>(w));
        for (size_t i = 0; i < frames.size(); ++i)
            frames[i]->UpdateTitle(static_cast<int>(i) + 1, static_cast<int>(frames.size()));
    }
    CChildFrame* f = ActiveFrame();
    QString title = QStringLiteral("TRV");
    if (f) title += QStringLiteral(" - [") + f->windowTitle() + QStringLiteral("]");
    setWindowTitle(title);
    setWindowModified(f && f->Doc()->IsModified());
    FillWindowMenu();
}

void CMainFrame::FillWindowMenu() {
    // Out of the menu at once (the action may be the one being triggered: deleted later).
    for (QAction* a : m_windowActs) {
        for (QObject* o : a->associatedObjects())
            if (auto* w = qobject_cast<QWidget*>(o)) w->removeAction(a);
        a->deleteLater();
    }
    m_windowActs.clear();
    if (!m_pWindowMenu) return;
    const QList<QMdiSubWindow*> wins = m_pMdi->subWindowList();
    const QMdiSubWindow* active = m_pMdi->activeSubWindow();
    for (int i = 0; i < static_cast<int>(wins.size()); ++i) {
        QMdiSubWindow* w = wins[i];
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // Mnemonics 1 to 9 as menus have them; further windows are listed without one.
        const QString text = i < 9 ? QU8(FmtId(IDS_WINDOW_ENTRY, i + 1, title.toStdString().c_str()))
                                   : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        auto* a = new QAction(text, this);
        a->setCheckable(true);
        a->setChecked(w == active);
        a->setStatusTip(QStr(IDS_TIP_WINDOW_ENTRY));
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) m_pMdi->setActiveSubWindow(target);
            // A click on the ticked entry leaves the tick where it is.
            FillWindowMenu();
        });
        m_pWindowMenu->addAction(a);
        m_windowActs.push_back(a);
    }
}

// ---- recent files -------------------------------------------------------------------------------

QStringList CMainFrame::RecentFiles() const {
    QSettings s;
    s.beginGroup(QString::fromLatin1(kRecentGroup));
    QStringList files;
    for (int i = 1; i <= kRecentMax; ++i) {
        QString f = s.value(QStringLiteral("File%1").arg(i)).toString();
        if (!f.isEmpty()) files << f;
    }
    return files;
}

void CMainFrame::AddRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentMax) files.removeLast();
    QSettings s;
    s.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 1; i <= kRecentMax; ++i) {
        if (i <= files.size())
            s.setValue(QStringLiteral("File%1").arg(i), files[i - 1]);
        else
            s.remove(QStringLiteral("File%1").arg(i));
    }
}

// ---- window events ------------------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* e) {
    for (CDocHandle* doc : std::vector<CDocHandle*>(m_docs)) {
        if (!SaveModified(doc)) {
            e->ignore();
            return;
        }
    }
    m_bClosingAll = true;
    m_pMdi->closeAllSubWindows();
    m_bClosingAll = false;
    e->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e) {
    OpenDropped(e->mimeData());
    e->acceptProposedAction();
}

int CMainFrame::OpenDropped(const QMimeData* mime) {
    int opened = 0;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && OpenDocument(url.toLocalFile())) ++opened;
    return opened;
}

void CMainFrame::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::ShowStatusMessage(const QString& text) { statusBar()->showMessage(text, kStatusMessageMs); }

void CMainFrame::OnHelp() {
    if (!m_pHelp) m_pHelp = new CHelpDialog(this);
    m_pHelp->show();
    m_pHelp->raise();
    m_pHelp->activateWindow();
}

void CMainFrame::OnWebPage() {
    QUrl url(QStr(IDS_WEB_ADDRESS));
    if (!QDesktopServices::openUrl(url))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_WEB_FAILED, url.toString().toStdString().c_str())));
}

void CMainFrame::OnZoneSettings() {
    CZoneSettingsDialog dlg(LoadZoneSettings(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    SaveZoneSettings(dlg.Settings());
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) {
        CTRVView* v = static_cast<CChildFrame*>(w)->View();
        v->Workspace().SetZoneSettings(dlg.Settings());
        v->Evaluate();
        v->SetUpChart();
    }
}

void CMainFrame::OnPreferredChoice() {
    CPreferredChoiceDialog dlg(LoadPreferredChoice(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    const AnalysisChoice c = dlg.Choice();
    SavePreferredChoice(c);
    // Tests already open keep their choice; new ones get this.
    for (CDocHandle* d : m_docs) d->Analyses()->SetPreferredChoice(c);
    const int modelIds[] = {IDS_MODEL_MADER, IDS_MODEL_KEUL, IDS_MODEL_SIMON};
    ShowStatusMessage(QU8(FmtId(IDS_STATUS_PREF_SAVED, LoadStr(modelIds[c.model]),
                                LoadStr(c.fit == FitSpline ? IDS_FIT_SPLINES : IDS_FIT_POLYNOMIAL))));
}

void CMainFrame::OnPrintSetup() {
    static QPrinter printer;
    QPageSetupDialog dlg(&printer, this);
    AddPrintLanguageChoice(dlg);
    dlg.exec();
}

void CMainFrame::OnLanguage(QAction* chosen) {
    const auto lang = static_cast<trv::Lang>(chosen->data().toInt());
    SaveLanguage(lang);
    // The windows keep their texts until the next start; the note speaks both languages, so that it is
    // understood whichever was chosen.
    if (lang != trv::CurrentLang())
        QMessageBox::information(this, QApplication::applicationDisplayName(), QStr(IDS_LANG_NEXT_START));
}
