#include "print/TeamPrint.h"
#include "print/PdfPages.h"

#include "data/SafeFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace trv {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QFont BodyFont(double points = 7.5) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    return f;
}

// The natural widths of the columns in `font`: the widest cell, and the longest word of the header.
std::vector<double> NaturalWidths(QPainter& p, const TeamTable& t, const QFont& font) {
    const QFontMetricsF fm(font, p.device());
    std::vector<double> w(t.header.size(), 0.0);
    for (size_t c = 0; c < t.header.size(); ++c) {
        for (const QString& word : Q(t.header[c]).split(QLatin1Char(' ')))
            w[c] = std::max(w[c], fm.horizontalAdvance(word));
        for (const auto& r : t.rows)
            if (c < r.size()) w[c] = std::max(w[c], fm.horizontalAdvance(Q(r[c])));
        w[c] += fm.averageCharWidth() * 1.2;
    }
    return w;
}

// The font of the table: 7.5 pt when the columns fit the width, smaller (down to 5.5 pt) when not.
QFont TableFont(QPainter& p, const TeamTable& t, double width) {
    double sum = 0;
    for (double x : NaturalWidths(p, t, BodyFont())) sum += x;
    const double points = sum > width ? std::max(5.5, 7.5 * width / sum) : 7.5;
    return BodyFont(points);
}

// Page geometry in device units of the painter's device.
struct Geometry {
    double headerH, headH, rowH, footerH;
    QRectF table;
};

Geometry Layout(QPainter& p, const QRect& page) {
    Geometry g;
    const QFontMetricsF fm(BodyFont(), p.device());
    g.rowH = fm.height() * 1.35;
    g.headH = fm.height() * 3.0;  // a method over its columns, headers wrapping
    g.headerH = fm.height() * 4.0;
    g.footerH = fm.height() * 2.0;
    g.table = QRectF(page.left(), page.top() + g.headerH, page.width(), page.height() - g.headerH - g.footerH);
    return g;
}

// Natural widths in the table's font; what still does not fit is taken from the zones (the last
// column, elided), and only then from every column alike.
std::vector<double> ColumnWidths(QPainter& p, const TeamTable& t, double total, const QFont& font) {
    std::vector<double> w = NaturalWidths(p, t, font);
    double sum = 0;
    for (double x : w) sum += x;
    if (sum > total && !w.empty()) {
        const double others = sum - w.back();
        w.back() = std::max(total - others, total * 0.12);
        sum = others + w.back();
    }
    if (sum > total)
        for (double& x : w) x *= total / sum;
    return w;
}

std::string Today(const TeamPrintOptions& o) {
    return (o.today.IsValid() ? o.today : COleDateTime::Now()).FormatDate();
}

}  // namespace

int TeamRowsPerPage(QPainter& painter, const QRect& pageRect) {
    const Geometry g = Layout(painter, pageRect);
    return std::max(1, static_cast<int>((g.table.height() - g.headH) / g.rowH));
}

int TeamPageCount(QPainter& painter, const QRect& pageRect, const TeamTable& table) {
    const int per = TeamRowsPerPage(painter, pageRect);
    return std::max(1, static_cast<int>((table.rows.size() + static_cast<size_t>(per) - 1) / static_cast<size_t>(per)));
}

void PaintTeamPage(QPainter& p, const QRect& pageRect, const TeamTable& t, const TeamPrintOptions& o, int page) {
    const Geometry g = Layout(p, pageRect);
    const int pages = TeamPageCount(p, pageRect, t);
    const int per = TeamRowsPerPage(p, pageRect);
    p.save();
    QFont title = BodyFont();
    title.setPointSizeF(13);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::black);
    const QString titleText = Q(o.title.empty() ? std::string(LoadStr(IDS_TEAM_TITLE)) : o.title);
    p.drawText(QRectF(pageRect.left(), pageRect.top(), pageRect.width(), g.headerH * 0.6),
               Qt::AlignLeft | Qt::AlignVCenter, titleText);
    p.setFont(BodyFont());
    p.drawText(QRectF(pageRect.left(), pageRect.top(), pageRect.width(), g.headerH * 0.6),
               Qt::AlignRight | Qt::AlignVCenter,
               Q(FmtId(IDS_TEAM_PRINTED, LoadStr(IDS_TEAM_TITLE), static_cast<int>(t.rows.size()), Today(o).c_str())));

    const QFont font = TableFont(p, t, g.table.width());
    const std::vector<double> w = ColumnWidths(p, t, g.table.width(), font);
    const double pad = QFontMetricsF(font, p.device()).averageCharWidth() * 0.5;
    double y = g.table.top();
    double x = g.table.left();
    p.setPen(QPen(Qt::black, 0));
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    // A method's name spans its columns in the upper half; the columns' own names below.
    for (size_t c = 0; c < t.header.size(); ++c) {
        const bool grouped = c < t.group.size() && !t.group[c].empty();
        if (grouped && (c == 0 || t.group[c - 1] != t.group[c])) {
            double span = 0;
            for (size_t k = c; k < t.group.size() && t.group[k] == t.group[c]; ++k) span += w[k];
            p.drawText(QRectF(x + pad, y, span - 2 * pad, g.headH / 2), Qt::AlignBottom | Qt::AlignHCenter,
                       Q(t.group[c]));
            p.drawLine(QPointF(x + pad, y + g.headH / 2), QPointF(x + span - pad, y + g.headH / 2));
        }
        const QRectF cell = grouped ? QRectF(x + pad, y + g.headH / 2, w[c] - 2 * pad, g.headH / 2)
                                    : QRectF(x + pad, y, w[c] - 2 * pad, g.headH);
        const bool num = c < t.numeric.size() && t.numeric[c];
        p.drawText(cell, Qt::AlignBottom | (num ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextWordWrap, Q(t.header[c]));
        x += w[c];
    }
    y += g.headH;
    p.drawLine(QPointF(g.table.left(), y), QPointF(g.table.right(), y));
    p.setFont(font);
    const size_t first = static_cast<size_t>(page) * static_cast<size_t>(per);
    for (size_t r = first; r < std::min(t.rows.size(), first + static_cast<size_t>(per)); ++r) {
        if ((r - first) % 2 == 1) p.fillRect(QRectF(g.table.left(), y, g.table.width(), g.rowH), QColor(240, 240, 240));
        x = g.table.left();
        for (size_t c = 0; c < t.header.size() && c < t.rows[r].size(); ++c) {
            const bool num = c < t.numeric.size() && t.numeric[c];
            const QRectF cell(x + pad, y, w[c] - 2 * pad, g.rowH);
            const QString text =
                QFontMetricsF(font, p.device()).elidedText(Q(t.rows[r][c]), Qt::ElideRight, cell.width());
            p.drawText(cell, (num ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
            x += w[c];
        }
        y += g.rowH;
    }
    p.drawLine(QPointF(g.table.left(), y), QPointF(g.table.right(), y));
    p.drawText(QRectF(pageRect.left(), pageRect.bottom() - g.footerH, pageRect.width(), g.footerH),
               Qt::AlignRight | Qt::AlignBottom, Q(FmtId(IDS_TEAM_PAGE, page + 1, pages)));
    p.restore();
}

bool PrintTeam(QPrinter& printer, const TeamTable& table, const TeamPrintOptions& options) {
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter p;
    if (!p.begin(&printer)) return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect rect(QPoint(0, 0), page.size());
    const int pages = TeamPageCount(p, rect, table);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) printer.newPage();
        PaintTeamPage(p, rect, table, options, i);
    }
    return p.end();
}

Result WriteTeamPdf(const std::string& path, const TeamTable& table, const TeamPrintOptions& options) {
    const QByteArray bytes =
        DrawPdf(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                            QPageLayout::Millimeter),
                Q(LoadStr(IDS_TEAM_TITLE)), [&](QPagedPaintDevice& device, QPainter& p, const QRect& page) {
                    const int pages = TeamPageCount(p, page, table);
                    for (int i = 0; i < pages; ++i) {
                        if (i > 0) device.newPage();
                        PaintTeamPage(p, page, table, options, i);
                    }
                    return true;
                });
    if (bytes.isEmpty()) return Result::Fail(FmtId(IDS_TEAM_PDF_FAILED, path.c_str()));
    if (const Result written = WriteFileSafely(path, std::vector<uint8_t>(bytes.begin(), bytes.end())); !written)
        return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.c_str(), written.message.c_str()));
    return Result::Ok();
}

}  // namespace trv
