#include "view/dialogs/TRVConfigDialog.h"

#include "res/StringIds.h"
#include "view/QtText.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace trv;

CTRVConfigDialog::CTRVConfigDialog(bool stepTestMode, QWidget* parent) : QDialog(parent), m_bMode(stepTestMode) {
    setWindowTitle(QStr(IDS_CFG_TITLE));
    auto* group = new QGroupBox(QStr(IDS_CFG_GROUP), this);
    m_pOn = new QRadioButton(QStr(IDS_CFG_ON), group);
    m_pOff = new QRadioButton(QStr(IDS_CFG_OFF), group);
    (stepTestMode ? m_pOn : m_pOff)->setChecked(true);
    auto* g = new QVBoxLayout(group);
    g->addWidget(m_pOn);
    g->addWidget(m_pOff);
    connect(m_pOn, &QRadioButton::clicked, this, [this] { m_bMode = true; });
    connect(m_pOff, &QRadioButton::clicked, this, [this] { m_bMode = false; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(group);
    lay->addWidget(buttons);
}
