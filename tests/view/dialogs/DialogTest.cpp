// The dialogs as a user fills them in, and what the view does with OK and Cancel.
#include "ViewFixture.h"
#include "view/dialogs/TRVConfigDialog.h"
#include "view/dialogs/TRVTestParamDialog.h"
#include "view/dialogs/TRVUserDataEditDialog.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include "view/widgets/UpDown.h"

#include <gtest/gtest.h>

#include <functional>

using namespace trv;
using namespace viewtest;

namespace {

// Chooses list entry `index` as a user would (the "activated" signal, not only the current index).
void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// Types into an edit, then moves the focus on, as the dialog takes a value when its edit loses focus.
void TypeAndLeave(QWidget* dialog, QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    dialog->activateWindow();
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    QApplication::processEvents();
}

}  // namespace

TEST(TestParamDialog, TheWidgetsFollowEveryChoice) {
    const TestDataType t = StepTest(1, 3);
    CTRVTestParamDialog dlg(t, TestAnalysis{});
    EXPECT_EQ(dlg.m_pModel->count(), 3);
    Choose(dlg.m_pTestType, TestErgometer);
    EXPECT_EQ(dlg.m_pUnit->currentText(), QStringLiteral("W"));
    EXPECT_EQ(dlg.m_pModel->count(), 1);
    EXPECT_EQ(dlg.m_pModel->currentText(), QStringLiteral("Mader-Modell"));
    EXPECT_EQ(dlg.m_pLoadGroup->title(), QStringLiteral("Belastungsvorgabe P[W]"));
    // Back to the treadmill: W becomes m/s.
    Choose(dlg.m_pTestType, TestTreadmill);
    EXPECT_EQ(dlg.m_pUnit->currentText(), QStringLiteral("m/s"));
    EXPECT_EQ(dlg.m_pModel->count(), 3);
    // Spline and Keul exclude each other.
    Choose(dlg.m_pFit, FitSpline);
    Choose(dlg.m_pModel, ModelKeul);
    EXPECT_EQ(dlg.m_pFit->currentIndex(), FitCubic);
    Choose(dlg.m_pFit, FitSpline);
    EXPECT_EQ(dlg.m_pModel->currentIndex(), ModelMader);
    // A field test with hand-entered durations has no load schedule.
    Choose(dlg.m_pTestType, TestField);
    EXPECT_EQ(dlg.m_pStepGroup->title(), QStringLiteral("Streckenlänge"));
    ASSERT_EQ(dlg.m_pSource->count(), 3);
    Choose(dlg.m_pSource, SourceManual);
    EXPECT_FALSE(dlg.m_pStartEdit->isEnabled());
    EXPECT_FALSE(dlg.m_pIncrementEdit->isEnabled());
    EXPECT_FALSE(dlg.m_pIndividual->isEnabled());
    EXPECT_TRUE(dlg.m_pExplanation->text().startsWith(QStringLiteral("Die Werte für die Stufendauer")));
}

TEST(TestParamDialog, KmhStartValueIsStoredInMetresPerSecond) {
    TestDataType t = StepTest(1, 3);
    CTRVTestParamDialog dlg(t, TestAnalysis{});
    dlg.show();
    Choose(dlg.m_pUnit, UnitKmh);
    TypeAndLeave(&dlg, dlg.m_pStartEdit, QStringLiteral("10"));
    EXPECT_NEAR(dlg.Rules().m_dStartValue, 10.0 / 3.6, 1e-12);
    EXPECT_EQ(dlg.m_pStartEdit->text(), QStringLiteral("10,0"));
    // One click on the up arrow adds 0.1 km/h.
    dlg.m_pStartSpin->stepUp();
    EXPECT_EQ(dlg.m_pStartEdit->text(), QStringLiteral("10,1"));
    EXPECT_NEAR(dlg.Rules().m_dStartValue, 10.1 / 3.6, 1e-12);
    TestDataType out = t;
    TestAnalysis choice;
    dlg.ApplyTo(out, choice);
    EXPECT_EQ(out.m_nLoadUnit, UnitKmh);
    EXPECT_NEAR(out.m_dStartValue, 10.1 / 3.6, 1e-12);
}

TEST(TestParamDialog, StepDurationEditAndSlider) {
    TestDataType t = StepTest(1, 3);
    CTRVTestParamDialog dlg(t, TestAnalysis{});
    dlg.show();
    EXPECT_EQ(dlg.m_pStepEdit->text(), QStringLiteral("03:00"));
    TypeAndLeave(&dlg, dlg.m_pStepEdit, QStringLiteral("5"));  // out of range: unchanged
    EXPECT_EQ(dlg.Rules().m_nPcStepDuration, 180);
    // 185 s is taken; the slider then stands at 18 and the duration ends a multiple of 10 s.
    TypeAndLeave(&dlg, dlg.m_pStepEdit, QStringLiteral("185"));
    EXPECT_EQ(dlg.m_pSlider->value(), 18);
    EXPECT_EQ(dlg.Rules().m_nPcStepDuration, 180);
    dlg.m_pSlider->setValue(24);
    EXPECT_EQ(dlg.m_pStepEdit->text(), QStringLiteral("04:00"));
    EXPECT_EQ(dlg.Rules().m_nPcStepDuration, 240);
}

TEST(TestParamDialog, ARefusedEntrySaysWhyAndOkStaysUntilItIsMended) {
    TestDataType t = StepTest(1, 3);
    t.m_dStartValue = 2.0;
    CTRVTestParamDialog dlg(t, TestAnalysis{});
    dlg.show();
    EXPECT_TRUE(dlg.m_pError->isHidden());
    TypeAndLeave(&dlg, dlg.m_pStepEdit, QStringLiteral("99:99"));
    EXPECT_EQ(dlg.Rules().m_nPcStepDuration, 180);
    EXPECT_FALSE(dlg.m_pError->isHidden());
    EXPECT_EQ(dlg.m_pError->text(),
              QStringLiteral("Die Stufendauer muss zwischen 00:10 und 10:00 liegen (mm:ss oder Sekunden)."));
    QApplication::processEvents();
    EXPECT_EQ(dlg.m_pStepEdit->text(), QStringLiteral("03:00"));  // the old value is shown again
    // Letters do not even get into the numeric edits.
    dlg.m_pIncrementEdit->clear();
    QTest::keyClicks(dlg.m_pIncrementEdit, QStringLiteral("1x,5"));
    EXPECT_EQ(dlg.m_pIncrementEdit->text(), QStringLiteral("1,5"));
    // OK with a bad value in the focused edit: refused, the dialog stays open.
    dlg.m_pStepEdit->setFocus();
    dlg.m_pStepEdit->setText(QStringLiteral("00:00"));
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.m_pError->isHidden());
    dlg.m_pStepEdit->setText(QStringLiteral("04:00"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Rules().m_nPcStepDuration, 240);
}

TEST(TestParamDialog, AStartValueOfZeroIsAskedAboutBeforeItIsTaken) {
    TestDataType t = StepTest(1, 3);
    t.m_dStartValue = 0.0;
    CTRVTestParamDialog dlg(t, TestAnalysis{});
    dlg.show();
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.m_pError->text().startsWith(QStringLiteral("Der Startwert ist 0")));
    dlg.accept();  // the user means it
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // With loads typed per step the start value plays no part: no question.
    TestDataType typed = StepTest(1, 3);
    typed.m_bIndividualLoads = 1;
    CTRVTestParamDialog second(typed, TestAnalysis{});
    second.show();
    second.accept();
    EXPECT_EQ(second.result(), QDialog::Accepted);
}

TEST(TestParamDialog, CancelOrOkThroughTheView) {
    ViewHolder h;
    h.SelectTests({2});
    OnNextDialog<CTRVTestParamDialog>([](CTRVTestParamDialog* dlg) {
        Choose(dlg->m_pTestType, TestErgometer);
        dlg->reject();
    });
    h.view->Ui().paramButton->click();
    EXPECT_EQ(h.doc->Doc().m_Tests[2].m_nTestType, TestTreadmill);
    EXPECT_EQ(h.doc->Doc().m_Tests[2].m_bParamsEntered, 0);
    EXPECT_FALSE(h.doc->IsModified());

    OnNextDialog<CTRVTestParamDialog>([](CTRVTestParamDialog* dlg) {
        Choose(dlg->m_pUnit, UnitKmh);
        TypeAndLeave(dlg, dlg->m_pStartEdit, QStringLiteral("8"));
        TypeAndLeave(dlg, dlg->m_pIncrementEdit, QStringLiteral("2"));
        dlg->accept();
    });
    h.view->Ui().paramButton->click();
    const TestDataType& t = h.doc->Doc().m_Tests[2];
    EXPECT_EQ(t.m_bParamsEntered, 1);
    EXPECT_EQ(t.m_nLoadUnit, UnitKmh);
    // Loads of the four steps: 8, 10, 12, 14 km/h.
    ASSERT_EQ(t.m_Steps.size(), 4u);
    EXPECT_NEAR(t.m_Steps[3].m_dSpeed * 3.6, 14.0, 1e-9);
    EXPECT_TRUE(h.doc->IsModified());
    EXPECT_EQ(h.view->Ui().measModel->index(1, CMeasurementListModel::ColLoad).data().toString(),
              QStringLiteral("10,0"));
}

TEST(TestParamDialog, ADownloadWhileTheDialogIsOpenDoesNotMisplaceTheParameters) {
    ViewHolder h;
    h.SelectTests({2});  // the step test with ID 200
    OnNextDialog<CTRVTestParamDialog>([&h](CTRVTestParamDialog* dlg) {
        // A reading announced by the analyser arrives meanwhile; its test sorts in front of all
        // others (ID 10), and the view selects the newest test.
        CTRVDoc& doc = h.doc->Doc();
        doc.m_Tests.insert(doc.m_Tests.begin(), SingleTest(10, 20));
        h.view->OnDownloadMerged();
        Choose(dlg->m_pTestType, TestErgometer);
        dlg->accept();
        dlg->accept();  // the start value of 0 is taken on the second OK
    });
    h.view->Ui().paramButton->click();
    const CTRVDoc& doc = h.doc->Doc();
    ASSERT_EQ(doc.m_Tests.size(), 7u);
    ASSERT_EQ(doc.m_Tests[3].m_Steps.front().m_nMeasId, 200);
    EXPECT_EQ(doc.m_Tests[3].m_nTestType, TestErgometer);
    EXPECT_EQ(doc.m_Tests[3].m_nLoadUnit, UnitWatt);
    EXPECT_EQ(doc.m_Tests[3].m_bParamsEntered, 1);
    // The test that now stands at the old index (ID 100) is untouched.
    EXPECT_EQ(doc.m_Tests[2].m_Steps.front().m_nMeasId, 100);
    EXPECT_EQ(doc.m_Tests[2].m_nTestType, TestTreadmill);
    EXPECT_EQ(doc.m_Tests[2].m_bParamsEntered, 0);
    EXPECT_EQ(h.view->SelectedTest(), 3);
}

TEST(UserDataDialog, NewDocumentShowsMaleAndNoBirthDateAndKeepsDayZero) {
    UserDataType u;
    CTRVUserDataEditDialog dlg(u);
    EXPECT_TRUE(dlg.m_pMale->isChecked());
    EXPECT_FALSE(dlg.m_pFemale->isChecked());
    EXPECT_EQ(dlg.m_pBirthDate->text(), QString());
    dlg.m_pFirstName->setText(QStringLiteral("Anna"));
    dlg.m_pLastName->setText(QStringLiteral("Meier"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    // Not entered: stored as the documents have always kept it, day 0 (30.12.1899), valid.
    EXPECT_DOUBLE_EQ(dlg.Data().m_BirthDate.m_dt, 0.0);
    EXPECT_TRUE(dlg.Data().m_BirthDate.IsValid());
}

TEST(UserDataDialog, ValuesAreReadBackOnOk) {
    UserDataType u;
    u.m_dHeight = 180.6;
    u.m_BirthDate = COleDateTime(34529.0);  // 14.07.1994
    CTRVUserDataEditDialog dlg(u);
    EXPECT_EQ(dlg.m_pHeight->text(), QStringLiteral("181"));
    EXPECT_EQ(dlg.m_pBirthDate->text(), QStringLiteral("14.07.1994"));
    dlg.m_pFirstName->setText(QString(300, QLatin1Char('A')));
    dlg.m_pLastName->setText(QStringLiteral("Meier"));
    dlg.m_pWeight->setText(QString());
    dlg.m_pHeight->setText(QStringLiteral("172,5"));
    dlg.m_pFemale->click();
    EXPECT_FALSE(dlg.m_pMale->isChecked());
    // Typed without dots, as a user types it quickly: 17.05.1990, day 33010 after 30.12.1899.
    dlg.m_pBirthDate->clear();
    QTest::keyClicks(dlg.m_pBirthDate, QStringLiteral("17051990"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const UserDataType& d = dlg.Data();
    EXPECT_EQ(d.m_strFirstName.size(), 254u);
    EXPECT_DOUBLE_EQ(d.m_dWeight, 0.0);
    EXPECT_DOUBLE_EQ(d.m_dHeight, 172.5);
    EXPECT_EQ(d.m_nSex, 1);
    EXPECT_DOUBLE_EQ(d.m_BirthDate.m_dt, 33010.0);
}

TEST(UserDataDialog, NumericAndDateFieldsTakeNoLetters) {
    UserDataType u;
    CTRVUserDataEditDialog dlg(u);
    dlg.m_pHeight->clear();
    QTest::keyClicks(dlg.m_pHeight, QStringLiteral("18a0 cm"));
    EXPECT_EQ(dlg.m_pHeight->text(), QStringLiteral("180"));
    dlg.m_pWeight->clear();
    QTest::keyClicks(dlg.m_pWeight, QStringLiteral("72,5,kg"));
    EXPECT_EQ(dlg.m_pWeight->text(), QStringLiteral("72,5"));
    QTest::keyClicks(dlg.m_pPostCode, QStringLiteral("D-10115"));
    EXPECT_EQ(dlg.m_pPostCode->text(), QStringLiteral("10115"));
    QTest::keyClicks(dlg.m_pBirthDate, QStringLiteral("14.07.1994"));
    EXPECT_EQ(dlg.m_pBirthDate->text(), QStringLiteral("14.07.1994"));
    dlg.m_pBirthDate->clear();
    QTest::keyClicks(dlg.m_pBirthDate, QStringLiteral("14/07/1994"));
    EXPECT_EQ(dlg.m_pBirthDate->text(), QStringLiteral("14071994"));
    // Or picked from the calendar.
    auto* calendar = dlg.m_pCalendar->menu()->findChild<QCalendarWidget*>();
    ASSERT_NE(calendar, nullptr);
    emit calendar->clicked(QDate(1988, 3, 9));
    EXPECT_EQ(dlg.m_pBirthDate->text(), QStringLiteral("09.03.1988"));
}

TEST(UserDataDialog, OkIsRefusedWithTheReasonUntilTheFieldsHoldWhatTheRecordCan) {
    UserDataType u;
    u.m_strFirstName = "Anna";
    u.m_dWeight = 61.0;
    CTRVUserDataEditDialog dlg(u);
    dlg.show();
    auto refused = [&](const char* why) {
        dlg.accept();
        EXPECT_NE(dlg.result(), QDialog::Accepted) << why;
        EXPECT_TRUE(dlg.isVisible()) << why;
        EXPECT_FALSE(dlg.m_pError->isHidden()) << why;
        return dlg.m_pError->text();
    };
    // The two "erforderlich" fields.
    EXPECT_EQ(refused("names"), QStringLiteral("Bitte Vorname und Nachname eingeben."));
    dlg.m_pLastName->setText(QStringLiteral("Meier"));
    dlg.m_pBirthDate->setText(QStringLiteral("31.02.1990"));
    EXPECT_EQ(refused("date"), QStringLiteral("Bitte das Datum als TT.MM.JJJJ oder TTMMJJJJ eingeben."));
    dlg.m_pBirthDate->setText(QStringLiteral("01.01.") + QString::number(QDate::currentDate().year() + 1));
    EXPECT_EQ(refused("future"), QStringLiteral("Das Geburtsdatum darf nicht in der Zukunft liegen."));
    dlg.m_pBirthDate->setText(QStringLiteral("14.07.1994"));
    dlg.m_pHeight->setText(QStringLiteral("1,80"));  // metres
    EXPECT_TRUE(refused("height").startsWith(QStringLiteral("Die Größe muss zwischen 50 und 250 cm liegen")));
    EXPECT_DOUBLE_EQ(dlg.Data().m_dWeight, 61.0);  // nothing read back yet
    dlg.m_pHeight->setText(QStringLiteral("180"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.m_pError->isHidden());
    EXPECT_DOUBLE_EQ(dlg.Data().m_dHeight, 180.0);
    EXPECT_DOUBLE_EQ(dlg.Data().m_BirthDate.m_dt, 34529.0);
}

TEST(UserDataDialog, TabGoesDownTheFormAsItReads) {
    UserDataType u;
    CTRVUserDataEditDialog dlg(u);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.m_pFirstName->setFocus();
    const QWidget* expected[] = {dlg.m_pLastName, dlg.m_pStreet, dlg.m_pPostCode,  dlg.m_pTown,
                                 dlg.m_pPhone,    dlg.m_pEmail,  dlg.m_pBirthDate, dlg.m_pCalendar,
                                 dlg.m_pHeight,   dlg.m_pWeight, dlg.m_pMale,      dlg.m_pRemarks};
    for (const QWidget* w : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w) << w->metaObject()->className();
    }
}

TEST(UserDataDialog, OkAndCancelThroughTheView) {
    ViewHolder h;
    OnNextDialog<CTRVUserDataEditDialog>([](CTRVUserDataEditDialog* dlg) {
        dlg->m_pFirstName->setText(QStringLiteral("Jörg"));
        dlg->reject();
    });
    h.view->Ui().userButton->click();
    EXPECT_TRUE(h.doc->Doc().m_UserData.m_strFirstName.empty());
    EXPECT_FALSE(h.doc->IsModified());

    OnNextDialog<CTRVUserDataEditDialog>([](CTRVUserDataEditDialog* dlg) {
        dlg->m_pFirstName->setText(QStringLiteral("Jörg"));
        dlg->m_pLastName->setText(QStringLiteral("Weiß"));
        dlg->accept();
    });
    h.view->Ui().userButton->click();
    EXPECT_EQ(h.doc->Doc().m_UserData.m_strFirstName, "J\xC3\xB6rg");
    EXPECT_EQ(h.doc->Doc().m_UserData.m_strLastName, "Wei\xC3\x9F");
    EXPECT_TRUE(h.doc->IsModified());
    // The athlete notice is gone.
    EXPECT_EQ(h.view->NoticeFlags() & 0x1000u, 0u);
}

TEST(ConfigDialog, PreselectsTheModeAndTakesTheClick) {
    CTRVConfigDialog on(true);
    EXPECT_TRUE(on.m_pOn->isChecked());
    on.m_pOff->click();
    EXPECT_FALSE(on.StepTestMode());
    CTRVConfigDialog off(false);
    EXPECT_TRUE(off.m_pOff->isChecked());
    off.m_pOn->click();
    EXPECT_TRUE(off.StepTestMode());
}
