#include "view/dialogs/EntryTable.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <algorithm>

using namespace trv;

namespace {

// Enter in a cell ends the edit and goes on like Tab, so that a column of values is typed without
// reaching for the mouse.
class CEnterMovesOn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                auto* editor = qobject_cast<QWidget*>(object);
                auto* table = qobject_cast<CEntryTable*>(parent());
                emit commitData(editor);
                if (table) table->SetEnterMove(true);
                emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
                if (table) table->SetEnterMove(false);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

}  // namespace

CEntryTable::CEntryTable(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CEnterMovesOn(this));
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
}

QModelIndex CEntryTable::Step(const QModelIndex& from, bool forward, bool enter) const {
    const int columns = columnCount(), cells = rowCount() * columns;
    const int at = from.isValid() ? from.row() * columns + from.column() : -1;
    for (int p = at + (forward ? 1 : -1); p >= 0 && p < cells; p += forward ? 1 : -1) {
        const QModelIndex i = model()->index(p / columns, p % columns);
        const bool skipped =
            enter && std::find(m_EnterSkips.begin(), m_EnterSkips.end(), i.column()) != m_EnterSkips.end();
        if (!isColumnHidden(i.column()) && (i.flags() & Qt::ItemIsEditable) && !skipped) return i;
    }
    return from;
}

QModelIndex CEntryTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveNext) return Step(currentIndex(), true, m_bEnterMove);
    if (action == MovePrevious) return Step(currentIndex(), false, false);
    return QTableWidget::moveCursor(action, modifiers);
}

void CEntryTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && m_OnPaste) {
        const QString text = QApplication::clipboard()->text();
        std::vector<std::vector<std::string>> block;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            QString l = line;
            if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
            if (l.trimmed().isEmpty()) continue;
            std::vector<std::string> cells;
            for (const QString& c : l.split(QLatin1Char('\t'))) cells.push_back(c.trimmed().toStdString());
            block.push_back(std::move(cells));
        }
        const QModelIndex at = currentIndex();
        if (!block.empty()) m_OnPaste(at.isValid() ? at.row() : 0, at.isValid() ? at.column() : 0, block);
        return;
    }
    // Enter on a cell that is not being edited opens it, as typing would.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        const QModelIndex next = Step(currentIndex(), true, true);
        if (next.isValid()) {
            setCurrentIndex(next);
            edit(next);
        }
        return;
    }
    QTableWidget::keyPressEvent(event);
}
