// Managing the tests of a window: the lists' context menus, deleting tests and readings, sorting
// and searching the test list, and columns as wide as their contents.
#include "view/window/TestManagement.h"

#include "view/QtText.h"
#include "view/lists/MeasurementListModel.h"
#include "view/lists/TestListModel.h"
#include "view/lists/TestListProxy.h"
#include "workspace/DeleteCommands.h"
#include "workspace/Workspace.h"

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

CTestManagement::CTestManagement(QWidget* window, CWorkspace& ws, const TestListWidgets& lists,
                                 std::function<void(uint32_t)> refresh, std::function<void(const QString&)> status)
    : m_pWindow(window),
      m_Ws(ws),
      m_Lists(lists),
      m_Refresh(std::move(refresh)),
      m_Status(std::move(status)),
      m_pDeleteTestsAction(nullptr),
      m_pDeleteReadingsAction(nullptr) {
    QTreeView* tests = lists.tests;
    QLineEdit* filter = lists.filter;
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
    auto* find = new QAction(window);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QAction::triggered, this, [filter] {
        filter->setFocus(Qt::ShortcutFocusReason);
        filter->selectAll();
    });
    window->addAction(find);

    auto deleteAction = [this](QTreeView* list, int textId, void (CTestManagement::*slot)()) {
        auto* a = new QAction(QStr(textId), list);
        a->setShortcut(QKeySequence::Delete);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        list->addAction(a);
        return a;
    };
    m_pDeleteTestsAction = deleteAction(tests, IDS_MENU_DELETE_TESTS, &CTestManagement::DeleteTests);
    m_pDeleteReadingsAction = deleteAction(lists.meas, IDS_MENU_DELETE_MEAS, &CTestManagement::DeleteReadings);
}

void CTestManagement::SetFilterText(const QString& text) {
    if (m_Lists.filter->text() != text) m_Lists.filter->setText(text);  // comes back here through textChanged
    m_Lists.testProxy->SetFilterText(text);
}

bool CTestManagement::AskDelete(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QU8(question),
                    QMessageBox::Yes | QMessageBox::No, m_pWindow);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CTestManagement::DeleteTests() {
    const std::vector<int> tests = SelectedTests();
    if (tests.empty()) return;
    std::vector<std::string> ids;
    for (int t : tests)
        ids.push_back(CTestListModel::CellText(m_Ws.Doc().GetTest(t), CTestListModel::ColId, -1).toStdString());
    if (!AskDelete(DeleteQuestion(true, ids))) return;
    const uint32_t changes = m_Ws.DeleteTests(tests);
    m_Refresh(changes);
    if (changes) m_Status(QU8(DeletedMessage(true, static_cast<int>(tests.size()))));
}

void CTestManagement::DeleteReadings() {
    const CTRVDoc& doc = m_Ws.Doc();
    CWorkspace& ws = m_Ws;
    const auto& listed = m_Lists.measModel->Rows();
    std::vector<std::pair<int, int>> readings;
    for (int r : SelectedMeasurementRows())
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
    m_Refresh(changes);
    if (changes) m_Status(QU8(DeletedMessage(false, static_cast<int>(readings.size()))));
}

void CTestManagement::SetMeasType(int type) {
    // Rows of the measurement list are the measurements of the selected test, in order.
    std::vector<int> meas;
    const auto& listed = m_Lists.measModel->Rows();
    for (int r : SelectedMeasurementRows())
        if (r < static_cast<int>(listed.size()) && listed[static_cast<size_t>(r)].test == m_Ws.SelectedTest())
            meas.push_back(listed[static_cast<size_t>(r)].meas);
    m_Refresh(m_Ws.SetMeasType(meas, type));
}

std::vector<int> CTestManagement::SelectedTests(const QTreeView* list, const CTestListProxy* proxy) {
    std::vector<int> tests;
    for (int r : SelectedRows(list)) {
        const int t = proxy->TestIndexOfRow(r);
        if (t >= 0) tests.push_back(t);
    }
    return tests;
}

std::vector<int> CTestManagement::SelectedRows(const QTreeView* list) {
    std::vector<int> rows;
    for (const QModelIndex& i : list->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool CTestManagement::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_Lists.filter && e->type() == QEvent::KeyPress && FilterKey(static_cast<QKeyEvent*>(e)))
        return true;
    return QObject::eventFilter(watched, e);
}

bool CTestManagement::FilterKey(QKeyEvent* e) {
    // Down or Enter in the search field goes on into the list it filters.
    if (e->key() != Qt::Key_Down && e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
    QTreeView* list = m_Lists.tests;
    list->setFocus(Qt::TabFocusReason);
    if (m_Lists.testProxy->rowCount() == 0) return true;
    // As a key press in the list would: its current row, or the first, becomes the selection.
    const QModelIndex current = list->currentIndex();
    const QModelIndex row = current.isValid() ? current : m_Lists.testProxy->index(0, 0);
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
    QTreeView* tests = m_Lists.tests;
    if (tests->viewport()->rect().contains(tests->viewport()->mapFromGlobal(globalPos))) {
        ShowTestMenu(globalPos);
        return true;
    }
    QTreeView* meas = m_Lists.meas;
    const QPoint local = meas->viewport()->mapFromGlobal(globalPos);
    if (!meas->viewport()->rect().contains(local)) return false;
    ShowMeasMenu(globalPos, meas->indexAt(local));
    return true;
}

void CTestManagement::ShowTestMenu(const QPoint& globalPos) {
    QMenu menu(m_pWindow);
    // The same actions as in the main window's menus.
    auto add = [this, &menu](CommandId id) {
        if (QAction* a = m_Commands ? m_Commands(id) : nullptr) menu.addAction(a);
    };
    if (!m_Ws.CanConvertToStepTest()) {
        // Without single readings to convert, the list offers the tests that need no analyser.
        add(CommandId::ManualTest);
        add(CommandId::ImportReadings);
        add(CommandId::PasteReadings);
    } else {
        menu.setTitle(QStr(IDS_POPUP_CONVERT));
        add(CommandId::ConvertToStepTest);
    }
    if (!SelectedTests().empty()) {
        menu.addSeparator();
        menu.addAction(m_pDeleteTestsAction);
    }
    menu.exec(globalPos);
}

void CTestManagement::ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index) {
    const CTRVDoc& doc = m_Ws.Doc();
    CWorkspace& ws = m_Ws;
    if (!index.isValid() || !doc.IsValidTest(ws.SelectedTest())) return;
    const auto& rows = m_Lists.measModel->Rows();
    if (index.row() >= static_cast<int>(rows.size())) return;
    auto r = rows[static_cast<size_t>(index.row())];
    if (!doc.IsValidTest(r.test)) return;
    const TestDataType& test = doc.GetTest(r.test);
    if (r.meas < 0 || r.meas >= static_cast<int>(test.m_Steps.size())) return;
    int type = test.m_Steps[static_cast<size_t>(r.meas)].m_nMeasType;
    if (r.test == ws.SelectedTest()) ws.SetCurrentMeasurement(r.meas);
    QMenu menu(QStr(IDS_POPUP_MEASTYPE), m_pWindow);
    // A single reading has no type to change; it can only be deleted.
    if (type != MeasSingle) {
        const int tips[] = {IDS_TIP_PRL, IDS_TIP_LD, IDS_TIP_AFL};
        for (int t = MeasPreLoad; t <= MeasPostLoad; ++t) {
            QAction* a = menu.addAction(QString::fromUtf8(MeasTypeText(t)));
            a->setCheckable(true);
            a->setChecked(t == type);
            a->setStatusTip(QStr(tips[t - 1]));
            connect(a, &QAction::triggered, this, [this, t] { SetMeasType(t); });
        }
        menu.addSeparator();
    }
    menu.addAction(m_pDeleteReadingsAction);
    menu.exec(globalPos);
}
