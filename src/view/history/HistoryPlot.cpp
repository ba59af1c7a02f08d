#include "view/history/HistoryPlot.h"

#include "chart/ChartStyle.h"
#include "view/QtText.h"

#include <qcustomplot.h>

#include <QFontMetrics>
#include <QPicture>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace trv;

namespace {

QColor Color(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// Days since 1899-12-30 as seconds since 1970 (UTC, so no zone shifts a date).
double Seconds(double oleDays) { return (oleDays - 25569.0) * 86400.0; }

// The points of a long series that keep a label: first, last, lowest, highest.
std::vector<bool> Labelled(const HistorySeries& s) {
    const size_t n = s.points.size();
    std::vector<bool> keep(n, n <= CHistoryPlot::kAllLabelsUpTo);
    if (n == 0 || n <= CHistoryPlot::kAllLabelsUpTo) return keep;
    const auto byLoad = [](const HistoryPoint& a, const HistoryPoint& b) { return a.load < b.load; };
    keep.front() = keep.back() = true;
    keep[std::min_element(s.points.begin(), s.points.end(), byLoad) - s.points.begin()] = true;
    keep[std::max_element(s.points.begin(), s.points.end(), byLoad) - s.points.begin()] = true;
    return keep;
}

// The intervals of a series' points as error bars (points without one get none).
void AddErrorBars(QCPGraph* g, const HistorySeries& s, const QColor& col, double& ymin, double& ymax) {
    if (std::none_of(s.points.begin(), s.points.end(), [](const HistoryPoint& p) { return p.low && p.high; })) return;
    auto* bars = new QCPErrorBars(g->keyAxis(), g->valueAxis());
    bars->setDataPlottable(g);
    QVector<double> minus, plus;
    for (const HistoryPoint& p : s.points) {
        minus << (p.low ? std::max(p.load - *p.low, 0.0) : 0.0);
        plus << (p.high ? std::max(*p.high - p.load, 0.0) : 0.0);
        if (p.low) ymin = std::min(ymin, *p.low);
        if (p.high) ymax = std::max(ymax, *p.high);
    }
    bars->setData(minus, plus);
    bars->setPen(QPen(col, 1.0));
    bars->setWhiskerWidth(6);
    bars->removeFromLegend();
}

}  // namespace

CHistoryPlot::CHistoryPlot(QWidget* parent) : QWidget(parent), m_pPlot(new QCustomPlot(this)) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_pPlot);
    // Never without a size: a plot of no pixels cannot paint its buffer (a page not yet laid out).
    m_pPlot->setMinimumSize(240, 160);
    m_pPlot->setNoAntialiasingOnDrag(true);
    // Tick labels with a decimal comma ("12,5"), as every number of the program.
    m_pPlot->setLocale(ChartLocale());
    // Each chart has a legend of its own; the plot's automatic one would collect every line.
    m_pPlot->setAutoAddPlottableToLegend(false);
    Rebuild();
}

void CHistoryPlot::SetColumns(int columns, const QSize& minimumChart) {
    m_nColumns = std::max(1, columns);
    m_MinimumChart = minimumChart;
    Rebuild();
}

int CHistoryPlot::ColumnsFor(int charts, const QSizeF& area) {
    // The number of columns whose cells come nearest to a chart's usual proportions (2.5 : 1).
    int best = 1;
    double bestMiss = HUGE_VAL;
    for (int columns = 1; columns <= std::max(1, charts); ++columns) {
        const int rows = (charts + columns - 1) / columns;
        const double aspect = (area.width() / columns) / std::max(1.0, area.height() / std::max(1, rows));
        const double miss = std::fabs(std::log(aspect / 2.5));
        if (miss < bestMiss) {
            bestMiss = miss;
            best = columns;
        }
    }
    return best;
}

void CHistoryPlot::SetCharts(std::vector<HistoryChart> charts) {
    m_charts = std::move(charts);
    // Each row of charts keeps a readable height: a small dock gives way in its table first.
    const int columns = std::max(1, m_nColumns);
    const int rows = (static_cast<int>(m_charts.size()) + columns - 1) / columns;
    m_pPlot->setMinimumHeight(std::max(160, kRowMinimumHeight * rows));
    Rebuild();
}

void CHistoryPlot::Rebuild() {
    QCustomPlot* p = m_pPlot;
    p->clearItems();
    p->clearGraphs();
    p->plotLayout()->clear();
    m_legends.clear();
    m_rects.clear();
    const QFont font(QStringLiteral("Arial"), 8);
    const QFont titleFont(QStringLiteral("Arial"), 9, QFont::Bold);
    const int columns = std::max(1, m_nColumns);
    for (size_t i = 0; i < m_charts.size(); ++i) {
        const HistoryChart& c = m_charts[i];
        // Each chart is a cell of its own: the title, the legend, the axes.
        auto* cell = new QCPLayoutGrid;
        p->plotLayout()->addElement(static_cast<int>(i) / columns, static_cast<int>(i) % columns, cell);
        cell->setRowSpacing(0);
        auto* title = new QCPTextElement(p, QU8(c.title), titleFont);
        title->setMargins(QMargins(2, 2, 2, 4));
        cell->addElement(0, 0, title);
        auto* rect = new QCPAxisRect(p, true);
        cell->addElement(2, 0, rect);
        rect->setMinimumSize(m_MinimumChart);
        m_rects.push_back(rect);
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
        ticker->setDateTimeFormat(CurrentLang() == Lang::en ? QStringLiteral("dd/MM/yyyy")
                                                            : QStringLiteral("dd.MM.yyyy"));
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setTickCount(4);
        x->setTicker(ticker);
        x->setLabel(QStr(IDS_HIST_AXIS_DATE));
        y->setLabel(QU8(c.yTitle));
        for (QCPAxis* a : {x, y}) {
            a->setTickLabelFont(font);
            a->setLabelFont(font);
        }

        // The legend between the title and the axes, so that it covers no point: in one line where
        // the width holds it, else wrapped.
        auto* legend = new QCPLegend;
        cell->addElement(1, 0, legend);
        legend->setLayer(QStringLiteral("legend"));
        legend->setFont(font);
        legend->setBorderPen(Qt::NoPen);
        legend->setBrush(Qt::NoBrush);
        legend->setIconSize(22, 10);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        int widest = 0;
        for (const HistorySeries& s : c.series)
            widest = std::max(widest, QFontMetrics(font).horizontalAdvance(QU8(s.label)));
        m_legends.push_back({legend, static_cast<int>(c.series.size()), widest + legend->iconSize().width() + 16});
        legend->setMargins(QMargins(2, 0, 2, 0));
        legend->setRowSpacing(0);
        legend->setColumnSpacing(6);
        cell->setRowStretchFactor(0, 0.001);
        cell->setRowStretchFactor(1, 0.001);

        // A dense chart is drawn without smoothing and with small markers: on a busy line the
        // smoothing is not seen, and it costs most of the drawing time.
        size_t most = 0;
        for (const HistorySeries& s : c.series) most = std::max(most, s.points.size());
        const bool dense = most > kAllLabelsUpTo;
        double xmin = HUGE_VAL, xmax = -HUGE_VAL, ymin = HUGE_VAL, ymax = -HUGE_VAL;
        for (const HistorySeries& s : c.series) {
            auto* g = p->addGraph(x, y);
            g->setName(QU8(s.label));
            const QColor col = Color(s.color);
            g->setScatterStyle(dense ? QCPScatterStyle(QCPScatterStyle::ssDisc, col, 3)
                                     : QCPScatterStyle(QCPScatterStyle::ssCircle, col, Qt::white, 6));
            g->setPen(QPen(col, dense ? 1.0 : 1.5));
            g->setAntialiased(!dense);
            g->setAntialiasedScatters(!dense);
            g->addToLegend(legend);
            const std::vector<bool> labelled = Labelled(s);
            for (size_t k = 0; k < s.points.size(); ++k) {
                const HistoryPoint& pt = s.points[k];
                const double t = Seconds(pt.date);
                g->addData(t, pt.load);
                xmin = std::min(xmin, t);
                xmax = std::max(xmax, t);
                ymin = std::min(ymin, pt.load);
                ymax = std::max(ymax, pt.load);
                if (!labelled[k]) continue;
                auto* label = new QCPItemText(p);
                label->setClipAxisRect(rect);
                label->position->setAxes(x, y);
                label->position->setAxisRect(rect);
                label->position->setCoords(t, pt.load);
                label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
                label->setPadding(QMargins(0, 0, 0, 4));
                label->setFont(font);
                label->setColor(col);
                label->setText(QU8(pt.label));
            }
            AddErrorBars(g, s, col, ymin, ymax);
        }
        if (xmin > xmax) {  // nothing determinable: an empty axis around today
            xmin = xmax = QDateTime::currentSecsSinceEpoch();
            ymin = 0;
            ymax = 1;
        }
        const double xpad = std::max((xmax - xmin) * 0.06, 10.0 * 86400.0);
        const double ypad = std::max((ymax - ymin) * 0.2, std::max(std::fabs(ymax) * 0.05, 0.5));
        x->setRange(xmin - xpad, xmax + xpad);
        y->setRange(ymin - ypad, ymax + 2 * ypad);  // room above the highest point for its label
    }
    WrapLegends(p->width());
    p->replot(QCustomPlot::rpQueuedReplot);
}

bool CHistoryPlot::WrapLegends(int width) {
    bool changed = false;
    const int cellWidth = width / std::max(1, m_nColumns);
    for (const Legend& l : m_legends) {
        const int perRow = std::clamp((cellWidth - 8) / std::max(1, l.widest), 1, std::max(1, l.entries));
        if (l.legend->wrap() == perRow) continue;
        l.legend->setWrap(perRow);
        l.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
        changed = true;
    }
    return changed;
}

void CHistoryPlot::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (WrapLegends(e->size().width())) m_pPlot->replot(QCustomPlot::rpQueuedReplot);
}

void CHistoryPlot::Print(const std::vector<HistoryChart>& charts, QPainter& painter, const QRectF& target) {
    CHistoryPlot plot;
    plot.m_charts = charts;
    // Side by side where the page's rest is wide and low; laid out at the target's proportions
    // (never stretched), 1000 pixels wide and a little wider per further column, so that fonts
    // keep a readable size on paper and a column's legend still fits in a line or two.
    const int columns = ColumnsFor(static_cast<int>(charts.size()), target.size());
    plot.SetColumns(columns, QSize(120, 60));
    const int w = 1000 + 250 * (columns - 1);
    const int h = std::max(1, static_cast<int>(w * target.height() / std::max(1.0, target.width())));
    plot.RenderInto(painter, target, QSize(w, h));
}

void CHistoryPlot::RenderInto(QPainter& painter, const QRectF& target, const QSize& layout) {
    m_pPlot->setViewport(QRect(QPoint(0, 0), layout));
    WrapLegends(layout.width());
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        m_pPlot->toPainter(&recorder, layout.width(), layout.height());
    }
    m_pPlot->setViewport(m_pPlot->rect());
    WrapLegends(m_pPlot->width());
    const double dx = static_cast<double>(picture.logicalDpiX()) / painter.device()->logicalDpiX();
    const double dy = static_cast<double>(picture.logicalDpiY()) / painter.device()->logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / layout.width() * dx, target.height() / layout.height() * dy);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}
