#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/Commands.h"
#include "app/RecentFiles.h"
#include "data/TrvFile.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/history/HistoryDock.h"
#include "view/library/AthletesDock.h"
#include "view/settings/PreferredChoiceStore.h"
#include "view/settings/Settings.h"
#include "view/widgets/Icons.h"
#include "view/window/DocHandle.h"
#include "view/window/DocSafety.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

using namespace trv;

namespace {

constexpr QSize kMinimumSize(880, 560);
constexpr int kStatusMessageMs = 10000;

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

QIcon CommandIconOf(CommandIcon icon, QStyle* st) {
    switch (icon) {
        case CommandIcon::File:
            return st->standardIcon(QStyle::SP_FileIcon);
        case CommandIcon::Open:
            return st->standardIcon(QStyle::SP_DialogOpenButton);
        case CommandIcon::Save:
            return st->standardIcon(QStyle::SP_DialogSaveButton);
        case CommandIcon::Print:
            return QIcon::fromTheme(QStringLiteral("document-print"), st->standardIcon(QStyle::SP_ComputerIcon));
        case CommandIcon::Sheets:
            return SheetsIcon();
        case CommandIcon::About:
            return st->standardIcon(QStyle::SP_MessageBoxInformation);
        case CommandIcon::None:
            break;
    }
    return {};
}

}  // namespace

int CMainFrame::HistoryDockWidth(int frameWidth) { return std::clamp(frameWidth * 2 / 5, 300, 640); }

int CMainFrame::AthletesDockWidth(int frameWidth) { return std::clamp(frameWidth / 3, 280, 560); }

int CMainFrame::DockWidthBeside(int preferred, int frameWidth, int documentRoom, int dockLeast) {
    return std::max(dockLeast, std::min(preferred, frameWidth - documentRoom));
}

int CMainFrame::DocumentRoom() const {
    // Windows tiled side by side need their least widths side by side; others the widest of them.
    int room = 0, tiled = 0;
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) room = std::max(room, w->minimumSizeHint().width());
    for (const auto& [w, rect] : m_Tiled)
        if (w) tiled += w->minimumSizeHint().width();
    room = std::max(room, tiled);
    // The area's frame and the separator between it and the dock.
    return room + 2 * m_pMdi->frameWidth() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this) +
           2;
}

void CMainFrame::FitDock(QDockWidget* dock, int preferred, const QDockWidget* other) {
    if (!dock || !dock->isVisible() || dock->isFloating()) return;
    int frame = width();
    if (other && other->isVisible() && !other->isFloating())
        frame -= other->width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    const int most = DockWidthBeside(preferred, frame, DocumentRoom(), dock->minimumSizeHint().width());
    if (dock->width() > most) resizeDocks({dock}, {most}, Qt::Horizontal);
}

void CMainFrame::FitDocks() {
    FitDock(m_pHistory, HistoryDockWidth(width()), m_pAthletes);
    FitDock(m_pAthletes, AthletesDockWidth(width()), m_pHistory);
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FitDocks();
}

CMainFrame::CMainFrame()
    : m_pMdi(new QMdiArea(this)),
      m_pRecent(new CRecentFiles(this, [this](const QString& path) { OpenDocument(path); })) {
    setWindowIcon(AppIcon());
    setCentralWidget(m_pMdi);
    m_pMdi->viewport()->installEventFilter(this);
    m_pMdi->setBackground(QBrush(QColor(0x80, 0x80, 0x80)));
    setAcceptDrops(true);
    // The history beside the document windows follows the active one.
    m_pHistory = new CHistoryDock(this);
    addDockWidget(Qt::RightDockWidgetArea, m_pHistory);
    resizeDocks({m_pHistory}, {HistoryDockWidth(1600)}, Qt::Horizontal);
    connect(m_pHistory, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) FitDocks();
    });
    // The history is shown again at start when it was open at the end.
    m_pHistory->setVisible(settings::HistoryVisible());
    connect(m_pHistory->toggleViewAction(), &QAction::toggled, this, [](bool on) { settings::SetHistoryVisible(on); });
    SetUpLibrary();
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    BuildMenus();
    connect(m_pMdi, &QMdiArea::subWindowActivated, this, [this] {
        const QPointer<CChildFrame> frame(ActiveFrame());
        m_pHistory->SetDocument(frame ? frame->Doc() : nullptr, [frame](int test) {
            if (frame) frame->ShowHistoryTest(test);
        });
        BuildMenus();
        UpdateTitles();
        UpdateCommands();
    });
    UpdateTitles();
    UpdateCommands();
    auto* diskWatch = new QTimer(this);
    connect(diskWatch, &QTimer::timeout, this, &CMainFrame::CheckFilesOnDisk);
    diskWatch->start(2000);
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
    m_acts.assign(Commands().size(), nullptr);
    for (const CommandRow& row : Commands()) {
        // The history dock brings its own show/hide action.
        QAction* a = row.id == CommandId::History    ? m_pHistory->toggleViewAction()
                     : row.id == CommandId::Athletes ? m_pAthletes->toggleViewAction()
                                                     : new QAction(this);
        m_acts[static_cast<size_t>(row.id)] = a;
        if (row.textId) a->setText(QStr(row.textId));
        if (row.text) a->setText(row.text(nullptr));
        if (row.tipId) a->setStatusTip(QStr(row.tipId));
        QList<QKeySequence> keys;
        for (int k : row.keys)
            if (k) keys << QKeySequence(k);
        if (!keys.isEmpty()) a->setShortcuts(keys);
        if (row.icon != CommandIcon::None) a->setIcon(CommandIconOf(row.icon, style()));
        if (row.flags & Checkable) a->setCheckable(true);
        if (row.flags & CheckedAtStart) a->setChecked(true);
        if (row.flags & WindowKey) addAction(a);
        if (row.onView) {
            auto run = row.onView;
            connect(a, &QAction::triggered, this, [this, run] {
                if (CTRVView* v = ActiveView()) run(*v);
                UpdateCommands();
            });
        } else if (row.onFrame) {
            auto run = row.onFrame;
            connect(a, &QAction::triggered, this, [this, run] { run(*this); });
        }
    }
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = addToolBar(QStr(IDS_TOOLBAR));
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setIconSize(QSize(16, 16));
    for (CommandId id : ToolBarOrder()) {
        if (Commands()[static_cast<size_t>(id)].flags & ToolSepBefore) m_pToolBar->addSeparator();
        m_pToolBar->addAction(Action(id));
    }
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
    const bool withDoc = !m_pMdi->subWindowList().isEmpty();
    QMenuBar* mb = menuBar();
    mb->clear();
    m_pWindowMenu = nullptr;
    for (Menu m : MenuOrder()) {
        if (MenuNeedsDoc(m) && !withDoc) continue;
        QMenu* menu = mb->addMenu(QStr(MenuTitleId(m)));
        QMenu* language = nullptr;
        for (const CommandRow& row : Commands()) {
            if (row.menu != m || ((row.flags & WithDoc) && !withDoc)) continue;
            if (row.flags & RecentBefore) m_pRecent->AttachTo(menu);
            if (row.flags & SepBefore) menu->addSeparator();
            if (row.flags & LanguageMenu) {
                if (!language) {
                    language = menu->addMenu(QStr(IDS_LANG_MENU));
                    language->setObjectName(QStringLiteral("languageMenu"));
                    connect(language, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
                }
                language->addAction(Action(row.id));
                continue;
            }
            menu->addAction(Action(row.id));
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
        if (m == Menu::Window) {
            menu->addSeparator();
            m_pWindowMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowMenu);
        }
    }
    FillWindowMenu();
}

void CMainFrame::UpdateCommands() {
    const CTRVView* v = ActiveView();
    for (const CommandRow& row : Commands()) {
        QAction* a = Action(row.id);
        if (row.enabled) a->setEnabled(row.enabled(v));
        if (row.checked) a->setChecked(row.checked(v));
        if (row.text) a->setText(row.text(v));
    }
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
    connect(frame, &CChildFrame::commandStateChanged, this, &CMainFrame::UpdateCommands);
    connect(frame, &CChildFrame::statusMessage, this, &CMainFrame::ShowStatusMessage);
    // The lists' context menus offer the same actions as the menus, up to date for that window.
    frame->SetCommands([this](CommandId id) {
        UpdateCommands();
        return Action(id);
    });
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

QStringList CMainFrame::RecentFiles() const { return CRecentFiles::Files(); }

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

void CMainFrame::ShowStatusMessage(const QString& text) { statusBar()->showMessage(text, kStatusMessageMs); }
