#include "ChartParts.h"

#include "ChartModel.h"
#include "Format.h"

#include <cmath>

using namespace trv;

QColor ChartColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QColor LegendTextColor(const ChartSeries& s) {
    QColor c = ChartColor(s.color);
    if (c.lightness() > 200) return QColor(0x70, 0x70, 0x70);
    return c;
}

QCPScatterStyle MarkerStyle(const ChartSeries& s, uint32_t fillColor, double size) {
    QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssNone;
    bool hollow = false;
    switch (s.marker) {
        case MarkerShape::Circle:
            shape = QCPScatterStyle::ssCircle;
            break;
        case MarkerShape::Triangle:
            shape = QCPScatterStyle::ssTriangle;
            break;
        case MarkerShape::HollowCircle:
            shape = QCPScatterStyle::ssCircle;
            hollow = true;
            break;
        case MarkerShape::HollowTriangle:
            shape = QCPScatterStyle::ssTriangle;
            hollow = true;
            break;
        case MarkerShape::None:
            return QCPScatterStyle();
    }
    if (hollow) return QCPScatterStyle(shape, QPen(ChartColor(s.color), 1.3), Qt::NoBrush, size);
    return QCPScatterStyle(shape, QPen(ChartColor(s.markerOutline), 1.0), QBrush(ChartColor(fillColor)), size);
}

// ---- legend entry -------------------------------------------------------------------------------

namespace {
constexpr int kBox = 11;   // check box
constexpr int kIcon = 20;  // line and marker picture
constexpr int kGap = 4;
}  // namespace

CCheckLegendItem::CCheckLegendItem(QCPLegend* parent, int series, const ChartSeries& s)
    : QCPAbstractLegendItem(parent),
      m_nSeries(series),
      m_bChecked(s.active),
      m_strName(QString::fromStdString(s.title)),
      m_TextColor(LegendTextColor(s)),
      m_LinePen(ChartColor(s.lineColor ? s.lineColor : s.color), s.lineWidth),
      m_bLine(s.lineVisible && s.kind != SeriesKind::Points),
      m_Marker(MarkerStyle(s, s.color, 7)) {
    QFont f(QStringLiteral("Verdana"));
    f.setBold(true);
    f.setPointSize(8);
    setFont(f);
    setSelectable(false);
}

QSize CCheckLegendItem::minimumOuterSizeHint() const {
    QFontMetrics fm(mFont);
    int w = kBox + kGap + kIcon + kGap + fm.horizontalAdvance(m_strName);
    int h = std::max(kBox, fm.height());
    return QSize(w + mMargins.left() + mMargins.right(), h + mMargins.top() + mMargins.bottom());
}

void CCheckLegendItem::draw(QCPPainter* painter) {
    const QRect r = mRect;
    const int cy = r.center().y();
    painter->setAntialiasing(false);
    QRect box(r.left(), cy - kBox / 2, kBox, kBox);
    painter->setPen(QPen(QColor(0x60, 0x60, 0x60)));
    painter->setBrush(Qt::white);
    painter->drawRect(box);
    if (m_bChecked) {
        painter->setAntialiasing(true);
        painter->setPen(QPen(Qt::black, 1.6));
        painter->drawLine(QPointF(box.left() + 2.5, cy), QPointF(box.left() + 4.5, box.bottom() - 2.5));
        painter->drawLine(QPointF(box.left() + 4.5, box.bottom() - 2.5), QPointF(box.right() - 2, box.top() + 2.5));
    }
    painter->setAntialiasing(true);
    const int ix = box.right() + kGap;
    if (m_bLine) {
        painter->setPen(m_LinePen);
        painter->drawLine(QLineF(ix, cy, ix + kIcon, cy));
    }
    if (m_Marker.shape() != QCPScatterStyle::ssNone) {
        m_Marker.applyTo(painter, QPen());
        m_Marker.drawShape(painter, ix + kIcon / 2.0, cy);
    }
    painter->setFont(mFont);
    painter->setPen(m_bChecked ? m_TextColor : QColor(0xA8, 0xA8, 0xA8));
    painter->drawText(QRect(ix + kIcon + kGap, r.top(), r.width(), r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      m_strName);
}

// ---- tickers ------------------------------------------------------------------------------------

double CMinSecTicker::getTickStep(const QCPRange& range) {
    static const double kSteps[] = {15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    const int ticks = std::max(tickCount(), 2);
    for (double s : kSteps)
        if (range.size() / s <= ticks) return s;
    return 3600.0 * std::ceil(range.size() / 3600.0 / ticks);
}

QString CMinSecTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    long s = std::lround(tick);
    const char* sign = s < 0 ? "-" : "";
    s = std::labs(s);
    return QString::fromStdString(Fmt("%s%02ld:%02ld", sign, s / 60, s % 60));
}

double CIncrementTicker::getTickStep(const QCPRange& range) {
    if (m_dIncrement > 0 && range.size() / m_dIncrement <= m_nMaxTicks) return m_dIncrement;
    return cleanMantissa(range.size() / std::max(tickCount(), 2));
}

QSizeF ItemTextSize(const QCPItemText* t) {
    QFontMetricsF fm(t->font());
    QRectF r = fm.boundingRect(QRectF(0, 0, 10000, 10000), Qt::TextDontClip | t->textAlignment(), t->text());
    const QMargins p = t->padding();
    return QSizeF(r.width() + p.left() + p.right(), r.height() + p.top() + p.bottom());
}
