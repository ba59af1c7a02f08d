#pragma once
// "Daten exportieren": the measurements of chosen tests as a CSV file for spreadsheets
// (";" separator, CR LF, Windows-1252, German numbers).
#include "TRVDoc.h"
#include "TrvFile.h"

#include <string>
#include <vector>

namespace trv {

// The CSV text (UTF-8) of the tests `testIndices`, exported in document order whatever order
// they are given in.
std::string CsvText(const CTRVDoc& doc, const std::vector<int>& testIndices);
// Writes the CSV file; reports a file that cannot be created or written.
FileResult ExportCsv(const CTRVDoc& doc, const std::vector<int>& testIndices, const std::string& path);

}  // namespace trv
