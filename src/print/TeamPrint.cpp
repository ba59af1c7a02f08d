#include "print/TeamPrint.h"

#include "data/SafeFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>

namespace trv {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QFont BodyFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(7.5);
    return f;
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

std::vector<double> ColumnWidths(QPainter& p, const TeamTable& t, double total) {
    const QFontMetricsF fm(BodyFont(), p.device());
    std::vector<double> w(t.header.size(), 0.0);
    for (size_t c = 0; c < t.header.size(); ++c) {
        // The header wraps at blanks: its longest word counts.
        for (const QString& word : Q(t.header[c]).split(QLatin1Char(' ')))
            w[c] = std::max(w[c], fm.horizontalAdvance(word));
        if (c < t.group.size() && !t.group[c].empty()) w[c] = std::max(w[c], fm.horizontalAdvance(Q(t.group[c])) / 4);
        for (const auto& r : t.rows)
            if (c < r.size()) w[c] = std::max(w[c], fm.horizontalAdvance(Q(r[c])));
        w[c] += fm.averageCharWidth() * 1.2;
    }
    double sum = 0;
    for (double x : w) sum += x;
    if (sum > 0)
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

    const std::vector<double> w = ColumnWidths(p, t, g.table.width());
    const double pad = QFontMetricsF(BodyFont(), p.device()).averageCharWidth() * 0.5;
    double y = g.table.top();
    double x = g.table.left();
    p.setPen(QPen(Qt::black, 0));
    QFont bold = BodyFont();
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
    p.setFont(BodyFont());
    const size_t first = static_cast<size_t>(page) * static_cast<size_t>(per);
    for (size_t r = first; r < std::min(t.rows.size(), first + static_cast<size_t>(per)); ++r) {
        if ((r - first) % 2 == 1) p.fillRect(QRectF(g.table.left(), y, g.table.width(), g.rowH), QColor(240, 240, 240));
        x = g.table.left();
        for (size_t c = 0; c < t.header.size() && c < t.rows[r].size(); ++c) {
            const bool num = c < t.numeric.size() && t.numeric[c];
            const QRectF cell(x + pad, y, w[c] - 2 * pad, g.rowH);
            const QString text =
                QFontMetricsF(BodyFont(), p.device()).elidedText(Q(t.rows[r][c]), Qt::ElideRight, cell.width());
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

bool WriteTeamPdf(const std::string& path, const TeamTable& table, const TeamPrintOptions& options,
                  std::string* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("TRV"));
        writer.setTitle(Q(LoadStr(IDS_TEAM_TITLE)));
        QPainter p;
        if (p.begin(&writer)) {
            const QRect rect(QPoint(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size());
            const int pages = TeamPageCount(p, rect, table);
            for (int i = 0; i < pages; ++i) {
                if (i > 0) writer.newPage();
                PaintTeamPage(p, rect, table, options, i);
            }
            painted = p.end();
        }
    }
    if (!painted) {
        if (error) *error = FmtId(IDS_TEAM_PDF_FAILED, path.c_str());
        return false;
    }
    const QByteArray& bytes = buffer.data();
    std::string why;
    if (!WriteFileSafely(path, std::vector<uint8_t>(bytes.begin(), bytes.end()), why)) {
        if (error) *error = FmtId(IDS_ERR_FILE_WRITE, path.c_str(), why.c_str());
        return false;
    }
    return true;
}

}  // namespace trv
