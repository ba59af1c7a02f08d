#pragma once
// A command button whose label goes onto two lines when the row has no room for it on one: the
// buttons of a small window keep their whole label instead of losing its ends.
#include <QPushButton>

class CWrapButton : public QPushButton {
    Q_OBJECT
public:
    explicit CWrapButton(QWidget* parent = nullptr);

    // One line where it fits (at least the usual button width), two lines at the least.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The label split at the space that keeps the longer line shortest ("Testparameter\neditieren").
    static QString TwoLines(const QString& text);
    // True while the button is too narrow for its label on one line.
    bool Wrapped() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QSize SizeFor(const QString& text) const;
};
