#pragma once
// "Daten exportieren": the measurements of chosen tests as a CSV file for spreadsheets
// (";" separator, CR LF, Windows-1252, German numbers).
#include "data/TRVDoc.h"
#include "data/TrvFile.h"

#include <functional>
#include <string>
#include <vector>

namespace trv {

// The compensated load (shown unit) of a test's shortened step, by test index, from the caller's
// evaluation (none: 0.0); a shortened step's load cell shows it before the measured load.
using CompensatedLoadOf = std::function<double(int test)>;

// The CSV text (UTF-8) of the tests `testIndices`, exported in document order whatever order
// they are given in.
std::string CsvText(const CTRVDoc& doc, const std::vector<int>& testIndices, const CompensatedLoadOf& compensated);
// Writes the CSV file; reports a file that cannot be created or written.
FileResult ExportCsv(const CTRVDoc& doc, const std::vector<int>& testIndices, const std::string& path,
                     const CompensatedLoadOf& compensated);

}  // namespace trv
