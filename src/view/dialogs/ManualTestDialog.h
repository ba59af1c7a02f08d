#pragma once
// "Test manuell erfassen": a step test typed in, mirrored from the rules of CManualEntry.
#include "workspace/ManualEntry.h"

#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace trv {

class CEntryTable;

class CManualTestDialog : public QDialog {
    Q_OBJECT
public:
    explicit CManualTestDialog(QWidget* parent = nullptr);

    // The test built on OK (valid after exec() returned Accepted).
    const TestDataType& Test() const { return m_test; }
    CManualEntry& Entry() { return m_entry; }
    CEntryTable* Table() const { return m_pTable; }
    // Shows what the entry holds (after it was changed from outside, e.g. by a test).
    void Refresh();

    void accept() override;

private:
    void ReadSettings();
    void OnCellChanged(int row, int column);
    // The first setting that cannot be read, as a message; "" when all can.
    QString SettingsError() const;

    CManualEntry m_entry;
    TestDataType m_test;
    bool m_bRefreshing = false;
    QComboBox* m_pTestType;
    QComboBox* m_pUnit;
    QDateTimeEdit* m_pFirstStep;
    QLineEdit* m_pStepDuration;
    QLabel* m_pTrackLabel;
    QLineEdit* m_pTrack;
    QRadioButton* m_pComputed;
    QRadioButton* m_pIndividual;
    QLineEdit* m_pStart;
    QLineEdit* m_pIncrement;
    QLabel* m_pStartUnit;
    QLabel* m_pIncrementUnit;
    CEntryTable* m_pTable;
    QLabel* m_pMessage;
};

}  // namespace trv
