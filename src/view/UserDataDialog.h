#pragma once
// "Benutzerdaten": the athlete's personal data. Works on its own copy; the caller takes it on OK.
#include "Records.h"

#include <QDialog>

class QLineEdit;
class QDateEdit;
class QPlainTextEdit;
class QRadioButton;

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
    QDateEdit* m_pBirthDate;
    QLineEdit* m_pHeight;
    QLineEdit* m_pWeight;
    QPlainTextEdit* m_pRemarks;
    QRadioButton* m_pMale;
    QRadioButton* m_pFemale;

public slots:
    void accept() override;

private:
    trv::UserDataType m_data;
};
