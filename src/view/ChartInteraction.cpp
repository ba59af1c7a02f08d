// The chart window's interaction: the cursors, the mouse, the legend check boxes, the value tips,
// and what tests and the print-out read back.
#include "ChartModel.h"
#include "ChartParts.h"
#include "ChartWidget.h"
#include "Format.h"

#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace trv;

namespace {
constexpr double kSecondsPerDay = 86400.0;
}  // namespace

// ---- cursors ------------------------------------------------------------------------------------

int CTChart::ActiveCursorTool() const {
    if (!m_pModel) return -1;
    for (int t : {ToolCursor1, ToolCursor2}) {
        const ChartTool& tool = m_pModel->tools[static_cast<size_t>(t)];
        if (tool.active && tool.kind == ToolKind::Cursor && tool.followSeries >= 0 &&
            tool.followSeries < kChartSeriesCount && !m_Series[tool.followSeries]->points.isEmpty())
            return t;
    }
    return -1;
}

bool CTChart::SnapCursor(int tool, double x, int& point) const {
    point = -1;
    if (!m_pModel || (tool != ToolCursor1 && tool != ToolCursor2)) return false;
    const int series = m_pModel->tools[static_cast<size_t>(tool)].followSeries;
    if (series < 0 || series >= kChartSeriesCount) return false;
    const QVector<QPointF>& pts = m_Series[series]->points;
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
    const QVector<QPointF>& pts = m_Series[t.followSeries]->points;
    int k = -1;
    // A cursor that appears starts in the middle of its curve; afterwards it keeps its load.
    double x = appeared ? (pts.front().x() + pts.back().x()) / 2.0 : t.cursorX;
    SnapCursor(tool, x, k);
    t.cursorX = pts[k].x();
    t.cursorY = pts[k].y();
    QCPAxisRect* load = m_apRect[RegionLoad];
    QPen pen(ChartColor(t.color), 1, t.dottedPen ? Qt::DotLine : Qt::SolidLine);
    for (int i = 0; i < 2; ++i) {
        auto* l = new QCPItemStraightLine(m_pPlot);
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
    const QPointF pt = m_Series[t.followSeries]->points[k];
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

// ---- placement after the layout -----------------------------------------------------------------

// Where a result box goes: beside its threshold point, in the free corner (test 1 preferably up and
// to the left, where the rising curve leaves room; test 2 down and to the right), never over the
// point, the other box, the zone marks or the curves and points if another corner is free.
QRectF CTChart::BoxPlace(int k, const QPointF& anchor, bool anchored, const QSizeF& sz, const QRectF& area) const {
    auto inside = [&area](QRectF r) {
        r.moveLeft(std::clamp(r.left(), area.left(), std::max(area.left(), area.right() - r.width())));
        r.moveTop(std::clamp(r.top(), area.top(), std::max(area.top(), area.bottom() - r.height())));
        return r;
    };
    QRectF r(QPointF(), sz);
    if (!anchored) {
        r.moveTopLeft(k == 0 ? area.topLeft() : QPointF(area.right() - sz.width(), area.top()));
        return inside(r);
    }
    const double gap = 14.0;
    // Corners as (dx, dy): -1 = left of / above the point, +1 = right of / below it.
    const int corners1[4][2] = {{-1, -1}, {1, 1}, {1, -1}, {-1, 1}};
    const int corners2[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    const auto& corners = k == 0 ? corners1 : corners2;
    double bestScore = 1e300;
    QRectF best;
    // Beside the point first; on a small chart also the corners of the plot area (the link line
    // still shows which point a box belongs to).
    for (int c = 0; c < 8; ++c) {
        QRectF cand(QPointF(), sz);
        if (c < 4) {
            cand.moveLeft(corners[c][0] < 0 ? anchor.x() - gap - sz.width() : anchor.x() + gap);
            cand.moveTop(corners[c][1] < 0 ? anchor.y() - gap - sz.height() : anchor.y() + gap);
        } else {
            cand.moveLeft(c % 2 == 0 ? area.left() : area.right() - sz.width());
            cand.moveTop(c < 6 ? area.top() : area.bottom() - sz.height());
        }
        cand = inside(cand);
        double score = c < 4 ? c : 5 + c;  // the order of preference breaks ties
        if (cand.adjusted(-4, -4, 4, 4).contains(anchor)) score += 10000;
        if (k == 1 && m_apBox[0] && cand.intersects(m_aBoxRect[0])) score += 1000;
        for (int z = 0; z < 2; ++z)
            if (m_apZone[z] && cand.intersects(m_aZoneRect[z])) score += 300;
        for (int i = 0; i < kChartSeriesCount; ++i) {
            if (m_Series[i]->region != RegionLoad) continue;
            const bool marker = m_pModel->series[static_cast<size_t>(i)].marker != MarkerShape::None;
            for (const QPointF& p : m_Series[i]->points)
                if (cand.contains(PixelOf(i, p.x(), p.y()))) score += marker ? 40 : 10;
        }
        if (score < bestScore) {
            bestScore = score;
            best = cand;
        }
    }
    return best;
}

void CTChart::PlaceItems() {
    QCPAxisRect* load = m_apRect[RegionLoad];
    const QRectF area = QRectF(load->rect()).adjusted(4, 4, -4, -4);
    for (int k = 0; k < 2; ++k) {
        QCPItemText* t = m_apZone[k];
        if (!t) continue;
        // At the start of the load region, where the curve is still low: "ANS" on the 4.0 edge of
        // the zone band, "AS " on its 2.0 edge, each just above its edge.
        const double value = k == 0 ? 4.0 : 2.0;
        const double row = load->axis(QCPAxis::atLeft)->coordToPixel(value);
        const QSizeF sz = ItemTextSize(t);
        QRectF r(load->rect().left() + 5.0, row - sz.height(), sz.width(), sz.height());
        t->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        t->position->setCoords(r.topLeft());
        m_aZoneRect[k] = r;
    }
    for (int k = 0; k < 2; ++k) {
        QCPItemText* t = m_apBox[k];
        if (!t) continue;
        const ChartTool& tool = m_pModel->tools[static_cast<size_t>(k == 0 ? ToolResult1 : ToolResult2)];
        const QSizeF sz = ItemTextSize(t);
        QPointF at = area.topLeft() + QPointF(k == 0 ? 0 : area.width() - sz.width(), 0);
        if (tool.anchored)
            at = QPointF(load->axis(QCPAxis::atBottom)->coordToPixel(tool.anchorX),
                         load->axis(QCPAxis::atLeft)->coordToPixel(tool.anchorY));
        const QPointF anchor = at;
        QRectF r = BoxPlace(k, anchor, tool.anchored, sz, area);
        if (k == 1 && m_apBox[0] && r.intersects(m_aBoxRect[0])) {
            // No room for both beside their points: test 1 into the top left corner, test 2 into
            // the top right one (or below test 1 when the chart is too narrow for both).
            QRectF& r1 = m_aBoxRect[0];
            r1.moveTopLeft(area.topLeft());
            m_apBox[0]->position->setCoords(r1.topLeft());
            r.moveTopRight(area.topRight());
            if (r.intersects(r1)) r.moveTopLeft(QPointF(area.left(), r1.bottom() + 4));
            if (m_apLink[0]) m_apLink[0]->start->setCoords(r1.bottomRight());
        }
        t->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        t->position->setCoords(r.topLeft());
        m_aBoxRect[k] = r;
        if (m_apLink[k]) {
            // The link leaves the box at the corner nearest to the point.
            QPointF c(anchor.x() < r.center().x() ? r.left() : r.right(),
                      anchor.y() < r.center().y() ? r.top() : r.bottom());
            m_apLink[k]->start->setCoords(c);
        }
    }
}

// ---- mouse --------------------------------------------------------------------------------------

void CTChart::OnPlotMousePress(QMouseEvent* e) {
    const int tool = ActiveCursorTool();
    QCPAxisRect* load = m_apRect[RegionLoad];
    if (e->button() != Qt::LeftButton || tool < 0 || !load->rect().contains(e->pos())) return;
    m_bDragging = true;
    MoveCursorTo(tool, load->axis(QCPAxis::atBottom)->pixelToCoord(e->pos().x()));
}

void CTChart::OnPlotMouseMove(QMouseEvent* e) {
    if (m_bDragging && (e->buttons() & Qt::LeftButton)) {
        const int tool = ActiveCursorTool();
        if (tool >= 0) MoveCursorTo(tool, m_apRect[RegionLoad]->axis(QCPAxis::atBottom)->pixelToCoord(e->pos().x()));
        return;
    }
    if (!m_pModel || !m_pModel->tools[ToolMarksTip].active) return;
    m_TipPos = e->pos();
    QToolTip::hideText();
    m_pTipTimer->start(std::max(m_pModel->tools[ToolMarksTip].delayMs, 0));
}

void CTChart::ShowValueTip() {
    const QString text = ValueTipAt(m_TipPos);
    if (!text.isEmpty()) QToolTip::showText(m_pPlot->mapToGlobal(m_TipPos), text, m_pPlot);
}

QString CTChart::ValueTipAt(const QPoint& pos) const {
    if (!m_pModel) return {};
    int bestSeries = -1, bestPoint = -1;
    double best = 7.0 * 7.0;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        if (m_pModel->series[static_cast<size_t>(i)].marker == MarkerShape::None) continue;
        const QVector<QPointF>& pts = m_Series[i]->points;
        for (int k = 0; k < pts.size(); ++k) {
            const QPointF d = PixelOf(i, pts[k].x(), pts[k].y()) - QPointF(pos);
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
    const SeriesDraw& d = *m_Series[bestSeries];
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

void CTChart::OnLegendClick(QCPLegend*, QCPAbstractLegendItem* item) {
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

QVector<int> CTChart::LegendSeries() const {
    QVector<int> v;
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i))) v << e->Series();
    return v;
}

bool CTChart::LegendChecked(int series) const {
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i)))
            if (e->Series() == series) return e->Checked();
    return false;
}

QRectF CTChart::LegendEntryRect(int series) const {
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i)))
            if (e->Series() == series) return e->rect();
    return {};
}

// ---- what is drawn ------------------------------------------------------------------------------

QString CTChart::TitleText() const { return m_pTitle->text(); }
QString CTChart::NoticeText() const { return m_pNotice->text(); }
QString CTChart::CursorText() const { return m_pCursorText->text(); }
QString CTChart::DeviceText() const { return m_pDevice->text(); }

bool CTChart::RegionShown(int region) const { return region >= 0 && region < kRegionCount && m_abShown[region]; }

QCPAxisRect* CTChart::RegionRect(int region) const {
    return region >= 0 && region < kRegionCount ? m_apRect[region] : nullptr;
}

QCPAxis* CTChart::RegionXAxis(int region) const {
    QCPAxisRect* r = RegionRect(region);
    return r ? r->axis(QCPAxis::atBottom) : nullptr;
}

QCPAxis* CTChart::LactateAxis() const {
    for (int r = 0; r < kRegionCount; ++r)
        if (m_abShown[r]) return m_apRect[r]->axis(QCPAxis::atLeft);
    return m_apRect[RegionLoad]->axis(QCPAxis::atLeft);
}

QCPAxis* CTChart::HeartRateAxis() const {
    for (int r = kRegionCount - 1; r >= 0; --r)
        if (m_abShown[r]) return m_apRect[r]->axis(QCPAxis::atRight);
    return m_apRect[RegionLoad]->axis(QCPAxis::atRight);
}

QVector<QPointF> CTChart::DrawnPoints(int series) const {
    return series >= 0 && series < kChartSeriesCount ? m_Series[series]->points : QVector<QPointF>();
}

QPointF CTChart::PixelOf(int series, double x, double y) const {
    if (series < 0 || series >= kChartSeriesCount) return {};
    const SeriesDraw& d = *m_Series[series];
    QCPAxisRect* rect = m_apRect[d.region];
    return QPointF(rect->axis(QCPAxis::atBottom)->coordToPixel(x),
                   rect->axis(d.right ? QCPAxis::atRight : QCPAxis::atLeft)->coordToPixel(y));
}

bool CTChart::ItemShown(int tool) const {
    switch (tool) {
        case ToolResult1:
            return m_apBox[0] != nullptr;
        case ToolResult2:
            return m_apBox[1] != nullptr;
        case ToolAnsLabel:
            return m_apZone[0] != nullptr;
        case ToolAsLabel:
            return m_apZone[1] != nullptr;
        default:
            return false;
    }
}

QString CTChart::ItemText(int tool) const {
    switch (tool) {
        case ToolResult1:
            return m_apBox[0] ? m_apBox[0]->text() : QString();
        case ToolResult2:
            return m_apBox[1] ? m_apBox[1]->text() : QString();
        case ToolAnsLabel:
            return m_apZone[0] ? m_apZone[0]->text() : QString();
        case ToolAsLabel:
            return m_apZone[1] ? m_apZone[1]->text() : QString();
        default:
            return {};
    }
}

QRectF CTChart::ItemRect(int tool) const {
    switch (tool) {
        case ToolResult1:
            return m_aBoxRect[0];
        case ToolResult2:
            return m_aBoxRect[1];
        case ToolAnsLabel:
            return m_aZoneRect[0];
        case ToolAsLabel:
            return m_aZoneRect[1];
        default:
            return {};
    }
}
