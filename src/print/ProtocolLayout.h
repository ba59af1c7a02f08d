#pragma once
// The measures of the protocol page. Everything follows from the printable width W and height H
// in device units, by integer division, so the page looks the same on every printer.

namespace trv {

struct ProtocolLayout {
    int W = 0, H = 0;
    int ml = 0;  // left margin, W / 10
    int mr = 0;  // right margin, W / 20
    int mt = 0;  // top margin, W / 20 (from the width)
    int mb = 0;  // bottom margin, W / 10 (from the width)
    int cw = 0;  // content width
    int ch = 0;  // content height
    int g = 0;   // gap between a box edge and its text, W / 80
    int hh = 0;  // header band height, mt x 1.5
    int y0 = 0;  // top of the body
    int q = 0;   // quarter of the content height
    int dq = 0;  // analyser box height
    int rq = 0;  // remarks box height
    int y1 = 0;  // top of the chart band
    int cq = 0;  // chart band height
    int y2 = 0;  // top of the two test boxes

    static ProtocolLayout ForPage(int width, int height);

    // Tab unit and tab stops of the measurement tables (relative to a table's left edge).
    int TabUnit() const { return cw / 18; }
    int TabStop(int i) const;  // i = 0..4: u, 2u, 4u, 57u / 10, 74u / 10
};

constexpr int kTableTabStops = 5;

}  // namespace trv
