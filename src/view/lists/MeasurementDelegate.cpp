#include "view/lists/MeasurementDelegate.h"

#include "data/InputRules.h"
#include "view/widgets/InputValidator.h"
#include "workspace/MeasurementEdit.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

CMeasurementDelegate::CMeasurementDelegate(QAbstractItemView* view) : QStyledItemDelegate(view), m_pView(view) {
    // Typing on the current cell edits it, as F2 does.
    view->setEditTriggers(view->editTriggers() | QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
}

void CMeasurementDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const QVariant background = index.data(Qt::BackgroundRole);
    if (!(option.state & QStyle::State_Selected) && background.canConvert<QBrush>())
        painter->fillRect(option.rect, background.value<QBrush>());
    QStyledItemDelegate::paint(painter, option, index);
}

QWidget* CMeasurementDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const {
    m_Editing = index;
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
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) m_bStored = model->setData(index, edit->text(), Qt::EditRole);
}

bool CMeasurementDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_Editing.isValid()) {
            const int row = m_Editing.row();
            const int column = m_Editing.column();
            m_bStored = false;
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            // After the list has taken the value (it may fill itself again): the next row's cell.
            const bool stored = m_bStored;
            QPointer<QAbstractItemView> view = m_pView;
            QMetaObject::invokeMethod(
                m_pView,
                [view, row, column, stored] {
                    if (!view || !view->model()) return;
                    const int next = stored ? row + 1 : row;
                    const QModelIndex cell =
                        view->model()->index(std::min(next, view->model()->rowCount() - 1), column);
                    if (!cell.isValid()) return;
                    view->selectionModel()->setCurrentIndex(
                        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                    view->setFocus();
                },
                Qt::QueuedConnection);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
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
