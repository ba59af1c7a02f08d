#include "ChartWidget.h"

#include "ChartModel.h"
#include "ChartParts.h"
#include "Format.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>

using namespace trv;

namespace {

constexpr double kSecondsPerDay = 86400.0;
const QColor kNavy(0, 0, 128);

QString Joined(const std::vector<std::string>& lines) {
    QStringList l;
    for (const std::string& s : lines) l << QString::fromStdString(s);
    return l.join(QLatin1Char('\n'));
}

// Annotation texts break their lines with "\r".
QString AnnotationText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QFont Font(const char* family, int points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont PixelFont(const char* family, int pixels) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    return f;
}

void AddRange(double v, double& lo, double& hi) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
}

}  // namespace

CTChart::CTChart(QWidget* parent) : QWidget(parent), m_pPlot(new QCustomPlot(this)), m_pTipTimer(new QTimer(this)) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_pPlot);
    for (int i = 0; i < kChartSeriesCount; ++i) m_Series.push_back(new SeriesDraw);
    m_pTipTimer->setSingleShot(true);
    connect(m_pTipTimer, &QTimer::timeout, this, &CTChart::ShowValueTip);
    BuildPlot();
    setMinimumSize(320, 200);
    setMouseTracking(true);
    m_pPlot->setMouseTracking(true);
}

CTChart::~CTChart() { qDeleteAll(m_Series); }

void CTChart::BuildPlot() {
    QCustomPlot* p = m_pPlot;
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    p->setLocale(german);
    p->setBackground(Qt::white);
    p->setNoAntialiasingOnDrag(true);
    p->plotLayout()->clear();  // also deletes the default axis rect and legend
    p->plotLayout()->setRowSpacing(2);

    m_pTitle = new QCPTextElement(p, QString(), Font("Verdana", 10, true));
    m_pTitle->setTextColor(kNavy);
    m_pCursorText = new QCPTextElement(p, QString(), Font("Arial", 9));
    m_pCursorText->setTextColor(QColor(0, 0, 0xC0));
    m_pRegionGrid = new QCPLayoutGrid;
    m_pBottomGrid = new QCPLayoutGrid;
    p->plotLayout()->addElement(0, 0, m_pTitle);
    p->plotLayout()->addElement(1, 0, m_pCursorText);
    p->plotLayout()->addElement(2, 0, m_pRegionGrid);
    p->plotLayout()->addElement(3, 0, m_pBottomGrid);
    p->plotLayout()->setRowStretchFactors({0.001, 0.001, 1.0, 0.001});

    m_pNotice = new QCPTextElement(p, QString(), Font("Arial", 9));
    m_pNotice->setTextColor(QColor(0x90, 0, 0));
    m_pNotice->setTextFlags(Qt::AlignLeft | Qt::AlignTop);
    m_pNotice->setMargins(QMargins(8, 2, 8, 4));
    m_pDevice = new QCPTextElement(p, QString(), Font("Arial", 8));
    m_pDevice->setTextColor(kNavy);
    m_pDevice->setTextFlags(Qt::AlignRight | Qt::AlignBottom);
    m_pDevice->setMargins(QMargins(8, 2, 8, 4));
    m_pBottomGrid->addElement(0, 0, m_pNotice);
    m_pBottomGrid->addElement(0, 1, m_pDevice);
    m_pBottomGrid->setColumnStretchFactors({1.0, 0.001});

    m_pMarginGroup = new QCPMarginGroup(p);
    m_pLoadTicker = new CIncrementTicker(0.5, 12);
    m_pLactateTicker = new CIncrementTicker(1.0, 14);
    for (int r = 0; r < kRegionCount; ++r) {
        auto* rect = new QCPAxisRect(p, true);
        rect->setLayer(QStringLiteral("background"));
        rect->setMinimumSize(10, 30);  // the bands lie between its background and the curves
        rect->setMarginGroup(QCP::msTop | QCP::msBottom, m_pMarginGroup);
        rect->setMinimumMargins(QMargins(7, 6, 7, 4));
        rect->axis(QCPAxis::atTop)->setVisible(false);
        for (QCPAxis* a : rect->axes()) {
            a->setLabelColor(kNavy);
            a->setTickLabelColor(kNavy);
            a->setBasePen(QPen(kNavy));
            a->setTickPen(QPen(kNavy));
            a->setSubTickPen(QPen(kNavy));
            a->setLabelFont(Font("Arial", 9, true));
            a->setTickLabelFont(PixelFont("Arial Narrow", 13));
            a->grid()->setVisible(false);
            a->setPadding(2);
        }
        m_apRect[r] = rect;
    }
    m_apRect[RegionLoad]->axis(QCPAxis::atBottom)->setTicker(QSharedPointer<QCPAxisTicker>(m_pLoadTicker));
    m_apRect[RegionPost]->axis(QCPAxis::atBottom)->setTicker(QSharedPointer<QCPAxisTicker>(new CMinSecTicker));
    QSharedPointer<QCPAxisTicker> lactate(m_pLactateTicker);
    for (QCPAxisRect* rect : m_apRect) rect->axis(QCPAxis::atLeft)->setTicker(lactate);
    m_apRect[RegionRest]->axis(QCPAxis::atBottom)->ticker()->setTickCount(2);

    m_pLegendColumn = new QCPLayoutGrid;
    m_pRegionGrid->addElement(0, 0, m_pLegendColumn);
    m_pLegend = new QCPLegend;
    m_pLegendColumn->addElement(0, 0, m_pLegend);
    m_pLegendColumn->addElement(1, 0, new QCPLayoutElement(p));
    m_pLegendColumn->setRowStretchFactors({0.001, 1.0});
    m_pLegendColumn->setMargins(QMargins(0, 6, 4, 0));
    m_pLegend->setLayer(QStringLiteral("legend"));
    m_pLegend->setBrush(QColor(0xFA, 0xFA, 0xFA));
    m_pLegend->setBorderPen(QPen(QColor(0xA0, 0xA0, 0xA0)));
    m_pLegend->setRowSpacing(1);
    m_pLegend->setMargins(QMargins(5, 4, 6, 4));
    m_pLegend->setSelectableParts(QCPLegend::spNone);

    connect(p, &QCustomPlot::afterLayout, this, &CTChart::PlaceItems);
    connect(p, &QCustomPlot::mousePress, this, &CTChart::OnPlotMousePress);
    connect(p, &QCustomPlot::mouseMove, this, &CTChart::OnPlotMouseMove);
    connect(p, &QCustomPlot::mouseRelease, this, [this](QMouseEvent*) { m_bDragging = false; });
    connect(p, &QCustomPlot::legendClick, this,
            [this](QCPLegend* l, QCPAbstractLegendItem* item, QMouseEvent*) { OnLegendClick(l, item); });
}

void CTChart::SetModel(CChartModel* model) {
    m_pModel = model;
    Redraw();
}

// ---- drawing ------------------------------------------------------------------------------------

void CTChart::RenderInto(QPainter& p, const QRectF& r, const QSize& layout) {
    resize(layout);
    m_pPlot->setViewport(QRect(QPoint(0, 0), layout));
    Redraw();
    // The plot paints through its own painter class; a picture carries its drawing over.
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        m_pPlot->toPainter(&recorder, layout.width(), layout.height());
    }
    // A picture played on a device of another resolution grows by the ratio of the two.
    const double dx = static_cast<double>(picture.logicalDpiX()) / p.device()->logicalDpiX();
    const double dy = static_cast<double>(picture.logicalDpiY()) / p.device()->logicalDpiY();
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / layout.width() * dx, r.height() / layout.height() * dy);
    p.drawPicture(0, 0, picture);
    p.restore();
}

void CTChart::Redraw() {
    QCustomPlot* p = m_pPlot;
    p->clearGraphs();
    p->clearItems();
    for (SeriesDraw* s : m_Series) *s = SeriesDraw{};
    m_apBox[0] = m_apBox[1] = nullptr;
    m_apLink[0] = m_apLink[1] = nullptr;
    m_aBoxRect[0] = m_aBoxRect[1] = m_aZoneRect[0] = m_aZoneRect[1] = QRectF();
    m_apZone[0] = m_apZone[1] = nullptr;
    m_pCursorLine[0] = m_pCursorLine[1] = nullptr;
    if (!m_pModel) {
        p->replot();
        return;
    }
    const CChartModel& m = *m_pModel;
    m_pTitle->setText(Joined(m.title.lines));
    m_pCursorText->setText(Joined(m.cursorText.lines));
    QStringList below;
    if (!m.thirdText.lines.empty()) below << Joined(m.thirdText.lines);
    if (!m.notices.lines.empty()) below << Joined(m.notices.lines);
    m_pNotice->setText(below.join(QLatin1Char('\n')));
    const ChartTool& dev = m.tools[ToolDeviceText];
    m_pDevice->setText(dev.active ? AnnotationText(dev.text) : QString());

    ArrangeRegions();
    DrawSeries();
    SetAxisRanges();
    DrawBands();
    DrawMarks();
    DrawCursor();
    BalanceRegions();
    p->replot();
}

// The percentages of the axes are shares of the plotting width: the axis margins (tick labels and
// titles) come on top of a region's share instead of eating into it. One layout pass tells the
// margins.
void CTChart::BalanceRegions() {
    const CChartModel& m = *m_pModel;
    const double pct[kRegionCount] = {m.axes[AxisCustom0].endPercent - m.axes[AxisCustom0].startPercent,
                                      m.axes[AxisBottom].endPercent - m.axes[AxisBottom].startPercent,
                                      m.axes[AxisCustom1].endPercent - m.axes[AxisCustom1].startPercent};
    QCPLayoutGrid* root = m_pPlot->plotLayout();
    root->update(QCPLayoutElement::upPreparation);
    root->update(QCPLayoutElement::upMargins);
    root->update(QCPLayoutElement::upLayout);
    double width = m_pRegionGrid->rect().width();
    if (m_pLegendColumn->layout() == m_pRegionGrid) width -= m_pLegendColumn->outerRect().width();
    double margins = 0.0, sum = 0.0;
    for (int r = 0; r < kRegionCount; ++r) {
        if (!m_abShown[r]) continue;
        margins += m_apRect[r]->margins().left() + m_apRect[r]->margins().right();
        sum += std::max(pct[r], 1.0);
    }
    const double inner = std::max(width - margins, 10.0);
    QList<double> factors;
    for (int r = 0; r < kRegionCount; ++r) {
        if (!m_abShown[r]) continue;
        const QMargins mg = m_apRect[r]->margins();
        factors << inner * std::max(pct[r], 1.0) / sum + mg.left() + mg.right();
    }
    if (m_pLegendColumn->layout() == m_pRegionGrid) factors << 0.001;
    m_pRegionGrid->setColumnStretchFactors(factors);
}

int CTChart::RegionOfAxis(int modelAxis) const {
    if (modelAxis == AxisCustom0) return RegionRest;
    if (modelAxis == AxisCustom1) return RegionPost;
    return RegionLoad;
}

void CTChart::ArrangeRegions() {
    const CChartModel& m = *m_pModel;
    const ChartAxis& bottom = m.axes[AxisBottom];
    const ChartAxis& rest = m.axes[AxisCustom0];
    const ChartAxis& post = m.axes[AxisCustom1];
    // The load axis takes over the whole width where the rest or post-load region is not needed.
    m_abShown[RegionRest] = bottom.startPercent >= rest.endPercent - 1e-9;
    m_abShown[RegionLoad] = true;
    m_abShown[RegionPost] = bottom.endPercent <= post.startPercent + 1e-9;
    const double widths[kRegionCount] = {rest.endPercent - rest.startPercent, bottom.endPercent - bottom.startPercent,
                                         post.endPercent - post.startPercent};

    FillLegend();
    for (QCPLayoutElement* e :
         {static_cast<QCPLayoutElement*>(m_apRect[RegionRest]), static_cast<QCPLayoutElement*>(m_apRect[RegionLoad]),
          static_cast<QCPLayoutElement*>(m_apRect[RegionPost]), static_cast<QCPLayoutElement*>(m_pLegendColumn)})
        if (e->layout() == m_pRegionGrid) m_pRegionGrid->take(e);
    m_pRegionGrid->simplify();
    QList<double> factors;
    int first = -1, last = -1;
    for (int r = 0; r < kRegionCount; ++r) {
        QCPAxisRect* rect = m_apRect[r];
        rect->setVisible(m_abShown[r]);
        if (!m_abShown[r]) continue;
        m_pRegionGrid->addElement(0, static_cast<int>(factors.size()), rect);
        factors << std::max(widths[r], 1.0);
        if (first < 0) first = r;
        last = r;
    }
    if (m_pLegend->itemCount() > 0) {
        m_pRegionGrid->addElement(0, static_cast<int>(factors.size()), m_pLegendColumn);
        factors << 0.001;
    }
    m_pLegendColumn->setVisible(m_pLegend->itemCount() > 0);
    m_pRegionGrid->setColumnStretchFactors(factors);

    const int modelAxis[kRegionCount] = {AxisCustom0, AxisBottom, AxisCustom1};
    for (int r = 0; r < kRegionCount; ++r) {
        QCPAxisRect* rect = m_apRect[r];
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        x->setLabel(QString::fromStdString(m.axes[modelAxis[r]].title));
        QCPAxis* left = rect->axis(QCPAxis::atLeft);
        left->setVisible(r == first);
        left->setLabel(QString::fromStdString(m.axes[AxisLeft].title));
        QCPAxis* right = rect->axis(QCPAxis::atRight);
        right->setVisible(r == last);
        right->setLabel(QString::fromStdString(m.axes[AxisRight].title));
        rect->setBackground(QBrush(ChartColor(m.backgroundColor)));
    }
    const int w = m_pPlot->width();
    m_apRect[RegionPost]
        ->axis(QCPAxis::atBottom)
        ->ticker()
        ->setTickCount(std::max(2, static_cast<int>(w * widths[RegionPost] / 100.0 / 48)));
    m_pLoadTicker->SetMaxTicks(std::max(3, static_cast<int>(m_pPlot->width() * widths[RegionLoad] / 100.0 / 42)));
}

void CTChart::FillLegend() {
    m_pLegend->clearItems();
    const CChartModel& m = *m_pModel;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        if (s.inLegend && !s.points.empty()) m_pLegend->addItem(new CCheckLegendItem(m_pLegend, i, s));
    }
}

void CTChart::DrawSeries() {
    const CChartModel& m = *m_pModel;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        SeriesDraw& d = *m_Series[i];
        d.region = RegionOfAxis(s.xAxis);
        d.right = s.yAxis == AxisRight;
        if (!s.active || s.points.empty() || !m_abShown[d.region]) continue;
        QCPAxisRect* rect = m_apRect[d.region];
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(d.right ? QCPAxis::atRight : QCPAxis::atLeft);
        QVector<double> xs, ys;
        for (const ChartPoint& pt : s.points) {
            double px = s.xIsTime ? pt.x * kSecondsPerDay : pt.x;
            d.points << QPointF(px, pt.y);
            xs << px;
            ys << pt.y;
        }
        const bool line = s.lineVisible && s.kind != SeriesKind::Points;
        const bool hollow = s.marker == MarkerShape::HollowCircle || s.marker == MarkerShape::HollowTriangle;
        const double size = s.kind == SeriesKind::LineWithPoints ? 7 : 9;
        // Points may carry colours of their own (grey for readings out of range): one graph per
        // colour draws the markers, the first graph also the line.
        std::map<uint32_t, std::pair<QVector<double>, QVector<double>>> byColour;
        if (s.marker != MarkerShape::None) {
            for (const ChartPoint& pt : s.points) {
                auto& v = byColour[hollow ? s.color : pt.color];
                v.first << (s.xIsTime ? pt.x * kSecondsPerDay : pt.x);
                v.second << pt.y;
            }
        }
        if (line || byColour.empty()) {
            QCPGraph* g = m_pPlot->addGraph(x, y);
            g->setData(xs, ys);
            g->setPen(QPen(ChartColor(s.lineColor ? s.lineColor : s.color), s.lineWidth));
            g->setLineStyle(line ? QCPGraph::lsLine : QCPGraph::lsNone);
            g->setAntialiased(true);
            d.graphs << g;
        }
        for (const auto& [colour, v] : byColour) {
            QCPGraph* g = m_pPlot->addGraph(x, y);
            g->setData(v.first, v.second);
            g->setLineStyle(QCPGraph::lsNone);
            g->setScatterStyle(MarkerStyle(s, colour, size));
            d.graphs << g;
        }
        for (QCPGraph* g : d.graphs) {
            g->setName(QString::fromStdString(s.title));
            g->removeFromLegend();
            g->setSelectable(QCP::stNone);
        }
    }
}

void CTChart::SetAxisRanges() {
    const CChartModel& m = *m_pModel;
    double lo[kRegionCount], hi[kRegionCount];
    for (int r = 0; r < kRegionCount; ++r) {
        lo[r] = 1e300;
        hi[r] = -1e300;
    }
    double lacHi = -1e300, hrLo = 1e300, hrHi = -1e300;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const SeriesDraw& d = *m_Series[i];
        for (const QPointF& pt : d.points) {
            AddRange(pt.x(), lo[d.region], hi[d.region]);
            if (d.right)
                AddRange(pt.y(), hrLo, hrHi);
            else
                lacHi = std::max(lacHi, pt.y());
        }
    }
    // Load: a little room beyond the outer points so that markers are not cut.
    if (lo[RegionLoad] > hi[RegionLoad]) {
        lo[RegionLoad] = 0.0;
        hi[RegionLoad] = 1.0;
    }
    double span = hi[RegionLoad] - lo[RegionLoad];
    double pad = span > 0 ? span * 0.06 : 1.0;
    m_apRect[RegionLoad]->axis(QCPAxis::atBottom)->setRange(lo[RegionLoad] - pad, hi[RegionLoad] + pad);
    // Rest: the pre-load points usually share one load.
    if (lo[RegionRest] > hi[RegionRest]) lo[RegionRest] = hi[RegionRest] = 0.0;
    span = hi[RegionRest] - lo[RegionRest];
    pad = std::max(span * 0.25, 0.5);
    m_apRect[RegionRest]->axis(QCPAxis::atBottom)->setRange(lo[RegionRest] - pad, hi[RegionRest] + pad);
    // Post-load time in seconds from the last step; starts at 0.
    double postHi = hi[RegionPost] > lo[RegionPost] || hi[RegionPost] > 0 ? hi[RegionPost] : 0.0;
    postHi = std::max(postHi * 1.1 + 10.0, 60.0);
    double postLo = std::min(lo[RegionPost] <= hi[RegionPost] ? lo[RegionPost] : 0.0, 0.0);
    m_apRect[RegionPost]->axis(QCPAxis::atBottom)->setRange(postLo - postHi * 0.06, postHi);

    // Lactate: the fixed scale of the left axis, widened (never cut) when a reading lies above it.
    const ChartAxis& left = m.axes[AxisLeft];
    double lacLo = left.automatic ? 0.0 : left.minimum;
    double lacTop = left.automatic ? 0.0 : left.maximum;
    if (lacHi > -1e300) lacTop = std::max(lacTop, std::ceil(lacHi + 0.5));
    if (lacTop <= lacLo) lacTop = lacLo + 12.0;
    // Heart rate: follows the data, in tens.
    double hr0 = 40.0, hr1 = 200.0;
    if (hrLo <= hrHi) {
        hr0 = std::floor((hrLo - 10.0) / 10.0) * 10.0;
        hr1 = std::ceil((hrHi + 10.0) / 10.0) * 10.0;
        if (hr0 < 0.0 && hrLo >= 0.0) hr0 = 0.0;
    }
    int plotH = 0;
    for (QCPAxisRect* rect : m_apRect) {
        rect->axis(QCPAxis::atLeft)->setRange(lacLo, lacTop);
        rect->axis(QCPAxis::atRight)->setRange(hr0, hr1);
        plotH = std::max(plotH, rect->height());
    }
    if (plotH <= 0) plotH = m_pPlot->height() * 2 / 3;
    m_pLactateTicker->SetMaxTicks(std::max(3, plotH / 16));
}

void CTChart::DrawBands() {
    const CChartModel& m = *m_pModel;
    for (int t : {ToolZoneBand, ToolBand2}) {
        const ChartTool& band = m.tools[static_cast<size_t>(t)];
        if (!band.active || band.kind != ToolKind::ColorBand || band.bandEnd <= band.bandStart) continue;
        // The zone band has no colour of its own in the starting state: a pale yellow.
        QColor c = band.color == 0 && t == ToolZoneBand ? QColor(255, 255, 150) : ChartColor(band.color);
        c.setAlpha(255 * (100 - std::clamp(band.transparency, 0, 100)) / 100);
        const bool right = band.bandAxis == AxisRight;
        for (int r = 0; r < kRegionCount; ++r) {
            if (!m_abShown[r]) continue;
            QCPAxisRect* rect = m_apRect[r];
            QCPAxis* y = rect->axis(right ? QCPAxis::atRight : QCPAxis::atLeft);
            auto* item = new QCPItemRect(m_pPlot);
            item->setLayer(QStringLiteral("grid"));
            item->setClipAxisRect(rect);
            for (QCPItemPosition* pos : {item->topLeft, item->bottomRight}) {
                pos->setAxisRect(rect);
                pos->setAxes(rect->axis(QCPAxis::atBottom), y);
                pos->setTypeX(QCPItemPosition::ptAxisRectRatio);
                pos->setTypeY(QCPItemPosition::ptPlotCoords);
            }
            item->topLeft->setCoords(0.0, band.bandEnd);
            item->bottomRight->setCoords(1.0, band.bandStart);
            item->setPen(Qt::NoPen);
            item->setBrush(c);
            if (band.endLineColor != 0) {
                auto* edge = new QCPItemStraightLine(m_pPlot);
                edge->setLayer(QStringLiteral("grid"));
                edge->setClipAxisRect(rect);
                for (QCPItemPosition* pos : {edge->point1, edge->point2}) {
                    pos->setAxisRect(rect);
                    pos->setAxes(rect->axis(QCPAxis::atBottom), y);
                    pos->setTypeX(QCPItemPosition::ptAxisRectRatio);
                    pos->setTypeY(QCPItemPosition::ptPlotCoords);
                }
                edge->point1->setCoords(0.0, band.bandEnd);
                edge->point2->setCoords(1.0, band.bandEnd);
                edge->setPen(QPen(ChartColor(band.endLineColor), 1));
            }
        }
    }
}

namespace {

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

void CTChart::DrawMarks() {
    const CChartModel& m = *m_pModel;
    QCPAxisRect* load = m_apRect[RegionLoad];
    const int zoneTools[2] = {ToolAnsLabel, ToolAsLabel};
    for (int k = 0; k < 2; ++k) {
        const ChartTool& tool = m.tools[static_cast<size_t>(zoneTools[k])];
        if (!tool.active) continue;
        m_apZone[k] = MakeText(m_pPlot, load, QString::fromStdString(tool.text), Font("Arial", 9, true));
        m_apZone[k]->setColor(kNavy);
        m_apZone[k]->setLayer(QStringLiteral("axes"));
    }
    const int boxTools[2] = {ToolResult1, ToolResult2};
    for (int k = 0; k < 2; ++k) {
        const ChartTool& tool = m.tools[static_cast<size_t>(boxTools[k])];
        if (!tool.active || tool.text.empty()) continue;
        QCPItemText* box = MakeText(m_pPlot, load, AnnotationText(tool.text), Font("Arial", 8));
        box->setBrush(QBrush(ChartColor(tool.color ? tool.color : 0x80FFFF)));
        box->setPen(QPen(QColor(0x80, 0x80, 0x80)));
        box->setPadding(QMargins(5, 3, 5, 3));
        box->setColor(Qt::black);
        box->setLayer(QStringLiteral("legend"));
        m_apBox[k] = box;
        if (!tool.anchored) continue;
        // Drop lines from the threshold point to the load axis and to the lactate axis.
        QCPAxis* x = load->axis(QCPAxis::atBottom);
        QCPAxis* y = load->axis(QCPAxis::atLeft);
        auto line = [&](double x1, double y1, double x2, double y2) {
            auto* l = new QCPItemLine(m_pPlot);
            l->setClipAxisRect(load);
            for (QCPItemPosition* pos : {l->start, l->end}) {
                pos->setAxisRect(load);
                pos->setAxes(x, y);
            }
            l->start->setCoords(x1, y1);
            l->end->setCoords(x2, y2);
            l->setPen(QPen(kNavy, 1, Qt::DashLine));
            return l;
        };
        line(tool.anchorX, y->range().lower, tool.anchorX, tool.anchorY);
        line(x->range().lower, tool.anchorY, tool.anchorX, tool.anchorY);
        auto* dot = new QCPItemTracer(m_pPlot);
        dot->setClipAxisRect(load);
        dot->position->setAxisRect(load);
        dot->position->setAxes(x, y);
        dot->position->setCoords(tool.anchorX, tool.anchorY);
        dot->setStyle(QCPItemTracer::tsCircle);
        dot->setSize(9);
        dot->setPen(QPen(kNavy, 1.5));
        dot->setBrush(Qt::NoBrush);
        auto* link = new QCPItemLine(m_pPlot);
        link->setClipAxisRect(load);
        link->start->setType(QCPItemPosition::ptAbsolute);
        link->end->setAxisRect(load);
        link->end->setAxes(x, y);
        link->end->setCoords(tool.anchorX, tool.anchorY);
        link->setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        m_apLink[k] = link;
    }
}
