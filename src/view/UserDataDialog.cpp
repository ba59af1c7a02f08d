#include "UserDataDialog.h"

#include "QtText.h"
#include "StringIds.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace trv;

namespace {

// The fixed text fields hold at most 254 characters; the remarks up to 4095 (counted in characters,
// and never cut inside a character).
std::string Cut(const QString& text, size_t max) {
    QString t = text.left(static_cast<int>(max));
    return t.toStdString();
}

QDate ToQDate(const COleDateTime& t) {
    DateParts p;
    if (!t.GetParts(p)) return QDate(1899, 12, 30);
    return QDate(p.year, p.month, p.day);
}

QWidget* WithRequired(QLineEdit* edit) {
    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(edit, 1);
    auto* l = new QLabel(QStr(IDS_UD_REQUIRED));
    l->setStyleSheet(QStringLiteral("color: #a00000"));
    h->addWidget(l);
    return w;
}

QWidget* WithUnit(QLineEdit* edit, const char* unit) {
    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    edit->setMaximumWidth(80);
    h->addWidget(edit);
    h->addWidget(new QLabel(QString::fromUtf8(unit)));
    h->addStretch(1);
    return w;
}

}  // namespace

CTRVUserDataEditDialog::CTRVUserDataEditDialog(const UserDataType& data, QWidget* parent)
    : QDialog(parent), m_data(data) {
    setWindowTitle(QStr(IDS_UD_TITLE));
    auto make = [this](const std::string& s) {
        auto* e = new QLineEdit(QU8(s), this);
        e->setMaxLength(static_cast<int>(kUserTextMax));
        return e;
    };
    m_pFirstName = make(data.m_strFirstName);
    m_pLastName = make(data.m_strLastName);
    m_pStreet = make(data.m_strStreet);
    m_pPostCode = make(data.m_strPostCode);
    m_pTown = make(data.m_strTown);
    m_pPhone = make(data.m_strPhone);
    m_pEmail = make(data.m_strEmail);
    m_pHeight = new QLineEdit(QU8(Fmt("%3.0f", data.m_dHeight)).trimmed(), this);
    m_pWeight = new QLineEdit(QU8(Fmt("%3.0f", data.m_dWeight)).trimmed(), this);
    m_pBirthDate = new QDateEdit(this);
    m_pBirthDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_pBirthDate->setMinimumDate(QDate(1800, 1, 1));
    m_pBirthDate->setCalendarPopup(true);
    m_pBirthDate->setDate(ToQDate(data.m_BirthDate));
    m_pRemarks = new QPlainTextEdit(QU8(data.m_strRemarks), this);
    m_pRemarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pRemarks->setMinimumHeight(70);
    m_pMale = new QRadioButton(QStr(IDS_SEX_MALE), this);
    m_pFemale = new QRadioButton(QStr(IDS_SEX_FEMALE), this);
    (data.m_nSex != 0 ? m_pFemale : m_pMale)->setChecked(true);
    // Exclusive by their group: a click on one unchecks the other.
    auto* sexGroup = new QButtonGroup(this);
    sexGroup->addButton(m_pMale, 0);
    sexGroup->addButton(m_pFemale, 1);

    auto* form = new QFormLayout;
    form->addRow(QStr(IDS_UD_FIRST), WithRequired(m_pFirstName));
    form->addRow(QStr(IDS_UD_LAST), WithRequired(m_pLastName));
    form->addRow(QStr(IDS_UD_STREET), m_pStreet);
    auto* town = new QWidget;
    auto* th = new QHBoxLayout(town);
    th->setContentsMargins(0, 0, 0, 0);
    m_pPostCode->setMaximumWidth(70);
    th->addWidget(m_pPostCode);
    th->addWidget(m_pTown, 1);
    form->addRow(QStr(IDS_UD_TOWN), town);
    form->addRow(QStr(IDS_UD_PHONE), m_pPhone);
    form->addRow(QStr(IDS_UD_EMAIL), m_pEmail);
    form->addRow(QStr(IDS_UD_BIRTH), m_pBirthDate);
    form->addRow(QStr(IDS_UD_HEIGHT), WithUnit(m_pHeight, "cm"));
    form->addRow(QStr(IDS_UD_WEIGHT), WithUnit(m_pWeight, "kg"));
    auto* sex = new QGroupBox(QStr(IDS_UD_SEX), this);
    auto* sh = new QHBoxLayout(sex);
    sh->addWidget(m_pMale);
    sh->addWidget(m_pFemale);
    sh->addStretch(1);
    form->addRow(QString(), sex);
    form->addRow(QStr(IDS_UD_REMARKS), m_pRemarks);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTRVUserDataEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTRVUserDataEditDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(buttons);
    setMinimumWidth(420);
}

void CTRVUserDataEditDialog::accept() {
    m_data.m_strFirstName = Cut(m_pFirstName->text(), kUserTextMax);
    m_data.m_strLastName = Cut(m_pLastName->text(), kUserTextMax);
    m_data.m_strStreet = Cut(m_pStreet->text(), kUserTextMax);
    m_data.m_strPostCode = Cut(m_pPostCode->text(), kUserTextMax);
    m_data.m_strTown = Cut(m_pTown->text(), kUserTextMax);
    m_data.m_strPhone = Cut(m_pPhone->text(), kUserTextMax);
    m_data.m_strEmail = Cut(m_pEmail->text(), kUserTextMax);
    m_data.m_dWeight = ParseLeadingDecimal(m_pWeight->text().toStdString());
    m_data.m_dHeight = ParseLeadingDecimal(m_pHeight->text().toStdString());
    QDate d = m_pBirthDate->date();
    m_data.m_BirthDate = COleDateTime::FromParts(d.year(), d.month(), d.day(), 0, 0, 0);
    m_data.m_strRemarks = Cut(m_pRemarks->toPlainText(), kUserRemarksMax);
    m_data.m_nSex = m_pFemale->isChecked() ? 1 : 0;
    QDialog::accept();
}
