#pragma once
// A table for typing readings fast: Tab and Enter move to the next cell that can be typed into
// (cells that cannot are skipped; Enter also skips the columns seldom typed), and Ctrl+V hands a
// pasted block to its owner.
#include <QTableWidget>

#include <functional>
#include <string>
#include <vector>

namespace trv {

class CEntryTable : public QTableWidget {
    Q_OBJECT
public:
    explicit CEntryTable(QWidget* parent = nullptr);

    // Called with the rows and cells of pasted text and the cell it goes to.
    std::function<void(int row, int column, const std::vector<std::vector<std::string>>& block)> m_OnPaste;
    // Columns that Enter passes over (Tab visits them).
    std::vector<int> m_EnterSkips;
    // Moves on as Enter does; the delegate calls it while an edit ends.
    void SetEnterMove(bool on) { m_bEnterMove = on; }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QModelIndex Step(const QModelIndex& from, bool forward, bool enter) const;
    bool m_bEnterMove = false;
};

}  // namespace trv
