#pragma once
// "Geräteeinstellungen": switches the analyser's step-test mode on or off.
#include <QDialog>

class QRadioButton;

class CTRVConfigDialog : public QDialog {
    Q_OBJECT
public:
    CTRVConfigDialog(bool stepTestMode, QWidget* parent = nullptr);

    bool StepTestMode() const { return m_bMode; }

    QRadioButton* m_pOn;
    QRadioButton* m_pOff;

private:
    bool m_bMode;
};
