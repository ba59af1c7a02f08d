#include "view/widgets/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

CUpDown::CUpDown(QWidget* parent) : QWidget(parent) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
        lay->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, arrow] { emit stepped(arrow == Qt::UpArrow ? 1 : -1); });
    }
    setFixedWidth(18);
}
