#pragma once
// An up-down control: two small arrow buttons beside an edit; each click is one step up or down.
#include <QWidget>

class QToolButton;

class CUpDown : public QWidget {
    Q_OBJECT
public:
    explicit CUpDown(QWidget* parent = nullptr);
    void stepUp() { emit stepped(1); }
    void stepDown() { emit stepped(-1); }

signals:
    void stepped(int delta);
};
