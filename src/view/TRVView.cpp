#include "view/TRVView.h"

#include "res/StringIds.h"
#include "view/ChartWidget.h"
#include "view/MeasurementDelegate.h"
#include "view/MeasurementListModel.h"
#include "view/ProtocolPrinting.h"
#include "view/QtText.h"
#include "view/StatusDialog.h"
#include "view/TestListModel.h"
#include "view/TestListProxy.h"
#include "view/TestParamDialog.h"
#include "view/ThresholdPanel.h"
#include "view/UserDataDialog.h"
#include "view/ViewLink.h"
#include "view/ViewWidgets.h"
#include "view/WorkspaceSplitter.h"
#include "view/WrapButton.h"
#include "view/ZoneSettingsStore.h"
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
      m_pChart(new CTChart(this)),
      m_pThresholds(new CThresholdPanel(this)),
      m_pTestList(MakeList(this)),
      m_pMeasList(MakeList(this)),
      m_pResetButton(new QPushButton(QStringLiteral("R"), this)),
      m_pReceiveButton(new CWrapButton(this)),
      m_pParamButton(new CWrapButton(this)),
      m_pUserButton(new CWrapButton(this)),
      m_pShowButton(new CWrapButton(this)),
      m_pPrintButton(new CWrapButton(this)),
      m_pTestModel(new CTestListModel(&doc->Doc(), this)),
      m_pTestProxy(new CTestListProxy(m_pTestModel, this)),
      m_pFilter(nullptr),
      m_pMeasModel(new CMeasurementListModel(&doc->Doc(), this)),
      m_pStatus(nullptr),
      m_pDownloadNoticeTimer(new QTimer(this)),
      m_Ws(doc->Doc(), doc->History(), doc->Analyses()),
      m_pPrinting(new CProtocolPrinting(m_Ws, this)),
      m_Chart(m_Ws.Chart()),
      m_pDocHandle(doc),
      m_pNoticeTimer(new QTimer(this)),
      m_pBitmap(new QLabel(this)) {
    m_pTestList->setModel(m_pTestProxy);
    m_pMeasList->setModel(m_pMeasModel);
    m_pMeasList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pMeasModel->SetEditor([this](int t, int m, int c, const std::string& text) { return EditCell(t, m, c, text); });
    m_pMeasModel->SetCompensatedLoads([this](int t) { return m_Ws.Analysis(t).m_dShortCompLoad; });
    BuildLayout();

    // Initial update: texts, chart start state, columns, lists, evaluation.
    m_pReceiveButton->setText(QStr(IDS_BTN_RECEIVE));
    m_pParamButton->setText(QStr(IDS_BTN_PARAMS));
    m_pUserButton->setText(QStr(IDS_BTN_USER));
    m_pShowButton->setText(QStr(IDS_BTN_SHOW));
    m_pPrintButton->setText(QStr(IDS_BTN_PRINT));
    m_pReceiveButton->setToolTip(QStr(IDS_TIP_RECEIVE));
    m_pParamButton->setToolTip(QStr(IDS_TIP_PARAMS));
    m_pUserButton->setToolTip(QStr(IDS_TIP_USER));
    m_pPrintButton->setToolTip(QStr(IDS_TIP_PRINT_PROTOCOL));
    m_pResetButton->setToolTip(QStr(IDS_TIP_RESET_SHOWN));
    m_pTestList->setToolTip(QStr(IDS_TIP_TEST_LIST));
    m_pMeasList->setToolTip(QStr(IDS_TIP_MEAS_LIST));
    m_pChart->SetModel(&m_Chart);
    m_pEntered = std::make_unique<CEnteredTestActions>(this, m_Ws, [this](uint32_t changes) { Refresh(changes); });
    m_pEntered->SetStatus([this](const QString& text) { emit statusMessage(text); });
    m_pThresholdActions = std::make_unique<CThresholdActions>(this, m_Ws, m_pThresholds);

    const int measWidths[] = {95, 74, 110, 55, 90, 65, 40};
    // At least the given widths; wider where this system's font needs room for the header.
    auto fit = [](QTreeView* list, int column, int width) {
        QString header = list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        list->setColumnWidth(column, std::max(width, list->fontMetrics().horizontalAdvance(header) + 18));
    };
    for (int c = 0; c < CMeasurementListModel::ColumnCount; ++c) fit(m_pMeasList, c, measWidths[c]);
    const int testWidths[] = {80, 40, 74, 44, 60, 40, 44, 60};
    for (int c = 0; c < CTestListModel::ColumnCount; ++c) fit(m_pTestList, c, testWidths[c]);
    // Room for the check box and the picture in front of the first column.
    m_pTestList->setColumnWidth(0, std::max(m_pTestList->columnWidth(0), 110));
    m_pMeasList->setColumnWidth(0, std::max(m_pMeasList->columnWidth(0), 115));
    ConnectSignals();
    m_pManagement = new CTestManagement(*this);

    m_Ws.SetZoneSettings(LoadZoneSettings());
    FillMeasurementList();
    FillTestList();
    Evaluate();
    SetUpChart();

    m_pStatus = new CTRVStatusDialog(this);
    m_pLink = std::make_unique<CViewLink>(this);
    connect(m_pNoticeTimer, &QTimer::timeout, this, &CTRVView::RefreshNotices);
    m_pNoticeTimer->start(1000);
    m_pDownloadNoticeTimer->setSingleShot(true);
    connect(m_pDownloadNoticeTimer, &QTimer::timeout, this, [this] {
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
    connect(m_pTestModel, &CTestListModel::checkChangeRequested, this, &CTRVView::OnTestCheckChange);
    connect(m_pMeasModel, &CMeasurementListModel::checkChangeRequested, this, &CTRVView::OnMeasurementCheckChange);
    connect(m_pTestList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnTestSelectionChanged(); });
    connect(m_pTestList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { OnTestSelectionChanged(); });
    connect(m_pTestList, &QTreeView::clicked, this, &CTRVView::OnTestClicked);
    connect(m_pTestList, &QTreeView::doubleClicked, this, [this] { OnEditTestParams(); });
    connect(m_pMeasList, &QTreeView::clicked, this, &CTRVView::OnMeasClicked);
    connect(m_pMeasList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { OnMeasClicked(i); });

    connect(m_pReceiveButton, &QPushButton::clicked, this, &CTRVView::OnReceiveData);
    connect(m_pParamButton, &QPushButton::clicked, this, &CTRVView::OnEditTestParams);
    connect(m_pUserButton, &QPushButton::clicked, this, &CTRVView::OnEditUserData);
    connect(m_pShowButton, &QPushButton::clicked, this, &CTRVView::OnShowTest);
    connect(m_pPrintButton, &QPushButton::clicked, m_pPrinting, &CProtocolPrinting::Print);
    connect(m_pPrinting, &CProtocolPrinting::statusMessage, this, &CTRVView::statusMessage);
    connect(m_pResetButton, &QPushButton::clicked, this, &CTRVView::OnResetDisplay);
    connect(m_pDocHandle, &CDocHandle::documentChanged, this, &CTRVView::OnDocumentChanged);
    connect(m_pThresholds, &CThresholdPanel::marksChanged, this, [this] {
        m_pThresholdActions->ApplyMarks();
        m_pChart->Redraw();
    });

    connect(m_pChart, &CTChart::cursorMoved, this,
            [this](int tool, int, int, double x, double y, int, int) { m_Ws.CursorMoved(tool, x, y); });
    // The chart has applied the activity rule (heart-rate companions, load-axis extent).
    connect(m_pChart, &CTChart::seriesActivityChanged, this, [this](int) {
        Evaluate();
        SetUpChart();
    });
    auto* delegate = new CMeasurementDelegate(m_pMeasList);
    m_pMeasList->setItemDelegate(delegate);
    connect(m_pMeasModel, &QAbstractItemModel::modelReset, delegate, &CMeasurementDelegate::ResetClick);
    connect(m_pMeasModel, &CMeasurementListModel::editRefused, this, &CTRVView::OnEditRefused);
    // The tip of button 1008 follows the moment it is asked for.
    m_pShowButton->installEventFilter(this);
    m_pShowButton->setToolTip(ShowButtonTip());
}

bool CTRVView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_pShowButton && e->type() == QEvent::ToolTip) m_pShowButton->setToolTip(ShowButtonTip());
    return QWidget::eventFilter(watched, e);
}

void CTRVView::contextMenuEvent(QContextMenuEvent* e) {
    if (!m_pManagement->ContextMenu(e->globalPos())) QWidget::contextMenuEvent(e);
}

void CTRVView::BuildLayout() {
    auto* listPane = new QWidget(this);
    auto* testsLabel = new QLabel(QStr(IDS_LABEL_TESTS), listPane);
    auto* measLabel = new QLabel(QStr(IDS_LABEL_MEAS), listPane);
    m_pResetButton->setFixedSize(22, 22);
    m_pBitmap->setPixmap(Plate());
    m_pBitmap->setFrameShape(QFrame::Box);

    auto* lists = new QGridLayout(listPane);
    lists->setContentsMargins(0, 0, 0, 0);
    auto* testsHead = new QHBoxLayout;
    testsHead->addWidget(testsLabel);
    testsHead->addWidget(m_pFilter = new QLineEdit(this), 1);
    lists->addLayout(testsHead, 0, 0);
    lists->addWidget(measLabel, 0, 1);
    lists->addWidget(m_pTestList, 1, 0);
    lists->addWidget(m_pMeasList, 1, 1);
    auto* reset = new QHBoxLayout;
    reset->addWidget(m_pResetButton);
    reset->addStretch(1);
    lists->addLayout(reset, 2, 0);
    // The test list keeps its width and the measurement list takes the rest; in a small window both
    // come down to a header and a few rows before the chart gives way.
    for (QTreeView* l : {m_pTestList, m_pMeasList}) l->setMinimumHeight(kListMinHeight);
    m_pTestList->setFixedWidth(318);
    lists->setColumnStretch(0, 0);
    lists->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_pReceiveButton, m_pParamButton, m_pUserButton, m_pShowButton, m_pPrintButton}) {
        b->setStyleSheet(QStringLiteral("text-align: center;"));
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_pBitmap);

    // The thresholds of the shown tests stand beside the chart, which takes every extra pixel.
    auto* chartPane = new QWidget(this);
    auto* top = new QHBoxLayout(chartPane);
    top->setContentsMargins(0, 0, 0, 0);
    m_pThresholds->setFixedWidth(380);
    top->addWidget(m_pChart, 1);
    top->addWidget(m_pThresholds, 0);
    m_pChart->setMinimumHeight(kChartMinHeight);

    m_pSplitter = new CWorkspaceSplitter(chartPane, listPane, this);
    m_pSplitter->SetListComfort(kListComfortHeight + listPane->sizeHint().height() - m_pTestList->sizeHint().height());
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addWidget(m_pSplitter, 1);
    lay->addLayout(buttons);
}

// ---- list fills ---------------------------------------------------------------------------------

void CTRVView::FillTestList() {
    const int remembered = m_Ws.SelectedTest();
    const bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = true;
    m_pTestModel->Refill();
    if (GetDocument().IsValidTest(remembered)) SelectTestRow(remembered);
    m_Ws.SyncSelection(SelectedTestIndices(), remembered);
    m_bRefreshing = wasRefreshing;
    CTestManagement::FitColumns(m_pTestList);
    // The test list is narrow by design; it still shows all its columns without scrolling.
    int width = 2 * m_pTestList->frameWidth() + m_pTestList->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < CTestListModel::kEssentialColumns; ++c) width += m_pTestList->columnWidth(c);
    m_pTestList->setMinimumWidth(width);
    emit commandStateChanged();
}

QModelIndex CTRVView::TestListIndex(int test, int column) const {
    const int row = m_pTestProxy->RowOfTestIndex(test);
    return row < 0 ? QModelIndex() : m_pTestProxy->index(row, column);
}

void CTRVView::SelectTestRow(int testIndex) {
    const QModelIndex idx = TestListIndex(testIndex);
    if (!idx.isValid()) return;
    m_pTestList->selectionModel()->setCurrentIndex(idx,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pTestList->scrollTo(idx);
}

void CTRVView::FillMeasurementList() {
    const bool was = m_bRefreshing;
    m_bRefreshing = true;
    if (m_Ws.SelectedTest() < 0) {
        m_pMeasModel->Clear();
        m_bRefreshing = was;
        return;
    }
    const int remembered = m_Ws.CurrentMeasurement();
    const int scroll = m_pMeasList->verticalScrollBar()->value();
    m_pMeasModel->Fill(m_Ws.SelectedTests(), m_Ws.SeveralSelected());
    const auto& rows = m_pMeasModel->Rows();
    m_Ws.SetCurrentMeasurement(-1);
    for (size_t r = 0; remembered >= 0 && r < rows.size(); ++r) {
        if (rows[r].test == m_Ws.SelectedTest() && rows[r].meas == remembered) {
            QModelIndex idx = m_pMeasModel->index(static_cast<int>(r), 0);
            m_pMeasList->selectionModel()->setCurrentIndex(
                idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_Ws.SetCurrentMeasurement(remembered);
            break;
        }
    }
    m_pMeasList->verticalScrollBar()->setValue(scroll);
    CTestManagement::FitColumns(m_pMeasList);
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
        m_pThresholdActions->Refresh();
        // Each shown test's curve slot: the "Kurve" column follows it.
        if (m_pTestModel->rowCount() > 0)
            emit m_pTestModel->dataChanged(m_pTestModel->index(0, CTestListModel::ColCurve),
                                           m_pTestModel->index(m_pTestModel->rowCount() - 1, CTestListModel::ColCurve));
        RefreshNotices();
    }
    if (changes & ChangeModified) m_pDocHandle->UpdateAllViews(this);
    emit commandStateChanged();
}

std::vector<int> CTRVView::SelectedTestIndices() const {
    std::vector<int> rows;
    for (const QModelIndex& i : m_pTestList->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> tests;
    for (int r : rows) {
        int t = m_pTestProxy->TestIndexOfRow(r);
        if (t >= 0) tests.push_back(t);
    }
    return tests;
}

std::vector<int> CTRVView::SelectedMeasurementRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : m_pMeasList->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---- selection and check boxes ------------------------------------------------------------------

void CTRVView::OnTestSelectionChanged() {
    const QModelIndex cur = m_pTestList->selectionModel()->currentIndex();
    const bool any = m_pTestList->selectionModel()->hasSelection();
    const int current = any && cur.isValid() ? m_pTestProxy->TestIndexOfRow(cur.row()) : -1;
    if (m_bRefreshing) {
        m_Ws.SyncSelection(SelectedTestIndices(), current);
        return;
    }
    m_Ws.SelectTests(SelectedTestIndices(), current);
    FillMeasurementList();
    emit commandStateChanged();
}

void CTRVView::OnTestClicked(const QModelIndex& index) {
    m_Ws.ClickTest(index.isValid() ? m_pTestProxy->TestIndexOfRow(index.row()) : -1);
}

void CTRVView::OnMeasClicked(const QModelIndex& index) {
    if (m_bRefreshing) return;
    const auto& rows = m_pMeasModel->Rows();
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
    const auto& rows = m_pMeasModel->Rows();
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
    QPointer<QTreeView> list = m_pMeasList;
    QPersistentModelIndex cell(m_pMeasModel->index(row, column));
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

void CTRVView::OnDocumentChanged(CTRVView* sender) {
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
    const int added = m_Ws.NewReadings();
    emit statusMessage(added == 0   ? QStr(IDS_STATUS_NOTHING_NEW)
                       : added == 1 ? QStr(IDS_STATUS_DOWNLOADED_ONE)
                                    : QU8(FmtId(IDS_STATUS_DOWNLOADED, added)));
    RefreshNotices();
    m_pDownloadNoticeTimer->start(kDownloadNoticeMs);
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
    m_pChart->Redraw();
}

void CTRVView::Evaluate() {
    m_Ws.Evaluate();
    Refresh(ChangeChart);
}

void CTRVView::SetUpChart() {
    m_Ws.SetUpChart();
    m_pChart->Redraw();
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

void CTRVView::OnSetMeasType(int type) {
    // Rows of the measurement list are the measurements of the selected test, in order.
    std::vector<int> meas;
    const auto& listed = m_pMeasModel->Rows();
    for (int r : SelectedMeasurementRows())
        if (r < static_cast<int>(listed.size()) && listed[static_cast<size_t>(r)].test == m_Ws.SelectedTest())
            meas.push_back(listed[static_cast<size_t>(r)].meas);
    Refresh(m_Ws.SetMeasType(meas, type));
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

QString CTRVView::MeasurementTableText() const { return m_pMeasModel->TableText(); }

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
    m_pChart->Redraw();
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

bool CTRVView::ReceiveEnabled() const { return m_pReceiveButton->isEnabled(); }

void CTRVView::EnableReceive(bool enable) {
    m_pReceiveButton->setEnabled(enable);
    emit commandStateChanged();
}

void CTRVView::SetDeviceAnnotation(const std::string& text, bool visible) {
    m_Chart.tools[ToolDeviceText].text = text;
    m_Chart.tools[ToolDeviceText].active = visible;
    m_pChart->Redraw();
}

// ---- export and print ---------------------------------------------------------------------------

bool CTRVView::ExportTo(const QString& path, QString& error) const {
    FileResult r = m_Ws.ExportCsv(SelectedTestIndices(), path.toStdString());
    if (!r.ok) error = QU8(r.message);
    return r.ok;
}

void CTRVView::OnExportData() {
    if (SelectedTestIndices().empty()) return;
    QFileDialog dlg(this, QStr(IDS_FILE_EXPORT).remove(QLatin1Char('&')), QString(), QStr(IDS_CSV_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    dlg.selectFile(QStringLiteral("*.csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    QString error;
    const QString path = dlg.selectedFiles().first();
    if (!ExportTo(path, error)) {
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QStr(IDS_EXPORT_FAILED) + QLatin1Char('\n') + error);
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
