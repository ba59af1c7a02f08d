#include "view/lists/TestListModel.h"

#include "data/ManualIds.h"
#include "view/QtText.h"
#include "view/widgets/Icons.h"
#include "workspace/Workspace.h"

using namespace trv;

CTestListModel::CTestListModel(const CTRVDoc* doc, QObject* parent) : QAbstractTableModel(parent), m_pDoc(doc) {
    m_nRows = m_pDoc ? m_pDoc->GetTestCount() : 0;
}

void CTestListModel::Refill() {
    beginResetModel();
    m_nRows = m_pDoc ? m_pDoc->GetTestCount() : 0;
    endResetModel();
}

int CTestListModel::TestIndexOfRow(int row) const {
    if (row < 0 || row >= m_nRows) return -1;
    int index = trv::TestIndexOfRow(row, m_nRows);
    return m_pDoc->IsValidTest(index) ? index : -1;
}

const TestDataType* CTestListModel::TestOfRow(int row) const {
    const int test = TestIndexOfRow(row);
    return test < 0 ? nullptr : &m_pDoc->GetTest(test);
}

int CTestListModel::RowOfTestIndex(int index) const {
    if (index < 0 || index >= m_nRows) return -1;
    return trv::RowOfTestIndex(index, m_nRows);
}

int CTestListModel::IconIndex(const TestDataType& test) {
    if (test.m_Steps.empty()) return 1;
    const PCMDataType& m = test.m_Steps.front();
    bool usable = m.m_nStatus == StatusNormal || m.m_nStatus == StatusTimed;
    bool step = m.m_nMeasType != MeasSingle;
    return (step ? 2 : 0) + (usable ? 0 : 1);
}

QString CTestListModel::CellText(const TestDataType& test, int column, int curveSlot) {
    if (test.m_Steps.empty()) return {};
    const PCMDataType& m = test.m_Steps.front();
    bool step = m.m_nMeasType != MeasSingle;
    switch (column) {
        case ColId:
            return QU8(MeasIdText(m.m_nMeasId) + (step ? " ..." : ""));
        case ColMemPos:
            if (IsManualMeasId(m.m_nMeasId)) return {};
            return QU8(MemoryPositionText(m.m_nMeasId) + (step ? " ..." : ""));
        case ColDate:
            return QU8(m.m_Time.FormatDate());
        case ColTestType:
            return QString::fromUtf8(TestTypeText(test.m_nTestType));
        case ColCurve:
            if (curveSlot == 0) return QStringLiteral("L 1");
            if (curveSlot == 1) return QStringLiteral("L 2");
            return QStringLiteral("-");
        default:
            return {};
    }
}

QVariant CTestListModel::SortKey(const TestDataType& test, int column, int curveSlot) {
    if (test.m_Steps.empty()) return -1;
    const PCMDataType& m = test.m_Steps.front();
    switch (column) {
        case ColId:
            return m.m_nMeasId;
        case ColMemPos:
            // Typed readings have no memory position: they sort before every position.
            return IsManualMeasId(m.m_nMeasId) ? 0 : MemoryPosition(m.m_nMeasId);
        case ColDate:
            return m.m_Time.IsValid() ? m.m_Time.m_dt : -1e9;
        case ColTestType:
            return CellText(test, column, curveSlot);
        case ColCurve:
            return curveSlot < 0 ? 99 : curveSlot;  // "L 1", "L 2", then "-"
        default:
            return {};
    }
}

int CTestListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_nRows; }

int CTestListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CTestListModel::data(const QModelIndex& index, int role) const {
    int test = TestIndexOfRow(index.row());
    if (test < 0) return {};
    const TestDataType& t = m_pDoc->GetTest(test);
    switch (role) {
        case Qt::DisplayRole:
        case SortRole: {
            // The curve slot counts the shown tests before this one: only asked where it matters.
            const int slot = index.column() == ColCurve && t.m_bShowInChart ? CurveSlotOf(*m_pDoc, test) : -1;
            return role == SortRole ? SortKey(t, index.column(), slot) : QVariant(CellText(t, index.column(), slot));
        }
        case Qt::DecorationRole:
            if (index.column() == ColId) return TestListIcon(IconIndex(t));
            break;
        case Qt::CheckStateRole:
            if (index.column() == ColId) return t.m_bShowInChart ? Qt::Checked : Qt::Unchecked;
            break;
        default:
            break;
    }
    return {};
}

QVariant CTestListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const int kIds[ColumnCount] = {IDS_COL_MEAS_ID, IDS_COL_SHOWN, IDS_COL_DATE, IDS_COL_TEST_TYPE,
                                          IDS_COL_CURVE};
    return section >= 0 && section < ColumnCount ? QStr(kIds[section]) : QVariant();
}

Qt::ItemFlags CTestListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == ColId) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool CTestListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != ColId) return false;
    int test = TestIndexOfRow(index.row());
    if (test < 0) return false;
    bool checked = value.toInt() == Qt::Checked;
    bool was = m_pDoc->GetTest(test).m_bShowInChart != 0;
    if (checked != was) emit checkChangeRequested(test, checked);
    return false;
}
