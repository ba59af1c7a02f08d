#pragma once
// Two step tests whose zones can be worked out by hand.
//
// Ergometer (W): 100, 150, 200, 250, 300 W; lactate 1 + 0.1 s^3 with s = (P - 100) / 50 (1.0, 1.1, 1.8,
// 3.7, 7.4 mmol/l: exact tenths, so the least-squares cubic is that cubic); heart rate 100 + 0.3 P
// (130 .. 190). The level L is crossed at P = 100 + 50 cbrt(10 (L - 1)).
//
// Treadmill (km/h): 8, 10, 12, 14 km/h; lactate 1 + 0.1 s^3 with s = (v - 8) / 2 (1.0, 1.1, 1.8, 3.7;
// the curve never reaches 4.0 mmol/l); heart rate 140, 150, 165, 175 (a bent line).
#include "data/Records.h"

namespace trvtest {

inline trv::PCMDataType ZoneReading(int type, int tenths, int hr, int minute) {
    trv::PCMDataType m;
    m.m_nMeasId = static_cast<uint16_t>(100 + minute);
    m.m_nMeasType = static_cast<uint8_t>(type);
    m.m_nLactate = static_cast<uint16_t>(tenths);
    m.m_nHeartRate = hr;
    m.m_nStatus = trv::StatusNormal;
    m.m_bChecked = 1;
    m.m_Time = trv::COleDateTime::FromParts(2026, 5, 12, 10, minute, 0);
    return m;
}

inline trv::TestDataType ZoneErgometer() {
    trv::TestDataType t;
    t.m_nTestType = trv::TestErgometer;
    t.m_nLoadUnit = trv::UnitWatt;
    t.m_dStartValue = 100;
    t.m_dIncrement = 50;
    t.m_bParamsEntered = 1;
    t.m_bShowInChart = 1;
    t.m_Steps.push_back(ZoneReading(trv::MeasPreLoad, 10, 80, 0));
    const int tenths[] = {10, 11, 18, 37, 74};
    for (int i = 0; i < 5; ++i) {
        trv::PCMDataType m = ZoneReading(trv::MeasLoad, tenths[i], 130 + 15 * i, 3 * (i + 1));
        m.m_dPower = 100 + 50 * i;
        t.m_Steps.push_back(m);
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

inline trv::TestDataType ZoneTreadmill() {
    trv::TestDataType t;
    t.m_nTestType = trv::TestTreadmill;
    t.m_nLoadUnit = trv::UnitKmh;
    t.m_dStartValue = 8.0 / 3.6;
    t.m_dIncrement = 2.0 / 3.6;
    t.m_bParamsEntered = 1;
    t.m_bShowInChart = 1;
    t.m_Steps.push_back(ZoneReading(trv::MeasPreLoad, 10, 90, 0));
    const int tenths[] = {10, 11, 18, 37};
    const int hr[] = {140, 150, 165, 175};
    for (int i = 0; i < 4; ++i) {
        trv::PCMDataType m = ZoneReading(trv::MeasLoad, tenths[i], hr[i], 3 * (i + 1));
        m.m_dSpeed = (8.0 + 2.0 * i) / 3.6;
        t.m_Steps.push_back(m);
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    return t;
}

}  // namespace trvtest
