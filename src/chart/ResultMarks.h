#pragma once
// The marks on the load region: the "ANS" and "AS " labels at the edges of the zone band, the
// result boxes of the two tests with the drop lines and the link to their threshold points. The
// boxes are placed once the layout tells the pixels: beside their points where there is room.
#include <QRectF>
#include <QString>

class QCustomPlot;
class QCPItemLine;
class QCPItemText;

namespace trv {

class CChartModel;
class CChartPlot;

class CResultMarks {
public:
    explicit CResultMarks(const CChartPlot& plot) : m_Plot(plot) {}

    // The plot's items were cleared: forget them.
    void Clear();
    void Draw(QCustomPlot* plot, const CChartModel& model);
    // After the layout: labels and boxes to their pixel positions.
    void Place();

    // Result boxes (ToolResult1, ToolResult2) and the zone marks (ToolAnsLabel, ToolAsLabel): shown, text, pixel
    // rectangle.
    bool ItemShown(int tool) const;
    QString ItemText(int tool) const;
    QRectF ItemRect(int tool) const;

private:
    QRectF BoxPlace(int k, const QPointF& anchor, bool anchored, const QSizeF& size, const QRectF& area) const;

    const CChartPlot& m_Plot;
    const CChartModel* m_pModel = nullptr;
    QCPItemText* m_apBox[2] = {};   // result boxes of test 1 and 2
    QCPItemText* m_apZone[2] = {};  // "ANS" and "AS "
    QCPItemLine* m_apLink[2] = {};  // from a result box to its threshold point
    QRectF m_aBoxRect[2];
    QRectF m_aZoneRect[2];
};

}  // namespace trv
