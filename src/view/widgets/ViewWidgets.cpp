#include "view/widgets/ViewWidgets.h"

#include <QFont>
#include <QHeaderView>
#include <QPainter>
#include <QTreeView>

QTreeView* MakeList(QWidget* parent) {
    auto* v = new QTreeView(parent);
    v->setRootIsDecorated(false);
    v->setItemsExpandable(false);
    v->setUniformRowHeights(true);
    v->setAllColumnsShowFocus(true);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->setAlternatingRowColors(false);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setContextMenuPolicy(Qt::DefaultContextMenu);
    v->header()->setStretchLastSection(false);
    v->header()->setSectionsMovable(false);
    // Grid lines; a style sheet on the items must also say how a selected row looks.
    v->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #e4e4e4; }"
        "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
    return v;
}

// The decoration beside the buttons: the analyser's name on a small plate.
QPixmap Plate() {
    QPixmap pm(84, 40);
    pm.fill(QColor(0, 0, 128));
    QPainter p(&pm);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(15);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Arvento"));
    return pm;
}
