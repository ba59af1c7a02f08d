// The workspace's side of the chart window and of the editable measurement list: cursor
// read-outs, legend clicks, stored cell edits, and the changing tip of the show button.
#include "ChartModel.h"
#include "ChartWidget.h"
#include "Evaluator.h"
#include "MeasurementDelegate.h"
#include "MeasurementListModel.h"
#include "QtText.h"
#include "TRVView.h"

#include <QEvent>
#include <QPushButton>
#include <QTreeView>

using namespace trv;

namespace {

// Answers the tool-tip request of button 1008 with the text that fits the moment.
class CShowTipFilter : public QObject {
public:
    explicit CShowTipFilter(CTRVView* view) : QObject(view), m_pView(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::ToolTip) static_cast<QWidget*>(watched)->setToolTip(m_pView->ShowButtonTip());
        return false;
    }

private:
    CTRVView* m_pView;
};

}  // namespace

void CTRVView::ConnectChartAndEditing() {
    connect(m_pChart, &CTChart::cursorMoved, this,
            [this](int tool, int, int, double x, double y, int, int) { OnChartCursorMoved(tool, x, y); });
    connect(m_pChart, &CTChart::seriesActivityChanged, this, [this](int) { OnChartSeriesToggled(); });
    auto* delegate = new CMeasurementDelegate(m_pMeasList);
    m_pMeasList->setItemDelegate(delegate);
    connect(m_pMeasModel, &CMeasurementListModel::measurementEdited, this, &CTRVView::OnMeasurementEdited);
    connect(m_pMeasModel, &QAbstractItemModel::modelReset, delegate, &CMeasurementDelegate::ResetClick);
    m_pShowButton->installEventFilter(new CShowTipFilter(this));
    m_pShowButton->setToolTip(ShowButtonTip());
}

void CTRVView::OnChartCursorMoved(int tool, double x, double y) {
    m_pEval->CursorReadout(GetDocument(), m_Chart, tool, x, y);
}

void CTRVView::OnChartSeriesToggled() {
    // The chart has applied the activity rule (heart-rate companions, load-axis extent).
    Evaluate();
    SetUpChart();
}

void CTRVView::OnMeasurementEdited(int, bool refill) {
    if (refill) FillMeasurementList();
    // The chart follows the edited value at once.
    Evaluate();
    SetUpChart();
    MarkModified();
}

QString CTRVView::ShowButtonTip() const {
    const CTRVDoc& doc = GetDocument();
    const bool checked = doc.IsValidTest(m_nSelectedTest) && doc.GetTest(m_nSelectedTest).m_bShowInChart;
    if (m_nShowMode == 0 || checked) return QStr(IDS_SHOW_REFRESH);
    if (doc.CountShownTests() < 2) return QStr(IDS_SHOW_CURVE);
    return QString();
}
