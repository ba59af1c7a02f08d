#include "view/widgets/ButtonRow.h"

#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

CButtonRow::CButtonRow(std::vector<QWidget*> buttons, QWidget* trailing, QWidget* parent)
    : QWidget(parent), m_Buttons(std::move(buttons)), m_pTrailing(trailing) {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    m_pFirst = new QHBoxLayout;
    m_pSecond = new QHBoxLayout;
    rows->addLayout(m_pFirst);
    rows->addLayout(m_pSecond);
    for (QWidget* b : m_Buttons) b->setParent(this);
    if (m_pTrailing) m_pTrailing->setParent(this);
    Arrange(false);
}

int CButtonRow::RowWidth(size_t from, size_t to, bool withTrailing) const {
    const int spacing = std::max(0, m_pFirst->spacing());
    int width = 0, count = 0;
    for (size_t i = from; i < to && i < m_Buttons.size(); ++i, ++count)
        width += m_Buttons[i]->minimumSizeHint().width();
    if (withTrailing && m_pTrailing) {
        width += m_pTrailing->minimumSizeHint().width();
        ++count;
    }
    return width + spacing * std::max(0, count - 1);
}

int CButtonRow::OneRowWidth() const { return RowWidth(0, m_Buttons.size(), true); }

int CButtonRow::TwoRowWidth() const {
    const size_t half = (m_Buttons.size() + 1) / 2;
    return std::max(RowWidth(0, half, false), RowWidth(half, m_Buttons.size(), true));
}

QSize CButtonRow::minimumSizeHint() const { return {TwoRowWidth(), QWidget::minimumSizeHint().height()}; }

void CButtonRow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const bool two = e->size().width() < OneRowWidth();
    if (two != m_bTwoRows) Arrange(two);
}

void CButtonRow::Arrange(bool twoRows) {
    m_bTwoRows = twoRows;
    for (QHBoxLayout* row : {m_pFirst, m_pSecond})
        while (QLayoutItem* item = row->takeAt(0)) delete item;  // the widgets stay
    const size_t half = twoRows ? (m_Buttons.size() + 1) / 2 : m_Buttons.size();
    for (size_t i = 0; i < m_Buttons.size(); ++i) (i < half ? m_pFirst : m_pSecond)->addWidget(m_Buttons[i]);
    QHBoxLayout* last = twoRows ? m_pSecond : m_pFirst;
    if (twoRows) m_pFirst->addStretch(1);
    last->addStretch(1);
    if (m_pTrailing) last->addWidget(m_pTrailing);
    updateGeometry();
}
