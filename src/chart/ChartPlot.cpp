#include "chart/ChartPlot.h"

#include "chart/ChartBands.h"
#include "chart/ChartStyle.h"
#include "chart/ChartZoneBands.h"
#include "chart/CheckLegendItem.h"
#include "chart/MinSecTicker.h"
#include "chart/SpacedTicker.h"
#include "chart/ThresholdMarkers.h"

#include <qcustomplot.h>

#include <QPainter>
#include <QPicture>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>

namespace trv {

namespace {

constexpr double kSecondsPerDay = 86400.0;

QString Joined(const std::vector<std::string>& lines) {
    QStringList l;
    for (const std::string& s : lines) l << QString::fromStdString(s);
    return l.join(QLatin1Char('\n'));
}

void AddRange(double v, double& lo, double& hi) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
}

QSize TextSize(const QFont& font, const QString& text) {
    return text.isEmpty() ? QSize() : QFontMetrics(font).boundingRect(QRect(), Qt::TextDontClip, text).size();
}

// Each line broken between words where it is wider than `width` pixels.
QString Wrapped(const QString& text, const QFont& font, int width) {
    const QFontMetrics fm(font);
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString row;
        for (const QString& word : line.split(QLatin1Char(' '))) {
            const QString longer = row.isEmpty() ? word : row + QLatin1Char(' ') + word;
            if (!row.isEmpty() && fm.horizontalAdvance(longer) > width) {
                out << row;
                row = word;
            } else {
                row = longer;
            }
        }
        out << row;
    }
    return out.join(QLatin1Char('\n'));
}

}  // namespace

CChartPlot::CChartPlot(QWidget* parent)
    : m_pOwnWindow(parent ? nullptr : new QWidget),
      m_pPlot(new QCustomPlot(parent ? parent : m_pOwnWindow.get())),
      m_Marks(*this) {
    if (m_pOwnWindow) {
        auto* lay = new QVBoxLayout(m_pOwnWindow.get());
        lay->setContentsMargins(0, 0, 0, 0);
        lay->addWidget(m_pPlot);
    }
    Build();
}

CChartPlot::~CChartPlot() = default;

void CChartPlot::Build() {
    QCustomPlot* p = m_pPlot;
    p->setLocale(ChartLocale());
    p->setBackground(Qt::white);
    p->setNoAntialiasingOnDrag(true);
    p->plotLayout()->clear();  // also deletes the default axis rect and legend
    p->plotLayout()->setRowSpacing(2);

    m_pTitle = new QCPTextElement(p, QString(), ChartFont("Verdana", 10, true));
    m_pTitle->setTextColor(kChartNavy);
    m_pCursorText = new QCPTextElement(p, QString(), ChartFont("Arial", 9));
    m_pCursorText->setTextColor(QColor(0, 0, 0xC0));
    m_pRegionGrid = new QCPLayoutGrid;
    m_pBottomGrid = new QCPLayoutGrid;
    p->plotLayout()->addElement(0, 0, m_pTitle);
    p->plotLayout()->addElement(1, 0, m_pCursorText);
    p->plotLayout()->addElement(2, 0, m_pRegionGrid);
    p->plotLayout()->addElement(3, 0, m_pBottomGrid);
    p->plotLayout()->setRowStretchFactors({0.001, 0.001, 1.0, 0.001});

    m_pNotice = new QCPTextElement(p, QString(), ChartFont("Arial", 9));
    m_pNotice->setTextColor(QColor(0x90, 0, 0));
    m_pNotice->setTextFlags(Qt::AlignLeft | Qt::AlignTop);
    m_pNotice->setMargins(QMargins(8, 2, 8, 4));
    m_pDevice = new QCPTextElement(p, QString(), ChartFont("Arial", 8));
    m_pDevice->setTextColor(kChartNavy);
    m_pDevice->setTextFlags(Qt::AlignRight | Qt::AlignBottom);
    m_pDevice->setMargins(QMargins(8, 2, 8, 4));
    m_pBottomGrid->addElement(0, 0, m_pNotice);
    m_pBottomGrid->addElement(0, 1, m_pDevice);
    m_pBottomGrid->setColumnStretchFactors({1.0, 0.001});

    m_pMarginGroup = new QCPMarginGroup(p);
    m_pLoadTicker = new CSpacedTicker(0.5, true);
    m_pLactateTicker = new CSpacedTicker(1.0, false);
    m_pHeartRateTicker = new CSpacedTicker(5.0, true);
    m_pHeartRateTicker->SetMostTicks(8);
    m_pTimeTicker = new CMinSecTicker;
    for (int r = 0; r < kRegionCount; ++r) {
        auto* rect = new QCPAxisRect(p, true);
        rect->setLayer(QStringLiteral("background"));
        rect->setMinimumSize(10, 30);  // the bands lie between its background and the curves
        rect->setMarginGroup(QCP::msTop | QCP::msBottom, m_pMarginGroup);
        rect->setMinimumMargins(QMargins(7, 6, 7, 4));
        rect->axis(QCPAxis::atTop)->setVisible(false);
        for (QCPAxis* a : rect->axes()) {
            a->setLabelColor(kChartNavy);
            a->setTickLabelColor(kChartNavy);
            a->setBasePen(QPen(kChartNavy));
            a->setTickPen(QPen(kChartNavy));
            a->setSubTickPen(QPen(kChartNavy));
            a->setLabelFont(ChartFont("Arial", 9, true));
            a->setTickLabelFont(ChartPixelFont("Arial Narrow", 13));
            a->grid()->setVisible(false);
            a->setPadding(2);
        }
        m_apRect[r] = rect;
    }
    m_apRect[RegionLoad]->axis(QCPAxis::atBottom)->setTicker(QSharedPointer<QCPAxisTicker>(m_pLoadTicker));
    m_apRect[RegionPost]->axis(QCPAxis::atBottom)->setTicker(QSharedPointer<QCPAxisTicker>(m_pTimeTicker));
    QSharedPointer<QCPAxisTicker> lactate(m_pLactateTicker), heartRate(m_pHeartRateTicker);
    for (QCPAxisRect* rect : m_apRect) {
        rect->axis(QCPAxis::atLeft)->setTicker(lactate);
        rect->axis(QCPAxis::atRight)->setTicker(heartRate);
    }
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

    QObject::connect(p, &QCustomPlot::afterLayout, p, [this] { m_Marks.Place(); });
    // A window that was drawn at one size and shown at another (a new window, tiling, the Verlauf
    // dock opening) shares its width out and spaces its ticks again before it paints.
    QObject::connect(p, &QCustomPlot::beforeReplot, p, [this] {
        if (m_pModel && m_pPlot->viewport().size() != m_BalancedAt) BalanceRegions(*m_pModel);
    });
}

void CChartPlot::RenderInto(const CChartModel& model, QPainter& p, const QRectF& r, const QSize& layout) {
    m_pPlot->parentWidget()->resize(layout);
    m_pPlot->setViewport(QRect(QPoint(0, 0), layout));
    Draw(&model);
    Replot();
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

void CChartPlot::Draw(const CChartModel* model) {
    QCustomPlot* p = m_pPlot;
    p->clearGraphs();
    p->clearItems();
    for (ChartSeriesDraw& s : m_Series) s = ChartSeriesDraw{};
    m_Marks.Clear();
    m_pModel = model;
    m_BalancedAt = QSize();
    if (!model) return;
    const CChartModel& m = *model;
    m_Title = Joined(m.title.lines);
    m_pTitle->setText(m_Title);
    m_pCursorText->setText(Joined(m.cursorText.lines));
    QStringList below;
    if (!m.thirdText.lines.empty()) below << Joined(m.thirdText.lines);
    if (!m.notices.lines.empty()) below << Joined(m.notices.lines);
    m_Notice = below.join(QLatin1Char('\n'));
    m_pNotice->setText(m_Notice);
    const ChartTool& dev = m.tools[ToolDeviceText];
    m_pDevice->setText(dev.active ? AnnotationText(dev.text) : QString());

    ArrangeRegions(m);
    DrawSeries(m);
    SetAxisRanges(m);
    AddChartBands(p, m, *this);
    AddChartZoneBands(p, m, *this);
    m_Marks.Draw(p, m);
    AddThresholdMarkers(p, m, *this);
    BalanceRegions(m);
}

void CChartPlot::Replot() { m_pPlot->replot(); }

// The percentages of the axes are shares of the plotting width: the axis margins (tick labels and
// titles) come on top of a region's share instead of eating into it. One layout pass tells the
// margins.
void CChartPlot::BalanceRegions(const CChartModel& m) {
    const double pct[kRegionCount] = {m.axes[AxisCustom0].endPercent - m.axes[AxisCustom0].startPercent,
                                      m.axes[AxisBottom].endPercent - m.axes[AxisBottom].startPercent,
                                      m.axes[AxisCustom1].endPercent - m.axes[AxisCustom1].startPercent};
    QCPLayoutGrid* root = m_pPlot->plotLayout();
    FitBottomTexts(m_pPlot->viewport().width());
    // A plot that is printed has never been laid out on screen: its viewport is the only size.
    root->setOuterRect(m_pPlot->viewport());
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
    root->update(QCPLayoutElement::upLayout);
    // The titles' lines set the regions' height, and that the lactate axis' ticks.
    FitAxisTitles();
    root->update(QCPLayoutElement::upMargins);
    root->update(QCPLayoutElement::upLayout);
    GiveTickersRoom();
    m_BalancedAt = m_pPlot->viewport().size();
}

// Every axis spaces its ticks by its length in this layout and its labels' font: the same rule on
// screen and on paper.
void CChartPlot::GiveTickersRoom() {
    const QLocale locale = ChartLocale();
    const QCPAxisRect* load = m_apRect[RegionLoad];
    m_pLoadTicker->SetRoom(load->width(), load->axis(QCPAxis::atBottom)->tickLabelFont(), false, locale);
    const QCPAxisRect* post = m_apRect[RegionPost];
    m_pTimeTicker->SetRoom(post->width(), post->axis(QCPAxis::atBottom)->tickLabelFont(), false, locale);
    m_pLactateTicker->SetRoom(load->height(), LactateAxis()->tickLabelFont(), true, locale);
    m_pHeartRateTicker->SetRoom(load->height(), HeartRateAxis()->tickLabelFont(), true, locale);
}

// A region's title wider than the region ("AFL-Zeit [mm:ss]" over a narrow post-load region ran into
// "v [km/h]") puts its unit on a second line.
void CChartPlot::FitAxisTitles() {
    for (QCPAxisRect* rect : m_apRect) {
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QString title = x->label().replace(QLatin1Char('\n'), QLatin1Char(' '));
        const int unit = title.lastIndexOf(QStringLiteral(" ["));
        if (unit > 0 && QFontMetrics(x->labelFont()).horizontalAdvance(title) > rect->width())
            title[unit] = QLatin1Char('\n');
        x->setLabel(title);
    }
}

// The analyser's identity stands right beside the notice lines while it takes at most a third of the
// width; the notice lines then wrap in what is left. Otherwise it goes below them. They never overlap.
void CChartPlot::FitBottomTexts(int width) {
    const QMargins nm = m_pNotice->margins(), dm = m_pDevice->margins();
    const QSize device = TextSize(m_pDevice->font(), m_pDevice->text());
    const int deviceWidth = device.isEmpty() ? 0 : device.width() + dm.left() + dm.right();
    const bool beside = deviceWidth <= width / 3 || m_Notice.isEmpty();
    const int noticeWidth = std::max(40, (beside ? width - deviceWidth : width) - nm.left() - nm.right() - 2);
    m_pNotice->setText(Wrapped(m_Notice, m_pNotice->font(), noticeWidth));
    // The title (athlete and date) wraps too: in a narrow window it ran beyond the chart.
    m_pTitle->setText(Wrapped(m_Title, m_pTitle->font(), std::max(40, width - 8)));
    m_pBottomGrid->take(m_pDevice);
    m_pBottomGrid->simplify();
    if (beside) {
        m_pBottomGrid->addElement(0, 1, m_pDevice);
        m_pBottomGrid->setColumnStretchFactors({1.0, 0.001});
    } else {
        m_pBottomGrid->addElement(1, 0, m_pDevice);
    }
}

int CChartPlot::RegionOfAxis(int modelAxis) const {
    if (modelAxis == AxisCustom0) return RegionRest;
    if (modelAxis == AxisCustom1) return RegionPost;
    return RegionLoad;
}

void CChartPlot::ArrangeRegions(const CChartModel& m) {
    const ChartAxis& bottom = m.axes[AxisBottom];
    const ChartAxis& rest = m.axes[AxisCustom0];
    const ChartAxis& post = m.axes[AxisCustom1];
    // The load axis takes over the whole width where the rest or post-load region is not needed.
    m_abShown[RegionRest] = bottom.startPercent >= rest.endPercent - 1e-9;
    m_abShown[RegionLoad] = true;
    m_abShown[RegionPost] = bottom.endPercent <= post.startPercent + 1e-9;
    const double widths[kRegionCount] = {rest.endPercent - rest.startPercent, bottom.endPercent - bottom.startPercent,
                                         post.endPercent - post.startPercent};

    FillLegend(m);
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
    // The model's fonts (the printout enlarges them); a title size of 0 is the chart's own.
    const auto fonts = [](QCPAxis* a, const ChartAxis& ma) {
        a->setLabelFont(ChartFont("Arial", ma.titleFontSize > 0 ? ma.titleFontSize : 9, true));
        a->setTickLabelFont(ChartPixelFont("Arial Narrow", ma.labelFontPixels > 0 ? ma.labelFontPixels : 13));
    };
    for (int r = 0; r < kRegionCount; ++r) {
        QCPAxisRect* rect = m_apRect[r];
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        fonts(x, m.axes[modelAxis[r]]);
        fonts(rect->axis(QCPAxis::atLeft), m.axes[AxisLeft]);
        fonts(rect->axis(QCPAxis::atRight), m.axes[AxisRight]);
        x->setLabel(QString::fromStdString(m.axes[modelAxis[r]].title));
        QCPAxis* left = rect->axis(QCPAxis::atLeft);
        left->setVisible(r == first);
        left->setLabel(QString::fromStdString(m.axes[AxisLeft].title));
        QCPAxis* right = rect->axis(QCPAxis::atRight);
        right->setVisible(r == last);
        right->setLabel(QString::fromStdString(m.axes[AxisRight].title));
        rect->setBackground(QBrush(ChartColor(m.backgroundColor)));
    }
}

void CChartPlot::FillLegend(const CChartModel& m) {
    m_pLegend->clearItems();
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        if (!s.inLegend || s.points.empty()) continue;
        // Without check boxes (the printout) a hidden series has nothing to bring back.
        if (!m.legendCheckBoxes && !s.active) continue;
        m_pLegend->addItem(new CCheckLegendItem(m_pLegend, i, s, m.legendCheckBoxes));
    }
}

void CChartPlot::DrawSeries(const CChartModel& m) {
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeries& s = m.series[static_cast<size_t>(i)];
        ChartSeriesDraw& d = m_Series[static_cast<size_t>(i)];
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

void CChartPlot::SetAxisRanges(const CChartModel& m) {
    double lo[kRegionCount], hi[kRegionCount];
    for (int r = 0; r < kRegionCount; ++r) {
        lo[r] = 1e300;
        hi[r] = -1e300;
    }
    double lacHi = -1e300, hrLo = 1e300, hrHi = -1e300;
    for (int i = 0; i < kChartSeriesCount; ++i) {
        const ChartSeriesDraw& d = m_Series[static_cast<size_t>(i)];
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
    QCPAxis* rest = m_apRect[RegionRest]->axis(QCPAxis::atBottom);
    rest->setRange(lo[RegionRest] - pad, hi[RegionRest] + pad);
    // The narrow rest region names only the load of its points: three labels (-0,5 0 0,5) ran together.
    auto restTicks = QSharedPointer<QCPAxisTickerText>::create();
    const double restAt = (lo[RegionRest] + hi[RegionRest]) / 2.0;
    restTicks->addTick(restAt, QString::number(restAt, 'g', 3).replace(QLatin1Char('.'), QLatin1Char(',')));
    rest->setTicker(restTicks);
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
    for (QCPAxisRect* rect : m_apRect) {
        rect->axis(QCPAxis::atLeft)->setRange(lacLo, lacTop);
        rect->axis(QCPAxis::atRight)->setRange(hr0, hr1);
    }
}

QVector<int> CChartPlot::LegendSeries() const {
    QVector<int> v;
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i))) v << e->Series();
    return v;
}

bool CChartPlot::LegendChecked(int series) const {
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i)))
            if (e->Series() == series) return e->Checked();
    return false;
}

QRectF CChartPlot::LegendEntryRect(int series) const {
    for (int i = 0; i < m_pLegend->itemCount(); ++i)
        if (auto* e = dynamic_cast<CCheckLegendItem*>(m_pLegend->item(i)))
            if (e->Series() == series) return e->rect();
    return {};
}

QString CChartPlot::TitleText() const { return m_Title; }

QRectF CChartPlot::TitleTextRect() const {
    const QRect r = m_pTitle->rect();
    const QSize sz = TextSize(m_pTitle->font(), m_pTitle->text());
    return QRectF(r.center().x() - sz.width() / 2.0, r.top(), sz.width(), sz.height());
}
QString CChartPlot::NoticeText() const { return m_Notice; }
QString CChartPlot::CursorText() const { return m_pCursorText->text(); }
QString CChartPlot::DeviceText() const { return m_pDevice->text(); }

QRectF CChartPlot::NoticeTextRect() const {
    const QRect r = m_pNotice->rect();
    return QRectF(r.topLeft(), TextSize(m_pNotice->font(), m_pNotice->text()));
}

QRectF CChartPlot::DeviceTextRect() const {
    const QRect r = m_pDevice->rect();
    const QSize sz = TextSize(m_pDevice->font(), m_pDevice->text());
    return QRectF(r.right() + 1 - sz.width(), r.bottom() + 1 - sz.height(), sz.width(), sz.height());
}

bool CChartPlot::RegionShown(int region) const { return region >= 0 && region < kRegionCount && m_abShown[region]; }

QCPAxisRect* CChartPlot::RegionRect(int region) const {
    return region >= 0 && region < kRegionCount ? m_apRect[region] : nullptr;
}

QCPAxis* CChartPlot::RegionXAxis(int region) const {
    QCPAxisRect* r = RegionRect(region);
    return r ? r->axis(QCPAxis::atBottom) : nullptr;
}

QCPAxis* CChartPlot::LactateAxis() const {
    for (int r = 0; r < kRegionCount; ++r)
        if (m_abShown[r]) return m_apRect[r]->axis(QCPAxis::atLeft);
    return m_apRect[RegionLoad]->axis(QCPAxis::atLeft);
}

QCPAxis* CChartPlot::HeartRateAxis() const {
    for (int r = kRegionCount - 1; r >= 0; --r)
        if (m_abShown[r]) return m_apRect[r]->axis(QCPAxis::atRight);
    return m_apRect[RegionLoad]->axis(QCPAxis::atRight);
}

QVector<QPointF> CChartPlot::DrawnPoints(int series) const {
    return series >= 0 && series < kChartSeriesCount ? m_Series[static_cast<size_t>(series)].points
                                                     : QVector<QPointF>();
}

QPointF CChartPlot::PixelOf(int series, double x, double y) const {
    if (series < 0 || series >= kChartSeriesCount) return {};
    const ChartSeriesDraw& d = m_Series[static_cast<size_t>(series)];
    QCPAxisRect* rect = m_apRect[d.region];
    return QPointF(rect->axis(QCPAxis::atBottom)->coordToPixel(x),
                   rect->axis(d.right ? QCPAxis::atRight : QCPAxis::atLeft)->coordToPixel(y));
}

}  // namespace trv
