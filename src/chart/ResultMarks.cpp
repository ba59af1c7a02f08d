#include "chart/ResultMarks.h"

#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "chart/ChartStyle.h"

#include <qcustomplot.h>

#include <algorithm>

namespace trv {

namespace {

// The size a text item takes on the plot, padding included.
QSizeF ItemTextSize(const QCPItemText* t) {
    QFontMetricsF fm(t->font());
    QRectF r = fm.boundingRect(QRectF(0, 0, 10000, 10000), Qt::TextDontClip | t->textAlignment(), t->text());
    const QMargins p = t->padding();
    return QSizeF(r.width() + p.left() + p.right(), r.height() + p.top() + p.bottom());
}

QCPItemText* MakeText(QCustomPlot* plot, QCPAxisRect* rect, const QString& text, const QFont& font) {
    auto* t = new QCPItemText(plot);
    t->setClipToAxisRect(false);
    t->position->setType(QCPItemPosition::ptAbsolute);
    t->setText(text);
    t->setFont(font);
    t->setTextAlignment(Qt::AlignLeft);
    t->setClipAxisRect(rect);
    return t;
}

}  // namespace

void CResultMarks::Draw(QCustomPlot* plot, const CChartModel& m) {
    m_pModel = &m;
    QCPAxisRect* load = m_Plot.RegionRect(RegionLoad);
    const int zoneTools[2] = {ToolAnsLabel, ToolAsLabel};
    for (int k = 0; k < 2; ++k) {
        const ChartTool& tool = m.tools[static_cast<size_t>(zoneTools[k])];
        if (!tool.active) continue;
        m_apZone[k] = MakeText(plot, load, QString::fromStdString(tool.text), ChartFont("Arial", 9, true));
        m_apZone[k]->setColor(kChartNavy);
        m_apZone[k]->setLayer(QStringLiteral("axes"));
    }
    const int boxTools[2] = {ToolResult1, ToolResult2};
    for (int k = 0; k < 2; ++k) {
        const ChartTool& tool = m.tools[static_cast<size_t>(boxTools[k])];
        if (!tool.active || tool.text.empty()) continue;
        if (tool.boxShown) {
            QCPItemText* box = MakeText(plot, load, AnnotationText(tool.text), ChartFont("Arial", 8));
            box->setBrush(QBrush(ChartColor(tool.color ? tool.color : 0x80FFFF)));
            box->setPen(QPen(QColor(0x80, 0x80, 0x80)));
            box->setPadding(QMargins(5, 3, 5, 3));
            box->setColor(Qt::black);
            box->setLayer(QStringLiteral("legend"));
            m_apBox[k] = box;
        }
        if (!tool.anchored) continue;
        // Drop lines from the threshold point to the load axis and to the lactate axis.
        QCPAxis* x = load->axis(QCPAxis::atBottom);
        QCPAxis* y = load->axis(QCPAxis::atLeft);
        auto line = [&](double x1, double y1, double x2, double y2) {
            auto* l = new QCPItemLine(plot);
            l->setClipAxisRect(load);
            for (QCPItemPosition* pos : {l->start, l->end}) {
                pos->setAxisRect(load);
                pos->setAxes(x, y);
            }
            l->start->setCoords(x1, y1);
            l->end->setCoords(x2, y2);
            l->setPen(QPen(kChartNavy, 1, Qt::DashLine));
            return l;
        };
        line(tool.anchorX, y->range().lower, tool.anchorX, tool.anchorY);
        line(x->range().lower, tool.anchorY, tool.anchorX, tool.anchorY);
        auto* dot = new QCPItemTracer(plot);
        dot->setClipAxisRect(load);
        dot->position->setAxisRect(load);
        dot->position->setAxes(x, y);
        dot->position->setCoords(tool.anchorX, tool.anchorY);
        dot->setStyle(QCPItemTracer::tsCircle);
        dot->setSize(9);
        dot->setPen(QPen(kChartNavy, 1.5));
        dot->setBrush(Qt::NoBrush);
        if (!m_apBox[k]) continue;
        auto* link = new QCPItemLine(plot);
        // The link never leaves the plot area, wherever the box went.
        link->setClipToAxisRect(true);
        link->setClipAxisRect(load);
        link->start->setType(QCPItemPosition::ptAbsolute);
        link->end->setAxisRect(load);
        link->end->setAxes(x, y);
        link->end->setCoords(tool.anchorX, tool.anchorY);
        link->setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        m_apLink[k] = link;
    }
}

void CResultMarks::Clear() {
    m_pModel = nullptr;
    m_apBox[0] = m_apBox[1] = nullptr;
    m_apZone[0] = m_apZone[1] = nullptr;
    m_apLink[0] = m_apLink[1] = nullptr;
    m_aBoxRect[0] = m_aBoxRect[1] = m_aZoneRect[0] = m_aZoneRect[1] = QRectF();
}

// Where a result box goes: beside its threshold point, in the free corner (test 1 preferably up and
// to the left, where the rising curve leaves room; test 2 down and to the right), never over the
// point, the other box, the zone marks or the curves and points if another corner is free.
QRectF CResultMarks::BoxPlace(int k, const QPointF& anchor, bool anchored, const QSizeF& sz, const QRectF& area) const {
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
    // Beside the point first; on a small chart also the corners of the plot area and places along its
    // edges (the link line still shows which point a box belongs to).
    for (int c = 0; c < 16; ++c) {
        QRectF cand(QPointF(), sz);
        if (c < 4) {
            cand.moveLeft(corners[c][0] < 0 ? anchor.x() - gap - sz.width() : anchor.x() + gap);
            cand.moveTop(corners[c][1] < 0 ? anchor.y() - gap - sz.height() : anchor.y() + gap);
        } else if (c < 8) {
            cand.moveLeft(c % 2 == 0 ? area.left() : area.right() - sz.width());
            cand.moveTop(c < 6 ? area.top() : area.bottom() - sz.height());
        } else if (c < 14) {
            // A quarter, half and three quarters across the top, then the bottom.
            const double across = 0.25 * ((c - 8) % 3 + 1);
            cand.moveLeft(area.left() + (area.width() - sz.width()) * across);
            cand.moveTop(c < 11 ? area.top() : area.bottom() - sz.height());
        } else {
            // Half-way down the left or the right edge.
            cand.moveLeft(c == 14 ? area.left() : area.right() - sz.width());
            cand.moveTop(area.top() + (area.height() - sz.height()) / 2.0);
        }
        cand = inside(cand);
        double score = c < 4 ? c : 5 + c;  // the order of preference breaks ties
        if (cand.adjusted(-4, -4, 4, 4).contains(anchor)) score += 10000;
        if (k == 1 && m_apBox[0] && cand.intersects(m_aBoxRect[0])) score += 1000;
        for (int z = 0; z < 2; ++z)
            if (m_apZone[z] && cand.intersects(m_aZoneRect[z])) score += 300;
        for (int i = 0; i < kChartSeriesCount; ++i) {
            const ChartSeriesDraw& d = m_Plot.SeriesDraw(i);
            if (d.region != RegionLoad) continue;
            const bool marker = m_pModel->series[static_cast<size_t>(i)].marker != MarkerShape::None;
            for (const QPointF& p : d.points)
                if (cand.contains(m_Plot.PixelOf(i, p.x(), p.y()))) score += marker ? 40 : 10;
        }
        if (score < bestScore) {
            bestScore = score;
            best = cand;
        }
    }
    return best;
}

void CResultMarks::Place() {
    if (!m_pModel) return;
    QCPAxisRect* load = m_Plot.RegionRect(RegionLoad);
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

bool CResultMarks::ItemShown(int tool) const {
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

QString CResultMarks::ItemText(int tool) const {
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

QRectF CResultMarks::ItemRect(int tool) const {
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

}  // namespace trv
