// The chart window: the chart library draws, this adds the cursors, the mouse, the legend check
// boxes and the value tips.
#include "view/window/TChart.h"

#include "analysis/ChartModel.h"
#include "chart/ChartStyle.h"
#include "chart/CheckLegendItem.h"
#include "res/Format.h"

#include <qcustomplot.h>

#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace trv;

namespace {
constexpr double kSecondsPerDay = 86400.0;
}  // namespace

CTChart::CTChart(QWidget* parent) : QWidget(parent), m_Plot(this), m_pTipTimer(new QTimer(this)) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    QCustomPlot* p = m_Plot.Plot();
    lay->addWidget(p);
    m_pTipTimer->setSingleShot(true);
    connect(m_pTipTimer, &QTimer::timeout, this, &CTChart::ShowValueTip);
    connect(p, &QCustomPlot::mousePress, this, &CTChart::OnPlotMousePress);
    connect(p, &QCustomPlot::mouseMove, this, &CTChart::OnPlotMouseMove);
    connect(p, &QCustomPlot::mouseRelease, this, [this](QMouseEvent*) { m_bDragging = false; });
    connect(p, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) { OnLegendClick(item); });
    setMinimumSize(320, 200);
    setMouseTracking(true);
    p->setMouseTracking(true);
}

CTChart::~CTChart() = default;

void CTChart::SetModel(CChartModel* model) {
    m_pModel = model;
    Redraw();
}

void CTChart::Redraw() {
    m_pCursorLine[0] = m_pCursorLine[1] = nullptr;
    m_Plot.Draw(m_pModel);
    if (m_pModel) DrawCursor();
    m_Plot.Replot();
}

// ---- cursors ------------------------------------------------------------------------------------

int CTChart::ActiveCursorTool() const {
    if (!m_pModel) return -1;
    for (int t : {ToolCursor1, ToolCursor2}) {
        const ChartTool& tool = m_pModel->tools[static_cast<size_t>(t)];
        if (tool.active && tool.kind == ToolKind::Cursor && tool.followSeries >= 0 &&
            tool.followSeries < kChartSeriesCount && !m_Plot.SeriesDraw(tool.followSeries).points.isEmpty())
            return t;
    }
    return -1;
}

bool CTChart::SnapCursor(int tool, double x, int& point) const {
    point = -1;
    if (!m_pModel || (tool != ToolCursor1 && tool != ToolCursor2)) return false;
    const int series = m_pModel->tools[static_cast<size_t>(tool)].followSeries;
    if (series < 0 || series >= kChartSeriesCount) return false;
    const QVector<QPointF>& pts = m_Plot.SeriesDraw(series).points;
    double best = 1e300;
    for (int k = 0; k < pts.size(); ++k) {
        double d = std::fabs(pts[k].x() - x);
        if (d < best) {
            best = d;
            point = k;
        }
    }
    return point >= 0;
}

void CTChart::DrawCursor() {
    const int tool = ActiveCursorTool();
    const bool appeared = tool >= 0 && tool != m_nShownCursor;
    m_nShownCursor = tool;
    if (tool < 0) return;
    ChartTool& t = m_pModel->tools[static_cast<size_t>(tool)];
    const QVector<QPointF>& pts = m_Plot.SeriesDraw(t.followSeries).points;
    int k = -1;
    // A cursor that appears starts in the middle of its curve; afterwards it keeps its load.
    double x = appeared ? (pts.front().x() + pts.back().x()) / 2.0 : t.cursorX;
    SnapCursor(tool, x, k);
    t.cursorX = pts[k].x();
    t.cursorY = pts[k].y();
    QCPAxisRect* load = m_Plot.RegionRect(RegionLoad);
    QPen pen(ChartColor(t.color), 1, t.dottedPen ? Qt::DotLine : Qt::SolidLine);
    for (int i = 0; i < 2; ++i) {
        auto* l = new QCPItemStraightLine(m_Plot.Plot());
        l->setClipAxisRect(load);
        for (QCPItemPosition* pos : {l->point1, l->point2}) {
            pos->setAxisRect(load);
            pos->setAxes(load->axis(QCPAxis::atBottom), load->axis(QCPAxis::atLeft));
        }
        l->point1->setCoords(t.cursorX, t.cursorY);
        l->point2->setCoords(i == 0 ? t.cursorX : t.cursorX + 1.0, i == 0 ? t.cursorY + 1.0 : t.cursorY);
        l->setPen(pen);
        l->setLayer(QStringLiteral("main"));
        m_pCursorLine[i] = l;
    }
    if (appeared) {
        // The read-out of the new cursor, once the chart is drawn (not from inside the drawing).
        QMetaObject::invokeMethod(
            this, [this, tool] { MoveCursorTo(tool, m_pModel->tools[static_cast<size_t>(tool)].cursorX); },
            Qt::QueuedConnection);
    }
}

void CTChart::MoveCursorTo(int tool, double x) {
    if (tool != ActiveCursorTool()) return;
    ChartTool& t = m_pModel->tools[static_cast<size_t>(tool)];
    int k = -1;
    if (!SnapCursor(tool, x, k)) return;
    const QPointF pt = m_Plot.SeriesDraw(t.followSeries).points[k];
    t.cursorX = pt.x();
    t.cursorY = pt.y();
    const QPointF px = PixelOf(t.followSeries, pt.x(), pt.y());
    emit cursorMoved(tool, static_cast<int>(std::lround(px.x())), static_cast<int>(std::lround(px.y())), pt.x(), pt.y(),
                     t.followSeries, k);
    Redraw();
}

bool CTChart::CursorShown(int tool) const { return tool == m_nShownCursor && tool >= 0; }

QPointF CTChart::CursorValue(int tool) const {
    if (!m_pModel || tool < 0 || tool >= kChartToolCount) return {};
    const ChartTool& t = m_pModel->tools[static_cast<size_t>(tool)];
    return QPointF(t.cursorX, t.cursorY);
}

// ---- mouse and tips -----------------------------------------------------------------------------

void CTChart::OnPlotMousePress(QMouseEvent* e) {
    const int tool = ActiveCursorTool();
    QCPAxisRect* load = m_Plot.RegionRect(RegionLoad);
    if (e->button() != Qt::LeftButton || tool < 0 || !load->rect().contains(e->pos())) return;
    m_bDragging = true;
    MoveCursorTo(tool, load->axis(QCPAxis::atBottom)->pixelToCoord(e->pos().x()));
}

void CTChart::OnPlotMouseMove(QMouseEvent* e) {
    if (m_bDragging && (e->buttons() & Qt::LeftButton)) {
        const int tool = ActiveCursorTool();
        if (tool >= 0) MoveCursorTo(tool, m_Plot.RegionXAxis(RegionLoad)->pixelToCoord(e->pos().x()));
        return;
    }
    if (!m_pModel || !m_pModel->tools[ToolMarksTip].active) return;
    m_TipPos = e->pos();
    QToolTip::hideText();
    m_pTipTimer->start(std::max(m_pModel->tools[ToolMarksTip].delayMs, 0));
}

void CTChart::ShowValueTip() {
    const QString text = ValueTipAt(m_TipPos);
    if (!text.isEmpty()) QToolTip::showText(m_Plot.Plot()->mapToGlobal(m_TipPos), text, m_Plot.Plot());
}

QString CTChart::ValueTipAt(const QPoint& pos) const {
    if (!m_pModel) return {};
    int bestSeries = -1, bestPoint = -1;
    double best = 7.0 * 7.0;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        if (m_pModel->series[static_cast<size_t>(i)].marker == MarkerShape::None) continue;
        const QVector<QPointF>& pts = m_Plot.SeriesDraw(i).points;
        for (int k = 0; k < pts.size(); ++k) {
            const QPointF d = m_Plot.PixelOf(i, pts[k].x(), pts[k].y()) - QPointF(pos);
            const double dd = d.x() * d.x() + d.y() * d.y();
            if (dd <= best) {
                best = dd;
                bestSeries = i;
                bestPoint = k;
            }
        }
    }
    if (bestSeries < 0) return {};
    const ChartSeries& s = m_pModel->series[static_cast<size_t>(bestSeries)];
    const ChartPoint& p = s.points[static_cast<size_t>(bestPoint)];
    const ChartSeriesDraw& d = m_Plot.SeriesDraw(bestSeries);
    std::string x;
    if (d.region == RegionPost) {
        const long sec = std::lround(p.x * kSecondsPerDay);
        x = Fmt("%02ld:%02ld", sec / 60, sec % 60);
    } else {
        x = Fmt("%2.2f", p.x);
    }
    const std::string y = d.right ? Fmt("%2.0f S/min", p.y) : Fmt("%2.1f mmol/l", p.y);
    QString label = QString::fromStdString(p.label).trimmed();
    return QStringLiteral("%1: %2 / %3").arg(label, QString::fromStdString(x), QString::fromStdString(y));
}

// ---- legend -------------------------------------------------------------------------------------

void CTChart::OnLegendClick(QCPAbstractLegendItem* item) {
    auto* entry = dynamic_cast<CCheckLegendItem*>(item);
    if (entry) ToggleSeries(entry->Series());
}

void CTChart::ToggleSeries(int series) {
    if (!m_pModel || series < 0 || series >= kChartSeriesCount) return;
    ChartSeries& s = m_pModel->series[static_cast<size_t>(series)];
    s.active = !s.active;
    // Series without points have no legend entry to switch them with: they count as off, so that
    // with one test shown the rest and post-load regions can give way to the load region. (Showing
    // or hiding a test makes every series active again.)
    for (ChartSeries& other : m_pModel->series)
        if (other.inLegend && other.points.empty()) other.active = false;
    m_pModel->ApplySeriesActivity();
    emit seriesActivityChanged(series);
    Redraw();
}
