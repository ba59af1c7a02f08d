// Tests without the analyser as a user makes them: typed into the dialog, pasted, imported.
#include "ViewFixture.h"
#include "view/dialogs/EntryTable.h"
#include "view/dialogs/ImportDialog.h"
#include "view/dialogs/ManualTestDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace trv;
using namespace viewtest;

namespace {

// Types `text` where the keyboard is (the open editor of a cell, or the table, which opens one) and
// ends the edit with Enter.
void TypeCell(CEntryTable* table, const QString& text) {
    QWidget* editor = QApplication::focusWidget();
    if (!editor || editor == table || !table->isAncestorOf(editor)) {
        table->edit(table->currentIndex());
        QApplication::processEvents();
        editor = QApplication::focusWidget();
    }
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor, table);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

}  // namespace

TEST(ManualTestDialog, TypingATestWithTheKeyboard) {
    CManualTestDialog dlg;
    dlg.show();
    QApplication::processEvents();
    CEntryTable* table = dlg.Table();
    table->setFocus();
    // The dialog starts in the lactate column of the first row; the loads follow from 8 km/h + 2 km/h.
    ASSERT_EQ(table->currentColumn(), CManualEntry::ColLactate);
    const QString values[][2] = {{"1,1", "128"}, {"1.6", "146"}, {"2,9", "163"}, {"5,2", "179"}};
    for (const auto& row : values) {
        TypeCell(table, row[0]);
        EXPECT_EQ(table->currentColumn(), CManualEntry::ColHeartRate);
        TypeCell(table, row[1]);
        // Enter goes on to the next row's lactate: the type and load columns are passed over.
        EXPECT_EQ(table->currentColumn(), CManualEntry::ColLactate);
    }
    EXPECT_EQ(table->rowCount(), 5);  // four readings and the empty row for the next
    EXPECT_EQ(table->item(3, CManualEntry::ColLoad)->text(), QStringLiteral("14,0"));
    EXPECT_FALSE(table->item(3, CManualEntry::ColLoad)->flags() & Qt::ItemIsEditable);
    // A post-load row, reached with Tab through the type column.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);  // back to the type column
    QApplication::processEvents();
    ASSERT_EQ(table->currentColumn(), CManualEntry::ColType);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AFL"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(table->currentColumn(), CManualEntry::ColLactate);
    TypeCell(table, QStringLiteral("4,4"));
    dlg.accept();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    const TestDataType& t = dlg.Test();
    ASSERT_EQ(t.m_Steps.size(), 5u);
    EXPECT_NEAR(t.m_Steps[3].m_dSpeed, 14.0 / 3.6, 1e-12);
    EXPECT_EQ(t.m_Steps[1].m_nLactate, 16);
    EXPECT_EQ(t.m_Steps[3].m_nHeartRate, 179);
    EXPECT_EQ(t.m_Steps[4].m_nMeasType, MeasPostLoad);
    EXPECT_EQ(t.m_Steps[4].m_nLactate, 44);
}

TEST(ManualTestDialog, InvalidCellsAreRedWithAReason) {
    CManualTestDialog dlg;
    dlg.show();
    CEntryTable* table = dlg.Table();
    table->setCurrentCell(0, CManualEntry::ColLactate);
    table->setFocus();
    TypeCell(table, QStringLiteral("1,x"));
    const QTableWidgetItem* bad = table->item(0, CManualEntry::ColLactate);
    EXPECT_EQ(bad->background().color(), QColor(255, 190, 190));
    EXPECT_EQ(bad->toolTip(), QStringLiteral("Keine Zahl."));
    EXPECT_EQ(table->item(0, CManualEntry::ColHeartRate)->background().style(), Qt::NoBrush);
    // OK does not close the dialog while a cell is wrong (the message box is answered at once).
    OnNextModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST(ManualTestDialog, PastingABlockIntoTheTable) {
    CManualTestDialog dlg;
    dlg.show();
    dlg.Entry().m_bIndividualLoads = true;
    dlg.Refresh();
    CEntryTable* table = dlg.Table();
    table->setCurrentCell(0, CManualEntry::ColLoad);
    table->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("100\t1,0\t110\r\n150\t1,9\t131\r\n200\t4,1\t155\r\n"));
    QTest::keySequence(table, QKeySequence::Paste);
    ASSERT_EQ(dlg.Entry().RowCount(), 4);
    EXPECT_EQ(dlg.Entry().Cell(2, CManualEntry::ColLactate), "4,1");
    EXPECT_EQ(table->item(1, CManualEntry::ColHeartRate)->text(), QStringLiteral("131"));
}

TEST(ImportDialog, PreviewWithAColumnMappingTheUserChanges) {
    // A sheet whose load column is named in no known way and whose "Puls" is left alone by a choice.
    CImportDialog dlg;
    ASSERT_EQ(dlg.Load("Watt;Laktat;Puls;Bemerkung\n100;1,0;110;\n150;1,8;130;\n200;3,9;152;gut\n").message, "");
    EXPECT_EQ(dlg.RoleBox(0)->currentIndex(), RoleIgnore);
    EXPECT_EQ(dlg.RoleBox(1)->currentIndex(), RoleLactate);
    EXPECT_EQ(dlg.RoleBox(2)->currentIndex(), RoleHeartRate);
    EXPECT_TRUE(dlg.Status()->text().startsWith(QStringLiteral("Zeile 1: Keine Spalte mit Belastungen")));
    EXPECT_EQ(dlg.UnitBox()->currentIndex(), UnitKmh);
    dlg.RoleBox(0)->setCurrentIndex(RoleLoad);
    EXPECT_EQ(dlg.Status()->text(), QStringLiteral("Bereit: 3 Messwerte werden als Test übernommen."));
    // The load column's name gives the unit, and watts make it a bike test.
    EXPECT_EQ(dlg.UnitBox()->currentIndex(), UnitWatt);
    EXPECT_EQ(dlg.TestTypeBox()->currentIndex(), TestErgometer);
    // A treadmill in watts is refused rather than stored.
    dlg.TestTypeBox()->setCurrentIndex(TestTreadmill);
    dlg.UnitBox()->setCurrentIndex(UnitWatt);
    EXPECT_EQ(dlg.Status()->text(),
              QStringLiteral("Ein Ergometertest wird in W erfasst, ein Laufband- oder Feldtest in km/h oder m/s."));
    dlg.TestTypeBox()->setCurrentIndex(TestErgometer);
    // Giving the heart-rate role to another column takes it from "Puls".
    dlg.RoleBox(3)->setCurrentIndex(RoleHeartRate);
    EXPECT_EQ(dlg.RoleBox(2)->currentIndex(), RoleIgnore);
    dlg.RoleBox(3)->setCurrentIndex(RoleIgnore);
    // The preview shows the file's lines beside its rows.
    EXPECT_EQ(dlg.Preview()->verticalHeaderItem(3)->text(), QStringLiteral("4"));
    dlg.accept();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(dlg.Test().m_Steps.size(), 3u);
    EXPECT_DOUBLE_EQ(dlg.Test().m_Steps[2].m_dPower, 200.0);
    EXPECT_EQ(dlg.Test().m_nLoadUnit, UnitWatt);
    EXPECT_EQ(dlg.Test().m_nTestType, TestErgometer);
    EXPECT_EQ(dlg.Test().m_Steps[2].m_nHeartRate, 0);
}

TEST(EnteredTests, PastedIntoTheDocumentWindowAndShownAtOnce) {
    ViewHolder h;
    CTRVDoc& doc = h.doc->Doc();
    const int before = doc.GetTestCount();
    QApplication::clipboard()->setText(
        QStringLiteral("Belastung\tLaktat\tHF\n8\t1,2\t130\n10\t2,0\t148\n12\t3,8\t166\n14\t6,5\t181\n"));
    OnNextDialog<CImportDialog>([](CImportDialog* dlg) { dlg->accept(); });
    h.view->OnPasteReadings();
    ASSERT_EQ(doc.GetTestCount(), before + 1);
    // The typed test sorts last (newest first: the top row), is selected and drawn in the chart.
    const TestDataType& t = doc.GetTest(before);
    EXPECT_EQ(t.m_Steps.front().m_nMeasId, 60000);
    EXPECT_EQ(t.m_bShowInChart, 1);
    EXPECT_EQ(h.view->SelectedTest(), before);
    EXPECT_TRUE(h.doc->IsModified());
    EXPECT_EQ(h.view->Ui().testModel->index(0, 0).data().toString(), QStringLiteral("manuell ..."));
    EXPECT_TRUE(h.view->Workspace().Analysis(before).m_bEvaluated);
    // One undo takes the pasted test away again; redo brings it back.
    h.view->OnUndo();
    EXPECT_EQ(doc.GetTestCount(), before);
    EXPECT_EQ(h.view->Ui().testModel->rowCount(), before);
    h.view->OnRedo();
    EXPECT_EQ(doc.GetTestCount(), before + 1);
    EXPECT_EQ(doc.GetTest(before).m_bShowInChart, 1);
}

TEST(ImportDialog, ARefusedCellIsCorrectedInThePreview) {
    CImportDialog dlg;
    // Line 3 holds a lactate typed with a letter.
    ASSERT_EQ(dlg.Load("Belastung;Laktat;HF\n8;1,1;128\n10;1,x;146\n12;2,9;163\n").message, "");
    EXPECT_TRUE(dlg.Status()->text().startsWith(QStringLiteral("Zeile 3"))) << dlg.Status()->text().toStdString();
    QTableWidgetItem* bad = dlg.Preview()->item(2, 1);
    ASSERT_NE(bad, nullptr);
    EXPECT_NE(bad->background().color(), QColor(Qt::white));
    EXPECT_FALSE(bad->toolTip().isEmpty());
    EXPECT_TRUE(bad->flags() & Qt::ItemIsEditable);
    EXPECT_NE(dlg.Preview()->editTriggers() & QAbstractItemView::AnyKeyPressed, 0);
    bad->setText(QStringLiteral("1,6"));
    EXPECT_EQ(dlg.Status()->text(), QStringLiteral("Bereit: 3 Messwerte werden als Test übernommen."));
    EXPECT_TRUE(bad->toolTip().isEmpty());
    dlg.accept();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(dlg.Test().m_Steps.size(), 3u);
    EXPECT_EQ(dlg.Test().m_Steps[1].m_nLactate, 16);
}

TEST(EnteredTests, WholeTestsGoFromOneWindowToAnother) {
    ViewHolder from;
    // A step test of the first window with a pre-load and a post-load reading beside its steps.
    CTRVDoc& a = from.doc->Doc();
    a.GetTest(0).m_Steps[0].m_nMeasType = MeasPreLoad;
    a.GetTest(0).m_Steps[4].m_nMeasType = MeasPostLoad;
    a.GetTest(0).m_bParamsEntered = 1;
    from.view->RefreshLists();
    from.SelectTests({0});
    from.view->OnCopyTable();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("application/x-trv-tests")));
    EXPECT_TRUE(mime->text().startsWith(QStringLiteral("Uhrzeit"))) << mime->text().toStdString();

    // Into an empty window: the test arrives as it was, in one command.
    auto doc = std::make_unique<CDocHandle>();
    CTRVView to(doc.get());
    to.resize(1100, 800);
    to.OnPasteReadings();
    ASSERT_EQ(doc->Doc().GetTestCount(), 1);
    const TestDataType& t = doc->Doc().GetTest(0);
    ASSERT_EQ(t.m_Steps.size(), 5u);
    EXPECT_EQ(t.m_Steps[0].m_nMeasId, 42);
    EXPECT_EQ(t.m_Steps[0].m_nMeasType, MeasPreLoad);
    EXPECT_EQ(t.m_Steps[4].m_nMeasType, MeasPostLoad);
    EXPECT_EQ(t.m_Steps[2].m_nTemperature, 22);
    EXPECT_EQ(t.m_bParamsEntered, 1);
    to.OnUndo();
    EXPECT_EQ(doc->Doc().GetTestCount(), 0);
}
