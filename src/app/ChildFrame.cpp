#include "app/ChildFrame.h"

#include "view/lists/TestListProxy.h"
#include "view/widgets/Icons.h"
#include "view/window/DocHandle.h"
#include "view/window/TRVView.h"

#include <QCloseEvent>

using namespace trv;

CChildFrame::CChildFrame(CDocHandle* doc, QWidget* parent) : QMdiSubWindow(parent), m_pDoc(doc) {
    m_pView = new CTRVView(doc, this);
    setWidget(m_pView);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    connect(m_pView, &CTRVView::commandStateChanged, this, &CChildFrame::commandStateChanged);
    connect(m_pView, &CTRVView::statusMessage, this, &CChildFrame::statusMessage);
}

void CChildFrame::SetCommands(CommandLookup commands) { m_pView->SetCommands(std::move(commands)); }

void CChildFrame::ShowHistoryTest(int test) { m_pView->ShowHistoryTest(test); }

void CChildFrame::FillTransferSlot(TransferSlot& slot) const { m_pView->Workspace().FillTransferSlot(slot); }

void CChildFrame::ApplyZoneSettings(const ZoneSettings& zones) {
    m_pView->Workspace().SetZoneSettings(zones);
    m_pView->Evaluate();
    m_pView->SetUpChart();
}

void CChildFrame::ApplyUncertaintySettings() {
    m_pView->Evaluate();
    m_pView->SetUpChart();
}

CWorkspace& CChildFrame::Workspace() const { return m_pView->Workspace(); }

void CChildFrame::Refresh(uint32_t changes) { m_pView->Refresh(changes); }

std::vector<int> CChildFrame::SelectedTests() const { return m_pView->SelectedTestIndices(); }

void CChildFrame::SetHideAssigned(bool hide) { m_pView->Ui().testProxy->SetHideAssigned(hide); }

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
