#pragma once
// The test list as the user sorts and searches it: sorted by any header (IDs as numbers, dates as
// dates) and filtered by the search field's words. Rows of this model are not rows of
// CTestListModel: every caller maps through mapToSource / mapFromSource.
#include "workspace/TestFilter.h"

#include <QSortFilterProxyModel>

class CTestListModel;

class CTestListProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CTestListProxy(CTestListModel* source, QObject* parent = nullptr);

    void SetFilterText(const QString& text);
    const QString& FilterText() const { return m_strFilter; }

    // The test shown in proxy row `row` (-1 = none), and the proxy row of a test (-1 = hidden).
    int TestIndexOfRow(int row) const;
    int RowOfTestIndex(int test) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    CTestListModel* m_pSource;
    trv::CTestFilter m_Filter;
    QString m_strFilter;
};
