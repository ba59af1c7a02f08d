#include "view/library/AthletesDock.h"

#include "analysis/History.h"
#include "analysis/ThresholdMethods.h"
#include "data/Records.h"
#include "library/LibraryText.h"
#include "view/QtText.h"
#include "view/library/LibraryService.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>

using namespace trv;

CAthleteListModel::CAthleteListModel(CLibraryService* service, QObject* parent)
    : QAbstractTableModel(parent), m_pService(service) {}

void CAthleteListModel::SetEntries(const std::vector<int>& rows) {
    beginResetModel();
    m_Rows = rows;
    endResetModel();
}

int CAthleteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Rows.size());
}

int CAthleteListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColCount; }

QVariant CAthleteListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= m_Rows.size()) return {};
    const size_t at = static_cast<size_t>(m_Rows[static_cast<size_t>(index.row())]);
    if (at >= m_pService->Rows().size()) return {};
    const AthleteRow& r = m_pService->Rows()[at];
    const LibraryEntry& e = r.info;
    if (role == PathRole) return QDir(m_pService->Folder()).filePath(QU8(e.file));
    if (role == Qt::ForegroundRole && !e.error.empty()) return QColor(Qt::darkRed);
    if (role == Qt::ToolTipRole) return QU8(e.file);
    if (role != Qt::DisplayRole && role != SortRole) return {};
    const bool sort = role == SortRole;
    switch (index.column()) {
        case ColLast:
            // An unreadable file has no athlete: its name stands in.
            if (!e.error.empty()) return QU8(e.file);
            return sort ? QVariant(QU8(FoldText(e.lastName))) : QVariant(QU8(e.lastName));
        case ColFirst:
            return sort ? QVariant(QU8(FoldText(e.firstName))) : QVariant(QU8(e.firstName));
        case ColBirth:
            if (sort) return e.birthDate.IsValid() ? e.birthDate.m_dt : -1e9;
            return QU8(e.birthDate.IsValid() ? e.birthDate.FormatDate() : std::string());
        case ColGroup:
            return QU8(e.group);
        case ColTests:
            return e.error.empty() ? QVariant(e.tests) : QVariant();
        case ColLastTest:
            if (sort) return r.hasLast ? r.lastDate.m_dt : -1e9;
            return r.hasLast ? QU8(r.lastDate.FormatDate()) : QString();
        case ColThreshold:
            if (!r.load) return sort ? QVariant(-1e9) : QVariant();
            return sort ? QVariant(LoadInTestUnit(*r.load, r.loadUnit))
                        : QVariant(QU8(Fmt("%.1f %s", LoadInTestUnit(*r.load, r.loadUnit), LoadUnitText(r.loadUnit))));
        case ColChange:
            if (!r.change) return sort ? QVariant(-1e9) : QVariant();
            return sort ? QVariant(LoadInTestUnit(*r.change, r.loadUnit))
                        : QVariant(QU8(ChangeText(LoadInTestUnit(*r.change, r.loadUnit), LoadUnitText(r.loadUnit))));
        case ColNote:
            if (!e.error.empty()) return QU8(e.error);
            if (e.duplicate) return QStr(IDS_LIB_DUPLICATE);
            if (!r.hasLast) return QStr(IDS_LIB_NO_STEP_TEST);
            return QString();
        default:
            return {};
    }
}

QVariant CAthleteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case ColLast:
            return QStr(IDS_TEAM_COL_LAST_NAME);
        case ColFirst:
            return QStr(IDS_TEAM_COL_FIRST_NAME);
        case ColBirth:
            return QStr(IDS_TEAM_COL_BIRTH);
        case ColGroup:
            return QStr(IDS_TEAM_COL_GROUP);
        case ColTests:
            return QStr(IDS_LIBGUI_COL_TESTS);
        case ColLastTest:
            return QStr(IDS_LIBGUI_COL_LAST_TEST);
        case ColThreshold: {
            const int ci = MethodIndex(m_pService->Method());
            return ci >= 0 ? QStr(MethodCatalogue()[static_cast<size_t>(ci)].label) : QString();
        }
        case ColChange:
            return QStr(IDS_LIBGUI_COL_CHANGE);
        case ColNote:
            return QStr(IDS_LIBGUI_COL_NOTE);
        default:
            return {};
    }
}

CAthletesDock::CAthletesDock(CLibraryService* service, QWidget* parent)
    : QDockWidget(QStr(IDS_LIBGUI_DOCK), parent), m_pService(service) {
    setObjectName(QStringLiteral("AthletesDock"));
    auto* body = new QWidget(this);
    auto* v = new QVBoxLayout(body);
    v->setContentsMargins(4, 4, 4, 4);
    m_pSearch = new QLineEdit(body);
    m_pSearch->setPlaceholderText(QStr(IDS_LIBGUI_SEARCH));
    m_pSearch->setClearButtonEnabled(true);
    m_pGroups = new QTreeWidget(body);
    m_pGroups->setHeaderHidden(true);
    m_pGroups->setMaximumHeight(120);
    m_pModel = new CAthleteListModel(service, this);
    m_pProxy = new QSortFilterProxyModel(this);
    m_pProxy->setSourceModel(m_pModel);
    m_pProxy->setSortRole(CAthleteListModel::SortRole);
    m_pList = new QTableView(body);
    m_pList->setModel(m_pProxy);
    m_pList->setSortingEnabled(true);
    m_pList->sortByColumn(-1, Qt::AscendingOrder);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->verticalHeader()->hide();
    m_pList->verticalHeader()->setDefaultSectionSize(m_pList->fontMetrics().height() + 6);
    m_pList->horizontalHeader()->setStretchLastSection(true);
    m_pList->installEventFilter(this);
    m_pProgress = new QProgressBar(body);
    m_pProgress->hide();
    m_pMessage = new QLabel(body);
    m_pMessage->setWordWrap(true);
    m_pMessage->hide();
    auto* buttons = new QHBoxLayout;
    m_pNew = new QPushButton(QStr(IDS_LIBGUI_NEW_ATHLETE), body);
    m_pTeam = new QPushButton(QStr(IDS_LIBGUI_TEAM), body);
    buttons->addWidget(m_pNew);
    buttons->addWidget(m_pTeam);
    buttons->addStretch();
    v->addWidget(m_pSearch);
    v->addWidget(m_pGroups);
    v->addWidget(m_pList, 1);
    v->addWidget(m_pProgress);
    v->addWidget(m_pMessage);
    v->addLayout(buttons);
    setWidget(body);

    connect(m_pSearch, &QLineEdit::textChanged, this, [this] { Fill(); });
    connect(m_pGroups, &QTreeWidget::currentItemChanged, this, [this] { Fill(); });
    connect(m_pList, &QTableView::doubleClicked, this, [this] { OpenCurrent(); });
    connect(m_pNew, &QPushButton::clicked, this, [this] { emit newAthleteRequested(CurrentGroup()); });
    connect(m_pTeam, &QPushButton::clicked, this, [this] {
        const QStringList selected = SelectedPaths();
        emit teamRequested(selected.size() > 1 ? selected : ShownPaths());
    });
    connect(service, &CLibraryService::progress, this, [this](int done, int total) {
        // Only a first index (or a big change) takes long enough to show it.
        if (total < 50) return;
        m_pProgress->setRange(0, total);
        m_pProgress->setValue(done);
        m_pProgress->setFormat(QU8(FmtId(IDS_LIBGUI_INDEXING, done, total)));
        m_pProgress->setVisible(done < total);
    });
    connect(service, &CLibraryService::refreshed, this, [this] {
        m_pProgress->hide();
        m_pMessage->setVisible(!m_pService->Error().isEmpty());
        m_pMessage->setText(m_pService->Error());
        FillGroups();
        Fill();
        m_pList->resizeColumnsToContents();
    });
    FillGroups();
    Fill();
    m_pList->resizeColumnsToContents();
}

void CAthletesDock::FillGroups() {
    const QString current = CurrentGroup();
    m_pGroups->blockSignals(true);
    m_pGroups->clear();
    auto* all = new QTreeWidgetItem(m_pGroups, {QStr(IDS_LIBGUI_ALL_GROUPS)});
    all->setData(0, Qt::UserRole, QString());
    std::map<std::string, QTreeWidgetItem*> items;
    QTreeWidgetItem* select = all;
    for (const std::string& g : m_pService->Groups()) {
        const size_t slash = g.rfind('/');
        QTreeWidgetItem* parent = slash == std::string::npos ? all : items[g.substr(0, slash)];
        auto* item =
            new QTreeWidgetItem(parent ? parent : all, {QU8(slash == std::string::npos ? g : g.substr(slash + 1))});
        item->setData(0, Qt::UserRole, QU8(g));
        items[g] = item;
        if (QU8(g) == current) select = item;
    }
    m_pGroups->expandAll();
    m_pGroups->setCurrentItem(select);
    m_pGroups->blockSignals(false);
}

QString CAthletesDock::CurrentGroup() const {
    const QTreeWidgetItem* item = m_pGroups->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void CAthletesDock::Fill() {
    // The same rule as trv-cli library --search, on the service's snapshot.
    const std::vector<std::string> words = SearchWords(m_pSearch->text().toStdString());
    const std::string group = CurrentGroup().toStdString();
    std::vector<int> rows;
    const auto& all = m_pService->Rows();
    for (size_t i = 0; i < all.size(); ++i) {
        const LibraryEntry& e = all[i].info;
        if (!group.empty() && e.group != group && e.group.rfind(group + "/", 0) != 0) continue;
        if (ContainsAllWords(e.searchText, words)) rows.push_back(static_cast<int>(i));
    }
    m_pModel->SetEntries(rows);
    if (m_pProxy->rowCount() > 0 && !m_pList->currentIndex().isValid()) m_pList->setCurrentIndex(m_pProxy->index(0, 0));
}

QStringList CAthletesDock::ShownPaths() const {
    QStringList out;
    for (int r = 0; r < m_pProxy->rowCount(); ++r)
        out << m_pProxy->index(r, 0).data(CAthleteListModel::PathRole).toString();
    return out;
}

QStringList CAthletesDock::SelectedPaths() const {
    QStringList out;
    for (const QModelIndex& i : m_pList->selectionModel()->selectedRows())
        out << i.data(CAthleteListModel::PathRole).toString();
    return out;
}

void CAthletesDock::OpenCurrent() {
    const QModelIndex i = m_pList->currentIndex();
    if (i.isValid()) emit openRequested(i.data(CAthleteListModel::PathRole).toString());
}

bool CAthletesDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenCurrent();
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
