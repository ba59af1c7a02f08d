#pragma once
// The chart drawn from a chart model with QCustomPlot: three regions side by side that share the
// lactate (left) and heart-rate (right) axes - rest (pre-load points), load, post-load time - the
// 14 series, a legend with a check box per series, the colour bands, the "ANS" and "AS " marks,
// the result boxes near their threshold points, the analyser annotation, the title, the cursor
// read-out and the notice area. It draws on screen (inside a window that adds the mouse) and into
// any painter (printer, PDF).
#include "analysis/ChartModel.h"
#include "chart/ResultMarks.h"

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QVector>

#include <array>
#include <memory>

class QCustomPlot;
class QCPAxis;
class QCPAxisRect;
class QCPGraph;
class QCPLayoutGrid;
class QCPLegend;
class QCPMarginGroup;
class QCPTextElement;
class QPainter;
class QWidget;

namespace trv {

class CSpacedTicker;

// The three horizontal regions, left to right.
enum ChartRegion { RegionRest, RegionLoad, RegionPost, kRegionCount };

// What one model series became on the plot.
struct ChartSeriesDraw {
    int region = RegionLoad;
    bool right = false;       // on the heart-rate axis
    QVector<QPointF> points;  // region coordinates (post-load x in seconds), model order
    QVector<QCPGraph*> graphs;
};

class CChartPlot {
public:
    // The plot becomes a child of `parent`, the chart window. Without one the chart makes a window
    // of its own that is never shown (printing).
    explicit CChartPlot(QWidget* parent = nullptr);
    ~CChartPlot();
    CChartPlot(const CChartPlot&) = delete;
    CChartPlot& operator=(const CChartPlot&) = delete;

    QCustomPlot* Plot() const { return m_pPlot; }

    // Builds everything the model shows; Replot() then paints it. Without a model the plot is
    // emptied. The model must outlive its drawing: each layout places the marks from it.
    void Draw(const CChartModel* model);
    void Replot();
    // Lays the chart out at `layout` pixels and draws it scaled into `target` of any painter (a
    // printer, a PDF), as vector graphics.
    void RenderInto(const CChartModel& model, QPainter& painter, const QRectF& target, const QSize& layout);

    QString TitleText() const;
    QString NoticeText() const;  // the notice area as drawn (third area, then notices)
    QString CursorText() const;
    QString DeviceText() const;
    // Where the notice lines and the analyser's identity are drawn (pixels of the last layout).
    QRectF NoticeTextRect() const;
    QRectF TitleTextRect() const;
    QRectF DeviceTextRect() const;

    bool RegionShown(int region) const;
    QCPAxisRect* RegionRect(int region) const;
    QCPAxis* RegionXAxis(int region) const;
    QCPAxis* LactateAxis() const;    // the visible left axis (leftmost shown region)
    QCPAxis* HeartRateAxis() const;  // the visible right axis (rightmost shown region)
    // The points drawn for a series, in the model's order; empty when the series is hidden.
    QVector<QPointF> DrawnPoints(int series) const;
    const ChartSeriesDraw& SeriesDraw(int series) const { return m_Series[static_cast<size_t>(series)]; }
    // The pixel position of a value of a series (in its region and on its y axis).
    QPointF PixelOf(int series, double x, double y) const;

    // Series in the legend, top to bottom, and their check marks.
    QVector<int> LegendSeries() const;
    bool LegendChecked(int series) const;
    QRectF LegendEntryRect(int series) const;
    QCPLegend* Legend() const { return m_pLegend; }

    const CResultMarks& Marks() const { return m_Marks; }

private:
    void Build();
    void ArrangeRegions(const CChartModel& m);
    void BalanceRegions(const CChartModel& m);
    void FitBottomTexts(int width);
    void GiveTickersRoom();
    void FitAxisTitles();
    void FillLegend(const CChartModel& m);
    void DrawSeries(const CChartModel& m);
    void SetAxisRanges(const CChartModel& m);
    int RegionOfAxis(int modelAxis) const;

    std::unique_ptr<QWidget> m_pOwnWindow;  // owns the plot when there is no chart window
    QCustomPlot* m_pPlot;
    QCPLayoutGrid* m_pRegionGrid = nullptr;
    QCPLayoutGrid* m_pBottomGrid = nullptr;
    QCPAxisRect* m_apRect[kRegionCount] = {};
    bool m_abShown[kRegionCount] = {};
    QCPMarginGroup* m_pMarginGroup = nullptr;
    CSpacedTicker* m_pLoadTicker = nullptr;
    CSpacedTicker* m_pLactateTicker = nullptr;
    CSpacedTicker* m_pHeartRateTicker = nullptr;
    CSpacedTicker* m_pTimeTicker = nullptr;
    const CChartModel* m_pModel = nullptr;  // the model drawn last
    QSize m_BalancedAt;                     // the plot size the regions were balanced for
    QString m_Title;                        // the title before it was wrapped to the width
    QString m_Notice;                       // the notice lines before they were wrapped to the width
    QCPLegend* m_pLegend = nullptr;
    QCPLayoutGrid* m_pLegendColumn = nullptr;  // the legend on top, free space below
    QCPTextElement* m_pTitle = nullptr;
    QCPTextElement* m_pCursorText = nullptr;
    QCPTextElement* m_pNotice = nullptr;
    QCPTextElement* m_pDevice = nullptr;
    std::array<ChartSeriesDraw, kChartSeriesCount> m_Series;
    CResultMarks m_Marks;
};

}  // namespace trv
