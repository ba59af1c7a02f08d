#pragma once
// The history as a table model over the shared table texts (HistoryTable.h).
#include "analysis/History.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <vector>

class CHistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CHistoryTableModel(QObject* parent = nullptr);

    void SetRows(std::vector<trv::HistoryRow> rows, std::vector<std::string> methods);
    const std::vector<trv::HistoryRow>& Rows() const { return m_rows; }
    const std::vector<std::string>& Methods() const { return m_methods; }
    // The document's test index of a row, -1 for none.
    int TestIndex(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<trv::HistoryRow> m_rows;
    std::vector<std::string> m_methods;
    // The texts of a row, made when the row is first painted: a repaint formats no number twice.
    mutable std::vector<QStringList> m_texts;
};
