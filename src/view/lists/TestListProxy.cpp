#include "view/lists/TestListProxy.h"

#include "view/lists/TestListModel.h"

CTestListProxy::CTestListProxy(CTestListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_pSource(source) {
    setSourceModel(source);
    setSortRole(CTestListModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void CTestListProxy::SetFilterText(const QString& text) {
    if (text == m_strFilter) return;
    m_strFilter = text;
    m_Filter = trv::CTestFilter(text.toStdString());
    invalidateFilter();
}

int CTestListProxy::TestIndexOfRow(int row) const {
    const QModelIndex source = mapToSource(index(row, 0));
    return source.isValid() ? m_pSource->TestIndexOfRow(source.row()) : -1;
}

int CTestListProxy::RowOfTestIndex(int test) const {
    const int row = m_pSource->RowOfTestIndex(test);
    if (row < 0) return -1;
    const QModelIndex mapped = mapFromSource(m_pSource->index(row, 0));
    return mapped.isValid() ? mapped.row() : -1;
}

bool CTestListProxy::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const {
    if (m_Filter.Empty()) return true;
    const trv::TestDataType* test = m_pSource->TestOfRow(sourceRow);
    return test && m_Filter.Matches(*test);
}
