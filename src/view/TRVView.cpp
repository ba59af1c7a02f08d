#include "TRVView.h"

#include "ChartWidget.h"
#include "Evaluator.h"
#include "Icons.h"
#include "MeasurementListModel.h"
#include "QtText.h"
#include "StatusDialog.h"
#include "TestListModel.h"
#include "ViewLink.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

using namespace trv;

namespace {

QTreeView* MakeList(QWidget* parent) {
    auto* v = new QTreeView(parent);
    v->setRootIsDecorated(false);
    v->setItemsExpandable(false);
    v->setUniformRowHeights(true);
    v->setAllColumnsShowFocus(true);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->setAlternatingRowColors(false);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setContextMenuPolicy(Qt::DefaultContextMenu);
    v->header()->setStretchLastSection(false);
    v->header()->setSectionsMovable(false);
    // Grid lines; a style sheet on the items must also say how a selected row looks.
    v->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #e4e4e4; }"
        "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
    return v;
}

// The decoration beside the buttons: the analyser's name on a small plate.
QPixmap Plate() {
    QPixmap pm(84, 40);
    pm.fill(QColor(0, 0, 128));
    QPainter p(&pm);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(15);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Arvento"));
    return pm;
}

}  // namespace

CTRVView::CTRVView(CDocHandle* doc, QWidget* parent)
    : QWidget(parent),
      m_pChart(new CTChart(this)),
      m_pTestList(MakeList(this)),
      m_pMeasList(MakeList(this)),
      m_pResetButton(new QPushButton(QStringLiteral("R"), this)),
      m_pReceiveButton(new QPushButton(this)),
      m_pParamButton(new QPushButton(this)),
      m_pUserButton(new QPushButton(this)),
      m_pShowButton(new QPushButton(this)),
      m_pPrintButton(new QPushButton(this)),
      m_pTestModel(new CTestListModel(&doc->Doc(), this)),
      m_pMeasModel(new CMeasurementListModel(&doc->Doc(), this)),
      m_pStatus(nullptr),
      m_pDocHandle(doc),
      m_pNoticeTimer(new QTimer(this)),
      m_pBitmap(new QLabel(this)),
      m_pEval(std::make_unique<CEvaluator>()) {
    m_pTestList->setModel(m_pTestModel);
    m_pMeasList->setModel(m_pMeasModel);
    m_pMeasList->setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    m_Chart.ApplyStartup();
    m_pChart->SetModel(&m_Chart);

    const int measWidths[] = {95, 74, 110, 55, 90, 65, 40};
    // At least the given widths; wider where this system's font needs room for the header.
    auto fit = [](QTreeView* list, int column, int width) {
        QString header = list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        list->setColumnWidth(column, std::max(width, list->fontMetrics().horizontalAdvance(header) + 18));
    };
    for (int c = 0; c < CMeasurementListModel::ColumnCount; ++c) fit(m_pMeasList, c, measWidths[c]);
    const int testWidths[] = {80, 40, 74, 60, 40};
    for (int c = 0; c < CTestListModel::ColumnCount; ++c) fit(m_pTestList, c, testWidths[c]);
    // Room for the check box and the picture in front of the first column.
    m_pTestList->setColumnWidth(0, std::max(m_pTestList->columnWidth(0), 110));
    m_pMeasList->setColumnWidth(0, std::max(m_pMeasList->columnWidth(0), 115));

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
    connect(m_pPrintButton, &QPushButton::clicked, this, &CTRVView::OnPrint);
    connect(m_pResetButton, &QPushButton::clicked, this, &CTRVView::OnResetDisplay);
    connect(m_pDocHandle, &CDocHandle::documentChanged, this, &CTRVView::OnDocumentChanged);
    ConnectChartAndEditing();

    m_bSeveralSelected = false;
    FillMeasurementList();
    FillTestList();
    Evaluate();
    SetUpChart();

    m_pStatus = new CTRVStatusDialog(this);
    m_pLink = std::make_unique<CViewLink>(this);
    connect(m_pNoticeTimer, &QTimer::timeout, this, &CTRVView::RefreshNotices);
    m_pNoticeTimer->start(1000);
    if (GetDocument().m_bDeviceBound) m_Chart.ShowDeviceText(GetDocument().m_strDeviceId, GetDocument().m_dFirmware);
    RefreshNotices();
}

CTRVView::~CTRVView() {
    m_pNoticeTimer->stop();
    m_pLink.reset();  // stops the reader thread and closes the port
}

void CTRVView::BuildLayout() {
    auto* testsLabel = new QLabel(QStr(IDS_LABEL_TESTS), this);
    auto* measLabel = new QLabel(QStr(IDS_LABEL_MEAS), this);
    m_pResetButton->setFixedSize(22, 22);
    m_pBitmap->setPixmap(Plate());
    m_pBitmap->setFrameShape(QFrame::Box);

    auto* lists = new QGridLayout;
    lists->addWidget(testsLabel, 0, 0);
    lists->addWidget(measLabel, 0, 1);
    lists->addWidget(m_pTestList, 1, 0);
    lists->addWidget(m_pMeasList, 1, 1);
    auto* reset = new QHBoxLayout;
    reset->addWidget(m_pResetButton);
    reset->addStretch(1);
    lists->addLayout(reset, 2, 0);
    // On resize the chart takes the height; the lists keep theirs at the bottom, the test list
    // keeps its width and the measurement list takes the rest of the width.
    for (QTreeView* l : {m_pTestList, m_pMeasList}) l->setFixedHeight(182);
    m_pTestList->setFixedWidth(318);
    lists->setColumnStretch(0, 0);
    lists->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_pReceiveButton, m_pParamButton, m_pUserButton, m_pShowButton, m_pPrintButton}) {
        b->setMinimumSize(110, 44);
        b->setStyleSheet(QStringLiteral("text-align: center;"));
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_pBitmap);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addWidget(m_pChart, 1);
    lay->addLayout(lists, 0);
    lay->addLayout(buttons);
}

// ---- list fills ---------------------------------------------------------------------------------

void CTRVView::FillTestList() {
    CTRVDoc& doc = GetDocument();
    int remembered = m_nSelectedTest;
    bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = true;
    m_pTestModel->Refill();

    m_nNotice &= ~(NoticeParams1 | NoticeParams2);
    for (const TestDataType& t : doc.m_Tests) {
        if (!t.m_bShowInChart) continue;
        uint32_t bit = t.m_nCurveSlot == 0 ? NoticeParams1 : NoticeParams2;
        if (t.m_bParamsEntered)
            m_nNotice &= ~bit;
        else
            m_nNotice |= bit;
    }
    if (doc.IsValidTest(remembered)) {
        SelectTestRow(remembered);
        m_nSelectedTest = remembered;
    } else {
        m_nSelectedTest = -1;
    }
    m_bRefreshing = wasRefreshing;
    FitColumns(m_pTestList);
    // The test list is narrow by design; it still shows all its columns without scrolling.
    int width = 2 * m_pTestList->frameWidth() + m_pTestList->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < CTestListModel::ColumnCount; ++c) width += m_pTestList->columnWidth(c);
    m_pTestList->setMinimumWidth(width);
    emit commandStateChanged();
}

void CTRVView::FitColumns(QTreeView* list) {
    // Never narrower than set at start; wider when a text would be cut.
    for (int c = 0; c < list->model()->columnCount(); ++c) {
        int before = list->columnWidth(c);
        list->resizeColumnToContents(c);
        if (list->columnWidth(c) < before) list->setColumnWidth(c, before);
    }
}

void CTRVView::SelectTestRow(int testIndex) {
    int row = m_pTestModel->RowOfTestIndex(testIndex);
    if (row < 0) return;
    QModelIndex idx = m_pTestModel->index(row, 0);
    m_pTestList->selectionModel()->setCurrentIndex(idx,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pTestList->scrollTo(idx);
}

void CTRVView::FillMeasurementList() {
    if (m_nSelectedTest < 0) {
        bool was = m_bRefreshing;
        m_bRefreshing = true;
        m_pMeasModel->Clear();
        m_bRefreshing = was;
        return;
    }
    int remembered = m_nCurrentMeas;
    int scroll = m_pMeasList->verticalScrollBar()->value();
    bool was = m_bRefreshing;
    m_bRefreshing = true;
    std::vector<int> tests = SelectedTestIndices();
    m_pMeasModel->Fill(tests, m_bSeveralSelected);
    const auto& rows = m_pMeasModel->Rows();
    m_nCurrentMeas = -1;
    if (remembered >= 0) {
        for (size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].test == m_nSelectedTest && rows[r].meas == remembered) {
                QModelIndex idx = m_pMeasModel->index(static_cast<int>(r), 0);
                m_pMeasList->selectionModel()->setCurrentIndex(
                    idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                m_nCurrentMeas = remembered;
                break;
            }
        }
    }
    m_pMeasList->verticalScrollBar()->setValue(scroll);
    FitColumns(m_pMeasList);
    m_bRefreshing = was;
}

void CTRVView::RefreshLists() {
    FillTestList();
    FillMeasurementList();
}

std::vector<int> CTRVView::SelectedTestIndices() const {
    std::vector<int> rows;
    for (const QModelIndex& i : m_pTestList->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> tests;
    for (int r : rows) {
        int t = m_pTestModel->TestIndexOfRow(r);
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
    QModelIndex cur = m_pTestList->selectionModel()->currentIndex();
    bool any = m_pTestList->selectionModel()->hasSelection();
    m_nSelectedTest = any && cur.isValid() ? m_pTestModel->TestIndexOfRow(cur.row()) : -1;
    if (m_bRefreshing) return;
    if (m_pTestList->selectionModel()->selectedRows().size() > 1) {
        m_nShowMode = 0;
        m_bSeveralSelected = true;
        m_bRefreshing = true;
        FillMeasurementList();
        m_bRefreshing = false;
        emit commandStateChanged();
        return;
    }
    m_bSeveralSelected = false;
    FillMeasurementList();
    CTRVDoc& doc = GetDocument();
    if (doc.IsValidTest(m_nSelectedTest) && !doc.GetTest(m_nSelectedTest).m_Steps.empty()) {
        bool step = doc.GetTest(m_nSelectedTest).m_Steps.front().m_nMeasType != MeasSingle;
        m_nShowMode = step && CountShown() != 2 ? 1 : 0;
    } else {
        m_nShowMode = 0;
    }
    emit commandStateChanged();
}

void CTRVView::OnTestClicked(const QModelIndex& index) {
    CTRVDoc& doc = GetDocument();
    int t = index.isValid() ? m_pTestModel->TestIndexOfRow(index.row()) : -1;
    if (t < 0 || !doc.IsValidTest(t)) {
        m_nSelectedTest = -1;
        return;
    }
    if (m_pTestList->selectionModel()->selectedRows().size() > 1) return;
    m_nSelectedTest = t;
    const TestDataType& test = doc.GetTest(t);
    bool step = !test.m_Steps.empty() && test.m_Steps.front().m_nMeasType != MeasSingle;
    m_nShowMode = step && CountShown() < 2 ? 1 : 0;
}

void CTRVView::OnMeasClicked(const QModelIndex& index) {
    if (m_bRefreshing) return;
    m_nCurrentMeas = -1;
    if (!index.isValid() || m_nSelectedTest < 0) return;
    const auto& rows = m_pMeasModel->Rows();
    if (index.row() < 0 || index.row() >= static_cast<int>(rows.size())) return;
    const auto& r = rows[static_cast<size_t>(index.row())];
    if (r.test == m_nSelectedTest) m_nCurrentMeas = r.meas;
    emit commandStateChanged();
}

void CTRVView::OnTestCheckChange(int testIndex, bool checked) {
    if (m_bRefreshing) return;
    CTRVDoc& doc = GetDocument();
    if (!doc.IsValidTest(testIndex)) return;
    TestDataType& test = doc.GetTest(testIndex);
    if (checked) {
        // Single readings are never shown, and never more than two tests.
        if (test.m_Steps.empty() || test.m_Steps.front().m_nMeasType == MeasSingle) return;
        if (CountShown() >= 2) return;
        test.m_bShowInChart = 1;
        m_Chart.ResetSeries();
        for (PCMDataType& m : test.m_Steps)
            if (m.m_nMeasType >= MeasPreLoad && m.m_nMeasType <= MeasPostLoad) m.m_bChecked = 1;
        Evaluate();
    } else {
        m_Chart.ResetSeries();
        test.m_bShowInChart = 0;
        for (PCMDataType& m : test.m_Steps) m.m_bChecked = 0;
        test.m_nCurveSlot = -1;
        Evaluate();
    }
    bool was = m_bRefreshing;
    m_bRefreshing = true;
    FillTestList();
    m_bRefreshing = was;
    FillMeasurementList();
    if (!checked) Evaluate();
    MarkModified();
    if (!m_bSeveralSelected && doc.IsValidTest(m_nSelectedTest) && !doc.GetTest(m_nSelectedTest).m_Steps.empty()) {
        bool step = doc.GetTest(m_nSelectedTest).m_Steps.front().m_nMeasType != MeasSingle;
        m_nShowMode = step && CountShown() != 2 ? 1 : 0;
    }
}

void CTRVView::OnMeasurementCheckChange(int row, bool checked) {
    if (m_bRefreshing || m_nSelectedTest < 0) return;
    const auto& rows = m_pMeasModel->Rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    auto r = rows[static_cast<size_t>(row)];
    CTRVDoc& doc = GetDocument();
    if (!doc.IsValidTest(r.test)) return;
    TestDataType& test = doc.GetTest(r.test);
    if (r.meas < 0 || r.meas >= static_cast<int>(test.m_Steps.size())) return;
    PCMDataType& m = test.m_Steps[static_cast<size_t>(r.meas)];
    if (r.test == m_nSelectedTest) m_nCurrentMeas = r.meas;
    if (checked && m.m_nMeasType == MeasSingle) return;  // a single reading takes no part in a curve
    m.m_bChecked = checked ? 1 : 0;
    FillMeasurementList();
    Evaluate();
    MarkModified();
}

// ---- document and notices -----------------------------------------------------------------------

void CTRVView::MarkModified() {
    m_pDocHandle->SetModified(true);
    m_pDocHandle->UpdateAllViews(this);
}

void CTRVView::OnDocumentChanged(CTRVView* sender) {
    if (sender == this) return;
    if (!GetDocument().IsValidTest(m_nSelectedTest)) m_nSelectedTest = -1;
    RefreshLists();
    Evaluate();
}

void CTRVView::OnDownloadMerged() {
    CTRVDoc& doc = GetDocument();
    if (doc.GetTestCount() > 0) m_nSelectedTest = doc.GetTestCount() - 1;
    m_nCurrentMeas = -1;
    m_bSeveralSelected = false;
    RefreshLists();
    Evaluate();
    SetUpChart();
    MarkModified();
}

void CTRVView::RefreshNotices() {
    CTRVDoc& doc = GetDocument();
    if (doc.m_Tests.empty())
        m_nNotice |= NoticeNoTests;
    else
        m_nNotice &= ~NoticeNoTests;
    if (doc.m_UserData.m_strFirstName.empty() || doc.m_UserData.m_strLastName.empty())
        m_nNotice |= NoticeAthlete;
    else
        m_nNotice &= ~NoticeAthlete;
    if (m_nNotice & NoticeNoAnalyser) {
        // Another window may hold the analyser's port.
        int windows = 0;
        for (QWidget* w : QApplication::allWidgets())
            if (qobject_cast<CTRVView*>(w)) ++windows;
        if (windows > 1)
            m_nNotice |= NoticeSecondWindow;
        else
            m_nNotice &= ~NoticeSecondWindow;
    }
    struct Line {
        uint32_t bit;
        int id;
    };
    static const Line kLines[] = {{NoticeNoTests, IDS_NOTICE_NO_TESTS},
                                  {NoticeParams1, IDS_NOTICE_PARAMS1},
                                  {NoticeParams2, IDS_NOTICE_PARAMS2},
                                  {NoticeIans1, IDS_NOTICE_IANS1},
                                  {NoticeIans2, IDS_NOTICE_IANS2},
                                  {NoticeFit1, IDS_NOTICE_FIT1},
                                  {NoticeFit2, IDS_NOTICE_FIT2},
                                  {NoticeNoTestShown, IDS_NOTICE_NO_TEST_SHOWN},
                                  {NoticeUnits, IDS_NOTICE_UNITS},
                                  {NoticeAthlete, IDS_NOTICE_ATHLETE},
                                  {NoticeDeviceMismatch, IDS_NOTICE_DEVICE_MISMATCH}};
    m_Chart.notices.Clear();
    for (const Line& l : kLines)
        if (m_nNotice & l.bit) m_Chart.notices.Add(LoadStr(l.id));
    if (m_nNotice & NoticeNoAnalyser) {
        if (m_nNotice & NoticeSecondWindow) m_Chart.notices.Add(LoadStr(IDS_NOTICE_SECOND_WINDOW));
        m_Chart.notices.Add(LoadStr(IDS_NOTICE_NO_ANALYSER));
    }
    m_Chart.thirdText.Clear();
    m_pChart->Redraw();
}
