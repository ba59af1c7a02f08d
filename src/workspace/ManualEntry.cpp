#include "workspace/ManualEntry.h"

#include "data/InputRules.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>

namespace trv {

namespace {

constexpr int kRoles[CManualEntry::ColumnCount] = {RoleType,      RoleLoad,     RoleLactate,
                                                   RoleHeartRate, RoleDuration, RoleMinutesAfter};

}  // namespace

CManualEntry::CManualEntry() : m_FirstStep(COleDateTime::Now()) { KeepOneEmptyRow(); }

void CManualEntry::SetTestType(int32_t type) {
    const bool wasBike = m_nTestType == TestErgometer, isBike = type == TestErgometer;
    m_nTestType = type;
    if (wasBike == isBike) return;
    m_nLoadUnit = isBike ? UnitWatt : UnitKmh;
    m_dStartLoad = isBike ? 100.0 : 8.0;
    m_dIncrement = isBike ? 50.0 : 2.0;
}

const std::string& CManualEntry::Cell(int row, int column) const {
    static const std::string kEmpty;
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount) return kEmpty;
    return m_Rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void CManualEntry::SetCell(int row, int column, const std::string& text) {
    if (row < 0 || column < 0 || column >= ColumnCount) return;
    if (row >= RowCount()) m_Rows.resize(static_cast<size_t>(row) + 1);
    m_Rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
    KeepOneEmptyRow();
}

void CManualEntry::PasteRows(int row, int column, const std::vector<std::vector<std::string>>& block) {
    for (size_t r = 0; r < block.size(); ++r)
        for (size_t c = 0; c < block[r].size() && column + static_cast<int>(c) < ColumnCount; ++c)
            SetCell(row + static_cast<int>(r), column + static_cast<int>(c), block[r][c]);
}

bool CManualEntry::IsBlankRow(int row) const {
    const auto& cells = m_Rows[static_cast<size_t>(row)];
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

void CManualEntry::KeepOneEmptyRow() {
    while (RowCount() > 1 && IsBlankRow(RowCount() - 1) && IsBlankRow(RowCount() - 2)) m_Rows.pop_back();
    if (m_Rows.empty() || !IsBlankRow(RowCount() - 1)) m_Rows.emplace_back();
}

int CManualEntry::MainLoadIndex(int row) const {
    int k = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (IsBlankRow(r) || MeasTypeOfText(Cell(r, ColType)) != MeasLoad) continue;
        if (r == row) return k;
        ++k;
    }
    return -1;
}

bool CManualEntry::IsColumnUsed(int column) const { return column != ColDuration || m_nTestType == TestField; }

bool CManualEntry::IsEditable(int row, int column) const {
    if (!IsColumnUsed(column)) return false;
    // Only main-load steps have a load, and only individual loads are typed.
    return column != ColLoad || (m_bIndividualLoads && MeasTypeOfText(Cell(row, ColType)) == MeasLoad);
}

std::string CManualEntry::ShownText(int row, int column) const {
    if (column == ColLoad) {
        const int k = MainLoadIndex(row);
        if (k < 0) return {};
        if (!m_bIndividualLoads) return Fmt("%2.1f", m_dStartLoad + k * m_dIncrement);
    }
    return Cell(row, column);
}

std::string CManualEntry::CellError(int row, int column) const {
    if (row < 0 || row >= RowCount() || IsBlankRow(row) || !IsColumnUsed(column)) return {};
    const std::string text = ShownText(row, column);
    const int type = MeasTypeOfText(Cell(row, ColType));
    if (text.empty()) {
        const bool required = column == ColLactate || (column == ColLoad && type == MeasLoad);
        return required ? LoadStr(IDS_IMP_CELL_REQUIRED) : "";
    }
    std::string why = ImportCellError(kRoles[column], text);
    if (!why.empty()) return why;
    // As in the measurement list's cells: a heart rate is a whole number ("1,1" is a slip), and a typed
    // lactate of 0,0 mmol/l is no reading (an empty heart rate, not 0, means "not measured").
    if (column == ColHeartRate) {
        int32_t bpm = 0;
        if (ReadHeartRate(text, bpm) == IDS_IN_NOT_A_WHOLE_NUMBER) return LoadStr(IDS_IN_NOT_A_WHOLE_NUMBER);
    }
    double v = 0.0;
    if (column == ColLactate && ParseDecimal(text, v) && v * 10.0 < 1.0) return LoadStr(IDS_MAN_LACTATE_ZERO);
    return {};
}

Result CManualEntry::Build(TestDataType& test, std::vector<std::string>& questions) const {
    ImportTable table;
    for (int r = 0; r < RowCount(); ++r) {
        if (IsBlankRow(r)) continue;
        std::vector<std::string> cells;
        for (int c = 0; c < ColumnCount; ++c) cells.push_back(IsColumnUsed(c) ? ShownText(r, c) : std::string());
        table.m_Rows.push_back(std::move(cells));
        table.m_Lines.push_back(r + 1);
    }
    if (table.m_Rows.empty()) return Result::Fail(LoadStr(IDS_MAN_NO_LOAD_STEP));
    ImportOptions options;
    options.m_nTestType = m_nTestType;
    options.m_nLoadUnit = m_nLoadUnit;
    options.m_Date = m_FirstStep;
    options.m_nStepDuration = m_nStepDuration;
    options.m_dTrackLength = m_dTrackLength;
    ManualTestInput input;
    const ImportMapping mapping(std::begin(kRoles), std::end(kRoles));
    if (Result read = ImportInputFromTable(table, mapping, options, input); !read) return read;
    return BuildManualTest(input, test, questions);
}

}  // namespace trv
