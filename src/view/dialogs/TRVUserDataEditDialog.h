#pragma once
// "Benutzerdaten": the athlete's personal data. Works on its own copy; the caller takes it on OK,
// which checks the fields first and, on a refusal, says why below the form and stays open.
#include "data/Records.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;

class CTRVUserDataEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit CTRVUserDataEditDialog(const trv::UserDataType& data, QWidget* parent = nullptr);

    // The values as read back when the dialog ended with OK.
    const trv::UserDataType& Data() const { return m_data; }

    QLineEdit* m_pFirstName;
    QLineEdit* m_pLastName;
    QLineEdit* m_pStreet;
    QLineEdit* m_pPostCode;
    QLineEdit* m_pTown;
    QLineEdit* m_pPhone;
    QLineEdit* m_pEmail;
    QLineEdit* m_pBirthDate;  // typed ("14.07.1994", "14071994") or picked from the calendar
    QToolButton* m_pCalendar;
    QLineEdit* m_pHeight;
    QLineEdit* m_pWeight;
    QPlainTextEdit* m_pRemarks;
    QRadioButton* m_pMale;
    QRadioButton* m_pFemale;
    QLabel* m_pError;  // why OK was refused; hidden while there is nothing to say

public slots:
    void accept() override;

private:
    // Shows the reason (string-table id) and puts the focus on the field; false when refused.
    bool Check(int reason, QWidget* field);

    trv::UserDataType m_data;
};
