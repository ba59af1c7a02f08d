#pragma once
// A document as the protocol tests print it: an athlete, a field test on a 400 m track in m/s
// whose lactate lies on a cubic through 4.0 mmol/l at 4.0 m/s (so the threshold lies there), and
// a treadmill test in m/s with analyser-timed steps and a shortened last step.
#include "data/OleDateTime.h"
#include "data/Records.h"
#include "data/TRVDoc.h"

namespace trvtest {

inline trv::PCMDataType Reading(int id, int type, double speedMs, double lactate, int hr, int minute, int second = 0) {
    trv::PCMDataType m;
    m.m_nMeasId = static_cast<uint16_t>(id);
    m.m_nMeasType = static_cast<uint8_t>(type);
    m.m_nStatus = trv::StatusNormal;
    m.m_nLactate = static_cast<uint16_t>(lactate * 10.0 + 0.5);
    m.m_nHeartRate = hr;
    m.m_dSpeed = speedMs;
    m.m_bChecked = 1;
    m.m_Time = trv::COleDateTime::FromParts(2024, 5, 14, 9 + minute / 60, minute % 60, second);
    return m;
}

// Field test, m/s, track 400 m, durations from the track (PC): 2.5 .. 4.5 m/s, heart rate 130 .. 170,
// lactate 1.3 + 0.6 t + 0.1 t^2 + 0.05 t (t - 1) (t - 3) with t = 2 (v - 2.5): 1.3, 2.0, 2.8, 4.0, 5.9.
inline trv::TestDataType FieldTestMs() {
    using namespace trv;
    TestDataType t;
    t.m_nLoadUnit = UnitMs;
    t.m_nTestType = TestField;
    t.m_dTrackLength = 400.0;
    t.m_nDurationSource = SourcePc;
    t.m_bParamsEntered = 1;
    t.m_Steps.push_back(Reading(11, MeasPreLoad, 0.0, 0.9, 62, 0));
    const double lactates[] = {1.3, 2.0, 2.8, 4.0, 5.9};
    for (int i = 0; i < 5; ++i)
        t.m_Steps.push_back(Reading(12 + i, MeasLoad, 2.5 + 0.5 * i, lactates[i], 130 + 10 * i, 5 + 3 * i));
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps[5].m_bLastStep = 1;
    // Two and a half minutes after the last step (minute 17).
    t.m_Steps.push_back(Reading(17, MeasPostLoad, 0.0, 5.6, 141, 19, 30));
    return t;
}

// Treadmill, m/s, 2.5 .. 4.0 m/s in steps of 0.5, analyser-timed 3:00 steps, the last one stopped
// after 2:00 and compensated; the second pre-load reading is left out of the curve, the last
// post-load reading is above the measuring range.
inline trv::TestDataType TreadmillMs() {
    using namespace trv;
    TestDataType t;
    t.m_nLoadUnit = UnitMs;
    t.m_nTestType = TestTreadmill;
    t.m_dStartValue = 2.5;
    t.m_dIncrement = 0.5;
    t.m_nDurationSource = SourceAnalyser;
    t.m_bCompensate = 1;
    t.m_bParamsEntered = 1;
    t.m_Steps.push_back(Reading(31, MeasPreLoad, 0.0, 1.2, 70, 60));
    t.m_Steps.push_back(Reading(32, MeasPreLoad, 0.0, 1.3, 72, 62));
    t.m_Steps[1].m_bChecked = 0;
    const double lactates[] = {1.1, 1.6, 2.6, 4.8};
    for (int i = 0; i < 4; ++i) {
        PCMDataType m = Reading(33 + i, MeasLoad, 2.5 + 0.5 * i, lactates[i], 128 + 12 * i, 66 + 3 * i);
        m.m_nStepDuration = i == 3 ? 120 : 180;
        m.m_bDurationMeasured = 1;
        m.m_nStatus = StatusTimed;
        t.m_Steps.push_back(m);
    }
    t.m_Steps[2].m_bFirstStep = 1;
    t.m_Steps[5].m_bLastStep = 1;
    t.m_Steps.push_back(Reading(37, MeasPostLoad, 0.0, 5.2, 150, 79));
    PCMDataType high = Reading(38, MeasPostLoad, 0.0, 0.0, 120, 83, 15);
    high.m_nStatus = StatusHigh;
    t.m_Steps.push_back(high);
    return t;
}

inline trv::CTRVDoc ProtocolDoc() {
    trv::CTRVDoc doc;
    doc.m_strDeviceId = "ARV0012345";
    doc.m_dFirmware = 3.05;
    doc.m_bDeviceBound = true;
    trv::UserDataType& u = doc.m_UserData;
    u.m_strFirstName = "Anna";
    u.m_strLastName = "Berger";
    u.m_strStreet = "Lindenweg 4";
    u.m_strPostCode = "79098";
    u.m_strTown = "Freiburg";
    u.m_strPhone = "0761 123456";
    u.m_strEmail = "anna.berger@example.org";
    u.m_dWeight = 72.6;
    u.m_dHeight = 171.0;
    u.m_nSex = 1;
    u.m_BirthDate = trv::COleDateTime::FromParts(1990, 3, 15, 0, 0, 0);
    u.m_strRemarks = "Läuft seit 2019 Halbmarathon.";
    doc.m_Tests.push_back(FieldTestMs());
    doc.m_Tests.push_back(TreadmillMs());
    return doc;
}

}  // namespace trvtest
