// Managing tests in a window: Entf with its question, sorting by the headers, the search field,
// and columns wide enough for what they show. Every selection goes through the sorted list, so
// these tests sort first and then check that the test the user pointed at is the one that acts.
#include "ViewFixture.h"
#include "res/Strings.h"

#include "view/lists/TestListProxy.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>

using namespace trv;
using viewtest::OnNextModal;
using viewtest::ViewHolder;

namespace {

// The tests of the fixture get dates apart from their ID order: 42 on 01.05.2026, 100 on
// 24.12.2025, 200 on 10.01.2026, 251 on 02.03.2026, 252 on 15.11.2025, 500 on 28.02.2026. By date
// the list reads 252, 100, 200, 500, 251, 42; as text ("dd.MM.yyyy") it would read 200, 252, 100,
// 500, 251, 42.
struct Dated : ViewHolder {
    Dated() {
        const int dates[][3] = {{2026, 5, 1}, {2025, 12, 24}, {2026, 1, 10},
                                {2026, 3, 2}, {2025, 11, 15}, {2026, 2, 28}};
        for (int i = 0; i < 6; ++i)
            for (PCMDataType& m : doc->Doc().GetTest(i).m_Steps)
                m.m_Time = COleDateTime::FromParts(dates[i][0], dates[i][1], dates[i][2], 9, 0, 0);
        view->RefreshLists();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
    }
    // First IDs of the tests down the list as it is sorted and searched now.
    std::vector<int> ShownIds() const {
        std::vector<int> ids;
        for (int r = 0; r < view->Ui().testProxy->rowCount(); ++r)
            ids.push_back(view->GetDocument().GetTest(view->Ui().testProxy->TestIndexOfRow(r)).m_Steps[0].m_nMeasId);
        return ids;
    }
    // A click on the row `row` of the list as it is shown now.
    void ClickRow(int row) {
        const QModelIndex idx = view->Ui().testProxy->index(row, 0);
        view->Ui().testList->selectionModel()->setCurrentIndex(
            idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit view->Ui().testList->clicked(idx);
    }
    // Entf in `list`, answering the question with `button`; returns the question's text.
    QString PressDelete(QWidget* list, QMessageBox::StandardButton button) {
        QString asked;
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            asked = box->text();
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
            box->button(button)->click();
        });
        // The window is active again after a question, as it is on screen.
        QApplication::setActiveWindow(view.get());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        return asked;
    }
};

}  // namespace

TEST(TestManagement, HeadersSortDatesAsDatesAndIdsAsNumbers) {
    Dated h;
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{500, 252, 251, 200, 100, 42}));  // newest first, as always
    h.view->Ui().testList->sortByColumn(CTestListModel::ColDate, Qt::AscendingOrder);
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{252, 100, 200, 500, 251, 42}));
    h.view->Ui().testList->sortByColumn(CTestListModel::ColId, Qt::AscendingOrder);
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{42, 100, 200, 251, 252, 500}));
    // By memory position: 42, 100, 200, 250 (ID 500), 1 (251), 2 (252).
    h.view->Ui().testList->sortByColumn(CTestListModel::ColMemPos, Qt::AscendingOrder);
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{251, 252, 42, 100, 200, 500}));
    // A click on a header sorts too.
    QHeaderView* header = h.view->Ui().testList->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(CTestListModel::ColDate) + 5, header->height() / 2));
    EXPECT_EQ(header->sortIndicatorSection(), CTestListModel::ColDate);
    EXPECT_EQ(h.ShownIds().front(), header->sortIndicatorOrder() == Qt::AscendingOrder ? 252 : 42);
}

TEST(TestManagement, SortedDescendingByDateTheClickedRowIsTheTestShownAndDeleted) {
    Dated h;
    h.view->Ui().testList->sortByColumn(CTestListModel::ColDate, Qt::DescendingOrder);
    ASSERT_EQ(h.ShownIds(), (std::vector<int>{42, 251, 500, 200, 100, 252}));
    // Row 0 is test 0 (ID 42; unsorted, row 0 would be test 5): selected, listed, shown by
    // "Test anzeigen".
    h.ClickRow(0);
    EXPECT_EQ(h.view->SelectedTest(), 0);
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 5);
    h.view->Ui().showButton->click();
    EXPECT_TRUE(h.doc->Doc().GetTest(0).m_bShowInChart);
    EXPECT_EQ(h.view->Ui().testProxy->index(0, CTestListModel::ColCurve).data().toString(), QStringLiteral("L 1"));
    EXPECT_EQ(h.view->Workspace().Evaluator().ShownTest(0), 0);

    // Rows 0 and 1 (IDs 42 and 251): "Nein" keeps both, "Ja" deletes exactly them.
    auto* sel = h.view->Ui().testList->selectionModel();
    sel->select(h.view->Ui().testProxy->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString asked = h.PressDelete(h.view->Ui().testList, QMessageBox::No);
    // Named by date, start time and type, one a line (the order of the list: newest first).
    EXPECT_TRUE(asked.startsWith(
        QStringLiteral("2 Tests löschen?\n\n01.05.2026 09:00 Laufband\n02.03.2026 09:00 Laufband\n\n")))
        << asked.toStdString();
    EXPECT_EQ(h.doc->Doc().GetTestCount(), 6);
    h.PressDelete(h.view->Ui().testList, QMessageBox::Yes);
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{500, 200, 100, 252}));
    // The shown test left the chart; undo brings both back, the shown one into the chart.
    EXPECT_EQ(h.doc->Doc().CountShownTests(), 0);
    EXPECT_EQ(h.view->Workspace().Evaluator().ShownTest(0), -1);
    h.view->OnUndo();
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{42, 251, 500, 200, 100, 252}));
    EXPECT_TRUE(h.doc->Doc().GetTest(0).m_bShowInChart);
    EXPECT_EQ(h.view->Workspace().Evaluator().ShownTest(0), 0);
}

TEST(TestManagement, ReadingsGoWithEntfFromTheMeasurementList) {
    Dated h;
    h.SelectTests({1});  // ID 100, five steps
    auto* sel = h.view->Ui().measList->selectionModel();
    sel->select(h.view->Ui().measModel->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sel->select(h.view->Ui().measModel->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString asked = h.PressDelete(h.view->Ui().measList, QMessageBox::Yes);
    EXPECT_TRUE(asked.startsWith(QStringLiteral("2 Messungen löschen?\n\nID: 00101, 00103\n\n")));
    EXPECT_EQ(h.view->Ui().measModel->rowCount(), 3);
    std::vector<int> ids;
    for (const PCMDataType& m : h.doc->Doc().GetTest(1).m_Steps) ids.push_back(m.m_nMeasId);
    EXPECT_EQ(ids, (std::vector<int>{100, 102, 104}));
    EXPECT_EQ(h.view->SelectedTest(), 1);
    EXPECT_TRUE(h.doc->IsModified());
}

TEST(TestManagement, TheSearchFieldFiltersAsYouTypeAndEscClearsIt) {
    Dated h;
    QLineEdit* filter = h.view->Ui().filter;
    // Ctrl+F from the measurement list puts the cursor into the search field.
    h.view->Ui().measList->setFocus();
    QTest::keyClick(h.view->Ui().measList, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(filter->hasFocus());
    QTest::keyClicks(filter, QStringLiteral("2025"));
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{252, 100}));
    QTest::keyClicks(filter, QStringLiteral(" 12."));
    EXPECT_EQ(h.ShownIds(), (std::vector<int>{100}));
    // Down goes into the list onto the one test found; that is the selected test.
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_TRUE(h.view->Ui().testList->hasFocus());
    EXPECT_EQ(h.view->SelectedTest(), 1);
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(h.ShownIds().size(), 6u);
    // Test type and ID; a search that finds nothing empties the list, and the selection with it.
    h.view->SetFilterText(QStringLiteral("laufband 00"));
    EXPECT_EQ(h.ShownIds().size(), 6u);
    h.view->SetFilterText(QStringLiteral("ergometer"));
    EXPECT_TRUE(h.ShownIds().empty());
    EXPECT_TRUE(h.view->SelectedTestIndices().empty());
}

// The list's columns in either language (the test types and headings differ in length).
class TestListColumns : public ::testing::TestWithParam<Lang> {
protected:
    const LangScope m_lang{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Languages, TestListColumns, ::testing::Values(Lang::de, Lang::en),
                         [](const auto& info) { return std::string(LangCode(info.param)); });

TEST_P(TestListColumns, HoldTheirWidestTextAndHeader) {
    ViewHolder h;
    // Test 4 as a field test: the widest test type of the list.
    h.doc->Doc().GetTest(4).m_nTestType = TestField;
    h.doc->Doc().GetTest(3).m_nTestType = TestErgometer;
    h.view->RefreshLists();
    QTreeView* list = h.view->Ui().testList;
    const QFontMetrics fm = list->fontMetrics();
    const int box = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    auto atLeast = [&](int column, const QString& text, int extra) {
        EXPECT_GE(list->columnWidth(column), fm.horizontalAdvance(text) + extra) << text.toStdString();
    };
    // ID column: check box, the 16-pixel picture and "00500" / "00042 ...".
    atLeast(CTestListModel::ColId, QStringLiteral("00042 ..."), box + 16);
    atLeast(CTestListModel::ColMemPos, QStringLiteral("042 ..."), 0);
    atLeast(CTestListModel::ColDate,
            GetParam() == Lang::en ? QStringLiteral("02/03/2026") : QStringLiteral("02.03.2026"), 0);
    atLeast(CTestListModel::ColTestType, QString::fromUtf8(TestTypeText(TestErgometer)), 0);
    atLeast(CTestListModel::ColTestType, QString::fromUtf8(TestTypeText(TestField)), 0);
    for (int c = 0; c < CTestListModel::ColumnCount; ++c)
        atLeast(c, list->model()->headerData(c, Qt::Horizontal).toString(), 0);
    // The list is as wide as its columns: none is cut at the right edge.
    // (Steps and highest lactate follow where the list has room.)
    int sum = 0;
    for (int c = 0; c < CTestListModel::kEssentialColumns; ++c) sum += list->columnWidth(c);
    EXPECT_LE(sum, list->viewport()->width());
}
