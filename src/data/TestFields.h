#pragma once
// Every field of a test record and of its readings, listed once, in the order of the .trv file.
// The file reader and writer walk these lists, and so does the thresholds cache's content key; the
// undo snapshot copies whole records. A new field goes here (with the file version that stores it,
// or kNotStored) and none of them can miss it.
#include "data/Records.h"

namespace trv {

// How a field is stored: its width, a flag (0/1 byte), or a time (compact in version 5, else a
// status and a day count).
enum class FieldKind { I32, U8, U16, F64, Flag, Time };

// The first file version that stores a field (FieldInfo::since); kNotStored for a field only the program keeps (it
// is worked out again after reading).
constexpr int kAllVersions = 2;
constexpr int kNotStored = 1000;

struct FieldInfo {
    int since = kAllVersions;
    // How a window shows the test, not what the test is (its thresholds do not depend on it).
    bool display = false;
};
constexpr FieldInfo kStored{};
constexpr FieldInfo kDerived{kNotStored, false};

// Calls visit(kind, field, info) for each field of a test (not its readings), in file order.
template <class Test, class Visit>
void ForEachTestField(Test& t, Visit&& visit) {
    visit(FieldKind::I32, t.m_nReserved2, kStored);
    visit(FieldKind::I32, t.m_nLoadUnit, kStored);
    visit(FieldKind::I32, t.m_nReserved1, kStored);
    visit(FieldKind::Flag, t.m_bShowInChart, FieldInfo{kAllVersions, true});
    visit(FieldKind::I32, t.m_nTestType, kStored);
    visit(FieldKind::F64, t.m_dStartValue, kStored);
    visit(FieldKind::F64, t.m_dIncrement, kStored);
    visit(FieldKind::F64, t.m_dTrackLength, kStored);
    visit(FieldKind::I32, t.m_nDurationSource, kStored);
    visit(FieldKind::Flag, t.m_bCompensate, kStored);
    visit(FieldKind::I32, t.m_nPcStepDuration, kStored);
    visit(FieldKind::Flag, t.m_bParamsEntered, FieldInfo{3});
    visit(FieldKind::Flag, t.m_bIndividualLoads, FieldInfo{4});
    // Whether a download may still add readings to the test; follows from the readings.
    visit(FieldKind::Flag, t.m_bClosed, kDerived);
}

// Calls visit(kind, field, info) for each field of a reading, in file order. The raw bytes
// of the analyser's slot (m_abRaw) are where a reading came from, not part of it.
template <class Meas, class Visit>
void ForEachMeasurementField(Meas& m, Visit&& visit) {
    visit(FieldKind::U16, m.m_nLactate, kStored);
    visit(FieldKind::U16, m.m_nMeasId, kStored);
    visit(FieldKind::U8, m.m_nStatus, kStored);
    visit(FieldKind::U8, m.m_nTemperature, kStored);
    visit(FieldKind::Time, m.m_Time, kStored);
    visit(FieldKind::F64, m.m_dPower, kStored);
    visit(FieldKind::I32, m.m_nHeartRate, kStored);
    visit(FieldKind::F64, m.m_dSpeed, kStored);
    visit(FieldKind::F64, m.m_dNominalSpeed, kStored);
    visit(FieldKind::U8, m.m_nMeasType, kStored);
    visit(FieldKind::U16, m.m_nStepDuration, kStored);
    visit(FieldKind::Flag, m.m_bChecked, kStored);
    visit(FieldKind::Flag, m.m_bDurationMeasured, kStored);
    visit(FieldKind::Flag, m.m_bShortened, kStored);
    // The first and last main-load step of a test; worked out from the readings' order.
    visit(FieldKind::Flag, m.m_bFirstStep, kDerived);
    visit(FieldKind::Flag, m.m_bLastStep, kDerived);
}

}  // namespace trv
