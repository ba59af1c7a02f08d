#include "print/HistoryPrint.h"
#include "print/PdfPages.h"

#include "analysis/HistoryTable.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "print/ProtocolPaint.h"
#include "print/ProtocolText.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace trv {

namespace {

// Equal margins from the shorter side, so that a landscape page keeps its height for the table.
struct PageMeasures {
    int W = 0, H = 0, ml = 0, mt = 0, cw = 0, ch = 0, g = 0, hh = 0, y0 = 0;
    static PageMeasures For(int w, int h) {
        PageMeasures m;
        m.W = w;
        m.H = h;
        const int s = std::min(w, h);
        m.ml = m.mt = s / 20;
        m.cw = w - 2 * m.ml;
        m.ch = h - 2 * m.mt - s / 40;  // the footer's line below the frame
        m.g = s / 80;
        m.hh = m.mt * 3 / 2;
        m.y0 = m.mt + m.hh;
        return m;
    }
};

QString Q(const std::string& s) { return QString::fromStdString(s); }
QRect Rc(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

// A method's printed cell: the load, then lactate and heart rate, then the change.
QString MethodCell(const HistoryRow& row, size_t m) {
    const int base = kHistoryFixedColumns + static_cast<int>(m) * kHistoryMethodParts;
    QString second = Q(HistoryCellText(row, base + HmLactate));
    if (!second.isEmpty()) second += QStringLiteral(" mmol/l");
    const QString hr = Q(HistoryCellText(row, base + HmHeartRate));
    if (!hr.isEmpty())
        second += (second.isEmpty() ? QString() : QStringLiteral(", ")) + hr + Q(LoadStr(IDS_HIST_PRN_HR_UNIT));
    return Q(HistoryCellText(row, base + HmLoad)) + QLatin1Char('\n') + second + QLatin1Char('\n') +
           Q(HistoryCellText(row, base + HmChange));
}

// Left edges of the printed columns inside a table of width `w`: four fixed, one per method.
std::vector<int> ColumnEdges(int left, int w, size_t methods) {
    static const double fixed[] = {0.10, 0.10, 0.06, 0.05};
    const double fixedShare = methods ? 0.31 : 1.0;
    std::vector<int> x{left};
    for (double f : fixed) x.push_back(x.back() + static_cast<int>(w * f / 0.31 * fixedShare));
    for (size_t m = 0; m < methods; ++m)
        x.push_back(left + static_cast<int>(w * (fixedShare + (1.0 - fixedShare) * (m + 1) / methods)));
    x.back() = left + w;
    return x;
}

// Draws the table into `area` and returns the height used.
int DrawTable(QPainter& p, const QRect& area, int g, const std::vector<HistoryRow>& rows,
              const std::vector<std::string>& methods) {
    p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
    const int line = QFontMetrics(p.font(), p.device()).lineSpacing();
    const int headH = 2 * line + g;
    const int rowH = 3 * line + g;
    const std::vector<int> x = ColumnEdges(area.left(), area.width(), methods.size());
    const int fit = std::max(0, (area.height() - headH - line - g) / rowH);
    const size_t shown = std::min(rows.size(), static_cast<size_t>(fit));
    const size_t first = rows.size() - shown;  // the newest rows that fit

    int y = area.top();
    auto cell = [&](size_t c, int top, int h, const QString& text) {
        DrawTextBlock(p, Rc(x[c] + g / 2, top + g / 2, x[c + 1] - g / 2, top + h), text);
    };
    for (int c = 0; c < kHistoryFixedColumns; ++c)
        cell(static_cast<size_t>(c), y, headH, Q(HistoryHeaderText(methods, c)));
    for (size_t m = 0; m < methods.size(); ++m) cell(kHistoryFixedColumns + m, y, headH, Q(MethodLabel(methods[m])));
    p.drawLine(area.left(), y, area.right(), y);
    y += headH;
    p.drawLine(area.left(), y, area.right(), y);
    for (size_t r = first; r < rows.size(); ++r) {
        for (int c = 0; c < kHistoryFixedColumns; ++c)
            cell(static_cast<size_t>(c), y, rowH, Q(HistoryCellText(rows[r], c)));
        for (size_t m = 0; m < methods.size(); ++m) cell(kHistoryFixedColumns + m, y, rowH, MethodCell(rows[r], m));
        y += rowH;
        p.drawLine(area.left(), y, area.right(), y);
    }
    for (size_t c = 1; c + 1 < x.size(); ++c) p.drawLine(x[c], area.top(), x[c], y);
    if (first > 0) {
        DrawTextBlock(p, Rc(area.left(), y + g / 2, area.right(), y + line + g),
                      Q(FmtId(IDS_HIST_PRINT_OMITTED, static_cast<int>(first))));
        y += line + g;
    }
    return y - area.top();
}

}  // namespace

QPageLayout::Orientation HistoryOrientation(size_t methods) {
    return methods > 4 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

std::string HistoryHeaderLine(const CTRVDoc& doc, const COleDateTime& today) {
    const UserDataType& u = doc.m_UserData;
    return u.m_strFirstName + " " + u.m_strLastName + LoadStr(IDS_HIST_PRINT_HEADER) + today.FormatDate();
}

void PaintHistoryPage(QPainter& p, const QRect& pageRect, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                      const std::vector<std::string>& methods, const HistoryPrintOptions& opt) {
    const PageMeasures l = PageMeasures::For(pageRect.width(), pageRect.height());
    p.save();
    p.translate(pageRect.topLeft());
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    const int right = l.ml + l.cw, bottom = l.mt + l.ch;
    p.drawRect(Rc(l.ml, l.mt, right, bottom));

    const COleDateTime today = opt.today.IsValid() ? opt.today : COleDateTime::Now();
    p.setFont(MakeProtocolFont(ProtocolFont::Header, p));
    DrawTextBlock(p, Rc(l.ml + l.g, l.mt + l.g, right - l.g, l.mt + l.hh), Q(HistoryHeaderLine(doc, today)),
                  Qt::AlignHCenter | Qt::AlignVCenter);
    p.setFont(MakeProtocolFont(ProtocolFont::Footer, p));
    DrawTextBlock(p, Rc(l.ml, bottom, right, l.H), Q(LoadStr(IDS_PRN_CONTACT)), Qt::AlignHCenter | Qt::AlignVCenter);

    // The athlete block: the athlete box and the remarks beside it, as tall as the athlete's text.
    const int half = l.cw / 2;
    // The athlete's text in two columns (address, then body data), so that the table and the charts
    // keep the page; measured as drawn, so that the box holds every line. The remarks beside it are
    // cut at the same height, as in the protocol.
    const QString athleteText = Q(AthleteText(doc.m_UserData));
    const qsizetype split = athleteText.indexOf(QStringLiteral("\n\n"));
    const QString address = split < 0 ? athleteText : athleteText.left(split);
    const QString body = split < 0 ? QString() : athleteText.mid(split + 2);
    const int colW = (half - l.g) / 2;
    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    const int titleH = std::max(TextBlockHeight(p, half - l.g, Q(LoadStr(IDS_PRN_ATHLETE_HEAD))),
                                TextBlockHeight(p, half - l.g, Q(LoadStr(IDS_PRN_REMARKS_HEAD))));
    p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
    const int bodyH = std::max(TextBlockHeight(p, colW, address), TextBlockHeight(p, colW, body));
    const int boxBottom = l.y0 + 3 * l.g + titleH + bodyH;
    auto box = [&](const QRect& r, const char* title, const QString& left, const QString& right) {
        p.drawRect(r);
        const QRect inner = r.adjusted(l.g, l.g, 0, -l.g);
        p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
        const int t = DrawTextBlock(p, inner, Q(title));
        p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
        if (right.isEmpty()) {
            DrawTextBlock(p, inner.adjusted(0, t, 0, 0), left);
            return;
        }
        DrawTextBlock(p, QRect(inner.left(), inner.top() + t, colW, inner.height() - t), left);
        DrawTextBlock(p, QRect(inner.left() + colW, inner.top() + t, inner.width() - colW, inner.height() - t), right);
    };
    box(Rc(l.ml, l.y0, l.ml + half, boxBottom), LoadStr(IDS_PRN_ATHLETE_HEAD), address, body);
    box(Rc(l.ml + half, l.y0, right, boxBottom), LoadStr(IDS_PRN_REMARKS_HEAD), Q(doc.m_UserData.m_strRemarks), {});

    // The table takes what it needs up to half of the rest; the charts take everything below it.
    int y = boxBottom + l.g;
    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    y += DrawTextBlock(p, Rc(l.ml + l.g, y, right, bottom), Q(LoadStr(IDS_HIST_TABLE_TITLE)));
    if (rows.empty()) {
        p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
        DrawTextBlock(p, Rc(l.ml + l.g, y, right - l.g, bottom - l.g), Q(LoadStr(IDS_HIST_NO_TESTS)));
        p.restore();
        return;
    }
    // The table takes what it needs as long as the charts keep two fifths of the rest.
    const int tableMax = (bottom - y) * 3 / 5;
    y += DrawTable(p, Rc(l.ml + l.g, y, right - l.g, y + tableMax), l.g, rows, methods) + l.g;
    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    y += DrawTextBlock(p, Rc(l.ml + l.g, y, right, bottom), Q(LoadStr(IDS_HIST_CHARTS_TITLE)));
    const QRect charts = Rc(l.ml + l.g, y, right - l.g, bottom - l.g);
    if (opt.drawCharts && charts.height() > 0) {
        p.save();
        p.setClipRect(charts, Qt::IntersectClip);
        opt.drawCharts(p, QRectF(charts));
        p.restore();
    } else {
        p.drawRect(charts);
    }
    p.restore();
}

bool PrintHistory(QPrinter& printer, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                  const std::vector<std::string>& methods, const HistoryPrintOptions& options) {
    printer.setPageOrientation(HistoryOrientation(methods.size()));
    QPainter p;
    if (!p.begin(&printer)) return false;
    PaintHistoryPage(p, QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()), doc,
                     rows, methods, options);
    return p.end();
}

Result WriteHistoryPdf(const QString& path, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                       const std::vector<std::string>& methods, const HistoryPrintOptions& options) {
    const QByteArray bytes =
        DrawPdf(QPageLayout(QPageSize(QPageSize::A4), HistoryOrientation(methods.size()), QMarginsF(0, 0, 0, 0)),
                QString(), [&](QPagedPaintDevice&, QPainter& p, const QRect& page) {
                    PaintHistoryPage(p, page, doc, rows, methods, options);
                    return true;
                });
    if (bytes.isEmpty()) return Result::Fail(FmtId(IDS_HIST_PDF_FAILED, path.toUtf8().constData()));
    if (const Result written = WriteFileSafely(path.toStdString(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        !written)
        return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.toUtf8().constData(), written.message.c_str()));
    return Result::Ok();
}

}  // namespace trv
