#include "view/dialogs/TRVUserDataEditDialog.h"

#include "data/InputRules.h"
#include "res/StringIds.h"
#include "view/QtDate.h"
#include "view/QtText.h"
#include "view/widgets/InputValidator.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QWidgetAction>

using namespace trv;

namespace {

// The fixed text fields hold at most 254 characters; the remarks up to 4095 (counted in characters,
// and never cut inside a character).
std::string Cut(const QString& text, size_t max) {
    QString t = text.left(static_cast<int>(max));
    return t.toStdString();
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
    m_pPostCode->setValidator(new CInputValidator(IsPartialWholeNumber, m_pPostCode));
    m_pHeight = new QLineEdit(QU8(Fmt("%3.0f", data.m_dHeight)).trimmed(), this);
    m_pWeight = new QLineEdit(QU8(Fmt("%3.0f", data.m_dWeight)).trimmed(), this);
    for (QLineEdit* e : {m_pHeight, m_pWeight}) e->setValidator(new CInputValidator(IsPartialDecimal, e));
    // A plain text field: typed dates are read whole, not section by section; day 0 shows empty.
    m_pBirthDate = new QLineEdit(QU8(BirthDateText(data.m_BirthDate)), this);
    m_pBirthDate->setValidator(new CInputValidator(IsPartialDate, m_pBirthDate));
    m_pBirthDate->setPlaceholderText(QStr(IDS_UD_DATE_PLACEHOLDER));
    m_pBirthDate->setMaximumWidth(110);
    m_pCalendar = new QToolButton(this);
    m_pCalendar->setText(QStringLiteral("..."));
    m_pCalendar->setPopupMode(QToolButton::InstantPopup);
    auto* calendarMenu = new QMenu(m_pCalendar);
    auto* calendar = new QCalendarWidget(calendarMenu);
    calendar->setMaximumDate(QDate::currentDate());
    calendar->setFirstDayOfWeek(Qt::Monday);
    auto* calendarAction = new QWidgetAction(calendarMenu);
    calendarAction->setDefaultWidget(calendar);
    calendarMenu->addAction(calendarAction);
    m_pCalendar->setMenu(calendarMenu);
    connect(calendarMenu, &QMenu::aboutToShow, this, [this, calendar] {
        COleDateTime d;
        DateParts p;
        const COleDateTime today = COleDateTime::Now();
        if (ReadBirthDate(m_pBirthDate->text().toStdString(), today, d) == InputOk && d.m_dt != 0.0 && d.GetParts(p))
            calendar->setSelectedDate(QDate(p.year, p.month, p.day));
        else
            calendar->setSelectedDate(QDate::currentDate().addYears(-30));
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendarMenu](QDate d) {
        m_pBirthDate->setText(d.toString(QtDateFormat()));
        calendarMenu->close();
    });
    m_pRemarks = new QPlainTextEdit(QU8(data.m_strRemarks), this);
    m_pRemarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pRemarks->setMinimumHeight(70);
    m_pRemarks->setTabChangesFocus(true);
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
    auto* birth = new QWidget;
    auto* bh = new QHBoxLayout(birth);
    bh->setContentsMargins(0, 0, 0, 0);
    bh->addWidget(m_pBirthDate);
    bh->addWidget(m_pCalendar);
    bh->addStretch(1);
    form->addRow(QStr(IDS_UD_BIRTH), birth);
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
    m_pError = new QLabel(this);
    m_pError->setObjectName(QStringLiteral("error"));
    m_pError->setStyleSheet(QStringLiteral("color: #a00000"));
    m_pError->setWordWrap(true);
    m_pError->hide();
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(m_pError);
    lay->addWidget(buttons);
    setMinimumWidth(420);

    // Down the form as it reads (the fields were created in another order).
    QWidget* order[] = {m_pFirstName, m_pLastName, m_pStreet,    m_pPostCode, m_pTown,
                        m_pPhone,     m_pEmail,    m_pBirthDate, m_pCalendar, m_pHeight,
                        m_pWeight,    m_pMale,     m_pFemale,    m_pRemarks,  buttons};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    m_pFirstName->setFocus();
}

bool CTRVUserDataEditDialog::Check(int reason, QWidget* field) {
    if (reason == InputOk) return true;
    m_pError->setText(QStr(reason));
    m_pError->show();
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    return false;
}

void CTRVUserDataEditDialog::accept() {
    double height = 0.0, weight = 0.0;
    COleDateTime birth;
    const bool ok =
        Check(CheckNames(m_pFirstName->text().toStdString(), m_pLastName->text().toStdString()),
              m_pFirstName->text().trimmed().isEmpty() ? m_pFirstName : m_pLastName) &&
        Check(CheckPostCode(m_pPostCode->text().toStdString()), m_pPostCode) &&
        Check(ReadBirthDate(m_pBirthDate->text().toStdString(), COleDateTime::Now(), birth), m_pBirthDate) &&
        Check(ReadHeight(m_pHeight->text().toStdString(), height), m_pHeight) &&
        Check(ReadWeight(m_pWeight->text().toStdString(), weight), m_pWeight);
    if (!ok) return;
    m_pError->hide();
    m_data.m_strFirstName = Cut(m_pFirstName->text(), kUserTextMax);
    m_data.m_strLastName = Cut(m_pLastName->text(), kUserTextMax);
    m_data.m_strStreet = Cut(m_pStreet->text(), kUserTextMax);
    m_data.m_strPostCode = Cut(m_pPostCode->text(), kUserTextMax);
    m_data.m_strTown = Cut(m_pTown->text(), kUserTextMax);
    m_data.m_strPhone = Cut(m_pPhone->text(), kUserTextMax);
    m_data.m_strEmail = Cut(m_pEmail->text(), kUserTextMax);
    m_data.m_dWeight = weight;
    m_data.m_dHeight = height;
    m_data.m_BirthDate = birth;
    m_data.m_strRemarks = Cut(m_pRemarks->toPlainText(), kUserRemarksMax);
    m_data.m_nSex = m_pFemale->isChecked() ? 1 : 0;
    QDialog::accept();
}
