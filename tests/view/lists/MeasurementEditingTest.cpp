// Editing the measurement list in the Qt way: the model's flags decide the editable cells, the
// delegate opens an editor on a click into a new cell, the typed text goes through the edit rules
// into the document; row colours come from the model.
#include "ChartTestDocs.h"
#include "view/lists/MeasurementDelegate.h"
#include "view/lists/MeasurementListModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace trv;

namespace {

class MeasurementEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.m_Tests.push_back(trvtest::FieldTest());  // PrL, six Ld steps, two AFL
        model = new CMeasurementListModel(&doc, &list);
        list.setModel(model);
        list.setRootIsDecorated(false);
        list.setEditTriggers(QAbstractItemView::NoEditTriggers);
        delegate = new CMeasurementDelegate(&list);
        list.setItemDelegate(delegate);
        model->Fill({0}, false);
        list.resize(700, 300);
        list.show();
        QApplication::processEvents();
    }
    PCMDataType& Meas(int i) { return doc.m_Tests[0].m_Steps[static_cast<size_t>(i)]; }
    // A click into a cell as the user does it; returns the editor that opened, if any.
    QLineEdit* Click(int row, int column) {
        const QRect r = list.visualRect(model->index(row, column));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QLineEdit* e : list.viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QApplication::processEvents();
    }
    // Click, type, Enter.
    void Enter(int row, int column, const QString& text) {
        QLineEdit* edit = Click(row, column);
        ASSERT_NE(edit, nullptr) << row << ", " << column;
        Type(edit, text);
    }

    CTRVDoc doc;
    QTreeView list;
    CMeasurementListModel* model = nullptr;
    CMeasurementDelegate* delegate = nullptr;
};

}  // namespace

TEST_F(MeasurementEditingTest, FlagsFollowTheTestParameters) {
    // Field test, hand-entered durations, loads from the parameters.
    for (int row : {0, 1, 7}) {
        EXPECT_TRUE(model->flags(model->index(row, 2)) & Qt::ItemIsEditable) << row;
        EXPECT_FALSE(model->flags(model->index(row, 3)) & Qt::ItemIsEditable) << row;
        EXPECT_TRUE(model->flags(model->index(row, 4)) & Qt::ItemIsEditable) << row;
        EXPECT_TRUE(model->flags(model->index(row, 5)) & Qt::ItemIsEditable) << row;
        for (int c : {0, 1, 6}) EXPECT_FALSE(model->flags(model->index(row, c)) & Qt::ItemIsEditable);
    }
    doc.m_Tests[0].m_bIndividualLoads = 1;
    doc.m_Tests[0].m_nDurationSource = SourcePc;
    EXPECT_TRUE(model->flags(model->index(1, 3)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(1, 2)) & Qt::ItemIsEditable);
}

TEST_F(MeasurementEditingTest, RowColoursComeFromTheModel) {
    // Row 1 is a checked Ld step, row 7 a checked AFL reading, row 0 a PrL reading.
    EXPECT_EQ(model->data(model->index(1, 4), Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 200, 200));
    EXPECT_EQ(model->data(model->index(7, 4), Qt::BackgroundRole).value<QBrush>().color(), QColor(200, 200, 255));
    EXPECT_FALSE(model->data(model->index(0, 4), Qt::BackgroundRole).isValid());
    Meas(7).m_nStatus = StatusHigh;
    EXPECT_EQ(model->data(model->index(7, 4), Qt::ForegroundRole).value<QBrush>().color(), QColor(150, 150, 150));
    EXPECT_EQ(model->data(model->index(7, 4), Qt::DisplayRole).toString(), QStringLiteral("High"));
}

TEST_F(MeasurementEditingTest, ClickTypeEnterStoresTheLactate) {
    QSignalSpy spy(model, &CMeasurementListModel::measurementEdited);
    QLineEdit* edit = Click(3, 4);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("2,4"));  // the cell's text to start with
    Type(edit, QStringLiteral("4.25"));
    EXPECT_EQ(Meas(3).m_nLactate, 42);
    EXPECT_EQ(model->data(model->index(3, 4), Qt::DisplayRole).toString(), QStringLiteral("4,2"));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
    EXPECT_TRUE(spy.at(0).at(1).toBool());
}

TEST_F(MeasurementEditingTest, StepDurationOfAFieldStepGivesItsSpeed) {
    Enter(2, 2, QStringLiteral("01:40"));
    EXPECT_DOUBLE_EQ(Meas(2).m_dSpeed, 4.0);  // 400 m in 100 s
    EXPECT_EQ(model->data(model->index(2, 2), Qt::DisplayRole).toString(), QStringLiteral("01:40"));
    // 00:00 would divide by zero: refused, the speed stays.
    QLineEdit* edit = Click(2, 4);
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Escape);
    Enter(2, 2, QStringLiteral("00:00"));
    EXPECT_DOUBLE_EQ(Meas(2).m_dSpeed, 4.0);
}

TEST_F(MeasurementEditingTest, HeartRateTakesWholeNumbersUpTo250) {
    QSignalSpy spy(model, &CMeasurementListModel::measurementEdited);
    QSignalSpy refused(model, &CMeasurementListModel::editRefused);
    const int before = Meas(4).m_nHeartRate;
    Enter(4, 5, QStringLiteral("251"));
    EXPECT_EQ(Meas(4).m_nHeartRate, before);
    EXPECT_EQ(spy.count(), 0);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.at(0).at(2).toString(), QStringLiteral("Die Herzfrequenz muss zwischen 0 und 250 S/min liegen."));
    // Letters and commas do not get into the editor.
    Enter(3, 5, QStringLiteral("15x0"));
    EXPECT_EQ(Meas(3).m_nHeartRate, 150);
    EXPECT_EQ(model->data(model->index(3, 5), Qt::DisplayRole).toString(), QStringLiteral("150"));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_FALSE(spy.at(0).at(1).toBool());  // no refill for the heart rate
}

TEST_F(MeasurementEditingTest, LoadIntoANonLoadRowIsRefused) {
    doc.m_Tests[0].m_bIndividualLoads = 1;
    QSignalSpy spy(model, &CMeasurementListModel::measurementEdited);
    Enter(0, 3, QStringLiteral("8"));  // the PrL reading
    EXPECT_DOUBLE_EQ(Meas(0).m_dSpeed, 0.0);
    EXPECT_EQ(spy.count(), 0);
    Enter(1, 3, QStringLiteral("10,8"));  // km/h
    EXPECT_NEAR(Meas(1).m_dSpeed, 3.0, 1e-12);
}

TEST_F(MeasurementEditingTest, NoEditorWhereTheCellIsNotEditableOrClickedAgain) {
    EXPECT_EQ(Click(1, 3), nullptr);  // loads from the parameters
    EXPECT_EQ(Click(1, 6), nullptr);  // temperature
    QLineEdit* edit = Click(1, 4);
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(Click(1, 4), nullptr);  // the same cell again: selection only
    EXPECT_NE(Click(1, 5), nullptr);
}

TEST_F(MeasurementEditingTest, ARefusedCellKeepsItsValueAndSaysWhy) {
    QSignalSpy refused(model, &CMeasurementListModel::editRefused);
    QSignalSpy edited(model, &CMeasurementListModel::measurementEdited);
    const uint16_t before = Meas(3).m_nLactate;
    Enter(3, 4, QStringLiteral("45"));
    EXPECT_EQ(Meas(3).m_nLactate, before);
    EXPECT_EQ(model->data(model->index(3, 4), Qt::DisplayRole).toString(), QStringLiteral("2,4"));
    EXPECT_EQ(edited.count(), 0);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.at(0).at(0).toInt(), 3);
    EXPECT_EQ(refused.at(0).at(1).toInt(), 4);
    EXPECT_EQ(refused.at(0).at(2).toString(),
              QStringLiteral("Der Laktatwert muss zwischen 0,0 und 30,0 mmol/l liegen."));
    // The editor itself takes no letters: "abc" never reaches the record as 0,0.
    QLineEdit* edit = Click(4, 4);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("a3b,c5"));
    EXPECT_EQ(edit->text(), QStringLiteral("3,5"));
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Meas(4).m_nLactate, 35);
    // A step duration beyond 59:59 of a field step.
    edit = Click(2, 2);
    ASSERT_NE(edit, nullptr);
    const double speed = Meas(2).m_dSpeed;
    Type(edit, QStringLiteral("99:99"));
    EXPECT_DOUBLE_EQ(Meas(2).m_dSpeed, speed);
    ASSERT_EQ(refused.count(), 2);
    EXPECT_EQ(refused.at(1).at(2).toString(),
              QStringLiteral("Bitte die Stufendauer als mm:ss eingeben, von 00:01 bis 59:59."));
}
