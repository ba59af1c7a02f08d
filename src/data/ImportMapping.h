#pragma once
// Which column of an imported table holds what, and the step test read from it.
#include "data/ImportTable.h"
#include "data/ManualTest.h"

#include <optional>
#include <vector>

namespace trv {

enum ImportRole : int {
    RoleIgnore = 0,
    RoleLoad,
    RoleLactate,
    RoleHeartRate,
    RoleType,          // "PrL", "Ld", "AFL"
    RoleTime,          // mm:ss after the start, or the time of day beside a date column
    RoleDate,          // dd.mm.yyyy or yyyy-mm-dd
    RoleDuration,      // step duration mm:ss or seconds
    RoleLoadUnit,      // "km/h", "m/s", "W" (the program's own export)
    RoleTestType,      // "Laufband", "Ergometer", "Feldtest" (the program's own export)
    RoleMinutesAfter,  // post-load reading: minutes after the last step
    RoleCount
};

// German name of a role for the column choice ("Belastung", "Laktat", ...; "nicht übernehmen").
const char* ImportRoleName(int role);

// The measurement type a cell names: "Ld" or empty, "PrL", "AFL" (or their German words); -1 otherwise.
int MeasTypeOfText(const std::string& cell);

// One role per column of the table.
using ImportMapping = std::vector<int>;

// The roles recognised from the header names (German or English, case-insensitive, units in
// brackets ignored); without a header: load, lactate and heart rate by position. A role is given to
// its first column only.
ImportMapping GuessImportMapping(const ImportTable& table);

// The load unit that the header of the load column names ("[W]", "(km/h)"), or -1.
int LoadUnitFromHeader(const ImportTable& table, const ImportMapping& mapping);

// What the caller chooses; unset values come from the table's own columns or the defaults.
struct ImportOptions {
    std::optional<int32_t> m_nTestType;
    std::optional<int32_t> m_nLoadUnit;
    std::optional<COleDateTime> m_Date;  // time stamp of the first main-load reading
    std::optional<int32_t> m_nStepDuration;
    std::optional<double> m_dTrackLength;
};

// Why a cell cannot be taken for its role (German, without the line), or "" when it can. Empty cells
// are for the caller to judge.
std::string ImportCellError(int role, const std::string& cell);

// Reads the rows by the mapping into a test input: test type (option, else the table's test-type
// column, else Laufband), load unit (option, else the table's unit column or the load header, else
// km/h, or W for the ergometer), the first step's time (option, else the first row's date and time,
// else now) and the step duration (the first main-load row's duration, else 180 s). Fails with a
// German message naming the line for a missing lactate or load column, a cell that is not a value,
// a missing or negative value.
Result ImportInputFromTable(const ImportTable& table, const ImportMapping& mapping, const ImportOptions& options,
                            ManualTestInput& input);

}  // namespace trv
