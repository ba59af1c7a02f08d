#pragma once
// In-place editing of the measurement list: a click on a cell other than the one clicked last
// opens an editor over that cell when the list model lets the cell be edited; clicking the same
// cell again only selects. The editor starts with the cell's text; Enter or leaving the cell
// stores it (the model applies the edit rules), Escape cancels. From the keyboard: typing on the
// current cell (or F2) opens its editor, and Enter stores the value and makes the same cell of the
// next row current, so that a column is typed row after row (a refused value keeps its cell).
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QAbstractItemView;

class CMeasurementDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CMeasurementDelegate(QAbstractItemView* view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // The row's background colour from the model under the cell (the list's style sheet, which draws
    // the grid lines, would otherwise leave it out), then the cell as usual.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Forgets the cell clicked last (after the list was filled again).
    void ResetClick() { m_LastClicked = QPersistentModelIndex(); }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QAbstractItemView* m_pView;
    QPersistentModelIndex m_LastClicked;
    mutable QPersistentModelIndex m_Editing;  // the cell of the open editor
    mutable bool m_bStored = false;           // whether the last value given to the model was taken
};
