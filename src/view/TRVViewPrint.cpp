// "Protokolldruck" and Ctrl+P: the two-page test protocol of the shown tests on a printer.
#include "ChartWidget.h"
#include "Protocol.h"
#include "QtText.h"
#include "TRVView.h"
#include "UiIds.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>

#include <qcustomplot.h>

using namespace trv;

namespace {

// The chart laid out at the print size in a window of its own, drawn scaled as vector graphics.
void DrawChart(CTChart& widget, QPainter& p, const QRectF& r) {
    widget.resize(kPrintChartWidth, kPrintChartHeight);
    widget.Plot()->setViewport(QRect(0, 0, kPrintChartWidth, kPrintChartHeight));
    widget.Redraw();
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        widget.Plot()->toPainter(&recorder, kPrintChartWidth, kPrintChartHeight);
    }
    const double dx = static_cast<double>(picture.logicalDpiX()) / p.device()->logicalDpiX();
    const double dy = static_cast<double>(picture.logicalDpiY()) / p.device()->logicalDpiY();
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / kPrintChartWidth * dx, r.height() / kPrintChartHeight * dy);
    p.drawPicture(0, 0, picture);
    p.restore();
}

}  // namespace

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
    opt.drawChart = [&chart](QPainter& p, const QRectF& r) { DrawChart(chart, p, r); };
    if (!PrintProtocol(printer, doc, shown, opt))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(ui::IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}
