#pragma once
// In-place editing of the measurement list: a click on a cell other than the one clicked last
// opens an editor over that cell when the list model lets the cell be edited; clicking the same
// cell again only selects. The editor starts with the cell's text; Enter or leaving the cell
// stores it (the model applies the edit rules), Escape cancels.
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

    // Forgets the cell clicked last (after the list was filled again).
    void ResetClick() { m_LastClicked = QPersistentModelIndex(); }

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QAbstractItemView* m_pView;
    QPersistentModelIndex m_LastClicked;
};
