// Without the protocol library the print command prints the chart alone.
#include "ChartWidget.h"
#include "TRVView.h"

#include <QPrintDialog>
#include <QPrinter>

#include <qcustomplot.h>

void CTRVView::OnPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(96);
    QPrintDialog dlg(&printer, this);
    if (dlg.exec() != QDialog::Accepted) return;
    QCPPainter painter(&printer);
    QRect page = painter.viewport();
    m_pChart->Plot()->toPainter(&painter, page.width(), page.height() / 2);
}
