#pragma once
// The chart window. It draws the chart model with QCustomPlot: three regions side by side that
// share the lactate (left) and heart-rate (right) axes - rest (pre-load points), load, post-load
// time - the 14 series, a legend with a check box per series, the two colour bands with the "ANS"
// and "AS " marks, the result boxes near their threshold points, the analyser annotation, the
// title, the cursor read-out and the notice area.
//
// It reports back what the user does on it:
//  - a legend click switches the series, applies the model's activity rule (heart-rate companions,
//    load-axis extent) and emits seriesActivityChanged; the owner evaluates and sets the chart up;
//  - moving a shown cursor (tool 6 or 8) snaps it to its curve and emits cursorMoved; the owner
//    writes the read-out into the model's cursor text and redraws.
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

namespace trv {
class CChartModel;
}
class QCustomPlot;
class QCPAxis;
class QCPAxisRect;
class QCPLayoutGrid;
class QCPLegend;
class QCPMarginGroup;
class QCPTextElement;
class QCPItemText;
class QTimer;
class QMouseEvent;
class CIncrementTicker;

class CTChart : public QWidget {
    Q_OBJECT
public:
    // The three horizontal regions, left to right.
    enum Region { RegionRest, RegionLoad, RegionPost, kRegionCount };

    explicit CTChart(QWidget* parent = nullptr);
    ~CTChart() override;

    // The model stays owned by the caller; legend clicks and cursor moves write into it.
    void SetModel(trv::CChartModel* model);
    trv::CChartModel* Model() const { return m_pModel; }
    // Draws the model again (after an evaluation, a set-up, a cursor move or a notice refresh).
    void Redraw();

    QCustomPlot* Plot() const { return m_pPlot; }
    // Lays the chart out at `layout` pixels and draws it scaled into `target` of any painter (a printer,
    // a PDF), as vector graphics.
    void RenderInto(QPainter& painter, const QRectF& target, const QSize& layout);
    QString TitleText() const;
    QString NoticeText() const;  // the notice area as drawn (third area, then notices)
    QString CursorText() const;
    QString DeviceText() const;

    // What is drawn, for tests and the print-out.
    bool RegionShown(int region) const;
    QCPAxisRect* RegionRect(int region) const;
    QCPAxis* RegionXAxis(int region) const;
    QCPAxis* LactateAxis() const;    // the visible left axis (leftmost shown region)
    QCPAxis* HeartRateAxis() const;  // the visible right axis (rightmost shown region)
    // The points drawn for a series in its region's coordinates (post-load x in seconds), in the
    // model's order; empty when the series is hidden.
    QVector<QPointF> DrawnPoints(int series) const;
    // Series in the legend, top to bottom, and their check marks.
    QVector<int> LegendSeries() const;
    bool LegendChecked(int series) const;
    QRectF LegendEntryRect(int series) const;
    // Result boxes (tools 4 and 7) and the zone marks (tools 2 and 3): shown, text, pixel rectangle.
    bool ItemShown(int tool) const;
    QString ItemText(int tool) const;
    QRectF ItemRect(int tool) const;
    // The pixel position of a value of a series (in its region and on its y axis).
    QPointF PixelOf(int series, double x, double y) const;
    // The cursor of tool 6 or 8 as drawn: shown, and its value position.
    bool CursorShown(int tool) const;
    QPointF CursorValue(int tool) const;

    // As the mouse does it: a click on a legend entry, a cursor dragged to load x.
    void ToggleSeries(int series);
    void MoveCursorTo(int tool, double x);
    // The value tip for a pixel position ("" when no point is near).
    QString ValueTipAt(const QPoint& pos) const;

signals:
    // A legend click changed the activity of `series` (the model's rule has been applied).
    void seriesActivityChanged(int series);
    // A cursor moved: tool, pixel x and y, value x and y, series and point it snapped to.
    void cursorMoved(int tool, int px, int py, double x, double y, int series, int point);

private:
    struct SeriesDraw;
    void BuildPlot();
    void ArrangeRegions();
    void BalanceRegions();
    void SetAxisRanges();
    void DrawSeries();
    void DrawBands();
    void DrawMarks();
    void DrawCursor();
    void PlaceItems();
    void FillLegend();
    QRectF BoxPlace(int k, const QPointF& anchor, bool anchored, const QSizeF& size, const QRectF& area) const;
    void OnPlotMousePress(QMouseEvent* e);
    void OnPlotMouseMove(QMouseEvent* e);
    void OnLegendClick(QCPLegend* legend, class QCPAbstractLegendItem* item);
    void ShowValueTip();
    int RegionOfAxis(int modelAxis) const;
    int ActiveCursorTool() const;
    bool SnapCursor(int tool, double x, int& point) const;

    trv::CChartModel* m_pModel = nullptr;
    QCustomPlot* m_pPlot;
    QCPLayoutGrid* m_pRegionGrid = nullptr;
    QCPLayoutGrid* m_pBottomGrid = nullptr;
    QCPAxisRect* m_apRect[kRegionCount] = {};
    bool m_abShown[kRegionCount] = {};
    QCPMarginGroup* m_pMarginGroup = nullptr;
    CIncrementTicker* m_pLoadTicker = nullptr;
    CIncrementTicker* m_pLactateTicker = nullptr;
    QCPLegend* m_pLegend = nullptr;
    QCPLayoutGrid* m_pLegendColumn = nullptr;          // the legend on top, free space below
    class QCPItemStraightLine* m_pCursorLine[2] = {};  // vertical and horizontal line of the cursor
    QRectF m_aBoxRect[2];
    QRectF m_aZoneRect[2];
    int m_nShownCursor = -1;  // the cursor tool drawn last time
    QCPTextElement* m_pTitle = nullptr;
    QCPTextElement* m_pCursorText = nullptr;
    QCPTextElement* m_pNotice = nullptr;
    QCPTextElement* m_pDevice = nullptr;
    QCPItemText* m_apBox[2] = {};         // result boxes of test 1 and 2
    QCPItemText* m_apZone[2] = {};        // "ANS" and "AS "
    class QCPItemLine* m_apLink[2] = {};  // from a result box to its threshold point
    QVector<SeriesDraw*> m_Series;
    QTimer* m_pTipTimer;
    QPoint m_TipPos;
    bool m_bDragging = false;
};
