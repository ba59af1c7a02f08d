#include "workspace/TestLabel.h"

#include "res/Format.h"

#include <algorithm>

namespace trv {

std::string TestStartTime(const TestDataType& test) {
    DateParts p;
    if (test.m_Steps.empty() || !test.m_Steps.front().m_Time.GetParts(p)) return {};
    return Fmt("%02d:%02d", p.hour, p.minute);
}

std::string TestLabel(const TestDataType& test) {
    std::string s;
    auto add = [&s](const std::string& part) {
        if (part.empty()) return;
        if (!s.empty()) s += ' ';
        s += part;
    };
    if (!test.m_Steps.empty()) add(test.m_Steps.front().m_Time.FormatDate());
    add(TestStartTime(test));
    add(TestTypeText(test.m_nTestType));
    return s;
}

int TestStepCount(const TestDataType& test) {
    return static_cast<int>(std::count_if(test.m_Steps.begin(), test.m_Steps.end(),
                                          [](const PCMDataType& m) { return m.m_nMeasType == MeasLoad; }));
}

std::optional<double> TestHighestLactate(const TestDataType& test) {
    std::optional<double> best;
    for (const PCMDataType& m : test.m_Steps) {
        if (m.m_nStatus != StatusNormal && m.m_nStatus != StatusTimed) continue;
        const double v = m.m_nLactate / 10.0;
        if (!best || v > *best) best = v;
    }
    return best;
}

}  // namespace trv
