#pragma once
// The colour bands (the lactate zone and the second band) across every shown region, behind the
// curves.
class QCustomPlot;

namespace trv {

class CChartModel;
class CChartPlot;

void AddChartBands(QCustomPlot* plot, const CChartModel& model, const CChartPlot& regions);

}  // namespace trv
