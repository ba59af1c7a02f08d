// Managing the tests of a window: the lists' context menus, deleting tests and readings, sorting
// and searching the test list, and columns as wide as their contents.
#include "view/TestManagement.h"

#include "view/MeasurementListModel.h"
#include "view/QtText.h"
#include "view/TRVView.h"
#include "view/TestListModel.h"
#include "view/TestListProxy.h"
#include "workspace/DeleteCommands.h"
#include "workspace/TestLabel.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <algorithm>
#include <set>

using namespace trv;

CTestManagement::CTestManagement(CTRVView& view)
    : QObject(&view), m_View(view), m_pDeleteTestsAction(nullptr), m_pDeleteReadingsAction(nullptr) {
    QTreeView* tests = view.m_pTestList;
    QLineEdit* filter = view.m_pFilter;
    // Newest first, as the list has always opened; a click on a header sorts by that column.
    tests->setSortingEnabled(true);
    tests->sortByColumn(CTestListModel::ColId, Qt::DescendingOrder);

    filter->setPlaceholderText(QStr(IDS_FILTER_PLACEHOLDER));
    filter->setToolTip(QStr(IDS_TIP_FILTER));
    filter->setClearButtonEnabled(true);
    connect(filter, &QLineEdit::textChanged, this, &CTestManagement::SetFilterText);
    filter->installEventFilter(this);
    auto* clear = new QAction(filter);
    clear->setShortcut(QKeySequence(Qt::Key_Escape));
    clear->setShortcutContext(Qt::WidgetShortcut);
    connect(clear, &QAction::triggered, filter, &QLineEdit::clear);
    filter->addAction(clear);
    auto* find = new QAction(&view);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QAction::triggered, this, [filter] {
        filter->setFocus(Qt::ShortcutFocusReason);
        filter->selectAll();
    });
    view.addAction(find);

    auto deleteAction = [this](QTreeView* list, int textId, void (CTestManagement::*slot)()) {
        auto* a = new QAction(QStr(textId), list);
        a->setShortcut(QKeySequence::Delete);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        list->addAction(a);
        return a;
    };
    m_pDeleteTestsAction = deleteAction(tests, IDS_MENU_DELETE_TESTS, &CTestManagement::DeleteTests);
    m_pDeleteReadingsAction = deleteAction(view.m_pMeasList, IDS_MENU_DELETE_MEAS, &CTestManagement::DeleteReadings);
}

void CTestManagement::SetFilterText(const QString& text) {
    if (m_View.m_pFilter->text() != text) m_View.m_pFilter->setText(text);  // comes back here through textChanged
    m_View.m_pTestProxy->SetFilterText(text);
}

bool CTestManagement::AskDelete(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QU8(question),
                    QMessageBox::Yes | QMessageBox::No, &m_View);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CTestManagement::DeleteTests() {
    const std::vector<int> tests = m_View.SelectedTestIndices();
    if (tests.empty()) return;
    std::vector<std::string> ids;
    for (int t : tests) ids.push_back(TestLabel(m_View.GetDocument().GetTest(t)));
    if (!AskDelete(DeleteQuestion(true, ids))) return;
    const uint32_t changes = m_View.Workspace().DeleteTests(tests);
    m_View.Refresh(changes);
    if (changes) emit m_View.statusMessage(QU8(DeletedMessage(true, static_cast<int>(tests.size()))));
}

void CTestManagement::DeleteReadings() {
    const CTRVDoc& doc = m_View.GetDocument();
    CWorkspace& ws = m_View.Workspace();
    const auto& listed = m_View.m_pMeasModel->Rows();
    std::vector<std::pair<int, int>> readings;
    for (int r : m_View.SelectedMeasurementRows())
        if (r < static_cast<int>(listed.size())) readings.emplace_back(listed[size_t(r)].test, listed[size_t(r)].meas);
    if (readings.empty() && ws.CurrentMeasurement() >= 0)
        readings.emplace_back(ws.SelectedTest(), ws.CurrentMeasurement());
    std::vector<std::string> ids;
    for (const auto& [test, meas] : readings) {
        if (!doc.IsValidTest(test) || meas < 0 || meas >= static_cast<int>(doc.GetTest(test).m_Steps.size())) return;
        ids.push_back(MeasIdText(doc.GetTest(test).m_Steps[static_cast<size_t>(meas)].m_nMeasId));
    }
    if (ids.empty() || !AskDelete(DeleteQuestion(false, ids))) return;
    const uint32_t changes = ws.DeleteReadings(readings);
    m_View.Refresh(changes);
    if (changes) emit m_View.statusMessage(QU8(DeletedMessage(false, static_cast<int>(readings.size()))));
}

bool CTestManagement::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_View.m_pFilter && e->type() == QEvent::KeyPress && FilterKey(static_cast<QKeyEvent*>(e)))
        return true;
    return QObject::eventFilter(watched, e);
}

bool CTestManagement::FilterKey(QKeyEvent* e) {
    // Down or Enter in the search field goes on into the list it filters.
    if (e->key() != Qt::Key_Down && e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
    QTreeView* list = m_View.m_pTestList;
    list->setFocus(Qt::TabFocusReason);
    if (m_View.m_pTestProxy->rowCount() == 0) return true;
    // As a key press in the list would: its current row, or the first, becomes the selection.
    const QModelIndex current = list->currentIndex();
    const QModelIndex row = current.isValid() ? current : m_View.m_pTestProxy->index(0, 0);
    list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit list->clicked(row);
    return true;
}

void CTestManagement::FitColumns(QTreeView* list) {
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

// ---- menus ----------------------------------------------------------------------------------------

bool CTestManagement::ContextMenu(const QPoint& globalPos) {
    QTreeView* tests = m_View.m_pTestList;
    if (tests->viewport()->rect().contains(tests->viewport()->mapFromGlobal(globalPos))) {
        ShowTestMenu(globalPos);
        return true;
    }
    QTreeView* meas = m_View.m_pMeasList;
    const QPoint local = meas->viewport()->mapFromGlobal(globalPos);
    if (!meas->viewport()->rect().contains(local)) return false;
    ShowMeasMenu(globalPos, meas->indexAt(local));
    return true;
}

void CTestManagement::ShowTestMenu(const QPoint& globalPos) {
    CTRVView* view = &m_View;
    QMenu menu(view);
    if (!view->CanConvertToStepTest()) {
        // Without single readings to convert, the list offers the tests that need no analyser.
        connect(menu.addAction(QStr(IDS_MT_ACTION)), &QAction::triggered, view, &CTRVView::OnManualTest);
        connect(menu.addAction(QStr(IDS_IMPD_ACTION)), &QAction::triggered, view, &CTRVView::OnImportReadings);
        connect(menu.addAction(QStr(IDS_EDIT_PASTE)), &QAction::triggered, view, &CTRVView::OnPasteReadings);
    } else {
        menu.setTitle(QStr(IDS_POPUP_CONVERT));
        QAction* a = menu.addAction(QStr(IDS_EDIT_CONVERT));
        a->setStatusTip(QStr(IDS_TIP_CONVERT));
        connect(a, &QAction::triggered, view, &CTRVView::OnConvertToStepTest);
    }
    if (!view->SelectedTestIndices().empty()) {
        menu.addSeparator();
        menu.addAction(m_pDeleteTestsAction);
    }
    menu.exec(globalPos);
}

void CTestManagement::ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index) {
    const CTRVDoc& doc = m_View.GetDocument();
    CWorkspace& ws = m_View.Workspace();
    if (!index.isValid() || !doc.IsValidTest(ws.SelectedTest())) return;
    const auto& rows = m_View.m_pMeasModel->Rows();
    if (index.row() >= static_cast<int>(rows.size())) return;
    auto r = rows[static_cast<size_t>(index.row())];
    if (!doc.IsValidTest(r.test)) return;
    const TestDataType& test = doc.GetTest(r.test);
    if (r.meas < 0 || r.meas >= static_cast<int>(test.m_Steps.size())) return;
    int type = test.m_Steps[static_cast<size_t>(r.meas)].m_nMeasType;
    if (r.test == ws.SelectedTest()) ws.SetCurrentMeasurement(r.meas);
    CTRVView* view = &m_View;
    QMenu menu(QStr(IDS_POPUP_MEASTYPE), view);
    // A single reading has no type to change; it can only be deleted.
    if (type != MeasSingle) {
        const int tips[] = {IDS_TIP_PRL, IDS_TIP_LD, IDS_TIP_AFL};
        for (int t = MeasPreLoad; t <= MeasPostLoad; ++t) {
            QAction* a = menu.addAction(QString::fromUtf8(MeasTypeText(t)));
            a->setCheckable(true);
            a->setChecked(t == type);
            a->setStatusTip(QStr(tips[t - 1]));
            connect(a, &QAction::triggered, view, [view, t] { view->OnSetMeasType(t); });
        }
        menu.addSeparator();
    }
    menu.addAction(m_pDeleteReadingsAction);
    menu.exec(globalPos);
}
