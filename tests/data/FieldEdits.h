#pragma once
// Every field of a test record and of a reading, written out by hand from Records.h (not from the
// field list in TestFields.h): a change of each one, and its value as a number. The tests that use it
// prove that the file keeps every stored field and that the thresholds cache's key sees every field.
#include "data/Records.h"

#include <functional>
#include <vector>

namespace fieldtest {

struct FieldEdit {
    const char* name;
    bool stored;  // written to and read from .trv files
    std::function<void(trv::TestDataType&)> change;
    std::function<double(const trv::TestDataType&)> value;
};

// A step test of two readings whose every field has a value no edit below produces.
inline trv::TestDataType BaseTest() {
    trv::TestDataType t;
    for (int i = 0; i < 2; ++i) {
        trv::PCMDataType m;
        m.m_nMeasId = static_cast<uint16_t>(40 + i);
        m.m_nLactate = static_cast<uint16_t>(15 + 10 * i);
        m.m_nMeasType = trv::MeasLoad;
        m.m_nStatus = trv::StatusNormal;
        m.m_nTemperature = 22;
        m.m_Time = trv::COleDateTime::FromParts(2026, 3, 2, 9, 3 * i, 0);
        m.m_dSpeed = 3.0 + 0.5 * i;
        m.m_nHeartRate = 140 + 10 * i;
        t.m_Steps.push_back(m);
    }
    t.m_nLoadUnit = trv::UnitMs;
    t.m_dStartValue = 3.0;
    t.m_dIncrement = 0.5;
    return t;
}

// The second reading's fields are changed; its first stands for the rest.
inline trv::PCMDataType& Second(trv::TestDataType& t) { return t.m_Steps[1]; }
inline const trv::PCMDataType& Second(const trv::TestDataType& t) { return t.m_Steps[1]; }

#define TEST_FIELD(field, stored, newValue)                                                                        \
    FieldEdit {                                                                                                    \
#field, stored,                                                                                            \
            [](trv::TestDataType &                                                                                 \
               t) { t.field = newValue; }, [](const trv::TestDataType& t) { return static_cast<double>(t.field); } \
    }
#define MEAS_FIELD(field, stored, newValue)                                                                   \
    FieldEdit {                                                                                               \
#field, stored,                                                                                       \
            [](trv::TestDataType &                                                                            \
               t) { Second(t).field = newValue; }, [](const trv::TestDataType&                                \
                                                          t) { return static_cast<double>(Second(t).field); } \
    }

inline std::vector<FieldEdit> AllFieldEdits() {
    return {
        TEST_FIELD(m_bShowInChart, true, 1),
        TEST_FIELD(m_nLoadUnit, true, trv::UnitKmh),
        TEST_FIELD(m_nTestType, true, trv::TestErgometer),
        TEST_FIELD(m_dStartValue, true, 2.75),
        TEST_FIELD(m_dIncrement, true, 0.25),
        TEST_FIELD(m_dTrackLength, true, 400.0),
        TEST_FIELD(m_bCompensate, true, 1),
        TEST_FIELD(m_nDurationSource, true, trv::SourceManual),
        TEST_FIELD(m_bIndividualLoads, true, 1),
        TEST_FIELD(m_nPcStepDuration, true, 240),
        TEST_FIELD(m_bParamsEntered, true, 1),
        TEST_FIELD(m_nReserved1, true, 7),
        TEST_FIELD(m_nReserved2, true, 9),
        TEST_FIELD(m_bClosed, false, 1),
        MEAS_FIELD(m_nMeasId, true, 77),
        MEAS_FIELD(m_nStepDuration, true, 200),
        MEAS_FIELD(m_nMeasType, true, trv::MeasPostLoad),
        MEAS_FIELD(m_bFirstStep, false, 1),
        MEAS_FIELD(m_bLastStep, false, 1),
        MEAS_FIELD(m_nStatus, true, trv::StatusHigh),
        MEAS_FIELD(m_nLactate, true, 31),
        MEAS_FIELD(m_nTemperature, true, 19),
        MEAS_FIELD(m_Time.m_dt, true, trv::COleDateTime::FromParts(2026, 3, 2, 9, 4, 0).m_dt),
        MEAS_FIELD(m_nHeartRate, true, 171),
        MEAS_FIELD(m_dSpeed, true, 3.75),
        MEAS_FIELD(m_dNominalSpeed, true, 3.5),
        MEAS_FIELD(m_dPower, true, 210.0),
        MEAS_FIELD(m_bChecked, true, 1),
        MEAS_FIELD(m_bDurationMeasured, true, 1),
        MEAS_FIELD(m_bShortened, true, 1),
    };
}

#undef TEST_FIELD
#undef MEAS_FIELD

// When a record grows, this table and TestFields.h need the new field: the sizes say so.
constexpr size_t kTestRecordSize = 96;
constexpr size_t kReadingSize = 96;

}  // namespace fieldtest
