#include "view/lists/MeasurementListModel.h"

#include "view/QtText.h"
#include "view/widgets/Icons.h"
#include "workspace/MeasurementEdit.h"

#include <QBrush>
#include <QColor>

using namespace trv;

CMeasurementListModel::CMeasurementListModel(CTRVDoc* doc, QObject* parent)
    : QAbstractTableModel(parent), m_pDoc(doc) {}

void CMeasurementListModel::Fill(const std::vector<int>& tests, bool severalSelected) {
    beginResetModel();
    m_rows.clear();
    m_Typed.clear();
    m_bSeveralSelected = severalSelected;
    for (int t : tests) {
        if (!m_pDoc->IsValidTest(t)) continue;
        const TestDataType& test = m_pDoc->GetTest(t);
        if (test.m_Steps.empty()) continue;
        if (severalSelected && test.m_Steps.front().m_nMeasType != MeasSingle) continue;
        m_nHeaderUnit = test.m_nLoadUnit;
        for (size_t i = 0; i < test.m_Steps.size(); ++i) m_rows.push_back(Row{t, static_cast<int>(i)});
    }
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, ColLoad, ColLoad);
}

void CMeasurementListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_Typed.clear();
    endResetModel();
}

void CMeasurementListModel::RefreshRows() {
    m_Typed.clear();
    if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void CMeasurementListModel::RefreshMarks() {
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole, Qt::ToolTipRole});
}

int CMeasurementListModel::IconIndex(const PCMDataType& m) {
    bool usable = m.m_nStatus == StatusNormal || m.m_nStatus == StatusTimed;
    int type = m.m_nMeasType <= MeasPostLoad ? m.m_nMeasType : 0;
    return type * 2 + (usable ? 0 : 1);
}

namespace {

QString Duration(int seconds, const char* suffix) {
    return QU8(Fmt("%02d:%02d", seconds / 60, seconds % 60)) + QString::fromLatin1(suffix);
}

int FieldDuration(const TestDataType& test, const PCMDataType& m) {
    if (m.m_dSpeed <= 0.0) return -1;  // a field-test step without speed has no duration yet
    return static_cast<int>(test.m_dTrackLength / m.m_dSpeed);
}

}  // namespace

QString CMeasurementListModel::DurationText(const TestDataType& test, const PCMDataType& m) {
    bool load = m.m_nMeasType == MeasLoad;
    bool field = test.m_nTestType == TestField;
    switch (test.m_nDurationSource) {
        case SourcePc:
            if (field) {
                int d = load ? FieldDuration(test, m) : -1;
                return d >= 0 ? Duration(d, " (PC)") : QString();
            }
            if (m.m_bShortened) return Duration(test.m_nPcStepDuration, " (PC)*");
            return load ? Duration(test.m_nPcStepDuration, " (PC)") : QString();
        case SourceAnalyser:
            return load ? Duration(m.m_nStepDuration, " (AV)") : QString();
        case SourceManual:
            if (field) {
                int d = load ? FieldDuration(test, m) : -1;
                return d >= 0 ? Duration(d, "") : QString();
            }
            return load || m.m_bShortened ? Duration(test.m_nPcStepDuration, "") : QString();
        default:
            return {};
    }
}

QString CMeasurementListModel::LoadText(const TestDataType& test, const PCMDataType& m, double compensated) {
    double load = LoadInUnit(m, test.m_nLoadUnit);
    if (m.m_bShortened) return QU8(Fmt("%2.1f (%2.1f)", compensated, load));
    return QU8(Fmt("%2.1f", load));
}

QString CMeasurementListModel::CellText(const TestDataType& test, const PCMDataType& m, int column,
                                        double compensated) {
    switch (column) {
        case ColTime:
            return QU8(m.m_Time.FormatTime());
        case ColDate:
            return QU8(m.m_Time.FormatDate());
        case ColDuration:
            return DurationText(test, m);
        case ColLoad:
            return LoadText(test, m, compensated);
        case ColLactate:
            return QU8(LactateText(m));
        case ColHeartRate:
            return m.m_nHeartRate > 0 ? QU8(Fmt("%d", m.m_nHeartRate)) : QString();  // 0 = never entered
        case ColTemperature:
            return QU8(Fmt("%02d", m.m_nTemperature));
        default:
            return {};
    }
}

QString CMeasurementListModel::LoadHeader(int loadUnit) {
    switch (loadUnit) {
        case UnitKmh:
            return QStringLiteral("v [km/h]");
        case UnitMs:
            return QStringLiteral("v [m/s]");
        default:
            return QStr(IDS_COL_LOAD);
    }
}

int CMeasurementListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CMeasurementListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CMeasurementListModel::data(const QModelIndex& index, int role) const {
    if (index.row() < 0 || index.row() >= rowCount()) return {};
    const Row& r = m_rows[static_cast<size_t>(index.row())];
    if (!m_pDoc->IsValidTest(r.test)) return {};
    const TestDataType& test = m_pDoc->GetTest(r.test);
    if (r.meas < 0 || r.meas >= static_cast<int>(test.m_Steps.size())) return {};
    const PCMDataType& m = test.m_Steps[static_cast<size_t>(r.meas)];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            auto typed = m_Typed.find({index.row(), index.column()});
            if (typed != m_Typed.end()) return typed->second;
            return CellText(test, m, index.column(), m_Compensated ? m_Compensated(r.test) : 0.0);
        }
        case Qt::DecorationRole:
            if (index.column() == ColTime) return MeasurementListIcon(IconIndex(m));
            break;
        case Qt::CheckStateRole:
            if (index.column() == ColTime && ShowsChecks()) return m.m_bChecked ? Qt::Checked : Qt::Unchecked;
            break;
        case Qt::ToolTipRole:
            if (const std::string* notice = m_Flagged ? m_Flagged(r.test, r.meas) : nullptr) return QU8(*notice);
            break;
        case Qt::BackgroundRole: {
            // A reading that does not fit its curve: light orange, whatever else the row shows.
            if (m_Flagged && m_Flagged(r.test, r.meas)) return QBrush(QColor(0xFF, 0xD0, 0x90));
            MeasRowColors c = MeasurementRowColors(m);
            if (c.hasBackground)
                return QBrush(QColor(c.background & 0xFF, (c.background >> 8) & 0xFF, c.background >> 16));
            break;
        }
        case Qt::ForegroundRole: {
            MeasRowColors c = MeasurementRowColors(m);
            if (c.hasText) return QBrush(QColor(c.text & 0xFF, (c.text >> 8) & 0xFF, c.text >> 16));
            break;
        }
        default:
            break;
    }
    return {};
}

QVariant CMeasurementListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == ColLoad) return m_nHeaderUnit < 0 ? QStr(IDS_COL_LOAD) : LoadHeader(m_nHeaderUnit);
    static const int kIds[ColumnCount] = {IDS_COL_TIME,    IDS_COL_DATE,       IDS_COL_STEP_DURATION, IDS_COL_LOAD,
                                          IDS_COL_LACTATE, IDS_COL_HEART_RATE, IDS_COL_TEMPERATURE};
    return section >= 0 && section < ColumnCount ? QStr(kIds[section]) : QVariant();
}

Qt::ItemFlags CMeasurementListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == ColTime && ShowsChecks()) f |= Qt::ItemIsUserCheckable;
    if (index.row() >= 0 && index.row() < rowCount()) {
        const Row& r = m_rows[static_cast<size_t>(index.row())];
        if (m_pDoc->IsValidTest(r.test) && IsEditableMeasColumn(m_pDoc->GetTest(r.test), index.column()))
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool CMeasurementListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (index.row() < 0 || index.row() >= rowCount()) return false;
    if (role == Qt::EditRole) {
        const Row r = m_rows[static_cast<size_t>(index.row())];
        if (!m_pDoc->IsValidTest(r.test)) return false;
        const std::string text = value.toString().toStdString();
        const MeasEditResult res = m_Editor
                                       ? m_Editor(r.test, r.meas, index.column(), text)
                                       : ApplyMeasurementEdit(m_pDoc->GetTest(r.test), r.meas, index.column(), text);
        if (!res.stored) {
            if (res.reason) emit editRefused(index.row(), index.column(), QStr(res.reason));
            return false;
        }
        if (!res.refill) m_Typed[{index.row(), index.column()}] = QString::fromStdString(res.shown);
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
        emit measurementEdited(index.row(), res.refill);
        return true;
    }
    if (role != Qt::CheckStateRole || index.column() != ColTime || !ShowsChecks()) return false;
    emit checkChangeRequested(index.row(), value.toInt() == Qt::Checked);
    return false;
}

QString CMeasurementListModel::TableText() const {
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < ColumnCount; ++c) cells << headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << cells.join(QLatin1Char('\t'));
    for (int r = 0; r < rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < ColumnCount; ++c) cells << index(r, c).data().toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
