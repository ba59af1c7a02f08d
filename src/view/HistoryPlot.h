#pragma once
// The history's charts drawn with QCustomPlot: one axis rect per test type and load unit, stacked,
// each with its title, a date axis, a load axis in the tests' unit, one line per method with its
// points labelled, and a legend. The same drawing goes to the screen and into a printed page.
#include "HistoryChart.h"

#include <QSize>
#include <QWidget>

#include <vector>

class QCustomPlot;
class QPainter;
class QRectF;

class CHistoryPlot : public QWidget {
    Q_OBJECT
public:
    explicit CHistoryPlot(QWidget* parent = nullptr);

    void SetCharts(std::vector<trv::HistoryChart> charts);
    const std::vector<trv::HistoryChart>& Charts() const { return m_charts; }
    QCustomPlot* Plot() const { return m_pPlot; }
    // Lays the charts out at `layout` pixels and draws them scaled into `target` (vector graphics).
    void RenderInto(QPainter& painter, const QRectF& target, const QSize& layout);

    // Beyond this many points a series labels only its first, last, lowest and highest point: more
    // labels would only cover each other.
    static constexpr size_t kAllLabelsUpTo = 40;

private:
    void Rebuild();
    QCustomPlot* m_pPlot;
    std::vector<trv::HistoryChart> m_charts;
};
