#pragma once
// What the dialog "Test manuell erfassen" holds, without its widgets: the test's settings, a table of
// readings as typed, a reason for every cell that cannot be taken, and the step test they make.
#include "data/ImportMapping.h"

#include <array>
#include <string>
#include <vector>

namespace trv {

class CManualEntry {
public:
    enum Column { ColType, ColLoad, ColLactate, ColHeartRate, ColDuration, ColMinutesAfter, ColumnCount };

    CManualEntry();

    int32_t m_nTestType = TestTreadmill;
    int32_t m_nLoadUnit = UnitKmh;
    COleDateTime m_FirstStep;
    int32_t m_nStepDuration = 180;  // s
    double m_dTrackLength = 400.0;  // m, field test
    // Loads from start and increment (shown unit) unless they are typed per step.
    bool m_bIndividualLoads = false;
    double m_dStartLoad = 8.0;
    double m_dIncrement = 2.0;

    // The ergometer works in W from 100 W in steps of 50 W, the others in km/h from 8 km/h in steps of
    // 2 km/h; a unit or loads the user changed afterwards stay as changed.
    void SetTestType(int32_t type);

    // Rows as typed. There is always one empty row at the end: typing into it adds the next.
    int RowCount() const { return static_cast<int>(m_Rows.size()); }
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);
    // Rows of a pasted block, from `row` on (cells beyond the columns are dropped).
    void PasteRows(int row, int column, const std::vector<std::vector<std::string>>& block);

    // The load column holds typed values only with individual loads; otherwise a main-load row shows
    // the load it gets from start and increment. Pre- and post-load rows have no load.
    bool IsEditable(int row, int column) const;
    bool IsColumnUsed(int column) const;  // the duration column belongs to field tests
    std::string ShownText(int row, int column) const;

    // Why the cell cannot be taken (German), or "" when it can.
    std::string CellError(int row, int column) const;

    // The step test of the rows (blank rows left out; "Zeile" in messages counts the table's rows).
    Result Build(TestDataType& test, std::vector<std::string>& questions) const;

private:
    bool IsBlankRow(int row) const;
    int MainLoadIndex(int row) const;  // position among the main-load rows, -1 for other rows
    void KeepOneEmptyRow();

    std::vector<std::array<std::string, ColumnCount>> m_Rows;
};

}  // namespace trv
