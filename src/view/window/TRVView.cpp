#include "view/window/TRVView.h"

#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/dialogs/TRVStatusDialog.h"
#include "view/dialogs/TRVTestParamDialog.h"
#include "view/dialogs/TRVUserDataEditDialog.h"
#include "view/lists/MeasurementDelegate.h"
#include "view/lists/MeasurementListModel.h"
#include "view/lists/TestListModel.h"
#include "view/lists/TestListProxy.h"
#include "view/settings/ZoneSettingsStore.h"
#include "view/widgets/ButtonRow.h"
#include "view/widgets/ViewWidgets.h"
#include "view/widgets/WrapButton.h"
#include "view/window/DocSafety.h"
#include "view/window/ProtocolPrinting.h"
#include "view/window/TChart.h"
#include "view/window/ThresholdPanel.h"
#include "view/window/ViewLink.h"
#include "view/window/WorkspaceSplitter.h"
#include "workspace/TestTransfer.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

using namespace trv;

namespace {
// How long the notice area tells what a download brought.
constexpr int kDownloadNoticeMs = 8000;
// The lists' height when there is room, and at the least (a header and three rows); the chart's
// least height, below which its axes and notices no longer fit.
constexpr int kListComfortHeight = 182;
constexpr int kListMinHeight = 88;
constexpr int kChartMinHeight = 180;
}  // namespace

CTRVView::CTRVView(CDocHandle* doc, QWidget* parent)
    : QWidget(parent),
      m_Ws(doc->Doc(), doc->History(), doc->Analyses()),
      m_pPrinting(new CProtocolPrinting(m_Ws, this)),
      m_pDocHandle(doc),
      m_pNoticeTimer(new QTimer(this)) {
    m_ui.chart = new CTChart(this);
    m_ui.thresholds = new CThresholdPanel(this);
    m_ui.testList = MakeList(this);
    m_ui.measList = MakeList(this);
    m_ui.resetButton = new QPushButton(QStringLiteral("R"), this);
    m_ui.receiveButton = new CWrapButton(this);
    m_ui.paramButton = new CWrapButton(this);
    m_ui.userButton = new CWrapButton(this);
    m_ui.showButton = new CWrapButton(this);
    m_ui.printButton = new CWrapButton(this);
    m_ui.testModel = new CTestListModel(&doc->Doc(), this);
    m_ui.testProxy = new CTestListProxy(m_ui.testModel, this);
    m_ui.measModel = new CMeasurementListModel(&doc->Doc(), this);
    m_ui.downloadNoticeTimer = new QTimer(this);
    m_ui.plate = new QLabel(this);
    m_ui.testList->setModel(m_ui.testProxy);
    m_ui.measList->setModel(m_ui.measModel);
    m_ui.measList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_ui.measModel->SetEditor([this](int t, int m, int c, const std::string& text) { return EditCell(t, m, c, text); });
    m_ui.measModel->SetCompensatedLoads([this](int t) { return m_Ws.Analysis(t).m_dShortCompLoad; });
    m_ui.measModel->SetFlagged([this](int t, int row) { return m_Ws.FlaggedNotice(t, row); });
    BuildLayout();

    // Initial update: texts, chart start state, columns, lists, evaluation.
    m_ui.receiveButton->setText(QStr(IDS_BTN_RECEIVE));
    m_ui.paramButton->setText(QStr(IDS_BTN_PARAMS));
    m_ui.userButton->setText(QStr(IDS_BTN_USER));
    m_ui.showButton->setText(QStr(IDS_BTN_SHOW));
    m_ui.printButton->setText(QStr(IDS_BTN_PRINT));
    m_ui.receiveButton->setToolTip(QStr(IDS_TIP_RECEIVE));
    m_ui.paramButton->setToolTip(QStr(IDS_TIP_PARAMS));
    m_ui.userButton->setToolTip(QStr(IDS_TIP_USER));
    m_ui.printButton->setToolTip(QStr(IDS_TIP_PRINT_PROTOCOL));
    m_ui.resetButton->setToolTip(QStr(IDS_TIP_RESET_SHOWN));
    m_ui.testList->setToolTip(QStr(IDS_TIP_TEST_LIST));
    m_ui.measList->setToolTip(QStr(IDS_TIP_MEAS_LIST));
    m_ui.chart->SetModel(&m_Ws.Chart());
    m_pEntered = std::make_unique<CEnteredTestActions>(this, m_Ws, [this](uint32_t changes) { Refresh(changes); });
    m_pEntered->SetStatus([this](const QString& text) { emit statusMessage(text); });
    m_pThresholdActions = std::make_unique<CThresholdActions>(this, m_Ws, m_ui.thresholds);

    const int measWidths[] = {95, 74, 110, 55, 90, 65, 40};
    // At least the given widths; wider where this system's font needs room for the header.
    auto fit = [](QTreeView* list, int column, int width) {
        QString header = list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        list->setColumnWidth(column, std::max(width, list->fontMetrics().horizontalAdvance(header) + 18));
    };
    for (int c = 0; c < CMeasurementListModel::ColumnCount; ++c) fit(m_ui.measList, c, measWidths[c]);
    const int testWidths[] = {80, 40, 74, 44, 60, 40, 44, 60};
    for (int c = 0; c < CTestListModel::ColumnCount; ++c) fit(m_ui.testList, c, testWidths[c]);
    // Room for the check box and the picture in front of the first column.
    m_ui.testList->setColumnWidth(0, std::max(m_ui.testList->columnWidth(0), 110));
    m_ui.measList->setColumnWidth(0, std::max(m_ui.measList->columnWidth(0), 115));
    ConnectSignals();
    m_pManagement = std::make_unique<CTestManagement>(
        this, m_Ws, TestListWidgets{m_ui.testList, m_ui.testProxy, m_ui.filter, m_ui.measList, m_ui.measModel},
        [this](uint32_t changes) { Refresh(changes); }, [this](const QString& text) { emit statusMessage(text); });

    m_Ws.SetZoneSettings(LoadZoneSettings());
    FillMeasurementList();
    FillTestList();
    Evaluate();
    SetUpChart();

    m_ui.status = new CTRVStatusDialog(this);
    m_pLink = std::make_unique<CViewLink>(this, m_ui.status, m_Ws);
    connect(m_pLink.get(), &CViewLink::receiveEnabled, this, &CTRVView::EnableReceive);
    connect(m_pLink.get(), &CViewLink::deviceAnnotation, this, &CTRVView::SetDeviceAnnotation);
    connect(m_pLink.get(), &CViewLink::memoryReceived, this, &CTRVView::OnMemoryReceived);
    connect(m_pNoticeTimer, &QTimer::timeout, this, &CTRVView::RefreshNotices);
    m_pNoticeTimer->start(1000);
    m_ui.downloadNoticeTimer->setSingleShot(true);
    connect(m_ui.downloadNoticeTimer, &QTimer::timeout, this, [this] {
        m_Ws.ClearDownloadNotice();
        RefreshNotices();
    });
    m_Ws.ShowDeviceText();
    RefreshNotices();
}

CTRVView::~CTRVView() {
    m_pNoticeTimer->stop();
    m_pLink.reset();  // stops the reader thread and closes the port
}

void CTRVView::ConnectSignals() {
    connect(m_ui.testModel, &CTestListModel::checkChangeRequested, this, &CTRVView::OnTestCheckChange);
    connect(m_ui.measModel, &CMeasurementListModel::checkChangeRequested, this, &CTRVView::OnMeasurementCheckChange);
    connect(m_ui.testList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnTestSelectionChanged(); });
    connect(m_ui.testList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { OnTestSelectionChanged(); });
    connect(m_ui.testList, &QTreeView::clicked, this, &CTRVView::OnTestClicked);
    connect(m_ui.testList, &QTreeView::doubleClicked, this, [this] { OnEditTestParams(); });
    connect(m_ui.measList, &QTreeView::clicked, this, &CTRVView::OnMeasClicked);
    connect(m_ui.measList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { OnMeasClicked(i); });

    connect(m_ui.receiveButton, &QPushButton::clicked, this, &CTRVView::OnReceiveData);
    connect(m_ui.paramButton, &QPushButton::clicked, this, &CTRVView::OnEditTestParams);
    connect(m_ui.userButton, &QPushButton::clicked, this, &CTRVView::OnEditUserData);
    connect(m_ui.showButton, &QPushButton::clicked, this, &CTRVView::OnShowTest);
    connect(m_ui.printButton, &QPushButton::clicked, m_pPrinting, &CProtocolPrinting::Print);
    connect(m_pPrinting, &CProtocolPrinting::statusMessage, this, &CTRVView::statusMessage);
    connect(m_ui.resetButton, &QPushButton::clicked, this, &CTRVView::OnResetDisplay);
    connect(m_pDocHandle, &CDocHandle::documentChanged, this, &CTRVView::OnDocumentChanged);
    connect(m_ui.thresholds, &CThresholdPanel::marksChanged, this, [this] {
        m_pThresholdActions->ApplyMarks();
        m_ui.chart->Redraw();
    });

    connect(m_ui.chart, &CTChart::cursorMoved, this,
            [this](int tool, int, int, double x, double y, int, int) { m_Ws.CursorMoved(tool, x, y); });
    // The chart has applied the activity rule (heart-rate companions, load-axis extent).
    connect(m_ui.chart, &CTChart::seriesActivityChanged, this, [this](int) {
        Evaluate();
        SetUpChart();
    });
    auto* delegate = new CMeasurementDelegate(m_ui.measList);
    m_ui.measList->setItemDelegate(delegate);
    connect(m_ui.measModel, &QAbstractItemModel::modelReset, delegate, &CMeasurementDelegate::ResetClick);
    connect(m_ui.measModel, &CMeasurementListModel::editRefused, this, &CTRVView::OnEditRefused);
    // The tip of the "Anzeigen" button follows the moment it is asked for.
    m_ui.showButton->installEventFilter(this);
    m_ui.showButton->setToolTip(ShowButtonTip());
}

bool CTRVView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_ui.showButton && e->type() == QEvent::ToolTip) m_ui.showButton->setToolTip(ShowButtonTip());
    if (watched == m_ui.chartPane && e->type() == QEvent::Resize) FitThresholdPanel();
    return QWidget::eventFilter(watched, e);
}

void CTRVView::contextMenuEvent(QContextMenuEvent* e) {
    if (!m_pManagement->ContextMenu(e->globalPos())) QWidget::contextMenuEvent(e);
}

void CTRVView::BuildLayout() {
    auto* listPane = new QWidget(this);
    auto* testsLabel = new QLabel(QStr(IDS_LABEL_TESTS), listPane);
    auto* measLabel = new QLabel(QStr(IDS_LABEL_MEAS), listPane);
    m_ui.resetButton->setFixedSize(22, 22);
    m_ui.plate->setPixmap(Plate());
    m_ui.plate->setFrameShape(QFrame::Box);

    auto* lists = new QGridLayout(listPane);
    lists->setContentsMargins(0, 0, 0, 0);
    auto* testsHead = new QHBoxLayout;
    testsHead->addWidget(testsLabel);
    testsHead->addWidget(m_ui.filter = new QLineEdit(this), 1);
    lists->addLayout(testsHead, 0, 0);
    lists->addWidget(measLabel, 0, 1);
    lists->addWidget(m_ui.testList, 1, 0);
    lists->addWidget(m_ui.measList, 1, 1);
    auto* reset = new QHBoxLayout;
    reset->addWidget(m_ui.resetButton);
    reset->addStretch(1);
    lists->addLayout(reset, 2, 0);
    // The test list keeps its width and the measurement list takes the rest; in a small window both
    // come down to a header and a few rows before the chart gives way.
    for (QTreeView* l : {m_ui.testList, m_ui.measList}) l->setMinimumHeight(kListMinHeight);
    m_ui.testList->setFixedWidth(318);
    lists->setColumnStretch(0, 0);
    lists->setColumnStretch(1, 1);

    std::vector<QWidget*> row;
    for (QPushButton* b : {m_ui.receiveButton, m_ui.paramButton, m_ui.userButton, m_ui.showButton, m_ui.printButton}) {
        b->setStyleSheet(QStringLiteral("text-align: center;"));
        row.push_back(b);
    }
    auto* buttons = new CButtonRow(row, m_ui.plate, this);

    // The thresholds of the shown tests stand beside the chart, which takes every extra pixel; the
    // panel is as wide as its tables while the chart keeps the larger part of the row.
    auto* chartPane = new QWidget(this);
    m_ui.chartPane = chartPane;
    auto* top = new QHBoxLayout(chartPane);
    top->setContentsMargins(0, 0, 0, 0);
    m_ui.thresholds->SetWidth(380);
    connect(m_ui.thresholds, &CThresholdPanel::wantedWidthChanged, this, &CTRVView::FitThresholdPanel);
    chartPane->installEventFilter(this);
    top->addWidget(m_ui.chart, 1);
    top->addWidget(m_ui.thresholds, 0);
    m_ui.chart->setMinimumHeight(kChartMinHeight);

    m_ui.splitter = new CWorkspaceSplitter(chartPane, listPane, this);
    m_ui.splitter->SetListComfort(kListComfortHeight + listPane->sizeHint().height() -
                                  m_ui.testList->sizeHint().height());
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addWidget(m_ui.splitter, 1);
    lay->addWidget(buttons);
}

void CTRVView::FitThresholdPanel() {
    const int row = m_ui.chartPane->width() - m_ui.chartPane->layout()->spacing();
    // Never below what its controls need (the zone check box and button side by side).
    m_ui.thresholds->SetWidth(
        std::max(CThresholdPanel::WidthIn(row, m_ui.thresholds->WantedWidth(), m_ui.chart->minimumWidth()),
                 m_ui.thresholds->minimumSizeHint().width()));
}

// ---- list fills ---------------------------------------------------------------------------------

void CTRVView::FillTestList() {
    const int remembered = m_Ws.SelectedTest();
    const bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = true;
    m_ui.testModel->Refill();
    if (GetDocument().IsValidTest(remembered)) SelectTestRow(remembered);
    m_Ws.SyncSelection(SelectedTestIndices(), remembered);
    m_bRefreshing = wasRefreshing;
    CTestManagement::FitColumns(m_ui.testList);
    // The test list is narrow by design; it still shows all its columns without scrolling.
    int width = 2 * m_ui.testList->frameWidth() + m_ui.testList->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < CTestListModel::kEssentialColumns; ++c) width += m_ui.testList->columnWidth(c);
    m_ui.testList->setMinimumWidth(width);
    emit commandStateChanged();
}

QModelIndex CTRVView::TestListIndex(int test, int column) const {
    const int row = m_ui.testProxy->RowOfTestIndex(test);
    return row < 0 ? QModelIndex() : m_ui.testProxy->index(row, column);
}

void CTRVView::SelectTestRow(int testIndex) {
    const QModelIndex idx = TestListIndex(testIndex);
    if (!idx.isValid()) return;
    m_ui.testList->selectionModel()->setCurrentIndex(idx,
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_ui.testList->scrollTo(idx);
}

void CTRVView::FillMeasurementList() {
    const bool was = m_bRefreshing;
    m_bRefreshing = true;
    if (m_Ws.SelectedTest() < 0) {
        m_ui.measModel->Clear();
        m_bRefreshing = was;
        return;
    }
    const int remembered = m_Ws.CurrentMeasurement();
    const int scroll = m_ui.measList->verticalScrollBar()->value();
    m_ui.measModel->Fill(m_Ws.SelectedTests(), m_Ws.SeveralSelected());
    const auto& rows = m_ui.measModel->Rows();
    m_Ws.SetCurrentMeasurement(-1);
    for (size_t r = 0; remembered >= 0 && r < rows.size(); ++r) {
        if (rows[r].test == m_Ws.SelectedTest() && rows[r].meas == remembered) {
            QModelIndex idx = m_ui.measModel->index(static_cast<int>(r), 0);
            m_ui.measList->selectionModel()->setCurrentIndex(
                idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_Ws.SetCurrentMeasurement(remembered);
            break;
        }
    }
    m_ui.measList->verticalScrollBar()->setValue(scroll);
    CTestManagement::FitColumns(m_ui.measList);
    m_bRefreshing = was;
}

void CTRVView::RefreshLists() {
    FillTestList();
    FillMeasurementList();
}

void CTRVView::Refresh(uint32_t changes) {
    if (changes & ChangeTestList) FillTestList();
    if (changes & (ChangeTestList | ChangeMeasList | ChangeSelection)) FillMeasurementList();
    if (changes & (ChangeChart | ChangeShown | ChangeDevice)) {
        // A reading flagged or no longer flagged changes its row's colour and tip.
        if (m_pThresholdActions->Refresh()) m_ui.measModel->RefreshMarks();
        // Each shown test's curve slot: the "Kurve" column follows it.
        if (m_ui.testModel->rowCount() > 0)
            emit m_ui.testModel->dataChanged(
                m_ui.testModel->index(0, CTestListModel::ColCurve),
                m_ui.testModel->index(m_ui.testModel->rowCount() - 1, CTestListModel::ColCurve));
        RefreshNotices();
    }
    if (changes & ChangeModified) m_pDocHandle->UpdateAllViews(this);
    emit commandStateChanged();
}

std::vector<int> CTRVView::SelectedTestIndices() const {
    return CTestManagement::SelectedTests(m_ui.testList, m_ui.testProxy);
}

std::vector<int> CTRVView::SelectedMeasurementRows() const { return CTestManagement::SelectedRows(m_ui.measList); }

void CTRVView::SetCommands(CommandLookup commands) { m_pManagement->SetCommands(std::move(commands)); }

// ---- selection and check boxes ------------------------------------------------------------------

void CTRVView::OnTestSelectionChanged() {
    const QModelIndex cur = m_ui.testList->selectionModel()->currentIndex();
    const bool any = m_ui.testList->selectionModel()->hasSelection();
    const int current = any && cur.isValid() ? m_ui.testProxy->TestIndexOfRow(cur.row()) : -1;
    if (m_bRefreshing) {
        m_Ws.SyncSelection(SelectedTestIndices(), current);
        return;
    }
    m_Ws.SelectTests(SelectedTestIndices(), current);
    FillMeasurementList();
    emit commandStateChanged();
}

void CTRVView::OnTestClicked(const QModelIndex& index) {
    m_Ws.ClickTest(index.isValid() ? m_ui.testProxy->TestIndexOfRow(index.row()) : -1);
}

void CTRVView::OnMeasClicked(const QModelIndex& index) {
    if (m_bRefreshing) return;
    const auto& rows = m_ui.measModel->Rows();
    int meas = -1;
    if (index.isValid() && index.row() < static_cast<int>(rows.size())) {
        const auto& r = rows[static_cast<size_t>(index.row())];
        if (r.test == m_Ws.SelectedTest()) meas = r.meas;
    }
    m_Ws.SetCurrentMeasurement(meas);
    emit commandStateChanged();
}

void CTRVView::OnTestCheckChange(int testIndex, bool checked) {
    if (m_bRefreshing) return;
    // A refused change (a single reading, a third test) leaves the check mark as it was.
    Refresh(m_Ws.ShowTest(testIndex, checked));
}

void CTRVView::OnMeasurementCheckChange(int row, bool checked) {
    if (m_bRefreshing || m_Ws.SelectedTest() < 0) return;
    const auto& rows = m_ui.measModel->Rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    const auto r = rows[static_cast<size_t>(row)];
    Refresh(m_Ws.TickMeasurement(r.test, r.meas, checked));
}

MeasEditResult CTRVView::EditCell(int test, int meas, int column, const std::string& text) {
    MeasEditResult result;
    const uint32_t changes = m_Ws.EditCell(test, meas, column, text, &result);
    // The model shows the typed cell itself; the list refills only when the edit says so.
    Refresh(result.refill ? changes : changes & ~static_cast<uint32_t>(ChangeMeasList));
    return result;
}

void CTRVView::OnEditRefused(int row, int column, const QString& reason) {
    // Beside the cell, where the eyes are, and in the status bar, where it stays a while. The tip waits
    // until the editor has closed: the focus coming back to the list would take it away at once.
    emit statusMessage(reason);
    QPointer<QTreeView> list = m_ui.measList;
    QPersistentModelIndex cell(m_ui.measModel->index(row, column));
    QTimer::singleShot(0, this, [list, cell, reason] {
        if (!list || !cell.isValid()) return;
        const QRect r = list->visualRect(cell);
        QToolTip::showText(list->viewport()->mapToGlobal(r.bottomLeft()), reason, list->viewport(), r, 8000);
    });
}

// ---- document and notices -----------------------------------------------------------------------

void CTRVView::MarkModified() {
    m_pDocHandle->SetModified(true);
    m_pDocHandle->UpdateAllViews(this);
}

void CTRVView::OnDocumentChanged(QObject* sender) {
    if (sender == this) return;
    m_Ws.Revalidate();
    RefreshLists();
    Evaluate();
}

void CTRVView::OnMemoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware) {
    const uint32_t changes = m_Ws.MergeDownload(memory, deviceId, firmware);
    Refresh(changes);
    // A refused download (another analyser) is explained by its notice line.
    if (!changes) return;
    // A download is kept at once: the analyser's memory may be cleared next.
    m_pDocHandle->Recovery()->WriteNow();
    const int added = m_Ws.NewReadings();
    emit statusMessage(added == 0   ? QStr(IDS_STATUS_NOTHING_NEW)
                       : added == 1 ? QStr(IDS_STATUS_DOWNLOADED_ONE)
                                    : QU8(FmtId(IDS_STATUS_DOWNLOADED, added)));
    RefreshNotices();
    m_ui.downloadNoticeTimer->start(kDownloadNoticeMs);
}

void CTRVView::OnDownloadMerged() {
    const int count = GetDocument().GetTestCount();
    m_Ws.SelectTests(count > 0 ? std::vector<int>{count - 1} : std::vector<int>{}, count - 1);
    m_Ws.SetCurrentMeasurement(-1);
    RefreshLists();
    Evaluate();
    SetUpChart();
}

void CTRVView::RefreshNotices() {
    int windows = 0;
    std::string holder;  // the title of another window that holds the analyser's port
    if (m_Ws.Notices() & NoticeNoAnalyser)
        for (QWidget* w : QApplication::allWidgets())
            if (auto* v = qobject_cast<CTRVView*>(w)) {
                ++windows;
                if (v != this && v->HoldsAnalyser() && holder.empty()) {
                    QString title = v->parentWidget() ? v->parentWidget()->windowTitle() : v->windowTitle();
                    holder = title.remove(QStringLiteral("[*]")).toStdString();
                }
            }
    m_Ws.RefreshNotices(windows > 1, holder);
    m_ui.chart->Redraw();
}

void CTRVView::Evaluate() {
    m_Ws.Evaluate();
    Refresh(ChangeChart);
}

void CTRVView::SetUpChart() {
    m_Ws.SetUpChart();
    m_ui.chart->Redraw();
}

// ---- buttons ----------------------------------------------------------------------------------

void CTRVView::OnReceiveData() {
    if (m_pLink) m_pLink->ReceiveData();
}

void CTRVView::OnEditTestParams() {
    const int index = m_Ws.SelectedTest();
    if (!GetDocument().IsValidTest(index)) return;
    // While the dialog is open a download may add tests; the workspace finds the edited one again.
    const int firstId = m_Ws.FirstId(index);
    CTRVTestParamDialog dlg(GetDocument().GetTest(index), m_Ws.Analysis(index), this);
    if (dlg.exec() != QDialog::Accepted) return;
    Refresh(m_Ws.ApplyTestParams(index, firstId, dlg.Rules()));
}

void CTRVView::OnEditUserData() {
    CTRVUserDataEditDialog dlg(GetDocument().m_UserData, this);
    if (dlg.exec() == QDialog::Accepted) Refresh(m_Ws.ApplyAthlete(dlg.Data()));
    Evaluate();
}

void CTRVView::OnShowTest() {
    switch (m_Ws.ShowButton()) {
        case ShowButtonAction::Redraw:
            Evaluate();
            SetUpChart();
            break;
        case ShowButtonAction::ShowSelected:
            Refresh(m_Ws.ShowTest(m_Ws.SelectedTest(), true));
            break;
        case ShowButtonAction::Nothing:
            break;
    }
}

void CTRVView::OnResetDisplay() { Refresh(m_Ws.HideAllTests()); }

QString CTRVView::ShowButtonTip() const { return QU8(m_Ws.ShowButtonTip()); }

void CTRVView::OnConvertToStepTest() {
    const std::string question = m_Ws.ConvertQuestion();
    if (!question.empty()) {
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QU8(question),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes) return;
    }
    Refresh(m_Ws.ConvertToStepTest());
}

void CTRVView::OnUndo() {
    // The status line says what was taken back; a line of the command itself ("1 Test gelöscht.") is over.
    const int name = m_Ws.History().UndoNameId();
    const uint32_t changes = m_Ws.Undo();
    Refresh(changes);
    if (changes) emit statusMessage(QU8(FmtId(IDS_STATUS_UNDONE, LoadStr(name))));
}

void CTRVView::OnRedo() {
    const int name = m_Ws.History().RedoNameId();
    const uint32_t changes = m_Ws.Redo();
    Refresh(changes);
    if (changes) emit statusMessage(QU8(FmtId(IDS_STATUS_REDONE, LoadStr(name))));
}

QString CTRVView::MeasurementTableText() const { return m_ui.measModel->TableText(); }

int CTRVView::MeasurementRowCount() const { return m_ui.measModel->rowCount(); }

void CTRVView::OnCopyTable() {
    // The table as text for spreadsheets; beside it the selected tests whole, for other windows.
    auto* mime = new QMimeData;
    mime->setText(MeasurementTableText());
    const std::vector<uint8_t> tests = m_Ws.CopySelectedTests();
    if (!tests.empty())
        mime->setData(QString::fromLatin1(kTestsMimeType),
                      QByteArray(reinterpret_cast<const char*>(tests.data()), static_cast<qsizetype>(tests.size())));
    QApplication::clipboard()->setMimeData(mime);
}

// ---- cursors, device commands -------------------------------------------------------------------

void CTRVView::OnCursor(int which) {
    m_Ws.ToggleCursor(which);
    m_ui.chart->Redraw();
    emit commandStateChanged();
}

void CTRVView::OnBtMode() {
    if (m_pLink) m_pLink->ToggleBtMode();
    emit commandStateChanged();
}

bool CTRVView::BtMode() const { return m_pLink && m_pLink->BtMode(); }

bool CTRVView::HoldsAnalyser() const { return m_pLink && m_pLink->HoldsPort(); }

void CTRVView::OnResetAnalyser() {
    if (m_pLink) m_pLink->ResetAnalyser();
}

void CTRVView::OnDeviceSettings() {
    if (m_pLink && ReceiveEnabled()) m_pLink->DeviceSettings();
}

bool CTRVView::ReceiveEnabled() const { return m_ui.receiveButton->isEnabled(); }

void CTRVView::EnableReceive(bool enable) {
    m_ui.receiveButton->setEnabled(enable);
    emit commandStateChanged();
}

void CTRVView::SetDeviceAnnotation(const std::string& text, bool visible) {
    m_Ws.Chart().tools[ToolDeviceText].text = text;
    m_Ws.Chart().tools[ToolDeviceText].active = visible;
    m_ui.chart->Redraw();
}

// ---- export and print ---------------------------------------------------------------------------

Result CTRVView::ExportTo(const QString& path) const {
    return m_Ws.ExportCsv(SelectedTestIndices(), path.toStdString());
}

void CTRVView::OnExportData() {
    if (SelectedTestIndices().empty()) return;
    QFileDialog dlg(this, QStr(IDS_FILE_EXPORT).remove(QLatin1Char('&')), QString(), QStr(IDS_CSV_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    dlg.selectFile(QStringLiteral("*.csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString path = dlg.selectedFiles().first();
    if (const Result written = ExportTo(path); !written) {
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QStr(IDS_EXPORT_FAILED) + QLatin1Char('\n') + QU8(written.message));
        return;
    }
    emit statusMessage(QU8(FmtId(IDS_STATUS_EXPORTED, QDir::toNativeSeparators(path).toStdString().c_str())));
}

void CTRVView::ShowHistoryTest(int index) {
    if (!GetDocument().IsValidTest(index)) return;
    SelectTestRow(index);
    if (GetDocument().GetTest(index).m_bShowInChart) return;
    const uint32_t changes = m_Ws.ShowTest(index, true);
    if (changes == 0) {
        emit statusMessage(QStr(IDS_HIST_TWO_SHOWN));
        return;
    }
    Refresh(changes);
}
