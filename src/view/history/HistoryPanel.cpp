#include "view/history/HistoryPanel.h"

#include "analysis/History.h"
#include "analysis/HistoryChart.h"
#include "analysis/ThresholdMethods.h"
#include "data/TRVDoc.h"
#include "view/QtText.h"
#include "view/history/HistoryIntervals.h"
#include "view/history/HistoryPlot.h"
#include "view/history/HistoryTableModel.h"
#include "view/settings/Settings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace trv;

CHistoryPanel::CHistoryPanel(QWidget* parent)
    : QWidget(parent),
      m_pMethods(new QListWidget(this)),
      m_pTable(new QTableView(this)),
      m_pModel(new CHistoryTableModel(this)),
      m_pPlot(new CHistoryPlot(this)),
      m_pHint(new QLabel(QStr(IDS_HIST_NO_TESTS), this)),
      m_pStack(new QStackedWidget(this)),
      m_pPrint(new QPushButton(QStr(IDS_HIST_PRINT), this)) {
    m_pIntervals = new CHistoryIntervals(this);
    connect(m_pIntervals, &CHistoryIntervals::done, this, [this](std::vector<HistoryRow> rows) {
        m_pPlot->SetCharts(HistoryCharts(rows));
        m_pModel->SetRows(std::move(rows), Methods());
        // The new rows reset the columns: each again as wide as its heading and its widest cell.
        m_pTable->resizeColumnsToContents();
    });
    m_bFilling = true;
    for (const MethodInfo& m : MethodCatalogue()) {
        auto* item = new QListWidgetItem(QStr(m.label), m_pMethods);
        item->setData(Qt::UserRole, QString::fromLatin1(m.id));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    m_bFilling = false;
    std::vector<std::string> chosen;
    const QStringList stored = settings::HistoryMethods();
    for (const QString& id : stored)
        if (MethodIndex(id.toStdString()) >= 0) chosen.push_back(id.toStdString());
    SetMethods(chosen.empty() ? DefaultHistoryMethods() : chosen);

    m_pTable->setModel(m_pModel);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setAlternatingRowColors(true);
    m_pTable->verticalHeader()->setDefaultSectionSize(20);
    m_pTable->horizontalHeader()->setDefaultSectionSize(92);
    m_pTable->setWordWrap(false);

    m_pHint->setWordWrap(true);
    m_pHint->setAlignment(Qt::AlignCenter);
    m_pHint->setMargin(24);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_pTable);
    split->addWidget(m_pPlot);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    m_pStack->addWidget(m_pHint);
    m_pStack->addWidget(split);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStr(IDS_HIST_METHODS), this));
    left->addWidget(m_pMethods, 1);
    left->addWidget(m_pPrint);
    m_pMethods->setMaximumWidth(170);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->addLayout(left, 0);
    lay->addWidget(m_pStack, 1);

    connect(m_pMethods, &QListWidget::itemChanged, this, [this] {
        if (m_bFilling) return;
        QStringList ids;
        for (const std::string& id : Methods()) ids << QString::fromStdString(id);
        settings::SetHistoryMethods(ids);
        Refresh();
    });
    // Double click or Enter on a row (eventFilter).
    connect(m_pTable, &QTableView::doubleClicked, this, &CHistoryPanel::Activate);
    m_pTable->installEventFilter(this);
    connect(m_pPrint, &QPushButton::clicked, this, &CHistoryPanel::printRequested);
    Refresh();
}

std::vector<std::string> CHistoryPanel::Methods() const {
    std::vector<std::string> ids;
    for (int i = 0; i < m_pMethods->count(); ++i) {
        const QListWidgetItem* item = m_pMethods->item(i);
        if (item->checkState() == Qt::Checked) ids.push_back(item->data(Qt::UserRole).toString().toStdString());
    }
    return ids;
}

void CHistoryPanel::SetMethods(const std::vector<std::string>& ids) {
    m_bFilling = true;
    for (int i = 0; i < m_pMethods->count(); ++i) {
        QListWidgetItem* item = m_pMethods->item(i);
        const std::string id = item->data(Qt::UserRole).toString().toStdString();
        item->setCheckState(std::find(ids.begin(), ids.end(), id) != ids.end() ? Qt::Checked : Qt::Unchecked);
    }
    m_bFilling = false;
    Refresh();
}

void CHistoryPanel::SetDocument(const CTRVDoc* doc, ConstAnalysisOf analysis) {
    m_pDoc = doc;
    m_analysis = doc ? std::move(analysis) : ConstAnalysisOf();
    Refresh();
}

void CHistoryPanel::Refresh() {
    HistoryOptions options;
    options.methods = Methods();
    options.analysis = m_analysis;
    std::vector<HistoryRow> rows;
    if (m_pDoc) rows = BuildHistory(*m_pDoc, options, &m_Cache);
    m_pStack->setCurrentIndex(rows.empty() ? 0 : 1);
    m_pPrint->setEnabled(!rows.empty());
    m_pPlot->SetCharts(HistoryCharts(rows));
    if (m_pDoc) m_pIntervals->Request(*m_pDoc, rows);
    m_pModel->SetRows(std::move(rows), options.methods);
    // Each column as wide as its header and its widest cell: no heading is cut.
    m_pTable->resizeColumnsToContents();
}

void CHistoryPanel::Activate(const QModelIndex& index) {
    const int test = m_pModel->TestIndex(index.row());
    if (test >= 0) emit testActivated(test);
}

bool CHistoryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pTable && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Activate(m_pTable->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
