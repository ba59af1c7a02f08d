#pragma once
// The measurement table of a test on page 2 of the protocol, as a list of lines: the two header
// lines, the rows of the pre-load (PrL), main-load (Ld) and post-load (AFL) groups, and the rules
// between the groups. The painting lays them out with the table's tab stops.
#include "analysis/TestAnalysis.h"
#include "data/Records.h"

#include <string>
#include <vector>

namespace trv {

struct TableLine {
    enum Kind {
        Header,    // one of the two column header lines
        Text,      // a sub-header line (the AFL group's column header)
        Row,       // one measurement
        GroupRule  // a horizontal rule followed by a gap: a new group begins
    };
    Kind kind = Row;
    std::string text;        // tab-separated; empty for GroupRule
    bool shown = false;      // the measurement takes part in the curve: a grey band behind the row
    bool shortened = false;  // a shortened last step: dark band, white text
};

// All lines of the table of `test`, in the order they are printed (`an`: its evaluation).
// Measurements of type "single" belong to no group and get no row.
std::vector<TableLine> BuildMeasurementTable(const TestDataType& test, const TestAnalysis& an);

// The step duration printed on a main-load row, in whole seconds.
int PrintedStepDuration(const TestDataType& test, const PCMDataType& m);

// Seconds from `reference` to `time`, rounded; 0 when either is not valid or the time lies before
// the reference.
int SecondsBetween(const COleDateTime& reference, const COleDateTime& time);

}  // namespace trv
