#pragma once
// The lab's preferred threshold model and fitting function in the program's settings (documents
// have no room for them). A stored pair the evaluation does not know is made valid on reading.
#include "workspace/TestAnalyses.h"

namespace trv {

AnalysisChoice LoadPreferredChoice();
void SavePreferredChoice(const AnalysisChoice& choice);

}  // namespace trv
