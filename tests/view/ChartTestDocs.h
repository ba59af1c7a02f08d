#pragma once
// Documents with step tests as an analyser and a person at the keyboard would produce them, for
// the chart and list tests (and for looking at the chart).
#include "data/OleDateTime.h"
#include "data/Records.h"
#include "data/TRVDoc.h"

#include <initializer_list>

namespace trvtest {

struct Reading {
    int type;        // trv::MeasType
    double load;     // m/s (speed units) or W
    double lactate;  // mmol/l
    int heartRate;
    int minute;  // minutes after the test's start
    int status = trv::StatusNormal;
};

inline trv::TestDataType MakeTest(int firstId, int day, int loadUnit, int testType, std::initializer_list<Reading> rs) {
    trv::TestDataType t;
    t.m_nLoadUnit = loadUnit;
    t.m_nTestType = testType;
    t.m_bParamsEntered = 1;
    t.m_bShowInChart = 1;
    int id = firstId;
    for (const Reading& r : rs) {
        trv::PCMDataType m;
        m.m_nMeasId = static_cast<uint16_t>(id++);
        m.m_nMeasType = static_cast<uint8_t>(r.type);
        m.m_nStatus = static_cast<uint8_t>(r.status);
        m.m_nLactate = static_cast<uint16_t>(r.lactate * 10.0 + 0.5);
        m.m_nHeartRate = r.heartRate;
        if (loadUnit == trv::UnitWatt)
            m.m_dPower = r.load;
        else
            m.m_dSpeed = r.load;
        m.m_Time = trv::COleDateTime::FromParts(2024, 5, day, 10 + r.minute / 60, r.minute % 60, 0);
        m.m_bChecked = 1;
        t.m_Steps.push_back(m);
    }
    return t;
}

// Treadmill, m/s, 2.5 to 5.0 in steps of 0.5; two readings at rest, three after the test.
inline trv::TestDataType TreadmillTest(int day = 14) {
    using namespace trv;
    return MakeTest(101, day, UnitMs, TestTreadmill,
                    {{MeasPreLoad, 0.0, 1.0, 64, 0},
                     {MeasPreLoad, 0.0, 1.1, 71, 2},
                     {MeasLoad, 2.5, 1.2, 128, 5},
                     {MeasLoad, 3.0, 1.4, 141, 8},
                     {MeasLoad, 3.5, 1.9, 154, 11},
                     {MeasLoad, 4.0, 2.8, 166, 14},
                     {MeasLoad, 4.5, 4.4, 177, 17},
                     {MeasLoad, 5.0, 7.1, 187, 20},
                     {MeasPostLoad, 0.0, 7.8, 152, 21},
                     {MeasPostLoad, 0.0, 8.3, 126, 23},
                     {MeasPostLoad, 0.0, 7.6, 108, 25}});
}

// The same athlete some weeks later: the curve lies further right.
inline trv::TestDataType TreadmillRetest(int day = 28) {
    using namespace trv;
    return MakeTest(201, day, UnitMs, TestTreadmill,
                    {{MeasPreLoad, 0.0, 0.9, 60, 0},
                     {MeasLoad, 2.5, 1.0, 122, 5},
                     {MeasLoad, 3.0, 1.2, 135, 8},
                     {MeasLoad, 3.5, 1.5, 147, 11},
                     {MeasLoad, 4.0, 2.1, 159, 14},
                     {MeasLoad, 4.5, 3.2, 170, 17},
                     {MeasLoad, 5.0, 5.0, 181, 20},
                     {MeasLoad, 5.5, 7.9, 190, 23},
                     {MeasPostLoad, 0.0, 8.4, 150, 25},
                     {MeasPostLoad, 0.0, 7.2, 118, 29}});
}

// Field test on a 400 m track, shown in km/h (speeds stored in m/s): 10 to 15 km/h.
inline trv::TestDataType FieldTest(int day = 20) {
    using namespace trv;
    trv::TestDataType t = MakeTest(301, day, UnitKmh, TestField,
                                   {{MeasPreLoad, 0.0, 1.3, 68, 0},
                                    {MeasLoad, 10.0 / 3.6, 1.5, 138, 4},
                                    {MeasLoad, 11.0 / 3.6, 1.8, 149, 8},
                                    {MeasLoad, 12.0 / 3.6, 2.4, 160, 12},
                                    {MeasLoad, 13.0 / 3.6, 3.3, 170, 16},
                                    {MeasLoad, 14.0 / 3.6, 4.9, 180, 20},
                                    {MeasLoad, 15.0 / 3.6, 7.2, 189, 24},
                                    {MeasPostLoad, 0.0, 7.9, 141, 27},
                                    {MeasPostLoad, 0.0, 6.8, 115, 32}});
    t.m_dTrackLength = 400.0;
    t.m_nDurationSource = SourceManual;
    return t;
}

inline void NameAthlete(trv::CTRVDoc& doc) {
    doc.m_UserData.m_strFirstName = "Lena";
    doc.m_UserData.m_strLastName = "Hoffmann";
}

}  // namespace trvtest
