#include "view/widgets/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace trv {

namespace {

// A drop of blood (the reading) in the given colour, greyed when the reading is not usable.
void PaintDrop(QPainter& p, const QRectF& r, QColor c) {
    QPainterPath path;
    path.moveTo(r.center().x(), r.top());
    path.cubicTo(r.right(), r.top() + r.height() * 0.55, r.right(), r.bottom(), r.center().x(), r.bottom());
    path.cubicTo(r.left(), r.bottom(), r.left(), r.top() + r.height() * 0.55, r.center().x(), r.top());
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(c);
    p.drawPath(path);
}

QPixmap Canvas() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

QIcon MakeTestIcon(int index) {
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    bool ok = index == 0 || index == 2;
    QColor red = ok ? QColor(200, 20, 30) : QColor(150, 150, 150);
    if (index < 2) {
        PaintDrop(p, QRectF(3.5, 1.5, 9, 13), red);
    } else {
        // A staircase: the load steps of a step test.
        p.setPen(QPen(QColor(0, 0, 128), 1.5));
        QPolygonF stairs{{1, 14}, {5, 14}, {5, 10}, {9, 10}, {9, 6}, {13, 6}, {13, 2}, {15, 2}};
        p.drawPolyline(stairs);
        PaintDrop(p, QRectF(1.5, 1.5, 7, 9), red);
    }
    if (!ok) {
        p.setPen(QPen(QColor(220, 120, 0), 2));
        p.drawLine(QPointF(10, 10), QPointF(15, 15));
        p.drawLine(QPointF(15, 10), QPointF(10, 15));
    }
    return QIcon(pm);
}

QIcon MakeMeasIcon(int index) {
    static const std::array<QColor, 4> kColors{QColor(200, 20, 30), QColor(110, 110, 110), QColor(220, 40, 40),
                                               QColor(0, 99, 198)};
    static const std::array<const char*, 4> kLetters{"", "P", "L", "A"};
    int kind = index / 2;
    bool ok = index % 2 == 0;
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = ok ? kColors[static_cast<size_t>(kind)] : QColor(170, 170, 170);
    if (kind == 0) {
        PaintDrop(p, QRectF(3.5, 1.5, 9, 13), c);
    } else {
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(c);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QString::fromLatin1(kLetters[static_cast<size_t>(kind)]));
    }
    if (!ok) {
        p.setPen(QPen(QColor(220, 120, 0), 2));
        p.drawLine(QPointF(10, 10), QPointF(15, 15));
        p.drawLine(QPointF(15, 10), QPointF(10, 15));
    }
    return QIcon(pm);
}

}  // namespace

QIcon TestListIcon(int index) {
    static std::array<QIcon, 4> icons;
    if (index < 0 || index > 3) return {};
    QIcon& icon = icons[static_cast<size_t>(index)];
    if (icon.isNull()) icon = MakeTestIcon(index);
    return icon;
}

QIcon MeasurementListIcon(int index) {
    static std::array<QIcon, 8> icons;
    if (index < 0 || index > 7) return {};
    QIcon& icon = icons[static_cast<size_t>(index)];
    if (icon.isNull()) icon = MakeMeasIcon(index);
    return icon;
}

QIcon AppIcon() {
    QIcon icon(QStringLiteral(":/trv/trv.svg"));
    if (!icon.isNull() && !icon.availableSizes().isEmpty()) return icon;
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    PaintDrop(p, QRectF(14, 4, 36, 56), QColor(200, 20, 30));
    return QIcon(pm);
}

}  // namespace trv
