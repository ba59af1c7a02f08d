#include "print/ProtocolPaint.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace trv {

namespace {

// Average character width of Arial as a fraction of the em (904 / 2048 font units), which spaces
// the tab stops of the box texts. Taken as a constant because the fonts that stand in for Arial
// report a wider average, which would put the colons of short labels like "Gewicht:" before the
// first stop and the values out of line.
constexpr double kArialAverageWidth = 904.0 / 2048.0;

}  // namespace

QFont MakeProtocolFont(ProtocolFont which, const QPainter& painter) {
    int points = 10;
    bool bold = false;
    switch (which) {
        case ProtocolFont::Header:
            points = 14;
            bold = true;
            break;
        case ProtocolFont::Title:
            points = 12;
            bold = true;
            break;
        case ProtocolFont::Body:
            points = 10;
            break;
        case ProtocolFont::Table:
            points = 8;
            break;
        case ProtocolFont::Footer:
            points = 6;
            break;
    }
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, points * dpi / 72));
    f.setBold(bold);
    return f;
}

namespace {
QTextOption TextBlockOption(const QPainter& painter, int align) {
    QTextOption opt(static_cast<Qt::Alignment>(align));
    opt.setWrapMode(QTextOption::WordWrap);
    // Qt counts a tab distance in pixels of a 96 dpi screen and scales it to the device.
    const int dpi = painter.device() ? painter.device()->logicalDpiX() : 96;
    opt.setTabStopDistance(8.0 * kArialAverageWidth * painter.font().pixelSize() * 96.0 / dpi);
    return opt;
}
}  // namespace

int DrawTextBlock(QPainter& painter, const QRect& rect, const QString& text, int align) {
    if (rect.width() <= 0 || rect.height() <= 0) return 0;
    const QTextOption opt = TextBlockOption(painter, align);
    const QRectF r(rect);
    const QRectF used = painter.boundingRect(r, text, opt);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(r, text, opt);
    painter.restore();
    return static_cast<int>(std::ceil(used.height()));
}

int TextBlockHeight(QPainter& painter, int width, const QString& text) {
    if (width <= 0) return 0;
    const QRectF used = painter.boundingRect(QRectF(0, 0, width, 1e6), text, TextBlockOption(painter, Qt::AlignLeft));
    return static_cast<int>(std::ceil(used.height()));
}

int DrawTabbedLine(QPainter& painter, int x, int top, const QString& text, int origin, const int* stops,
                   int stopCount) {
    const QFontMetrics fm(painter.font(), painter.device());
    const int baseline = top + fm.ascent();
    int pen = x;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            int next = -1;
            for (int s = 0; s < stopCount; ++s) {
                if (origin + stops[s] > pen) {
                    next = origin + stops[s];
                    break;
                }
            }
            if (next < 0) {
                // Past the last stop: further stops follow at the spacing of the last two.
                const int step = stopCount >= 2 ? std::max(1, stops[stopCount - 1] - stops[stopCount - 2])
                                                : 8 * fm.averageCharWidth();
                next = pen + step - (pen - origin) % step;
            }
            pen = next;
        }
        if (!parts[i].isEmpty()) {
            painter.drawText(QPoint(pen, baseline), parts[i]);
            pen += fm.horizontalAdvance(parts[i]);
        }
    }
    return fm.height();
}

}  // namespace trv
