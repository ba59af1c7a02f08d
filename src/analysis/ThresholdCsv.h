#pragma once
// "Schwellen exportieren": the thresholds and zones of chosen tests as a CSV file for spreadsheets,
// in the conventions of the measurement export (";" separator, CR LF, Windows-1252, German numbers).
//
// One header line, then per test one row per method ("Schwelle") and one per zone ("Zone"). Loads
// are in the test's unit; a method that is not determinable says so in the load column.
#include "analysis/ThresholdMethods.h"
#include "data/TrvFile.h"

#include <string>
#include <vector>

namespace trv {

class CTRVDoc;

// The CSV text (UTF-8) of the tests `testIndices` with their results (results[i] belongs to
// testIndices[i]); tests are written in the order given.
std::string ThresholdCsvText(const CTRVDoc& doc, const std::vector<int>& testIndices,
                             const std::vector<TestThresholds>& results);

// Writes that text in Windows-1252 to `path` safely (an existing file stays intact until the new
// one is complete).
FileResult ExportThresholdCsv(const CTRVDoc& doc, const std::vector<int>& testIndices,
                              const std::vector<TestThresholds>& results, const std::string& path);

}  // namespace trv
