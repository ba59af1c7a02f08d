#pragma once
// The settings both entry dialogs start with: test type, load unit, and the date and time of the
// first step, in the first two rows of a grid.
#include <QGridLayout>

class QComboBox;
class QDateTimeEdit;

namespace trv {

struct EntryChoices {
    QComboBox* testType;
    QComboBox* unit;
    QDateTimeEdit* firstStep;
    QGridLayout* grid;  // row 0: type and unit; row 1: the date in columns 0 and 1, the rest free
};

EntryChoices MakeEntryChoices(QWidget* owner);

}  // namespace trv
