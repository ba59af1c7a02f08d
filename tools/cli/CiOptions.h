#pragma once
// The uncertainty options of thresholds and history (--ci, --error A,C) and their JSON fields.
#include "Cli.h"
#include "analysis/History.h"
#include "analysis/Uncertainty.h"

namespace trv::cli {

struct CiOptions {
    bool ci = false;
    ErrorModel error;
};

// Takes --ci and --error VALUE out of argv (argc shrinks), so that the command's own parsing sees
// the rest. ExitOk, or ExitUsage after the error line for a missing or bad --error value.
int TakeCiOptions(int& argc, char** argv, CiOptions& out);

// "ci_low","ci_high","se" of a method (null without an interval).
void WriteIntervalFields(Json& j, const MethodInterval* m);

// "id","ok","load","lactate","heart_rate","load_change" of a history value (history and library).
void WriteHistoryValueFields(Json& j, const HistoryValue& v);

// "ci_low","ci_high","se","change_clear" of a history value.
void WriteHistoryIntervalFields(Json& j, const HistoryValue& v);

// "outliers":[measurement IDs].
void WriteOutliers(Json& j, const std::vector<OutlierFlag>& flags);

// The uncertainty of the listed tests, computed on every core.
std::vector<TestUncertainty> ComputeUncertainties(const CTRVDoc& doc, const std::vector<int>& indices, int fit,
                                                  int model, const CiOptions& options);

}  // namespace trv::cli
