#include "view/lists/MeasurementDelegate.h"

#include "data/InputRules.h"
#include "view/widgets/InputValidator.h"
#include "workspace/MeasurementEdit.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMouseEvent>

CMeasurementDelegate::CMeasurementDelegate(QAbstractItemView* view) : QStyledItemDelegate(view), m_pView(view) {}

QWidget* CMeasurementDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setMaxLength(32);
    // Keys that cannot lead to a value of the column are refused while typing.
    CInputValidator::Rule rule = nullptr;
    switch (index.column()) {
        case trv::MeasColDuration:
            rule = trv::IsPartialDuration;
            break;
        case trv::MeasColLoad:
        case trv::MeasColLactate:
            rule = trv::IsPartialDecimal;
            break;
        case trv::MeasColHeartRate:
            rule = trv::IsPartialWholeNumber;
            break;
        default:
            break;
    }
    if (rule) edit->setValidator(new CInputValidator(rule, edit));
    return edit;
}

void CMeasurementDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(index.data(Qt::DisplayRole).toString());
        edit->selectAll();
    }
}

void CMeasurementDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) model->setData(index, edit->text(), Qt::EditRole);
}

bool CMeasurementDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        index.isValid()) {
        const bool again = m_LastClicked.isValid() && QModelIndex(m_LastClicked) == index;
        m_LastClicked = index;
        if (!again && (index.flags() & Qt::ItemIsEditable)) {
            // After the press has selected the row.
            QPersistentModelIndex cell(index);
            QAbstractItemView* view = m_pView;
            QMetaObject::invokeMethod(
                view,
                [view, cell] {
                    if (cell.isValid()) view->edit(cell);
                },
                Qt::QueuedConnection);
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
