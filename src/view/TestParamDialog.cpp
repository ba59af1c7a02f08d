#include "TestParamDialog.h"

#include "QtText.h"
#include "UiIds.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

CTRVTestParamDialog::CTRVTestParamDialog(const trv::TestDataType& test, QWidget* parent)
    : QDialog(parent), m_work(test) {
    setWindowTitle(trv::QStr(trv::ui::IDS_TP_TITLE));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(buttons);
}

CTRVTestParamDialog::~CTRVTestParamDialog() = default;

void CTRVTestParamDialog::ApplyTo(trv::TestDataType& test) const {
    test.m_nTestType = m_work.m_nTestType;
    test.m_nLoadUnit = m_work.m_nLoadUnit;
}
