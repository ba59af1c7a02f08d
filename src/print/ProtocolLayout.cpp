#include "print/ProtocolLayout.h"

namespace trv {

ProtocolLayout ProtocolLayout::ForPage(int width, int height) {
    ProtocolLayout l;
    l.W = width;
    l.H = height;
    l.ml = width / 10;
    l.mr = width / 20;
    l.mt = width / 20;
    l.mb = width / 10;
    l.cw = width - l.ml - l.mr;
    l.ch = height - l.mt - l.mb;
    l.g = width / 80;
    l.hh = l.mt * 3 / 2;
    l.y0 = l.mt + l.hh;
    l.q = l.ch / 4;
    l.dq = l.q / 3 + l.g;
    l.rq = 2 * l.q / 3 - l.g;
    l.y1 = l.y0 + l.q;
    l.cq = l.ch / 3 + 5 * l.g;
    l.y2 = l.y1 + l.cq;
    return l;
}

int ProtocolLayout::TabStop(int i) const {
    const int u = TabUnit();
    switch (i) {
        case 0:
            return u;
        case 1:
            return 2 * u;
        case 2:
            return 4 * u;
        case 3:
            return 57 * u / 10;
        case 4:
            return 74 * u / 10;
        default:
            return 0;
    }
}

}  // namespace trv
