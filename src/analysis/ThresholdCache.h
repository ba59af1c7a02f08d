#pragma once
// The thresholds of tests keyed by their content, so that a history refreshed after one edit only
// recomputes the test that changed. A test's content is everything the methods read: its readings,
// its parameters and the fitting function and threshold model it is evaluated with.
#include "analysis/ThresholdMethods.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace trv {

struct TestDataType;

class CThresholdCache {
public:
    // The thresholds of `test` evaluated with `fit` and `model`, computed only when no test of the
    // same content was asked for in this or the previous round.
    const TestThresholds& Get(const TestDataType& test, int fit, int model);
    // The same for many tests at once; the missing ones are computed on every core. The results
    // stay valid until EndRound drops them.
    std::vector<const TestThresholds*> GetAll(const std::vector<const TestDataType*>& tests,
                                              const std::vector<int>& fits, const std::vector<int>& models);

    // A round is one refresh: what was not asked for during the last finished round is dropped when
    // the next round ends, so that the cache holds no more than two refreshes' worth of tests.
    void EndRound();

    size_t Size() const { return m_Entries.size(); }
    // Results computed since the cache was made (a refresh after one edit adds one).
    size_t Computed() const { return m_nComputed; }

    // The content key (exposed for tests: equal tests give equal keys).
    static std::string Key(const TestDataType& test, int fit, int model);

private:
    struct Entry {
        TestThresholds result;
        unsigned round = 0;
    };
    std::unordered_map<std::string, Entry> m_Entries;
    unsigned m_nRound = 1;
    size_t m_nComputed = 0;
};

}  // namespace trv
