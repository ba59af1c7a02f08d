#pragma once
// Pieces of the chart window that QCustomPlot does not have: the legend entry with a check box,
// the minutes:seconds ticker of the post-load axis, the load-axis ticker, colour conversion.
// Included by the chart's sources only (it pulls in all of QCustomPlot).
#include "ChartWidget.h"

#include <qcustomplot.h>

#include <cstdint>

namespace trv {
struct ChartSeries;
}

// A colour handed over as 0x00BBGGRR.
QColor ChartColor(uint32_t bgr);
// The colour a series' legend text is written in: its own, or a darker grey where the series
// colour (white pre-load points) would not stand out from the legend's background.
QColor LegendTextColor(const trv::ChartSeries& s);

// One legend entry: check box, a small picture of the series' line and marker, its title in the
// series colour. Unchecked entries stay in the legend (greyed) so that a click brings them back.
class CCheckLegendItem : public QCPAbstractLegendItem {
public:
    CCheckLegendItem(QCPLegend* parent, int series, const trv::ChartSeries& s);

    int Series() const { return m_nSeries; }
    bool Checked() const { return m_bChecked; }
    QString Name() const { return m_strName; }

protected:
    void draw(QCPPainter* painter) override;
    QSize minimumOuterSizeHint() const override;

private:
    int m_nSeries;
    bool m_bChecked;
    QString m_strName;
    QColor m_TextColor;
    QPen m_LinePen;
    bool m_bLine;
    QCPScatterStyle m_Marker;
};

// Post-load axis: x in seconds, labels "mm:ss", ticks every 15 s or a multiple that keeps the
// labels apart.
class CMinSecTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
};

// A fixed increment (0.5 on the load axis, 1 on the lactate axis) while it gives at most
// `maxTicks` ticks; wider ranges get the usual automatic steps.
class CIncrementTicker : public QCPAxisTicker {
public:
    CIncrementTicker(double increment, int maxTicks) : m_dIncrement(increment), m_nMaxTicks(maxTicks) {}
    void SetMaxTicks(int n) { m_nMaxTicks = n; }

protected:
    double getTickStep(const QCPRange& range) override;

private:
    double m_dIncrement;
    int m_nMaxTicks;
};

// The scatter style of a chart marker at the given pixel size.
QCPScatterStyle MarkerStyle(const trv::ChartSeries& s, uint32_t fillColor, double size);

// The size a text item takes on the plot, padding included.
QSizeF ItemTextSize(const QCPItemText* t);

// What one model series became on the plot.
struct CTChart::SeriesDraw {
    int region = RegionLoad;
    bool right = false;       // on the heart-rate axis
    QVector<QPointF> points;  // region coordinates, model order
    QVector<QCPGraph*> graphs;
};
