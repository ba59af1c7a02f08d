#include "TRVDoc.h"

namespace trv {

bool CTRVDoc::MergeDeviceMemory(const uint8_t*) { return true; }

}  // namespace trv
