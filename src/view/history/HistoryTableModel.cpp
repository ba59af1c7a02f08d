#include "view/history/HistoryTableModel.h"

#include "analysis/HistoryChart.h"
#include "analysis/HistoryTable.h"
#include "view/QtText.h"

#include <QBrush>
#include <QColor>

using namespace trv;

CHistoryTableModel::CHistoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CHistoryTableModel::SetRows(std::vector<HistoryRow> rows, std::vector<std::string> methods) {
    beginResetModel();
    m_rows = std::move(rows);
    m_methods = std::move(methods);
    m_texts.assign(m_rows.size(), QStringList());
    endResetModel();
}

int CHistoryTableModel::TestIndex(int row) const {
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)].index : -1;
}

int CHistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CHistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : HistoryColumnCount(m_methods.size());
}

QVariant CHistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) return {};
    const HistoryRow& row = m_rows[static_cast<size_t>(index.row())];
    int m = 0, part = 0;
    const bool method = HistoryMethodColumn(index.column(), m, part);
    switch (role) {
        case Qt::DisplayRole: {
            QStringList& texts = m_texts[static_cast<size_t>(index.row())];
            if (texts.isEmpty())
                for (int c = 0; c < columnCount(); ++c) texts << QU8(HistoryCellText(row, c));
            return texts.value(index.column());
        }
        case Qt::TextAlignmentRole:
            return index.column() >= HcSteps ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole: {
            // The load in its method's chart colour, a method that is not determinable in grey.
            if (!method || m >= static_cast<int>(row.methods.size())) return {};
            if (!row.methods[static_cast<size_t>(m)].ok) return QBrush(QColor(128, 128, 128));
            if (part != HmLoad) return {};
            const uint32_t c = HistoryColor(static_cast<size_t>(m));
            return QBrush(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
        default:
            return {};
    }
}

QVariant CHistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QU8(HistoryHeaderText(m_methods, section));
}
