#include "view/dialogs/UncertaintySettingsDialog.h"

#include "res/Format.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/settings/UncertaintySettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace trv;

CUncertaintySettingsDialog::CUncertaintySettingsDialog(const ErrorModel& error, double dayToDay, QWidget* parent)
    : QDialog(parent),
      m_pA(new QLineEdit(this)),
      m_pC(new QLineEdit(this)),
      m_pD(new QLineEdit(this)),
      m_pMessage(new QLabel(this)),
      m_Error(error),
      m_dDayToDay(dayToDay) {
    setWindowTitle(QStr(IDS_CI_SETTINGS_TITLE));
    auto* intro = new QLabel(QStr(IDS_CI_SETTINGS_INTRO), this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStr(IDS_CI_SETTINGS_A), m_pA);
    form->addRow(QStr(IDS_CI_SETTINGS_C), m_pC);
    form->addRow(QStr(IDS_CI_SETTINGS_D), m_pD);
    m_pMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    m_pMessage->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* restore = buttons->addButton(QStr(IDS_ZONES_RESTORE), QDialogButtonBox::ResetRole);
    connect(restore, &QPushButton::clicked, this, [this] { Show(ErrorModel(), kDefaultDayToDay); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Take()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(intro);
    lay->addLayout(form);
    lay->addWidget(m_pMessage);
    lay->addWidget(buttons);
    Show(error, dayToDay);
}

void CUncertaintySettingsDialog::Show(const ErrorModel& error, double dayToDay) {
    m_pA->setText(QU8(Fmt("%.2f", error.a)));
    m_pC->setText(QU8(Fmt("%.1f", error.c * 100.0)));
    m_pD->setText(QU8(Fmt("%.1f", dayToDay * 100.0)));
    m_pMessage->clear();
}

bool CUncertaintySettingsDialog::Take() {
    double a = 0.0, c = 0.0, d = 0.0;
    const bool ok = ParseDecimal(m_pA->text().toStdString(), a) && ParseDecimal(m_pC->text().toStdString(), c) &&
                    ParseDecimal(m_pD->text().toStdString(), d) && a >= 0.0 && a <= kErrorAMax && c >= 0.0 &&
                    c <= 100.0 * kErrorCMax && d >= 0.0 && d <= 100.0 * kDayToDayMax;
    if (!ok) {
        m_pMessage->setText(QStr(IDS_CI_SETTINGS_BAD));
        return false;
    }
    m_Error.a = a;
    m_Error.c = c / 100.0;
    m_dDayToDay = d / 100.0;
    return true;
}

bool EditUncertaintySettings(QWidget* parent) {
    CUncertaintySettingsDialog dlg(LoadErrorModel(), LoadDayToDay(), parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    SaveUncertaintySettings(dlg.Error(), dlg.DayToDay());
    return true;
}
