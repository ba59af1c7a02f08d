#pragma once
// "Testparameter": the parameters of one test, a thin window over the parameter rules.
#include "Records.h"

#include <QDialog>

class CTRVTestParamDialog : public QDialog {
    Q_OBJECT
public:
    CTRVTestParamDialog(const trv::TestDataType& test, QWidget* parent = nullptr);
    ~CTRVTestParamDialog() override;

    // Writes the chosen parameters into `test` (the caller does this on OK).
    void ApplyTo(trv::TestDataType& test) const;

private:
    trv::TestDataType m_work;
};
