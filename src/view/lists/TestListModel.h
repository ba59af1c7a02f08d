#pragma once
// The "Tests" list: one row per test of the document, newest first (row r shows test count - r - 1).
#include "data/TRVDoc.h"

#include <QAbstractTableModel>

class CTestListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColId, ColMemPos, ColDate, ColTestType, ColCurve, ColumnCount };
    // What the list sorts by: numbers for IDs, memory positions and curves, the day count for dates.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit CTestListModel(const trv::CTRVDoc* doc, QObject* parent = nullptr);

    // Rewrites every row from the document.
    void Refill();

    int TestIndexOfRow(int row) const;                  // -1 when the row shows no test
    const trv::TestDataType* TestOfRow(int row) const;  // null when the row shows no test
    int RowOfTestIndex(int index) const;

    // Image index of a test's row: 0/1 single reading, 2/3 step test (odd: first reading unusable).
    static int IconIndex(const trv::TestDataType& test);
    // The texts of a test's row, column by column; `curveSlot` as CWorkspace::CurveSlot.
    static QString CellText(const trv::TestDataType& test, int column, int curveSlot);
    static QVariant SortKey(const trv::TestDataType& test, int column, int curveSlot);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A click on a check box: the document is not changed here; the view decides (and may take the
    // check mark back by not changing the test).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void checkChangeRequested(int testIndex, bool checked);

private:
    const trv::CTRVDoc* m_pDoc;
    int m_nRows = 0;
};
