#include "chart/ChartZoneBands.h"

#include "analysis/ChartModel.h"
#include "chart/ChartPlot.h"
#include "chart/ChartStyle.h"

#include <qcustomplot.h>

namespace trv {

void AddChartZoneBands(QCustomPlot* plot, const CChartModel& model, const CChartPlot& regions) {
    if (model.zoneBands.empty() || !regions.RegionShown(RegionLoad)) return;
    QCPAxisRect* load = regions.RegionRect(RegionLoad);
    QCPAxis* x = regions.RegionXAxis(RegionLoad);
    QCPAxis* y = load->axis(QCPAxis::atLeft);
    // Open ends reach far beyond any axis range; the axis rectangle clips them.
    constexpr double kFar = 1e6;
    for (const ChartZoneBand& band : model.zoneBands) {
        const double from = band.from.value_or(-kFar), to = band.to.value_or(kFar);
        QColor colour = ChartColor(band.color);
        colour.setAlpha(110);
        auto* rect = new QCPItemRect(plot);
        rect->setLayer(QStringLiteral("background"));
        rect->setClipAxisRect(load);
        for (QCPItemPosition* pos : {rect->topLeft, rect->bottomRight}) {
            pos->setAxisRect(load);
            pos->setAxes(x, y);
            pos->setTypeX(QCPItemPosition::ptPlotCoords);
            pos->setTypeY(QCPItemPosition::ptAxisRectRatio);
        }
        rect->topLeft->setCoords(from, 0.0);
        rect->bottomRight->setCoords(to, 1.0);
        rect->setPen(Qt::NoPen);
        rect->setBrush(colour);

        auto* text = new QCPItemText(plot);
        text->setLayer(QStringLiteral("background"));
        text->setClipAxisRect(load);
        text->position->setAxisRect(load);
        text->position->setAxes(x, y);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        // The name stands at the band's middle, or beside its only end for an open band.
        const double at = band.from && band.to ? (*band.from + *band.to) / 2.0 : band.from ? *band.from : *band.to;
        text->position->setCoords(at, 0.98);
        text->setPositionAlignment(band.from && band.to ? (Qt::AlignHCenter | Qt::AlignBottom)
                                   : band.from          ? (Qt::AlignLeft | Qt::AlignBottom)
                                                        : (Qt::AlignRight | Qt::AlignBottom));
        text->setText(QString::fromStdString(band.label));
        text->setFont(QFont(QStringLiteral("Arial"), 8));
        text->setColor(QColor(60, 60, 60));
        text->setPadding(QMargins(3, 1, 3, 1));
    }
}

}  // namespace trv
