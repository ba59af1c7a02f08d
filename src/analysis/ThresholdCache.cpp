#include "analysis/ThresholdCache.h"

#include "data/Records.h"
#include "data/TestFields.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <type_traits>

namespace trv {

namespace {

template <typename T>
void Put(std::string& key, const T& v) {
    char buf[sizeof(T)];
    std::memcpy(buf, &v, sizeof(T));
    key.append(buf, sizeof(T));
}

}  // namespace

std::string CThresholdCache::Key(const TestDataType& t, int fit, int model) {
    std::string key;
    key.reserve(64 + t.m_Steps.size() * 56);
    // Every field of the record, stored or not, but how a window shows it: a test that differs in
    // anything else gets its own entry.
    auto put = [&key](FieldKind, const auto& field, FieldInfo info) {
        if (info.display) return;
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, COleDateTime>) {
            Put(key, field.m_dt);
            Put(key, field.m_status);
        } else {
            Put(key, field);
        }
    };
    Put(key, fit);
    Put(key, model);
    ForEachTestField(t, put);
    Put(key, t.m_Steps.size());
    for (const PCMDataType& m : t.m_Steps) ForEachMeasurementField(m, put);
    return key;
}

const TestThresholds& CThresholdCache::Get(const TestDataType& test, int fit, int model) {
    return *GetAll({&test}, {fit}, {model}).front();
}

std::vector<const TestThresholds*> CThresholdCache::GetAll(const std::vector<const TestDataType*>& tests,
                                                           const std::vector<int>& fits,
                                                           const std::vector<int>& models) {
    const size_t n = tests.size();
    std::vector<std::string> keys(n);
    std::vector<size_t> missing;  // first position of each key not in the cache
    std::unordered_map<std::string, size_t> firstOf;
    for (size_t i = 0; i < n; ++i) {
        keys[i] = Key(*tests[i], fits[i], models[i]);
        auto it = m_Entries.find(keys[i]);
        if (it != m_Entries.end()) {
            it->second.round = m_nRound;
        } else if (firstOf.emplace(keys[i], i).second) {
            missing.push_back(i);
        }
    }

    std::vector<TestThresholds> computed(missing.size());
    auto work = [&](std::atomic<size_t>& next) {
        for (size_t k = next++; k < missing.size(); k = next++) {
            const size_t i = missing[k];
            computed[k] = ComputeTestThresholds(*tests[i], fits[i], models[i]);
        }
    };
    std::atomic<size_t> next{0};
    // Threads pay off only for a batch; one edited test is computed on the caller's thread.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t helpers = missing.size() >= 8 ? std::min<size_t>(cores, 8) - 1 : 0;
    std::vector<std::thread> pool;
    for (size_t h = 0; h < helpers; ++h) pool.emplace_back(work, std::ref(next));
    work(next);
    for (std::thread& t : pool) t.join();

    for (size_t k = 0; k < missing.size(); ++k) m_Entries[keys[missing[k]]] = Entry{std::move(computed[k]), m_nRound};
    m_nComputed += missing.size();

    std::vector<const TestThresholds*> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = &m_Entries.at(keys[i]).result;
    return out;
}

void CThresholdCache::EndRound() {
    for (auto it = m_Entries.begin(); it != m_Entries.end();)
        it = it->second.round + 1 < m_nRound ? m_Entries.erase(it) : std::next(it);
    ++m_nRound;
}

}  // namespace trv
