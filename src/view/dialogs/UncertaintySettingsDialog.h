#pragma once
// "Messunsicherheit": the analyser's error (a in mmol/l, c in %) and the day-to-day variation of a
// threshold (d in %), with "Standard wiederherstellen".
#include "analysis/Uncertainty.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class CUncertaintySettingsDialog : public QDialog {
    Q_OBJECT
public:
    CUncertaintySettingsDialog(const trv::ErrorModel& error, double dayToDay, QWidget* parent = nullptr);
    trv::ErrorModel Error() const { return m_Error; }
    double DayToDay() const { return m_dDayToDay; }
    // Reads the fields; false with the German message shown when a value is no number or out of range.
    bool Take();

private:
    void Show(const trv::ErrorModel& error, double dayToDay);
    QLineEdit *m_pA, *m_pC, *m_pD;
    QLabel* m_pMessage;
    trv::ErrorModel m_Error;
    double m_dDayToDay;
};

// Opens the dialog with the stored settings and stores what the user accepts; true when accepted.
bool EditUncertaintySettings(QWidget* parent);
