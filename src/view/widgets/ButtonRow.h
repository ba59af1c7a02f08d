#pragma once
// The buttons below a document window: one row while they fit (labels on one line where there is room,
// on two where there is less), two rows in a narrow window (beside the Verlauf dock, tiled), so the
// window's least width is that of the longer half, never that of all the buttons side by side.
#include <QWidget>

#include <vector>

class QHBoxLayout;

class CButtonRow : public QWidget {
public:
    // `trailing` (may be null) stands at the right end, after a stretch.
    CButtonRow(std::vector<QWidget*> buttons, QWidget* trailing, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    bool TwoRows() const { return m_bTwoRows; }
    // The least widths of the buttons in one row, and of the longer of two rows (spacing included).
    int OneRowWidth() const;
    int TwoRowWidth() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Arrange(bool twoRows);
    int RowWidth(size_t from, size_t to, bool withTrailing) const;

    std::vector<QWidget*> m_Buttons;
    QWidget* m_pTrailing;
    QHBoxLayout* m_pFirst;
    QHBoxLayout* m_pSecond;
    bool m_bTwoRows = false;
};
