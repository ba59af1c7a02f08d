#include "view/history/HistoryDock.h"

#include "print/HistoryPrint.h"
#include "view/QtText.h"
#include "view/history/HistoryPanel.h"
#include "view/history/HistoryPlot.h"
#include "view/history/HistoryTableModel.h"
#include "view/window/DocHandle.h"
#include "workspace/TestAnalyses.h"

#include <QApplication>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace trv;

CHistoryDock::CHistoryDock(QWidget* parent)
    : QDockWidget(QStr(IDS_HIST_TITLE), parent), m_pPanel(new CHistoryPanel(this)) {
    setObjectName(QStringLiteral("historyDock"));
    setWidget(m_pPanel);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    connect(m_pPanel, &CHistoryPanel::testActivated, this, [this](int test) {
        if (m_pDoc && m_ShowTest) m_ShowTest(test);
    });
    connect(m_pPanel, &CHistoryPanel::printRequested, this, &CHistoryDock::OnPrint);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && m_bStale) OnDocumentChanged();
    });
}

void CHistoryDock::SetDocument(CDocHandle* handle, std::function<void(int)> showTest) {
    m_ShowTest = std::move(showTest);
    if (handle == m_pDoc && handle) return;
    disconnect(m_docConnection);
    m_pDoc = handle;
    if (handle) m_docConnection = connect(handle, &CDocHandle::documentChanged, this, &CHistoryDock::OnDocumentChanged);
    if (handle) {
        const CTRVDoc* doc = &handle->Doc();
        const std::shared_ptr<CTestAnalyses> analyses = handle->Analyses();
        m_pPanel->SetDocument(doc,
                              [doc, analyses](int test) -> const TestAnalysis& { return analyses->Of(*doc, test); });
    } else {
        m_pPanel->SetDocument(nullptr);
    }
    m_bStale = false;
}

void CHistoryDock::OnDocumentChanged() {
    // A hidden history costs nothing; it catches up when it is shown again.
    if (!isVisible()) {
        m_bStale = true;
        return;
    }
    m_bStale = false;
    if (!m_pDoc) m_pPanel->SetDocument(nullptr);
    m_pPanel->Refresh();
}

void CHistoryDock::DrawCharts(QPainter& painter, const QRectF& target) const {
    CHistoryPlot::Print(m_pPanel->m_pPlot->Charts(), painter, target);
}

void CHistoryDock::PaintOn(QPrinter& printer) {
    if (!m_pDoc) return;
    HistoryPrintOptions opt;
    opt.drawCharts = [this](QPainter& p, const QRectF& r) { DrawCharts(p, r); };
    const CHistoryTableModel* model = m_pPanel->m_pModel;
    if (!PrintHistory(printer, m_pDoc->Doc(), model->Rows(), model->Methods(), opt))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}

void CHistoryDock::OnPrint() {
    if (!m_pDoc) return;
    if (m_bStale) OnDocumentChanged();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(HistoryOrientation(m_pPanel->m_pModel->Methods().size()));
    QPrintPreviewDialog dlg(&printer, this);
    dlg.setWindowTitle(QStr(IDS_HIST_PRINT).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PaintOn(*p); });
    dlg.exec();
}
