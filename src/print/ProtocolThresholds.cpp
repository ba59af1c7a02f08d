#include "print/ProtocolThresholds.h"

#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "print/ProtocolLayout.h"
#include "print/ProtocolPaint.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QFontMetrics>
#include <QPainter>

namespace trv {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

std::string Load(const TestThresholds& r, double stored) { return Fmt("%.2f", LoadInTestUnit(stored, r.loadUnit)); }

// "a - b", "< b" (open below) or "> a" (open above); `text` formats one end.
template <typename F>
std::string Range(const std::optional<double>& from, const std::optional<double>& to, F text) {
    if (from && to) return text(*from) + " - " + text(*to);
    if (to) return "< " + text(*to);
    if (from) return "> " + text(*from);
    return "-";
}

std::string PaceOf(double speed) {
    const std::optional<int> s = PaceSeconds(speed);
    return s ? Fmt("%02d:%02d", *s / 60, *s % 60) : std::string("-");
}

}  // namespace

std::string ZoneTitleText(const TestThresholds& r) {
    const bool standard = r.zoneModel.model == "trv5" || r.zoneModel.name.empty();
    return standard ? LoadStr(IDS_PRN_ZONES_HEAD)
                    : FmtId(IDS_PRN_ZONES_MODEL_HEAD, ZoneModelCaption(r.zoneModel).c_str());
}

std::string NoZonesText(const TestThresholds& r) {
    const bool standard = r.zoneModel.model == "trv5" || r.zoneModel.reason.empty();
    return standard ? LoadStr(IDS_PRN_NO_ZONES) : FmtId(IDS_PRN_NO_ZONES_WHY, r.zoneModel.reason.c_str());
}

std::vector<std::string> ThresholdTableLines(const TestDataType& test, const TestThresholds& r,
                                             const ThresholdIntervals* intervals) {
    std::vector<std::string> lines{LoadStr(IDS_PRN_THR_HEAD), FmtId(IDS_PRN_THR_UNITS, LoadUnitText(test.m_nLoadUnit))};
    for (const MethodResult& m : r.methods) {
        if (!m.ok) {
            lines.push_back(m.label + "\t " + LoadStr(IDS_NOT_DETERMINABLE));
            continue;
        }
        const std::string hr = m.heartRate ? Fmt("%3.0f", *m.heartRate) : std::string("-");
        std::string line = m.label + "\t " + Load(r, *m.load) + "\t " + Fmt("%2.2f", *m.lactate) + "\t " + hr;
        const MethodInterval* ci = intervals ? intervals->Find(m.id) : nullptr;
        if (ci && ci->ok) line += "   " + FmtId(IDS_PRN_CI, Load(r, *ci->low).c_str(), Load(r, *ci->high).c_str());
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ZoneTableLines(const TestDataType& test, const TestThresholds& r) {
    std::vector<std::string> lines;
    if (r.zones.empty()) return lines;
    const bool speed = r.IsSpeed();
    lines.push_back(FmtId(speed ? IDS_PRN_ZONE_HEAD : IDS_PRN_ZONE_HEAD_POWER, LoadUnitText(test.m_nLoadUnit)));
    for (const ZoneResult& z : r.zones) {
        std::string line = z.code + "\t " + Range(z.loadFrom, z.loadTo, [&](double v) { return Load(r, v); });
        line += "\t " + Range(z.heartRateFrom, z.heartRateTo, [](double v) { return Fmt("%.0f", v); });
        // A faster speed is a shorter time per km: the pace range runs the other way.
        if (speed) line += "\t " + Range(z.loadTo, z.loadFrom, PaceOf);
        lines.push_back(line);
    }
    return lines;
}

int DrawThresholdTables(QPainter& p, const ProtocolLayout& l, int slot, int top, const TestDataType& test,
                        const TestThresholds& r, const ThresholdIntervals* intervals) {
    const int x = l.ml + slot * (l.cw / 2);
    const int right = x + l.cw / 2;
    const int bottom = l.mt + l.ch;
    const int u = l.TabUnit();
    const int methodStops[] = {36 * u / 10, 54 * u / 10, 70 * u / 10};
    const int zoneStops[] = {15 * u / 10, 40 * u / 10, 58 * u / 10};
    const QPen black(Qt::black, 0);
    p.save();
    p.setClipRect(QRect(QPoint(x, top), QPoint(right, bottom)), Qt::IntersectClip);
    p.setPen(black);
    int y = top + l.g;

    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    y += DrawTextBlock(p, QRect(QPoint(x + l.g, y), QPoint(right, bottom)),
                       Q(LoadStr(slot == 0 ? IDS_PRN_THRESHOLDS1_HEAD : IDS_PRN_THRESHOLDS2_HEAD)));
    p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
    const std::vector<std::string> methods = ThresholdTableLines(test, r, intervals);
    for (size_t i = 0; i < methods.size(); ++i) {
        if (i == 0) p.drawLine(x, y, right, y);
        y += DrawTabbedLine(p, x + l.g, y, Q(methods[i]), x, methodStops, 3);
        if (i == 1) p.drawLine(x, y, right, y);
    }
    p.drawLine(x, y, right, y);
    y += l.g;

    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    y += DrawTextBlock(p, QRect(QPoint(x + l.g, y), QPoint(right, bottom)), Q(ZoneTitleText(r)));
    p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
    const std::vector<std::string> zones = ZoneTableLines(test, r);
    if (zones.empty()) y += DrawTextBlock(p, QRect(QPoint(x + l.g, y), QPoint(right, bottom)), Q(NoZonesText(r)));
    for (size_t i = 0; i < zones.size(); ++i) {
        if (i == 0) p.drawLine(x, y, right, y);
        y += DrawTabbedLine(p, x + l.g, y, Q(zones[i]), x, zoneStops, 3);
        if (i == 0) p.drawLine(x, y, right, y);
    }
    if (!zones.empty()) p.drawLine(x, y, right, y);
    p.restore();
    return y;
}

}  // namespace trv
