// "Protokolldruck" and Ctrl+P: the two-page test protocol of the shown tests on a printer.
#include "ChartWidget.h"
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
    CChartModel printed = PrintChartModel(m_Chart);
    CTChart chart;
    chart.SetModel(&printed);
    ProtocolOptions opt;
    // The logo is looked for in the folder the program was started from.
    opt.logoDir = qApp->property("trvStartDir").toString();
    opt.drawChart = [&chart](QPainter& p, const QRectF& r) {
        chart.RenderInto(p, r, QSize(kPrintChartWidth, kPrintChartHeight));
    };
    if (!PrintProtocol(printer, doc, shown, opt))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}
