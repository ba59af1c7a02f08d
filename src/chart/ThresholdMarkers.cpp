#include "chart/ThresholdMarkers.h"

#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "chart/ChartStyle.h"

#include <qcustomplot.h>

namespace trv {

namespace {

// A marked threshold's interval: a translucent band over the load region, under the curves.
void AddMarkerBand(QCustomPlot* plot, QCPAxisRect* rect, QCPAxis* x, QCPAxis* y, double from, double to,
                   const QColor& colour) {
    auto* band = new QCPItemRect(plot);
    band->setClipAxisRect(rect);
    for (QCPItemPosition* pos : {band->topLeft, band->bottomRight}) {
        pos->setAxisRect(rect);
        pos->setAxes(x, y);
        pos->setTypeX(QCPItemPosition::ptPlotCoords);
        pos->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    band->topLeft->setCoords(from, 0.0);
    band->bottomRight->setCoords(to, 1.0);
    QColor fill = colour;
    fill.setAlpha(40);
    band->setPen(Qt::NoPen);
    band->setBrush(fill);
    band->setLayer(QStringLiteral("grid"));
}

}  // namespace

void AddThresholdMarkers(QCustomPlot* plot, const CChartModel& model, const CChartPlot& regions) {
    if (model.markers.empty() || !regions.RegionShown(RegionLoad)) return;
    QCPAxisRect* load = regions.RegionRect(RegionLoad);
    QCPAxis* x = regions.RegionXAxis(RegionLoad);
    QCPAxis* y = load->axis(QCPAxis::atLeft);
    // Labels of lines close together step downwards instead of covering each other.
    int row = 0;
    for (const ChartMarker& mk : model.markers) {
        const QColor colour = ChartColor(mk.color);
        auto* line = new QCPItemStraightLine(plot);
        line->setClipAxisRect(load);
        for (QCPItemPosition* pos : {line->point1, line->point2}) {
            pos->setAxisRect(load);
            pos->setAxes(x, y);
        }
        line->point1->setCoords(mk.x, 0.0);
        line->point2->setCoords(mk.x, 1.0);
        line->setPen(QPen(colour, 1.5, Qt::DashLine));
        if (mk.bandFrom && mk.bandTo) AddMarkerBand(plot, load, x, y, *mk.bandFrom, *mk.bandTo, colour);
        auto* text = new QCPItemText(plot);
        text->setClipAxisRect(load);
        text->position->setAxisRect(load);
        text->position->setAxes(x, y);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(mk.x, 0.02 + 0.06 * (row++ % 6));
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setText(QString::fromStdString(mk.label));
        text->setFont(QFont(QStringLiteral("Arial"), 8));
        text->setColor(colour);
        text->setBrush(QBrush(QColor(255, 255, 255, 200)));
        text->setPadding(QMargins(2, 1, 2, 1));
        text->setLayer(QStringLiteral("legend"));
    }
}

}  // namespace trv
