#include "chart/ChartBands.h"

#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "chart/ChartStyle.h"

#include <qcustomplot.h>

#include <algorithm>

namespace trv {

namespace {

// x as a share of the region's width (a band spans it all), y as a value of the band's axis.
void AcrossRegion(QCPItemPosition* pos, QCPAxisRect* rect, QCPAxis* y) {
    pos->setAxisRect(rect);
    pos->setAxes(rect->axis(QCPAxis::atBottom), y);
    pos->setTypeX(QCPItemPosition::ptAxisRectRatio);
    pos->setTypeY(QCPItemPosition::ptPlotCoords);
}

}  // namespace

void AddChartBands(QCustomPlot* plot, const CChartModel& m, const CChartPlot& regions) {
    for (int t : {ToolZoneBand, ToolBand2}) {
        const ChartTool& band = m.tools[static_cast<size_t>(t)];
        if (!band.active || band.kind != ToolKind::ColorBand || band.bandEnd <= band.bandStart) continue;
        // The zone band has no colour of its own in the starting state: a pale yellow.
        QColor c = band.color == 0 && t == ToolZoneBand ? QColor(255, 255, 150) : ChartColor(band.color);
        c.setAlpha(255 * (100 - std::clamp(band.transparency, 0, 100)) / 100);
        const bool right = band.bandAxis == AxisRight;
        for (int r = 0; r < kRegionCount; ++r) {
            if (!regions.RegionShown(r)) continue;
            QCPAxisRect* rect = regions.RegionRect(r);
            QCPAxis* y = rect->axis(right ? QCPAxis::atRight : QCPAxis::atLeft);
            auto* item = new QCPItemRect(plot);
            item->setLayer(QStringLiteral("grid"));
            item->setClipAxisRect(rect);
            for (QCPItemPosition* pos : {item->topLeft, item->bottomRight}) AcrossRegion(pos, rect, y);
            item->topLeft->setCoords(0.0, band.bandEnd);
            item->bottomRight->setCoords(1.0, band.bandStart);
            item->setPen(Qt::NoPen);
            item->setBrush(c);
            if (band.endLineColor != 0) {
                auto* edge = new QCPItemStraightLine(plot);
                edge->setLayer(QStringLiteral("grid"));
                edge->setClipAxisRect(rect);
                for (QCPItemPosition* pos : {edge->point1, edge->point2}) AcrossRegion(pos, rect, y);
                edge->point1->setCoords(0.0, band.bandEnd);
                edge->point2->setCoords(1.0, band.bandEnd);
                edge->setPen(QPen(ChartColor(band.endLineColor), 1));
            }
        }
    }
}

}  // namespace trv
