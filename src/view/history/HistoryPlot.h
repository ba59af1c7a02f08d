#pragma once
// The history's charts drawn with QCustomPlot: one axis rect per test type and load unit, stacked,
// each with its title, a date axis, a load axis in the tests' unit, one line per method with its
// points labelled, and a legend. The same drawing goes to the screen and into a printed page.
#include "analysis/HistoryChart.h"

#include <QSize>
#include <QSizeF>
#include <QWidget>

#include <vector>

class QCPAxisRect;
class QCPLegend;
class QCustomPlot;
class QPainter;
class QRectF;

class CHistoryPlot : public QWidget {
    Q_OBJECT
public:
    explicit CHistoryPlot(QWidget* parent = nullptr);

    void SetCharts(std::vector<trv::HistoryChart> charts);
    // The charts in `columns` columns (the screen has one), none smaller than `minimumChart`.
    void SetColumns(int columns, const QSize& minimumChart);
    // The columns that suit `charts` charts in an area of this shape (a printed page's rest).
    static int ColumnsFor(int charts, const QSizeF& area);
    const std::vector<trv::HistoryChart>& Charts() const { return m_charts; }
    QCustomPlot* Plot() const { return m_pPlot; }
    // The axes of chart `i`, in the order of Charts().
    QCPAxisRect* ChartAxes(size_t i) const { return i < m_rects.size() ? m_rects[i] : nullptr; }
    // Draws `charts` into `target` of a printed page, side by side where the target is wide and low.
    static void Print(const std::vector<trv::HistoryChart>& charts, QPainter& painter, const QRectF& target);
    // Lays the charts out at `layout` pixels and draws them scaled into `target` (vector graphics).
    void RenderInto(QPainter& painter, const QRectF& target, const QSize& layout);

    // Beyond this many points a series labels only its first, last, lowest and highest point: more
    // labels would only cover each other.
    static constexpr size_t kAllLabelsUpTo = 40;
    // The least height of a row of charts on screen.
    static constexpr int kRowMinimumHeight = 130;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Rebuild();
    // As many legend entries in a row as `width` pixels hold; true when a legend changed.
    bool WrapLegends(int width);
    QCustomPlot* m_pPlot;
    std::vector<trv::HistoryChart> m_charts;
    std::vector<QCPAxisRect*> m_rects;
    int m_nColumns = 1;
    QSize m_MinimumChart{160, 70};
    struct Legend {
        QCPLegend* legend;
        int entries;
        int widest;  // pixels of the widest entry, its line sample included
    };
    std::vector<Legend> m_legends;
};
