#pragma once
// The marked threshold loads: dashed vertical lines across the load region with their labels.
class QCustomPlot;

namespace trv {

class CChartModel;
class CChartPlot;

void AddThresholdMarkers(QCustomPlot* plot, const CChartModel& model, const CChartPlot& regions);

}  // namespace trv
