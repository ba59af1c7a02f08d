// What the main window's own commands run (the command table in Commands.cpp names them): closing
// and saving the active document, new windows and their arrangement, the program-wide settings
// dialogs, printing set-up, help and about.
#include "app/AppStart.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/dialogs/AboutDlg.h"
#include "view/dialogs/HelpDialog.h"
#include "view/dialogs/PreferredChoiceDialog.h"
#include "view/dialogs/UncertaintySettingsDialog.h"
#include "view/dialogs/ZoneSettingsDialog.h"
#include "view/history/HistoryDock.h"
#include "view/settings/PreferredChoiceStore.h"
#include "view/settings/ZoneSettingsStore.h"
#include "view/window/DocHandle.h"
#include "view/window/ProtocolPrinting.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

using namespace trv;

void CMainFrame::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

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
        static_cast<CChildFrame*>(w)->ApplyZoneSettings(dlg.Settings());
    }
}

void CMainFrame::OnUncertaintySettings() {
    if (!EditUncertaintySettings(this)) return;
    // The shown tests' intervals and flags follow the new settings.
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) static_cast<CChildFrame*>(w)->ApplyUncertaintySettings();
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
    // The printouts are laid out on A4 in millimetres: the margins too, in either language (Qt would take
    // inches from the British English locale).
    if (printer.pageLayout().units() != QPageLayout::Millimeter)
        printer.setPageMargins(printer.pageLayout().margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
    QPageSetupDialog dlg(&printer, this);
    AddPrintLanguageChoice(dlg);
    dlg.exec();
}

void CMainFrame::OnLanguage(trv::Lang lang) {
    SaveLanguage(lang);
    UpdateCommands();
    // The windows keep their texts until the next start; the note speaks both languages, so that it is
    // understood whichever was chosen.
    if (lang != trv::CurrentLang())
        QMessageBox::information(this, QApplication::applicationDisplayName(), QStr(IDS_LANG_NEXT_START));
}

void CMainFrame::CloseActiveDocument() {
    CDocHandle* doc = ActiveDoc();
    if (!doc || !SaveModified(doc)) return;
    m_bClosingAll = true;
    for (QMdiSubWindow* w : m_pMdi->subWindowList())
        if (static_cast<CChildFrame*>(w)->Doc() == doc) w->close();
    m_bClosingAll = false;
}

void CMainFrame::SaveActiveDocument(bool saveAs) {
    if (CDocHandle* doc = ActiveDoc()) SaveDocument(doc, saveAs);
}

void CMainFrame::NewFromSelection() {
    TransferSlot slot;
    if (CChildFrame* f = ActiveFrame()) f->FillTransferSlot(slot);
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
    m_Tiled.clear();
    for (int i = 0; i < n; ++i) {
        wins[i]->showNormal();
        // A window never narrower than it needs (its content would be squeezed over itself): where the
        // area is too small the windows overlap a little, the last one flush with the right edge.
        const int width = std::max(w, wins[i]->minimumSizeHint().width());
        wins[i]->setGeometry(std::max(0, std::min(i * w, area.width() - width)), 0, width, area.height());
        m_Tiled.emplace_back(wins[i], wins[i]->geometry());
    }
}

void CMainFrame::RetileWhenTiled() {
    const QList<QMdiSubWindow*> wins = m_pMdi->subWindowList();
    if (m_Tiled.empty() || static_cast<size_t>(wins.size()) != m_Tiled.size()) {
        m_Tiled.clear();
        return;
    }
    for (const auto& [win, rect] : m_Tiled)
        if (!win || win->isMaximized() || win->isMinimized() || win->geometry() != rect) {
            m_Tiled.clear();
            return;
        }
    TileSideBySide();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_pMdi->viewport() && e->type() == QEvent::Resize && !m_Tiled.empty())
        QTimer::singleShot(0, this, &CMainFrame::RetileWhenTiled);
    return QMainWindow::eventFilter(watched, e);
}

void CMainFrame::PrintHistory() { m_pHistory->OnPrint(); }

void CMainFrame::ShowToolBar(bool on) { m_pToolBar->setVisible(on); }

void CMainFrame::ShowStatusBar(bool on) { statusBar()->setVisible(on); }

void CMainFrame::Cascade() {
    m_Tiled.clear();
    m_pMdi->cascadeSubWindows();
}
