#include "data/AssignedTests.h"

#include "data/TRVDoc.h"

#include <cmath>

namespace trv {

bool SameReading(const PCMDataType& a, const PCMDataType& b) {
    const bool sameTime =
        a.m_Time.m_status == b.m_Time.m_status &&
        (!a.m_Time.IsValid() || std::llround(a.m_Time.m_dt * 86400.0) == std::llround(b.m_Time.m_dt * 86400.0));
    return a.m_nMeasId == b.m_nMeasId && a.m_nLactate == b.m_nLactate && a.m_nStatus == b.m_nStatus &&
           a.m_nStepDuration == b.m_nStepDuration && a.m_nTemperature == b.m_nTemperature && sameTime;
}

void ApplyTestAdditions(CTRVDoc& doc, const std::vector<TestAddition>& additions) {
    for (const TestAddition& a : additions) {
        if (a.intoTest >= 0 && doc.IsValidTest(a.intoTest)) {
            auto& steps = doc.GetTest(a.intoTest).m_Steps;
            steps.insert(steps.end(), a.test.m_Steps.begin(), a.test.m_Steps.end());
        } else {
            TestDataType t = a.test;
            SetAssigned(t, false);  // the copy is an ordinary test of its athlete
            doc.m_Tests.push_back(std::move(t));
        }
    }
    doc.SetModifiedFlag();
}

}  // namespace trv
