#pragma once
// The chart window: the chart library's plot (src/chart) with what the user does on it.
//  - a legend click switches the series, applies the model's activity rule (heart-rate companions,
//    load-axis extent) and emits seriesActivityChanged; the owner evaluates and sets the chart up;
//  - moving a shown cursor (tool 6 or 8) snaps it to its curve and emits cursorMoved; the owner
//    writes the read-out into the model's cursor text and redraws;
//  - resting the mouse on a point shows its value tip.
#include "chart/ChartPlot.h"

#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

class QCPAbstractLegendItem;
class QCPItemStraightLine;
class QMouseEvent;
class QTimer;

class CTChart : public QWidget {
    Q_OBJECT
public:
    using enum trv::ChartRegion;

    explicit CTChart(QWidget* parent = nullptr);
    ~CTChart() override;

    // The model stays owned by the caller; legend clicks and cursor moves write into it.
    void SetModel(trv::CChartModel* model);
    trv::CChartModel* Model() const { return m_pModel; }
    // Draws the model again (after an evaluation, a set-up, a cursor move or a notice refresh).
    void Redraw();

    // What is drawn, for tests.
    const trv::CChartPlot& Chart() const { return m_Plot; }
    QCustomPlot* Plot() const { return m_Plot.Plot(); }
    QString TitleText() const { return m_Plot.TitleText(); }
    QString NoticeText() const { return m_Plot.NoticeText(); }
    QString CursorText() const { return m_Plot.CursorText(); }
    QString DeviceText() const { return m_Plot.DeviceText(); }
    bool RegionShown(int region) const { return m_Plot.RegionShown(region); }
    QCPAxisRect* RegionRect(int region) const { return m_Plot.RegionRect(region); }
    QCPAxis* RegionXAxis(int region) const { return m_Plot.RegionXAxis(region); }
    QCPAxis* LactateAxis() const { return m_Plot.LactateAxis(); }
    QCPAxis* HeartRateAxis() const { return m_Plot.HeartRateAxis(); }
    QVector<QPointF> DrawnPoints(int series) const { return m_Plot.DrawnPoints(series); }
    QVector<int> LegendSeries() const { return m_Plot.LegendSeries(); }
    bool LegendChecked(int series) const { return m_Plot.LegendChecked(series); }
    QRectF LegendEntryRect(int series) const { return m_Plot.LegendEntryRect(series); }
    bool ItemShown(int tool) const { return m_Plot.Marks().ItemShown(tool); }
    QString ItemText(int tool) const { return m_Plot.Marks().ItemText(tool); }
    QRectF ItemRect(int tool) const { return m_Plot.Marks().ItemRect(tool); }
    QPointF PixelOf(int series, double x, double y) const { return m_Plot.PixelOf(series, x, y); }
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
    void DrawCursor();
    int ActiveCursorTool() const;
    bool SnapCursor(int tool, double x, int& point) const;
    void OnPlotMousePress(QMouseEvent* e);
    void OnPlotMouseMove(QMouseEvent* e);
    void OnLegendClick(QCPAbstractLegendItem* item);
    void ShowValueTip();

    trv::CChartModel* m_pModel = nullptr;
    trv::CChartPlot m_Plot;
    QCPItemStraightLine* m_pCursorLine[2] = {};  // vertical and horizontal line of the cursor
    int m_nShownCursor = -1;                     // the cursor tool drawn last time
    QTimer* m_pTipTimer;
    QPoint m_TipPos;
    bool m_bDragging = false;
};
