#pragma once
// The team overview: one row per athlete with the last step test (or the last before a date), the
// chosen methods' loads, heart rates and lactates, their change against the previous test of the
// same type and unit, and the zones' boundaries. The program's table, its printout, trv-cli and the
// CSV file all take their cells from here.
#include "library/LibraryIndex.h"

#include <optional>
#include <string>
#include <vector>

namespace trv {

struct TeamRow {
    int entry = -1;  // into the index's entries
    std::optional<LibraryLast> last;
};

// Rows for the entries `entries` (readable documents only), in the given order.
std::vector<TeamRow> BuildTeam(CLibraryIndex& index, const std::vector<int>& entries,
                               const std::vector<std::string>& methods,
                               const COleDateTime& before = COleDateTime(0.0, COleDateTime::invalid));

// The overview as text cells: a header and one line per row (German numbers, loads in the test's
// unit). An athlete without a step test says "kein Stufentest" in the date column.
struct TeamTable {
    std::vector<std::string> header;
    // The method a column belongs to ("" for the others): a printed header spans its columns.
    std::vector<std::string> group;
    // "OBLA 4,0 Last": the group and the header together.
    std::string FullHeader(size_t column) const;
    std::vector<std::vector<std::string>> rows;
    // Columns holding numbers (right-aligned, sorted by value).
    std::vector<bool> numeric;
};
TeamTable MakeTeamTable(const CLibraryIndex& index, const std::vector<TeamRow>& rows,
                        const std::vector<std::string>& methods);

// The table as CSV text (UTF-8): ";" separated, CR LF; the export writes it in Windows-1252.
std::string TeamCsvText(const TeamTable& table);
// Writes that CSV to `path` safely; fails with the German message.
Result WriteTeamCsv(const TeamTable& table, const std::string& path);

// A number of a cell as the table sorts it ("12,5 km/h" -> 12.5, "+0,4" -> 0.4); none for text.
std::optional<double> CellNumber(const std::string& cell);

}  // namespace trv
