#pragma once
// Small documents for the analysis tests.
#include "data/Records.h"
#include "data/TRVDoc.h"

namespace trvtest {

inline trv::PCMDataType Meas(int type, double lactate, int hr = 0, int minute = 0, int second = 0) {
    trv::PCMDataType m;
    m.m_nMeasType = static_cast<uint8_t>(type);
    m.m_nLactate = static_cast<uint16_t>(lactate * 10 + 0.5);
    m.m_nHeartRate = hr;
    m.m_nStatus = trv::StatusNormal;
    m.m_bChecked = 1;
    m.m_Time = trv::COleDateTime::FromParts(2024, 5, 14, 10, minute, second);
    return m;
}

// A treadmill test in km/h: start 8 km/h, +2 km/h, a pre-load, `steps` main loads, no post-load.
inline trv::TestDataType Treadmill(int steps, const double* lactates) {
    trv::TestDataType t;
    t.m_nLoadUnit = trv::UnitKmh;
    t.m_nTestType = trv::TestTreadmill;
    t.m_dStartValue = 8.0 / 3.6;
    t.m_dIncrement = 2.0 / 3.6;
    t.m_bParamsEntered = 1;
    t.m_bShowInChart = 1;
    t.m_Steps.push_back(Meas(trv::MeasPreLoad, 1.0, 70));
    for (int i = 0; i < steps; ++i) {
        trv::PCMDataType m = Meas(trv::MeasLoad, lactates[i], 130 + 10 * i, 3 * (i + 1));
        m.m_dSpeed = (8.0 + 2.0 * i) / 3.6;
        t.m_Steps.push_back(m);
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

}  // namespace trvtest
