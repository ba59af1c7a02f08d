#include "view/window/WorkspaceSplitter.h"

#include <algorithm>

CWorkspaceSplitter::CWorkspaceSplitter(QWidget* chartPane, QWidget* listPane, QWidget* parent)
    : QSplitter(Qt::Vertical, parent) {
    addWidget(chartPane);
    addWidget(listPane);
    setChildrenCollapsible(false);
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    m_nWanted = listPane->sizeHint().height();
    // What the user drags to is kept; only a later resize may have to take from it.
    connect(this, &QSplitter::splitterMoved, this, [this] { m_nWanted = sizes().value(1); });
}

void CWorkspaceSplitter::SetListComfort(int height) {
    m_nWanted = height;
    Apply();
}

int CWorkspaceSplitter::ListHeight() const { return sizes().value(1); }

int CWorkspaceSplitter::ListHeightFor(int total, int wanted, int listMin, int chartComfort) {
    const int chartFloor = std::min(chartComfort, total * 3 / 5);
    return std::max(listMin, std::min(wanted, total - chartFloor));
}

void CWorkspaceSplitter::resizeEvent(QResizeEvent* e) {
    QSplitter::resizeEvent(e);
    Apply();
}

void CWorkspaceSplitter::Apply() {
    if (count() < 2) return;
    const QList<int> now = sizes();
    const int total = now.value(0) + now.value(1);
    if (total <= 0) return;
    const int listMin = widget(1)->minimumSizeHint().height();
    const int lists = std::min(total, ListHeightFor(total, m_nWanted, listMin, kChartComfort));
    if (now.value(1) != lists) setSizes({total - lists, lists});
}
