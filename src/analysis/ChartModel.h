#pragma once
// The chart as plain data: 14 series, 10 tools, six axes, the title and three text areas.
// The evaluation writes into it; the chart widget draws it and reports cursor moves and legend
// clicks back; printing draws the same model into a rectangle. No Qt here.
//
// Colours are 24-bit integers 0x00BBGGRR (red is 0x0000FF).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trv {

// Colours handed to the chart, as 0x00BBGGRR.
namespace chart_color {
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kGreyPoint = 0xA0A0A0;  // readings that are not ordinary
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kLightBlue = 0xFF8000;
constexpr uint32_t kDarkBlue = 0xC66300;
constexpr uint32_t kGreen = 0x00B000;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kNavy = 0x800000;
constexpr uint32_t kLightYellow = 0x80FFFF;
}  // namespace chart_color

// Series indices. Test 1 uses 0..4, 10, 11; test 2 uses 5..9, 12, 13.
enum ChartSeriesIndex : int {
    SeriesCurve1 = 0,     // "L 1"  sampled curve of test 1        bottom / left
    SeriesPreLoad1 = 1,   // "PrL 1" pre-load points               custom 0 / left
    SeriesLoad1 = 2,      // "Ld 1"  main-load points              bottom / left
    SeriesPostLoad1 = 3,  // "AFL 1" post-load points, x in days   custom 1 / left
    SeriesHr1 = 4,        // "HR 1"  heart rate at main-load points bottom / right
    SeriesCurve2 = 5,
    SeriesPreLoad2 = 6,
    SeriesLoad2 = 7,
    SeriesPostLoad2 = 8,
    SeriesHr2 = 9,
    SeriesPreLoadHr1 = 10,   // "PrL HR1" custom 0 / right, not in the legend
    SeriesPostLoadHr1 = 11,  // "AFL HR1" custom 1 / right, not in the legend
    SeriesPreLoadHr2 = 12,
    SeriesPostLoadHr2 = 13,
    kChartSeriesCount = 14
};

// Tool indices.
enum ChartToolIndex : int {
    ToolMarksTip = 0,    // value tips, 1000 ms delay
    ToolZoneBand = 1,    // colour band 2.0..4.0 mmol/l on the left axis
    ToolAnsLabel = 2,    // annotation "ANS" at 4.0 mmol/l
    ToolAsLabel = 3,     // annotation "AS " at 2.0 mmol/l
    ToolResult1 = 4,     // result box of test 1
    ToolDeviceText = 5,  // analyser identity, right bottom corner
    ToolCursor1 = 6,     // cursor following SeriesCurve1
    ToolResult2 = 7,     // result box of test 2
    ToolCursor2 = 8,     // cursor following SeriesCurve2
    ToolBand2 = 9,       // colour band 70..100 (on at start)
    kChartToolCount = 10
};

enum ChartAxisIndex : int {
    AxisLeft = 0,     // lactate
    AxisRight = 1,    // heart rate
    AxisTop = 2,      // hidden
    AxisBottom = 3,   // load
    AxisCustom0 = 4,  // horizontal, pre-load points ("rest" region)
    AxisCustom1 = 5,  // horizontal, post-load time (x in days, labels mm:ss)
    kChartAxisCount = 6
};

enum class SeriesKind { Line, Points, LineWithPoints };
enum class MarkerShape { None, Circle, Triangle, HollowCircle, HollowTriangle };
enum class ToolKind { MarksTip, ColorBand, Annotation, AnnotationBox, Cursor };

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    std::string label;
    uint32_t color = 0;  // 0x00BBGGRR
};

struct ChartSeries {
    std::string title;
    SeriesKind kind = SeriesKind::Points;
    int xAxis = AxisBottom;  // AxisBottom, AxisCustom0 or AxisCustom1
    int yAxis = AxisLeft;    // AxisLeft or AxisRight
    uint32_t color = 0;      // series colour (legend, line)
    uint32_t lineColor = 0;  // line colour where it differs (heart-rate series: grey)
    int lineWidth = 1;
    bool lineVisible = true;
    MarkerShape marker = MarkerShape::None;
    uint32_t markerOutline = 0x808080;
    bool inLegend = true;
    bool xIsTime = false;  // x is a fraction of a day, shown as mm:ss
    bool sortedX = true;   // points kept in ascending x (equal x in the order of the adds)

    bool active = true;              // shown, with its legend entry
    bool evalProperty = false;       // the boolean the evaluation sets (true on 0..9, false on 10..13)
    std::vector<ChartPoint> points;  // in the order of the adds

    void Clear() { points.clear(); }
    // Adds a point (at its place in x order for a sorted series); returns its index.
    int Add(double x, double y, std::string label, uint32_t color);
    int Count() const { return static_cast<int>(points.size()); }
    // Smallest and largest x; 0.0 for an empty series.
    double MinX() const;
    double MaxX() const;
};

struct ChartAxis {
    std::string title;
    bool visible = true;
    bool automatic = true;  // range follows the data
    double minimum = 0.0;
    double maximum = 0.0;
    double increment = 0.0;  // 0 = automatic
    bool grid = false;
    double startPercent = 0.0;  // position along the chart, percent of its width (horizontal axes)
    double endPercent = 100.0;
    bool timeLabels = false;  // labels as time, format below
    std::string labelFormat;  // "nn:ss" for the post-load axis
    std::string titleFont = "Verdana";
    int titleFontSize = 0;  // 0 = widget default
    std::string labelFont = "Arial Narrow";
    int labelFontPixels = 13;
};

struct ChartTool {
    ToolKind kind = ToolKind::Annotation;
    bool active = false;
    std::string text;  // annotation text ("\r" breaks lines)
    // Annotation position in pixels, used when customPosition is set.
    int left = 0;
    int top = 0;
    bool customPosition = false;
    int shapeProperty126 = 0;  // integer shape property (device text: 50)
    // Result box: the value point (load, lactate) it belongs to; the chart places the box near it.
    bool anchored = false;
    double anchorX = 0.0;
    double anchorY = 0.0;
    // Off: only the value point and its dashed lines to the axes are drawn, not the box (the printout).
    bool boxShown = true;
    // Colour band: its axis and value range, colour and transparency in percent.
    int bandAxis = AxisLeft;
    double bandStart = 0.0;
    double bandEnd = 0.0;
    uint32_t color = 0;
    int transparency = 0;
    uint32_t endLineColor = 0;
    // Marks tip delay.
    int delayMs = 0;
    // Cursor: the series it follows and its position in axis values.
    int followSeries = -1;
    bool dottedPen = false;
    bool snap = false;
    double cursorX = 0.0;
    double cursorY = 0.0;
};

struct ChartTextArea {
    std::vector<std::string> lines;
    bool visible = true;
    std::string font = "Verdana";
    int fontPoints = 0;  // 0 = widget default

    void Clear() { lines.clear(); }
    void Add(std::string line) { lines.push_back(std::move(line)); }
};

// A vertical line across the load region at a load (display unit), with its label at the top.
struct ChartMarker {
    double x = 0.0;
    std::string label;
    uint32_t color = 0;  // 0x00BBGGRR
    // The interval of the marked threshold: a translucent band from .. to (display unit).
    std::optional<double> bandFrom, bandTo;
};

// A training zone drawn as a coloured band behind the load region, from `from` to `to` (display
// unit; none: open to that side), with its short name at the top.
struct ChartZoneBand {
    std::optional<double> from, to;
    std::string label;
    uint32_t color = 0;  // 0x00BBGGRR
};

// The whole chart. A default-constructed model is in the chart's starting state (as the form's
// initialisation data gives it); ApplyStartup() then does what the view does at its first update.
class CChartModel {
public:
    CChartModel();

    // Back to the starting state (points removed, titles and tools as at construction).
    void Reset();

    // What the view does when it is first set up: axis titles and marker texts from the string
    // table (IDS_AXIS_LACTATE..IDS_CHART_AS), every tool off but ToolBand2.
    void ApplyStartup();

    // Before a test is shown or hidden: every series active, bottom axis from 12 % to 70 %.
    void ResetSeries();

    // After a legend click (activity changed): the pre- and post-load heart rates of each test follow
    // its heart rate (SeriesHr1, SeriesHr2); the bottom axis starts at 12 % when a pre-load series or
    // a heart rate is active, else at 0 %, and ends at 70 % when a post-load series or a heart rate is
    // active, else at 100 %.
    void ApplySeriesActivity();

    // Analyser identity box (ToolDeviceText) for a document bound to an analyser: "Geräte-ID: %s\rFirmware: %2.2f".
    void ShowDeviceText(const std::string& deviceId, double firmware);

    std::array<ChartSeries, kChartSeriesCount> series;
    std::array<ChartTool, kChartToolCount> tools;
    std::array<ChartAxis, kChartAxisCount> axes;
    ChartTextArea title;       // chart title lines
    ChartTextArea notices;     // the view's notice lines (refreshed by the notice timer)
    ChartTextArea cursorText;  // one cursor read-out line
    ChartTextArea thirdText;   // emptied by the notice refresh
    // Threshold loads a user marked in the results table; not part of the starting state.
    std::vector<ChartMarker> markers;
    // Training zones of a shown test as background bands (off unless a user asks for them).
    std::vector<ChartZoneBand> zoneBands;

    // Legend and other chart-wide appearance of the starting state.
    bool legendCheckBoxes = true;
    std::string legendFont = "Verdana";
    bool legendBold = true;
    uint32_t backgroundColor = 0xFFD7AE;  // plot background (event 30 of the original chart)
};

}  // namespace trv
