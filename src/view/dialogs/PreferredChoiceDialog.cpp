#include "view/dialogs/PreferredChoiceDialog.h"

#include "res/StringIds.h"
#include "view/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace trv;

CPreferredChoiceDialog::CPreferredChoiceDialog(const AnalysisChoice& choice, QWidget* parent)
    : QDialog(parent),
      m_pModel(new QComboBox(this)),
      m_pFit(new QComboBox(this)),
      m_Choice(ValidChoice(choice.fit, choice.model)) {
    setWindowTitle(QStr(IDS_PREF_TITLE));
    m_pModel->addItems({QStr(IDS_MODEL_MADER), QStr(IDS_MODEL_KEUL), QStr(IDS_MODEL_SIMON)});
    m_pFit->addItems({QStr(IDS_FIT_POLYNOMIAL), QStr(IDS_FIT_SPLINES)});
    auto* form = new QFormLayout;
    form->addRow(QStr(IDS_PREF_MODEL), m_pModel);
    form->addRow(QStr(IDS_PREF_FIT), m_pFit);
    auto* note = new QLabel(QStr(IDS_PREF_NOTE), this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(note);
    lay->addWidget(buttons);
    Show();
    connect(m_pModel, &QComboBox::activated, this, [this](int index) {
        m_Choice = WithModel(m_Choice, index);
        Show();
    });
    connect(m_pFit, &QComboBox::activated, this, [this](int index) {
        m_Choice = WithFit(m_Choice, index);
        Show();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(fontMetrics().averageCharWidth() * 52);
}

void CPreferredChoiceDialog::Show() {
    const QSignalBlocker a(m_pModel), b(m_pFit);
    m_pModel->setCurrentIndex(m_Choice.model);
    m_pFit->setCurrentIndex(m_Choice.fit);
}
