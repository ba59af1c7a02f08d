#include "view/dialogs/EntryChoices.h"

#include "data/Records.h"
#include "view/QtDate.h"
#include "view/QtText.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>

namespace trv {

EntryChoices MakeEntryChoices(QWidget* owner) {
    EntryChoices c{new QComboBox(owner), new QComboBox(owner), new QDateTimeEdit(QDateTime::currentDateTime(), owner),
                   new QGridLayout};
    for (int t = TestTreadmill; t <= TestField; ++t) c.testType->addItem(QString::fromUtf8(TestTypeText(t)));
    for (int u = UnitKmh; u <= UnitWatt; ++u) c.unit->addItem(QString::fromUtf8(LoadUnitText(u)));
    c.firstStep->setDisplayFormat(QtDateFormat() + QStringLiteral(" HH:mm"));
    c.firstStep->setCalendarPopup(true);
    c.grid->addWidget(new QLabel(QStr(IDS_MT_TEST_TYPE), owner), 0, 0);
    c.grid->addWidget(c.testType, 0, 1);
    c.grid->addWidget(new QLabel(QStr(IDS_MT_UNIT), owner), 0, 2);
    c.grid->addWidget(c.unit, 0, 3);
    c.grid->addWidget(new QLabel(QStr(IDS_MT_FIRST_STEP), owner), 1, 0);
    c.grid->addWidget(c.firstStep, 1, 1);
    return c;
}

}  // namespace trv
