// "Protokolldruck" and Ctrl+P: the two-page test protocol of the shown tests on a printer.
#include "ChartModel.h"
#include "Protocol.h"
#include "QtText.h"
#include "StringIds.h"
#include "TRVView.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

using namespace trv;

void CTRVView::OnPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dlg(&printer, this);
    dlg.setMinMax(1, kProtocolPageCount);
    if (dlg.exec() != QDialog::Accepted) return;
    std::vector<int> shown;
    const CTRVDoc& doc = GetDocument();
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (doc.GetTest(i).m_bShowInChart) shown.push_back(i);
    ProtocolOptions opt;
    opt.chart = &m_Chart;
    // The logo is looked for in the folder the program was started from.
    opt.logoDir = qApp->property("trvStartDir").toString();
    if (!PrintProtocol(printer, doc, shown, opt))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}
