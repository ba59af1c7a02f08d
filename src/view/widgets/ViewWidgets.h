#pragma once
// The plain widgets of a document window: its two lists and the analyser's plate beside the buttons.
#include <QPixmap>

class QTreeView;
class QWidget;

// A report-style list: whole rows selected, several at a time, grid lines, no tree decoration.
QTreeView* MakeList(QWidget* parent);
// The decoration beside the buttons: the analyser's name on a small plate.
QPixmap Plate();
