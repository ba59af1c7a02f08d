#pragma once
// Every threshold method on a replicate of a test (the same loads, other lactates), reduced to the
// loads, and fast: what depends on the loads only is prepared once per test.
#include "analysis/ThresholdMethods.h"

#include <memory>
#include <vector>

namespace trv {

class CReplicateMethods {
public:
    // `original`: the test whose replicates follow (same loads, heart rates, times).
    explicit CReplicateMethods(const ThresholdInput& original);
    ~CReplicateMethods();
    CReplicateMethods(const CReplicateMethods&) = delete;
    CReplicateMethods& operator=(const CReplicateMethods&) = delete;

    // The load of every method of the catalogue (stored units) on `replicate`, NaN where it is not
    // determinable; the same values as ComputeThresholds gives.
    void Compute(const ThresholdInput& replicate, std::vector<double>& loads);

private:
    struct Prepared;
    std::unique_ptr<Prepared> m_p;
};

}  // namespace trv
