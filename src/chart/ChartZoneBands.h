#pragma once
// The training zones of a shown test as translucent coloured bands behind the load region, each
// with its short name at the top.
class QCustomPlot;

namespace trv {

class CChartModel;
class CChartPlot;

void AddChartZoneBands(QCustomPlot* plot, const CChartModel& model, const CChartPlot& regions);

}  // namespace trv
