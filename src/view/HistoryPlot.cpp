#include "HistoryPlot.h"

#include "QtText.h"

#include <qcustomplot.h>

#include <QPicture>
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

}  // namespace

CHistoryPlot::CHistoryPlot(QWidget* parent) : QWidget(parent), m_pPlot(new QCustomPlot(this)) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_pPlot);
    // Never without a size: a plot of no pixels cannot paint its buffer (a page not yet laid out).
    m_pPlot->setMinimumSize(240, 160);
    m_pPlot->setNoAntialiasingOnDrag(true);
    // Each chart has a legend of its own; the plot's automatic one would collect every line.
    m_pPlot->setAutoAddPlottableToLegend(false);
    Rebuild();
}

void CHistoryPlot::SetCharts(std::vector<HistoryChart> charts) {
    m_charts = std::move(charts);
    Rebuild();
}

void CHistoryPlot::Rebuild() {
    QCustomPlot* p = m_pPlot;
    p->clearItems();
    p->clearGraphs();
    p->plotLayout()->clear();
    const QFont font(QStringLiteral("Arial"), 8);
    const QFont titleFont(QStringLiteral("Arial"), 9, QFont::Bold);
    int row = 0;
    for (const HistoryChart& c : m_charts) {
        auto* title = new QCPTextElement(p, QU8(c.title), titleFont);
        p->plotLayout()->addElement(row++, 0, title);
        auto* rect = new QCPAxisRect(p, true);
        p->plotLayout()->addElement(row++, 0, rect);
        rect->setMinimumSize(200, 120);
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
        ticker->setDateTimeFormat(QStringLiteral("dd.MM.yyyy"));
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setTickCount(4);
        x->setTicker(ticker);
        x->setLabel(QStr(IDS_HIST_AXIS_DATE));
        y->setLabel(QU8(c.yTitle));
        for (QCPAxis* a : {x, y}) {
            a->setTickLabelFont(font);
            a->setLabelFont(font);
        }

        // The legend in one line between the title and the axes, so that it covers no point.
        auto* legend = new QCPLegend;
        p->plotLayout()->insertRow(row - 1);
        p->plotLayout()->addElement(row - 1, 0, legend);
        ++row;
        legend->setLayer(QStringLiteral("legend"));
        legend->setFont(font);
        legend->setBorderPen(Qt::NoPen);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        legend->setWrap(static_cast<int>(std::max<size_t>(1, c.series.size())));
        legend->setMargins(QMargins(2, 0, 2, 0));
        legend->setRowSpacing(0);
        legend->setColumnSpacing(6);
        p->plotLayout()->setRowStretchFactor(row - 2, 0.001);

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
        }
        if (xmin > xmax) {  // nothing determinable: an empty axis around today
            xmin = xmax = QDateTime::currentSecsSinceEpoch();
            ymin = 0;
            ymax = 1;
        }
        const double xpad = std::max((xmax - xmin) * 0.06, 10.0 * 86400.0);
        const double ypad = std::max((ymax - ymin) * 0.2, std::max(std::fabs(ymax) * 0.05, 0.5));
        x->setRange(xmin - xpad, xmax + xpad);
        y->setRange(ymin - ypad, ymax + ypad);
    }
    p->replot(QCustomPlot::rpQueuedReplot);
}

void CHistoryPlot::RenderInto(QPainter& painter, const QRectF& target, const QSize& layout) {
    m_pPlot->setViewport(QRect(QPoint(0, 0), layout));
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        m_pPlot->toPainter(&recorder, layout.width(), layout.height());
    }
    m_pPlot->setViewport(m_pPlot->rect());
    const double dx = static_cast<double>(picture.logicalDpiX()) / painter.device()->logicalDpiX();
    const double dy = static_cast<double>(picture.logicalDpiY()) / painter.device()->logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / layout.width() * dx, target.height() / layout.height() * dy);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}
