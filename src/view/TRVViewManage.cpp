// Managing the tests of a window: deleting tests and readings, sorting and searching the test
// list, and columns as wide as their contents.
#include "DeleteCommands.h"
#include "MeasurementListModel.h"
#include "QtText.h"
#include "TRVView.h"
#include "TestListModel.h"
#include "TestListProxy.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <algorithm>
#include <set>

using namespace trv;

void CTRVView::SetUpManagement() {
    // Newest first, as the list has always opened; a click on a header sorts by that column.
    m_pTestList->setSortingEnabled(true);
    m_pTestList->sortByColumn(CTestListModel::ColId, Qt::DescendingOrder);

    m_pFilter->setPlaceholderText(QStr(IDS_FILTER_PLACEHOLDER));
    m_pFilter->setToolTip(QStr(IDS_TIP_FILTER));
    m_pFilter->setClearButtonEnabled(true);
    connect(m_pFilter, &QLineEdit::textChanged, this, &CTRVView::SetFilterText);
    m_pFilter->installEventFilter(this);
    auto* clear = new QAction(m_pFilter);
    clear->setShortcut(QKeySequence(Qt::Key_Escape));
    clear->setShortcutContext(Qt::WidgetShortcut);
    connect(clear, &QAction::triggered, m_pFilter, &QLineEdit::clear);
    m_pFilter->addAction(clear);
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QAction::triggered, this, [this] {
        m_pFilter->setFocus(Qt::ShortcutFocusReason);
        m_pFilter->selectAll();
    });
    addAction(find);

    auto deleteAction = [this](QTreeView* list, int textId, void (CTRVView::*slot)()) {
        auto* a = new QAction(QStr(textId), list);
        a->setShortcut(QKeySequence::Delete);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        list->addAction(a);
        return a;
    };
    m_pDeleteTestsAction = deleteAction(m_pTestList, IDS_MENU_DELETE_TESTS, &CTRVView::OnDeleteTests);
    m_pDeleteReadingsAction = deleteAction(m_pMeasList, IDS_MENU_DELETE_MEAS, &CTRVView::OnDeleteReadings);
}

void CTRVView::SetFilterText(const QString& text) {
    if (m_pFilter->text() != text) m_pFilter->setText(text);  // comes back here through textChanged
    m_pTestProxy->SetFilterText(text);
}

bool CTRVView::AskDelete(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QU8(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CTRVView::OnDeleteTests() {
    const std::vector<int> tests = SelectedTestIndices();
    if (tests.empty()) return;
    std::vector<std::string> ids;
    for (int t : tests)
        ids.push_back(CTestListModel::CellText(GetDocument().GetTest(t), CTestListModel::ColId, -1).toStdString());
    if (!AskDelete(DeleteQuestion(true, ids))) return;
    const uint32_t changes = m_Ws.DeleteTests(tests);
    Refresh(changes);
    if (changes) emit statusMessage(QU8(DeletedMessage(true, static_cast<int>(tests.size()))));
}

void CTRVView::OnDeleteReadings() {
    const CTRVDoc& doc = GetDocument();
    const auto& listed = m_pMeasModel->Rows();
    std::vector<std::pair<int, int>> readings;
    for (int r : SelectedMeasurementRows())
        if (r < static_cast<int>(listed.size())) readings.emplace_back(listed[size_t(r)].test, listed[size_t(r)].meas);
    if (readings.empty() && m_Ws.CurrentMeasurement() >= 0)
        readings.emplace_back(m_Ws.SelectedTest(), m_Ws.CurrentMeasurement());
    std::vector<std::string> ids;
    for (const auto& [test, meas] : readings) {
        if (!doc.IsValidTest(test) || meas < 0 || meas >= static_cast<int>(doc.GetTest(test).m_Steps.size())) return;
        ids.push_back(MeasIdText(doc.GetTest(test).m_Steps[static_cast<size_t>(meas)].m_nMeasId));
    }
    if (ids.empty() || !AskDelete(DeleteQuestion(false, ids))) return;
    const uint32_t changes = m_Ws.DeleteReadings(readings);
    Refresh(changes);
    if (changes) emit statusMessage(QU8(DeletedMessage(false, static_cast<int>(readings.size()))));
}

bool CTRVView::FilterKey(QKeyEvent* e) {
    // Down or Enter in the search field goes on into the list it filters.
    if (e->key() != Qt::Key_Down && e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
    m_pTestList->setFocus(Qt::TabFocusReason);
    if (m_pTestProxy->rowCount() == 0) return true;
    // As a key press in the list would: its current row, or the first, becomes the selection.
    const QModelIndex current = m_pTestList->currentIndex();
    const QModelIndex row = current.isValid() ? current : m_pTestProxy->index(0, 0);
    m_pTestList->selectionModel()->setCurrentIndex(row,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit m_pTestList->clicked(row);
    return true;
}

void CTRVView::FitColumns(QTreeView* list) {
    // Never narrower than set at start; wider when the header or a value needs it. The values are
    // measured on the rows in view and on a sample spread over the whole list: every value of a
    // column has one of a few formats (IDs and dates with fixed digits), so the sample finds the
    // widest, and a list of 10,000 tests costs no more than one of 300.
    QAbstractItemModel* model = list->model();
    QHeaderView* header = list->header();
    const int rows = model->rowCount();
    constexpr int kSample = 256;
    std::set<int> sample;
    for (int r = 0, step = std::max(1, rows / kSample); r < rows; r += step) sample.insert(r);
    const QModelIndex top = list->indexAt(QPoint(0, 0));
    for (int r = top.isValid() ? top.row() : 0, n = 0; r < rows && n < 64; ++r, ++n) sample.insert(r);
    if (rows > 0) sample.insert(rows - 1);

    QStyleOptionViewItem opt;
    opt.initFrom(list);
    opt.widget = list;
    opt.font = list->font();
    opt.fontMetrics = list->fontMetrics();
    opt.decorationSize = list->iconSize().isValid() ? list->iconSize() : QSize(16, 16);
    opt.showDecorationSelected = true;
    for (int c = 0; c < model->columnCount(); ++c) {
        int width = std::max(list->columnWidth(c), header->sectionSizeHint(c));
        for (int r : sample) {
            const QModelIndex idx = model->index(r, c);
            width = std::max(width, list->itemDelegateForIndex(idx)->sizeHint(opt, idx).width());
        }
        list->setColumnWidth(c, width);
    }
}
