#include "ChartWidget.h"

#include "ChartModel.h"

#include <qcustomplot.h>

#include <QVBoxLayout>

#include <algorithm>

using namespace trv;

namespace {

QColor ToQColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QString Lines(const ChartTextArea& area, const char* sep = "\n") {
    QStringList l;
    for (const std::string& s : area.lines) l << QString::fromStdString(s);
    return l.join(QString::fromLatin1(sep));
}

QString Annotation(const std::string& text) { return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')); }

QCPScatterStyle::ScatterShape Shape(MarkerShape m) {
    switch (m) {
        case MarkerShape::Circle: return QCPScatterStyle::ssDisc;
        case MarkerShape::Triangle: return QCPScatterStyle::ssTriangle;
        case MarkerShape::HollowCircle: return QCPScatterStyle::ssCircle;
        case MarkerShape::HollowTriangle: return QCPScatterStyle::ssTriangle;
        default: return QCPScatterStyle::ssNone;
    }
}

}  // namespace

CTChart::CTChart(QWidget* parent) : QWidget(parent), m_pPlot(new QCustomPlot(this)) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_pPlot);
    m_pPlot->plotLayout()->insertRow(0);
    m_pTitle = new QCPTextElement(m_pPlot, QString(), QFont(QStringLiteral("Verdana"), 10, QFont::Bold));
    m_pPlot->plotLayout()->addElement(0, 0, m_pTitle);
    m_pPlot->plotLayout()->insertRow(2);
    m_pNotice = new QCPTextElement(m_pPlot, QString(), QFont(QStringLiteral("Arial"), 9));
    m_pNotice->setTextColor(QColor(0x80, 0, 0));
    m_pNotice->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
    m_pPlot->plotLayout()->addElement(2, 0, m_pNotice);
    setMinimumHeight(200);
}

void CTChart::SetModel(const CChartModel* model) {
    m_pModel = model;
    Redraw();
}

void CTChart::Redraw() {
    QCustomPlot* p = m_pPlot;
    p->clearGraphs();
    p->clearItems();
    p->setBackground(QBrush(QColor(0xF4, 0xF4, 0xF4)));
    if (!m_pModel) {
        p->replot();
        return;
    }
    const CChartModel& m = *m_pModel;
    QCPAxisRect* rect = p->axisRect();
    rect->setBackground(QBrush(ToQColor(m.backgroundColor)));

    // Title above the plot, notices below it.
    m_pTitle->setText(Lines(m.title));
    QStringList below;
    if (!m.cursorText.lines.empty()) below << Lines(m.cursorText);
    if (!m.notices.lines.empty()) below << Lines(m.notices);
    m_pNotice->setText(below.join(QLatin1Char('\n')));

    const QColor navy(0, 0, 128);
    auto styleAxis = [&](QCPAxis* a, const ChartAxis& ax) {
        a->setLabel(QString::fromStdString(ax.title));
        a->setLabelColor(navy);
        a->setTickLabelColor(navy);
        a->setLabelFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
        QFont lf(QStringLiteral("Arial Narrow"));
        lf.setPixelSize(13);
        a->setTickLabelFont(lf);
        a->grid()->setVisible(ax.grid);
    };
    styleAxis(p->xAxis, m.axes[AxisBottom]);
    styleAxis(p->yAxis, m.axes[AxisLeft]);
    styleAxis(p->yAxis2, m.axes[AxisRight]);
    p->yAxis2->setVisible(true);
    p->xAxis2->setVisible(false);

    // Pre-load and post-load points have axes of their own in the full chart; here they are drawn
    // at the left and right end of the load axis.
    double xmin = 1e300, xmax = -1e300;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        if (!s.active || s.xAxis != AxisBottom) continue;
        for (const ChartPoint& pt : s.points) {
            xmin = std::min(xmin, pt.x);
            xmax = std::max(xmax, pt.x);
        }
    }
    bool haveX = xmin <= xmax;
    if (!haveX) {
        xmin = 0.0;
        xmax = 1.0;
    }
    double span = std::max(xmax - xmin, 1.0);
    double ymax = 0.0, hrmin = 1e300, hrmax = -1e300;

    p->legend->setVisible(false);
    p->legend->clearItems();
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        if (!s.active || s.points.empty()) continue;
        QCPAxis* y = s.yAxis == AxisRight ? p->yAxis2 : p->yAxis;
        QCPGraph* g = p->addGraph(p->xAxis, y);
        g->setName(QString::fromStdString(s.title));
        QVector<double> xs, ys;
        int n = static_cast<int>(s.points.size());
        for (int k = 0; k < n; ++k) {
            const ChartPoint& pt = s.points[static_cast<size_t>(k)];
            double x = pt.x;
            if (s.xAxis == AxisCustom0) x = xmin - span * (0.25 - 0.15 * k / std::max(n, 1));
            if (s.xAxis == AxisCustom1) x = xmax + span * (0.1 + 0.15 * k / std::max(n, 1));
            xs << x;
            ys << pt.y;
            if (s.yAxis == AxisRight) {
                hrmin = std::min(hrmin, pt.y);
                hrmax = std::max(hrmax, pt.y);
            } else {
                ymax = std::max(ymax, pt.y);
            }
        }
        g->setData(xs, ys, s.xAxis == AxisBottom);
        QColor lineColor = ToQColor(s.lineColor ? s.lineColor : s.color);
        if (s.kind == SeriesKind::Points || !s.lineVisible) {
            g->setLineStyle(QCPGraph::lsNone);
        } else {
            g->setPen(QPen(lineColor, s.lineWidth));
        }
        MarkerShape shape = s.marker;
        if (shape == MarkerShape::None && s.kind != SeriesKind::Line) shape = MarkerShape::Circle;
        if (shape != MarkerShape::None) {
            QColor fill = ToQColor(s.color);
            bool hollow = shape == MarkerShape::HollowCircle || shape == MarkerShape::HollowTriangle;
            g->setScatterStyle(QCPScatterStyle(Shape(shape), QPen(ToQColor(s.markerOutline)),
                                               hollow ? QBrush(Qt::NoBrush) : QBrush(fill), 8));
        }
        if (s.inLegend) {
            g->addToLegend();
            p->legend->setVisible(true);
        }
    }
    p->xAxis->setRange(xmin - span * 0.3, xmax + span * 0.3);
    p->yAxis->setRange(0.0, std::max(ymax * 1.15, 8.0));
    if (hrmin <= hrmax)
        p->yAxis2->setRange(std::max(0.0, hrmin - 20.0), hrmax + 20.0);
    else
        p->yAxis2->setRange(60.0, 200.0);

    // Lactate zone, result boxes and the analyser identity.
    const ChartTool& band = m.tools[ToolZoneBand];
    if (band.active && band.bandEnd > band.bandStart) {
        auto* r = new QCPItemRect(p);
        r->topLeft->setTypeX(QCPItemPosition::ptAxisRectRatio);
        r->bottomRight->setTypeX(QCPItemPosition::ptAxisRectRatio);
        r->topLeft->setCoords(0.0, band.bandEnd);
        r->bottomRight->setCoords(1.0, band.bandStart);
        QColor c = ToQColor(band.color);
        c.setAlpha(255 * (100 - band.transparency) / 100);
        r->setBrush(c);
        r->setPen(Qt::NoPen);
        r->setLayer(QStringLiteral("background"));
    }
    auto box = [&](const ChartTool& tool, double rx, double ry, Qt::Alignment align, bool framed) {
        if (!tool.active || tool.text.empty()) return;
        auto* t = new QCPItemText(p);
        t->position->setType(QCPItemPosition::ptAxisRectRatio);
        t->position->setCoords(rx, ry);
        t->setPositionAlignment(align);
        t->setTextAlignment(Qt::AlignLeft);
        t->setText(Annotation(tool.text));
        t->setFont(QFont(QStringLiteral("Arial"), 8));
        if (framed) {
            t->setBrush(QBrush(ToQColor(0x80FFFF)));
            t->setPen(QPen(Qt::gray));
            t->setPadding(QMargins(4, 3, 4, 3));
        }
    };
    box(m.tools[ToolResult1], 0.01, 0.02, Qt::AlignLeft | Qt::AlignTop, true);
    box(m.tools[ToolResult2], 0.35, 0.02, Qt::AlignLeft | Qt::AlignTop, true);
    box(m.tools[ToolDeviceText], 0.99, 0.98, Qt::AlignRight | Qt::AlignBottom, false);
    for (int i : {ToolAnsLabel, ToolAsLabel}) {
        const ChartTool& lbl = m.tools[static_cast<size_t>(i)];
        if (!lbl.active) continue;
        auto* t = new QCPItemText(p);
        t->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        t->position->setCoords(0.995, i == ToolAnsLabel ? 4.0 : 2.0);
        t->setPositionAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setText(QString::fromStdString(lbl.text));
        t->setColor(navy);
    }
    p->replot();
}

QString CTChart::NoticeText() const { return m_pNotice ? m_pNotice->text() : QString(); }
