#include "view/HistoryDock.h"

#include "analysis/HistoryChart.h"
#include "print/HistoryPrint.h"
#include "view/HistoryPanel.h"
#include "view/HistoryPlot.h"
#include "view/HistoryTableModel.h"
#include "view/ProtocolPrinting.h"
#include "view/QtText.h"
#include "view/TRVView.h"
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
        if (m_pView) m_pView->ShowHistoryTest(test);
    });
    connect(m_pPanel, &CHistoryPanel::printRequested, this, &CHistoryDock::OnPrint);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && m_bStale) OnDocumentChanged();
    });
}

void CHistoryDock::SetView(CTRVView* view) {
    if (view == m_pView && view) return;
    disconnect(m_docConnection);
    m_pView = view;
    if (view)
        m_docConnection =
            connect(view->DocHandle(), &CDocHandle::documentChanged, this, &CHistoryDock::OnDocumentChanged);
    if (view) {
        const CTRVDoc* doc = &view->GetDocument();
        const std::shared_ptr<CTestAnalyses> analyses = view->DocHandle()->Analyses();
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
    if (!m_pView) m_pPanel->SetDocument(nullptr);
    m_pPanel->Refresh();
}

void CHistoryDock::DrawCharts(QPainter& painter, const QRectF& target) const {
    CHistoryPlot::Print(m_pPanel->m_pPlot->Charts(), painter, target);
}

void CHistoryDock::PaintOn(QPrinter& printer) {
    if (!m_pView) return;
    HistoryPrintOptions opt;
    const CHistoryTableModel* model = m_pPanel->m_pModel;
    const Lang lang = PrintLanguage();
    if (lang == CurrentLang()) {
        opt.drawCharts = [this](QPainter& p, const QRectF& r) { DrawCharts(p, r); };
    } else {
        // A printout in another language than the program's draws charts of its own, with their titles,
        // legends and axis numbers in that language (the page is painted in its scope).
        opt.drawCharts = [model](QPainter& p, const QRectF& r) {
            CHistoryPlot::Print(HistoryCharts(model->Rows()), p, r);
        };
    }
    bool printed = false;
    {
        const LangScope scope(lang);
        printed = PrintHistory(printer, m_pView->GetDocument(), model->Rows(), model->Methods(), opt);
    }
    if (!printed)
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}

void CHistoryDock::OnPrint() {
    if (!m_pView) return;
    if (m_bStale) OnDocumentChanged();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(HistoryOrientation(m_pPanel->m_pModel->Methods().size()));
    QPrintPreviewDialog dlg(&printer, this);
    dlg.setWindowTitle(QStr(IDS_HIST_PRINT).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PaintOn(*p); });
    dlg.exec();
}
