#include "analysis/ReplicateMethods.h"

#include <cmath>
#include <limits>

namespace trv {

struct CReplicateMethods::Prepared {
    ZoneScheme noZones;
};

CReplicateMethods::CReplicateMethods(const ThresholdInput&) : m_p(std::make_unique<Prepared>()) {}

CReplicateMethods::~CReplicateMethods() = default;

void CReplicateMethods::Compute(const ThresholdInput& replicate, std::vector<double>& loads) {
    const TestThresholds r = ComputeThresholds(replicate, m_p->noZones);
    loads.assign(MethodCatalogue().size(), std::numeric_limits<double>::quiet_NaN());
    for (size_t k = 0; k < r.methods.size() && k < loads.size(); ++k)
        if (r.methods[k].ok && r.methods[k].load) loads[k] = *r.methods[k].load;
}

}  // namespace trv
