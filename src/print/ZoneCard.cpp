#include "print/ZoneCard.h"

#include "analysis/History.h"
#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "data/SafeFile.h"
#include "data/TRVDoc.h"
#include "print/PdfPages.h"
#include "print/ProtocolLayout.h"
#include "print/ProtocolPaint.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace trv {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

// "a - b", "< b" (open below), "> a" (open above); "-" without either.
template <typename F>
std::string Range(const std::optional<double>& from, const std::optional<double>& to, F text) {
    if (from && to) return text(*from) + " - " + text(*to);
    if (to) return "< " + text(*to);
    if (from) return "> " + text(*from);
    return "-";
}

std::string LoadText(double stored, int unit) {
    const double v = LoadInTestUnit(stored, unit);
    return Fmt(unit == UnitWatt ? "%.0f" : unit == UnitMs ? "%.2f" : "%.1f", v);
}

std::string PaceOf(double speed) {
    const std::optional<int> s = PaceSeconds(speed);
    return s ? Fmt("%02d:%02d", *s / 60, *s % 60) : std::string("-");
}

std::string AnchorFact(const char* name, const ZoneAnchor& a, int unit) {
    if (!a.load) return FmtId(IDS_CARD_ANCHOR_NONE, name, a.label.c_str());
    std::string value = LoadText(*a.load, unit) + " " + LoadUnitText(unit);
    if (unit != UnitWatt) value += " (" + PaceOf(*a.load) + " /km)";
    if (a.heartRate) value += FmtId(IDS_CURSOR_HEART_RATE, *a.heartRate);
    return FmtId(IDS_CARD_ANCHOR, name, a.label.c_str(), value.c_str());
}

}  // namespace

ZoneCardText MakeZoneCardText(const CTRVDoc& doc, int test, const TestThresholds& r, const COleDateTime& today) {
    ZoneCardText c;
    const TestDataType& t = doc.GetTest(test);
    const int unit = t.m_nLoadUnit;
    const UserDataType& u = doc.m_UserData;
    c.title = LoadStr(IDS_CARD_TITLE);
    c.facts.push_back(FmtId(IDS_CARD_ATHLETE, (u.m_strFirstName + " " + u.m_strLastName).c_str()));
    c.facts.push_back(FmtId(IDS_CARD_TEST, HistoryDate(t).FormatDate().c_str(), TestTypeText(t.m_nTestType)));
    c.facts.push_back(FmtId(IDS_CARD_MODEL, r.zoneModel.name.c_str()));
    if (r.zoneModel.model == "trv5") {
        ZoneAnchor ians;
        ians.method = "ians";
        if (const MethodResult* m = r.Find("ians")) {
            ians.label = m->label;
            if (m->ok) {
                ians.load = m->load;
                ians.heartRate = m->heartRate;
            }
        }
        c.facts.push_back(AnchorFact(LoadStr(IDS_CARD_IANS), ians, unit));
    } else {
        c.facts.push_back(AnchorFact("LT1", r.zoneModel.lt1, unit));
        c.facts.push_back(AnchorFact("LT2", r.zoneModel.lt2, unit));
    }
    c.speed = unit != UnitWatt;
    c.head = FmtId(c.speed ? IDS_CARD_HEAD_SPEED : IDS_CARD_HEAD, LoadUnitText(unit));
    for (size_t i = 0; i < r.zones.size(); ++i) {
        const ZoneResult& z = r.zones[i];
        std::string cells = z.code + " " + z.name;
        cells += "\t" + Range(z.loadFrom, z.loadTo, [unit](double v) { return LoadText(v, unit); });
        // A faster speed is a shorter time per km: the pace range runs the other way.
        if (c.speed) cells += "\t" + Range(z.loadTo, z.loadFrom, PaceOf);
        cells += "\t" + Range(z.heartRateFrom, z.heartRateTo, [](double v) { return Fmt("%.0f", v); });
        cells += "\t" + Range(z.lactateFrom, z.lactateTo, [](double v) { return Fmt("%.1f", v); });
        c.rows.push_back({cells, ZoneColour(i, r.zones.size())});
    }
    c.footer = FmtId(IDS_CARD_FOOT, today.FormatDate().c_str());
    return c;
}

void PaintZoneCard(QPainter& p, const QRect& page, const ZoneCardText& c) {
    const ProtocolLayout l = ProtocolLayout::ForPage(page.width(), page.height());
    p.save();
    p.translate(page.topLeft());
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(l.ml, l.mt, l.cw, l.ch));

    p.setFont(MakeProtocolFont(ProtocolFont::Header, p));
    DrawTextBlock(p, QRect(l.ml + l.g, l.mt + l.g, l.cw - 2 * l.g, l.hh), Q(c.title),
                  Qt::AlignHCenter | Qt::AlignVCenter);
    p.drawLine(l.ml, l.mt + l.hh + l.g, l.ml + l.cw, l.mt + l.hh + l.g);

    const int x = l.ml + l.g;
    int y = l.mt + l.hh + 2 * l.g;
    p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
    const int factStops[] = {l.cw / 5};
    for (const std::string& f : c.facts) y += DrawTabbedLine(p, x, y, Q(f), x, factStops, 1);
    y += 2 * l.g;

    const int speedStops[] = {l.cw * 30 / 100, l.cw * 50 / 100, l.cw * 66 / 100, l.cw * 80 / 100};
    const int powerStops[] = {l.cw * 34 / 100, l.cw * 56 / 100, l.cw * 76 / 100};
    const int* stops = c.speed ? speedStops : powerStops;
    const int stopCount = c.speed ? 4 : 3;
    const int swatch = l.g;  // a coloured mark before each band
    QFont head = MakeProtocolFont(ProtocolFont::Body, p);
    head.setBold(true);
    p.setFont(head);
    p.drawLine(l.ml, y, l.ml + l.cw, y);
    y += DrawTabbedLine(p, x + 2 * swatch, y + l.g / 2, Q(c.head), x, stops, stopCount) + l.g;
    p.drawLine(l.ml, y, l.ml + l.cw, y);
    p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
    const int rowHeight = QFontMetrics(p.font(), p.device()).height() * 2;
    for (const ZoneCardRow& row : c.rows) {
        p.fillRect(QRect(l.ml, y, 2 * swatch + l.g / 2, rowHeight), QColor::fromRgb(row.colour));
        DrawTabbedLine(p, x + 2 * swatch, y + rowHeight / 4, Q(row.cells), x, stops, stopCount);
        y += rowHeight;
        p.drawLine(l.ml, y, l.ml + l.cw, y);
    }

    p.setFont(MakeProtocolFont(ProtocolFont::Footer, p));
    DrawTextBlock(p, QRect(l.ml, l.mt + l.ch, l.cw, l.mb), Q(c.footer), Qt::AlignHCenter | Qt::AlignVCenter);
    p.restore();
}

bool PrintZoneCard(QPrinter& printer, const ZoneCardText& card) {
    QPainter p;
    if (!p.begin(&printer)) return false;
    PaintZoneCard(p, QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()), card);
    return p.end();
}

Result WriteZoneCardPdf(const QString& path, const ZoneCardText& card) {
    const QByteArray bytes =
        DrawPdf(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)), Q(card.title),
                [&](QPagedPaintDevice&, QPainter& p, const QRect& page) {
                    PaintZoneCard(p, page, card);
                    return true;
                });
    const std::string target = path.toStdString();
    if (bytes.isEmpty()) return Result::Fail(FmtId(IDS_CARD_PDF_FAILED, target.c_str()));
    if (const Result written = WriteFileSafely(target, std::vector<uint8_t>(bytes.begin(), bytes.end())); !written)
        return Result::Fail(FmtId(IDS_CARD_PDF_FAILED, target.c_str()) + " " + written.message);
    return Result::Ok();
}

}  // namespace trv
