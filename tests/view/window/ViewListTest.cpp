// The workspace rules as a user meets them: selection, check boxes, conversion, types, export.
#include "ViewFixture.h"
#include "view/window/TChart.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
using namespace viewtest;

TEST(ViewLists, OpeningShowsTheTestsAndTheSelectedTestsMeasurements) {
    ViewHolder h;
    EXPECT_EQ(h.view->Ui().testModel->rowCount(), 6);
    EXPECT_EQ(h.view->SelectedTest(), -1);
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 0);
    h.SelectTests({1});
    EXPECT_EQ(h.view->SelectedTest(), 1);
    ASSERT_EQ(h.view->Ui().measModel->rowCount(), 5);
    // Step test 1: lactate 1.0, 1.5, 2.2, 3.4, 5.1; unit m/s.
    EXPECT_EQ(h.view->Ui().measModel->index(3, CMeasurementListModel::ColLactate).data().toString(),
              QStringLiteral("3,4"));
    EXPECT_EQ(
        h.view->Ui().measModel->headerData(CMeasurementListModel::ColLoad, Qt::Horizontal, Qt::DisplayRole).toString(),
        QStringLiteral("v [m/s]"));
    EXPECT_EQ(h.view->ShowButtonMode(), 1);
    // A single reading does not make the show button add it.
    h.SelectTests({5});
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 1);
    EXPECT_EQ(h.view->ShowButtonMode(), 0);
}

TEST(ViewLists, NeverASingleMeasurementAndNeverAThirdTest) {
    ViewHolder h;
    h.ClickTestCheck(0, true);
    h.ClickTestCheck(1, true);
    EXPECT_TRUE(h.TestChecked(0));
    EXPECT_TRUE(h.TestChecked(1));
    EXPECT_EQ(h.doc->Doc().CountShownTests(), 2);
    EXPECT_TRUE(h.doc->IsModified());
    // All measurements of a newly shown step test take part in its curve.
    for (const PCMDataType& m : h.doc->Doc().m_Tests[0].m_Steps) EXPECT_EQ(m.m_bChecked, 1);

    h.ClickTestCheck(2, true);  // the third test: check mark taken back
    EXPECT_FALSE(h.TestChecked(2));
    EXPECT_EQ(h.doc->Doc().CountShownTests(), 2);
    EXPECT_EQ(h.doc->Doc().m_Tests[2].m_bShowInChart, 0);

    h.ClickTestCheck(3, true);  // a single reading: never shown
    EXPECT_FALSE(h.TestChecked(3));
    EXPECT_EQ(h.doc->Doc().m_Tests[3].m_bShowInChart, 0);

    // Unchecking frees the slot and clears every measurement's shown flag.
    h.ClickTestCheck(0, false);
    EXPECT_FALSE(h.TestChecked(0));
    EXPECT_EQ(h.view->Ui().testModel->index(h.RowOf(0), CTestListModel::ColCurve).data().toString(),
              QStringLiteral("-"));
    for (const PCMDataType& m : h.doc->Doc().m_Tests[0].m_Steps) EXPECT_EQ(m.m_bChecked, 0);
    h.ClickTestCheck(2, true);
    EXPECT_TRUE(h.TestChecked(2));
}

TEST(ViewLists, ShownTestsGetTheirCurveAndParameterNotices) {
    ViewHolder h;
    h.ClickTestCheck(1, true);
    h.view->RefreshNotices();
    // Parameters were never entered: the notice for curve L1 stands; the "Kurve" column says L 1.
    EXPECT_NE(h.view->NoticeFlags() & 0x1u, 0u);
    EXPECT_EQ(h.view->Ui().testModel->index(h.RowOf(1), CTestListModel::ColCurve).data().toString(),
              QStringLiteral("L 1"));
    EXPECT_TRUE(
        h.view->Ui().chart->NoticeText().contains(QStringLiteral("Bitte Testparameter für Kurve L1 eingeben.")));
    // The athlete is missing too.
    EXPECT_TRUE(h.view->Ui().chart->NoticeText().contains(QStringLiteral("Bitte Benutzerdaten eingeben.")));
}

TEST(ViewLists, ShowButtonAddsTheSelectedStepTestResetTakesEveryTestOff) {
    ViewHolder h;
    h.SelectTests({2});
    h.view->Ui().showButton->click();
    EXPECT_TRUE(h.TestChecked(2));
    EXPECT_EQ(h.doc->Doc().m_Tests[2].m_bShowInChart, 1);
    h.ClickTestCheck(0, true);
    h.view->Ui().resetButton->click();
    EXPECT_EQ(h.doc->Doc().CountShownTests(), 0);
    EXPECT_FALSE(h.TestChecked(0));
    EXPECT_FALSE(h.TestChecked(2));
}

TEST(ViewLists, TwoSelectedTestsListOnlySingleReadingsWithoutCheckMarks) {
    ViewHolder h;
    h.SelectTests({5, 1});  // a single reading and a step test
    EXPECT_TRUE(h.view->SeveralTestsSelected());
    EXPECT_EQ(h.view->ShowButtonMode(), 0);
    ASSERT_EQ(h.view->Ui().measModel->rowCount(), 1);
    QModelIndex idx = h.view->Ui().measModel->index(0, 0);
    EXPECT_FALSE(idx.data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(h.view->Ui().measModel->flags(idx) & Qt::ItemIsUserCheckable);
    // Two single readings: both listed.
    h.SelectTests({3, 5});
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 2);
}

TEST(ViewLists, MeasurementCheckBoxes) {
    ViewHolder h;
    h.ClickTestCheck(1, true);
    h.SelectTests({1});
    CMeasurementListModel* m = h.view->Ui().measModel;
    m->setData(m->index(2, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(h.doc->Doc().m_Tests[1].m_Steps[2].m_bChecked, 0);
    EXPECT_EQ(m->index(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    m->setData(m->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(h.doc->Doc().m_Tests[1].m_Steps[2].m_bChecked, 1);
    // A single reading's check mark is taken back.
    h.SelectTests({5});
    m->setData(m->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(h.doc->Doc().m_Tests[5].m_Steps[0].m_bChecked, 0);
    EXPECT_EQ(m->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

TEST(ViewCommands, ConvertSelectedSingleReadingsIntoAStepTest) {
    ViewHolder h;
    h.SelectTests({1, 3});
    EXPECT_FALSE(h.view->CanConvertToStepTest());  // a step test among them
    h.SelectTests({5, 3, 4});
    ASSERT_TRUE(h.view->CanConvertToStepTest());
    h.view->OnConvertToStepTest();
    CTRVDoc& doc = h.doc->Doc();
    // Tests 3, 4, 5 became one test at index 3 holding IDs 251, 252, 500 in that order.
    ASSERT_EQ(doc.GetTestCount(), 4);
    const TestDataType& t = doc.m_Tests[3];
    ASSERT_EQ(t.m_Steps.size(), 3u);
    EXPECT_EQ(t.m_Steps[0].m_nMeasId, 251);
    EXPECT_EQ(t.m_Steps[2].m_nMeasId, 500);
    for (const PCMDataType& m : t.m_Steps) EXPECT_EQ(m.m_nMeasType, MeasLoad);
    EXPECT_EQ(t.m_Steps[0].m_bFirstStep, 1);
    EXPECT_EQ(t.m_Steps[2].m_bLastStep, 1);
    EXPECT_TRUE(h.doc->IsModified());
    EXPECT_EQ(h.view->SelectedTest(), 3);
    EXPECT_EQ(h.view->Ui().testModel->rowCount(), 4);
    EXPECT_EQ(h.view->Ui().testModel->index(0, 0).data().toString(), QStringLiteral("00251 ..."));
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 3);
}

TEST(ViewCommands, MeasurementTypeOfTheCurrentRow) {
    ViewHolder h;
    h.SelectTests({0});
    QModelIndex row0 = h.view->Ui().measModel->index(0, 0);
    h.view->Ui().measList->selectionModel()->setCurrentIndex(
        row0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(h.view->CurrentMeasurement(), 0);
    h.view->OnSetMeasType(MeasPreLoad);
    const TestDataType& t = h.doc->Doc().m_Tests[0];
    EXPECT_EQ(t.m_Steps[0].m_nMeasType, MeasPreLoad);
    EXPECT_TRUE(h.doc->IsModified());
    EXPECT_EQ(h.view->Ui().measModel->index(0, CMeasurementListModel::ColDuration).data().toString(), QString());
}

TEST(ViewCommands, ExportWritesTheSelectedTestsInDocumentOrder) {
    ViewHolder h;
    h.SelectTests({5, 3});
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_EQ(h.view->ExportTo(path).message, "");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("MID;Mem Pos;Date;Time;Test type;Step length;Load;Load unit;Lactate value"));
    EXPECT_TRUE(lines[0].endsWith("\r"));
    EXPECT_TRUE(lines[1].startsWith("00251;001;02.03.2026;")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("00500;250;02.03.2026;")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(";0,9;"));
}
