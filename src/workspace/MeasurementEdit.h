#pragma once
// The rules of the editable measurement list: which cells can be edited, how a typed text is read
// and written back into the measurement, what the cell then shows, and the row colours. The list
// model and its editor only apply them.
#include "data/Records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace trv {

// Columns of the measurement list.
enum MeasListColumn : int {
    MeasColTime = 0,
    MeasColDate = 1,
    MeasColDuration = 2,  // "Stufendauer [mm:ss]"
    MeasColLoad = 3,      // in the test's load unit
    MeasColLactate = 4,
    MeasColHeartRate = 5,
    MeasColTemperature = 6,
};

// Whether the cells of `column` can be edited in the rows of `test`: the step duration only in a
// field test whose durations are entered by hand ("Manuell"), the load only with individual loads,
// lactate and heart rate always.
bool IsEditableMeasColumn(const TestDataType& test, int column);

// Row colours (0x00BBGGRR); a flag false keeps the list's default.
struct MeasRowColors {
    bool hasBackground = false;
    uint32_t background = 0;
    bool hasText = false;
    uint32_t text = 0;
};
// Main-load rows are red, post-load rows blue (stronger when checked); a shortened main-load step
// whose duration was measured has blue text; a reading that is not ordinary (status other than 1
// and 2) has grey text.
MeasRowColors MeasurementRowColors(const PCMDataType& m);

struct MeasEditResult {
    bool stored = false;  // the measurement changed: the document is modified
    bool refill = false;  // the list is filled again from the document
    std::string shown;    // what the cell shows after the edit
    int reason = 0;       // refused: string-table id of the German reason (0 when there is nothing to say)
};

// Applies the text typed into cell (measurement `meas` of `test`, `column`). A refused edit changes
// nothing and says why. Refused: a column that is not editable; a step duration that is not m:ss
// from 00:01 to 59:59, or on a row that is not a main-load step; a load on a row that is not a
// main-load step, or a negative load; a lactate outside 0 to 30 mmol/l; a heart rate outside 0 to
// 250; a text that is not a number.
MeasEditResult ApplyMeasurementEdit(TestDataType& test, int meas, int column, std::string_view text);

}  // namespace trv
