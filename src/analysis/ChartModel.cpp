#include "analysis/ChartModel.h"

#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>

namespace trv {

namespace {

using namespace chart_color;

ChartSeries MakeSeries(const char* title, SeriesKind kind, int xAxis, int yAxis, uint32_t color, MarkerShape marker) {
    ChartSeries s;
    s.title = title;
    s.kind = kind;
    s.xAxis = xAxis;
    s.yAxis = yAxis;
    s.color = color;
    s.lineColor = color;
    s.marker = marker;
    s.lineVisible = kind != SeriesKind::Points;
    s.xIsTime = xAxis == AxisCustom1;
    return s;
}

}  // namespace

int ChartSeries::Add(double x, double y, std::string label, uint32_t color) {
    auto at = points.end();
    if (sortedX)
        at = std::upper_bound(points.begin(), points.end(), x, [](double v, const ChartPoint& p) { return v < p.x; });
    at = points.insert(at, ChartPoint{x, y, std::move(label), color});
    return static_cast<int>(at - points.begin());
}

double ChartSeries::MinX() const {
    if (points.empty()) return 0.0;
    double v = points.front().x;
    for (const ChartPoint& p : points) v = std::min(v, p.x);
    return v;
}

double ChartSeries::MaxX() const {
    if (points.empty()) return 0.0;
    double v = points.front().x;
    for (const ChartPoint& p : points) v = std::max(v, p.x);
    return v;
}

CChartModel::CChartModel() { Reset(); }

void CChartModel::Reset() {
    using K = SeriesKind;
    using M = MarkerShape;
    for (int t = 0; t < 2; ++t) {
        const int o = 5 * t;
        const M shape = t == 0 ? M::Circle : M::Triangle;
        const std::string n = std::to_string(t + 1);
        series[o + 0] = MakeSeries(("L " + n).c_str(), K::Line, AxisBottom, AxisLeft, kLightBlue, M::None);
        series[o + 0].lineWidth = 2;
        series[o + 1] = MakeSeries(("PrL " + n).c_str(), K::Points, AxisCustom0, AxisLeft, kWhite, shape);
        series[o + 2] = MakeSeries(("Ld " + n).c_str(), K::Points, AxisBottom, AxisLeft, kRed, shape);
        series[o + 3] = MakeSeries(("AFL " + n).c_str(), K::Points, AxisCustom1, AxisLeft, kDarkBlue, shape);
        series[o + 4] = MakeSeries(("HR " + n).c_str(), K::LineWithPoints, AxisBottom, AxisRight, kGreen, shape);
        series[o + 4].lineColor = kGrey;
        const M hollow = t == 0 ? M::HollowCircle : M::HollowTriangle;
        ChartSeries& pre = series[10 + 2 * t];
        pre = MakeSeries(("PrL HR" + n).c_str(), K::LineWithPoints, AxisCustom0, AxisRight, kGrey, hollow);
        pre.inLegend = false;
        ChartSeries& post = series[11 + 2 * t];
        post = MakeSeries(("AFL HR" + n).c_str(), K::LineWithPoints, AxisCustom1, AxisRight, kGrey, hollow);
        post.inLegend = false;
    }

    // The chart keeps these three in the order of the adds, every other series in x order.
    for (int i = 0; i < kChartSeriesCount; ++i)
        series[i].sortedX = i != SeriesPreLoad1 && i != SeriesPostLoad1 && i != SeriesPostLoad2;

    for (ChartAxis& a : axes) a = ChartAxis{};
    axes[AxisLeft].title = LoadStr(IDS_AXIS_LACTATE);
    axes[AxisLeft].automatic = false;
    axes[AxisLeft].increment = 1.0;
    axes[AxisLeft].minimum = 0.0;
    axes[AxisLeft].maximum = 12.0;
    axes[AxisRight].title = LoadStr(IDS_AXIS_PULSE_INITIAL);
    axes[AxisBottom].title = LoadStr(IDS_AXIS_SPEED);
    axes[AxisBottom].increment = 0.5;
    axes[AxisBottom].startPercent = 12.0;
    axes[AxisBottom].endPercent = 70.0;
    axes[AxisCustom0].title = LoadStr(IDS_AXIS_REST_INITIAL);
    axes[AxisCustom0].startPercent = 0.0;
    axes[AxisCustom0].endPercent = 9.0;
    axes[AxisCustom1].title = LoadStr(IDS_AXIS_POST_TIME_INITIAL);
    axes[AxisCustom1].timeLabels = true;
    axes[AxisCustom1].labelFormat = "nn:ss";
    axes[AxisCustom1].increment = 15.0 / 86400.0;
    axes[AxisCustom1].startPercent = 72.0;
    axes[AxisCustom1].endPercent = 100.0;
    axes[AxisTop].title = LoadStr(IDS_AXIS_SPEED_KMH_INITIAL);
    axes[AxisTop].visible = false;

    for (ChartTool& tool : tools) tool = ChartTool{};
    tools[ToolMarksTip].kind = ToolKind::MarksTip;
    tools[ToolMarksTip].delayMs = 1000;
    ChartTool& zone = tools[ToolZoneBand];
    zone.kind = ToolKind::ColorBand;
    zone.bandAxis = AxisLeft;
    zone.bandStart = 2.0;
    zone.bandEnd = 4.0;
    zone.transparency = 70;
    tools[ToolAnsLabel].text = LoadStr(IDS_CHART_ANS);
    tools[ToolAsLabel].text = LoadStr(IDS_CHART_AS);
    for (int i : {ToolResult1, ToolResult2}) {
        tools[i].kind = ToolKind::AnnotationBox;
        tools[i].color = kLightYellow;
    }
    tools[ToolDeviceText].kind = ToolKind::Annotation;
    for (int i : {ToolCursor1, ToolCursor2}) {
        tools[i].kind = ToolKind::Cursor;
        tools[i].snap = true;
        tools[i].color = kBlue;
    }
    tools[ToolCursor1].followSeries = SeriesCurve1;
    tools[ToolCursor1].dottedPen = true;
    tools[ToolCursor2].followSeries = SeriesCurve2;
    ChartTool& band2 = tools[ToolBand2];
    band2.kind = ToolKind::ColorBand;
    band2.active = true;
    band2.bandAxis = AxisRight;  // heart rate 70..100
    band2.bandStart = 70.0;
    band2.bandEnd = 100.0;
    band2.color = kWhite;
    band2.endLineColor = kNavy;
    band2.transparency = 80;

    title = ChartTextArea{};
    notices = ChartTextArea{};
    cursorText = ChartTextArea{};
    thirdText = ChartTextArea{};
}

void CChartModel::ApplyStartup() {
    axes[AxisLeft].title = LoadStr(IDS_AXIS_LACTATE);
    axes[AxisRight].title = LoadStr(IDS_AXIS_HEART_RATE);
    axes[AxisBottom].title = LoadStr(IDS_AXIS_SPEED);
    axes[AxisCustom0].title = LoadStr(IDS_AXIS_PRE_LOAD);
    axes[AxisCustom1].title = LoadStr(IDS_AXIS_POST_LOAD);
    tools[ToolAnsLabel].text = LoadStr(IDS_CHART_ANS);
    tools[ToolAsLabel].text = LoadStr(IDS_CHART_AS);
    for (int i = 0; i <= 8; ++i) tools[i].active = false;
    tools[ToolBand2].active = true;
}

void CChartModel::ResetSeries() {
    for (ChartSeries& s : series) s.active = true;
    axes[AxisBottom].startPercent = 12.0;
    axes[AxisBottom].endPercent = 70.0;
}

void CChartModel::ApplySeriesActivity() {
    series[SeriesPreLoadHr1].active = series[SeriesHr1].active;
    series[SeriesPostLoadHr1].active = series[SeriesHr1].active;
    series[SeriesPreLoadHr2].active = series[SeriesHr2].active;
    series[SeriesPostLoadHr2].active = series[SeriesHr2].active;
    const bool pre = series[SeriesPreLoad1].active || series[SeriesPreLoad2].active || series[SeriesHr1].active ||
                     series[SeriesHr2].active;
    const bool post = series[SeriesPostLoad1].active || series[SeriesPostLoad2].active || series[SeriesHr1].active ||
                      series[SeriesHr2].active;
    axes[AxisBottom].startPercent = pre ? 12.0 : 0.0;
    axes[AxisBottom].endPercent = post ? 70.0 : 100.0;
}

void CChartModel::ShowDeviceText(const std::string& deviceId, double firmware) {
    ChartTool& t = tools[ToolDeviceText];
    t.active = true;
    t.shapeProperty126 = 50;
    t.text = FmtId(IDS_CHART_DEVICE, deviceId.c_str(), firmware);
}

}  // namespace trv
