#include "chart/CheckLegendItem.h"

#include "analysis/ChartModel.h"
#include "chart/ChartStyle.h"

namespace trv {

namespace {
constexpr int kBox = 11;   // check box
constexpr int kIcon = 20;  // line and marker picture
constexpr int kGap = 4;
}  // namespace

CCheckLegendItem::CCheckLegendItem(QCPLegend* parent, int series, const ChartSeries& s, bool checkBox)
    : QCPAbstractLegendItem(parent),
      m_nSeries(series),
      m_bChecked(s.active),
      m_bCheckBox(checkBox),
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
    const int box = m_bCheckBox ? kBox + kGap : 0;
    int w = box + kIcon + kGap + fm.horizontalAdvance(m_strName);
    int h = std::max(m_bCheckBox ? kBox : 0, fm.height());
    return QSize(w + mMargins.left() + mMargins.right(), h + mMargins.top() + mMargins.bottom());
}

void CCheckLegendItem::draw(QCPPainter* painter) {
    const QRect r = mRect;
    const int cy = r.center().y();
    painter->setAntialiasing(false);
    QRect box(r.left(), cy - kBox / 2, kBox, kBox);
    painter->setPen(QPen(QColor(0x60, 0x60, 0x60)));
    painter->setBrush(Qt::white);
    if (m_bCheckBox) painter->drawRect(box);
    if (m_bCheckBox && m_bChecked) {
        painter->setAntialiasing(true);
        painter->setPen(QPen(Qt::black, 1.6));
        painter->drawLine(QPointF(box.left() + 2.5, cy), QPointF(box.left() + 4.5, box.bottom() - 2.5));
        painter->drawLine(QPointF(box.left() + 4.5, box.bottom() - 2.5), QPointF(box.right() - 2, box.top() + 2.5));
    }
    painter->setAntialiasing(true);
    const int ix = m_bCheckBox ? box.right() + kGap : r.left();
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

}  // namespace trv
