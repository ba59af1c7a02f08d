#include "app/ChildFrame.h"

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
