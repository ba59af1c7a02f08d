#pragma once
// The records every part of the program works on: measurements, tests, the athlete.
#include "data/OleDateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// Measurement type codes.
enum MeasType : uint8_t { MeasSingle = 0, MeasPreLoad = 1, MeasLoad = 2, MeasPostLoad = 3 };
// Status codes with a meaning of their own (3 to 5 and 8 to 15 are shown like ordinary readings).
enum MeasStatus : uint8_t { StatusEmpty = 0, StatusNormal = 1, StatusTimed = 2, StatusHigh = 6, StatusLow = 7 };
// Load unit codes.
enum LoadUnit : int32_t { UnitKmh = 0, UnitMs = 1, UnitWatt = 2 };
// Test type codes.
enum TestType : int32_t { TestTreadmill = 0, TestErgometer = 1, TestField = 2 };
// Step-duration source codes.
enum DurationSource : int32_t { SourcePc = 0, SourceAnalyser = 1, SourceManual = 2 };
// Fitting function codes.
enum FitFunction : int32_t { FitCubic = 0, FitSpline = 1 };
// Threshold model codes.
enum ThresholdModel : int32_t { ModelMader = 0, ModelKeul = 1, ModelSimon = 2 };

class MDataType {
public:
    MDataType();
    virtual ~MDataType() = default;
    MDataType(const MDataType&) = default;
    MDataType& operator=(const MDataType&) = default;

    uint16_t m_nMeasId = 0;
    uint16_t m_nStepDuration = 180;
    uint8_t m_nMeasType = MeasSingle;
    uint8_t m_bFirstStep = 0;
    uint8_t m_bLastStep = 0;
    uint8_t m_nStatus = StatusEmpty;
    uint16_t m_nLactate = 0;
    uint8_t m_nTemperature = 23;
    COleDateTime m_Time;
    std::array<uint8_t, 14> m_abRaw{};
};

class PCMDataType : public MDataType {
public:
    PCMDataType() = default;
    ~PCMDataType() override = default;
    PCMDataType(const PCMDataType&) = default;
    PCMDataType& operator=(const PCMDataType&) = default;

    int32_t m_nHeartRate = 0;
    double m_dSpeed = 0.0;
    double m_dNominalSpeed = 0.0;
    double m_dPower = 0.0;
    uint8_t m_bChecked = 0;
    uint8_t m_bDurationMeasured = 0;
    uint8_t m_bShortened = 0;
};

struct TestDataType {
    std::vector<PCMDataType> m_Steps;
    uint8_t m_bShowInChart = 0;
    int32_t m_nLoadUnit = UnitMs;
    int32_t m_nTestType = TestTreadmill;
    double m_dStartValue = 0.0;  // m/s for units 0 and 1, W for unit 2
    double m_dIncrement = 0.0;
    double m_dTrackLength = 150.0;
    uint8_t m_bCompensate = 0;
    int32_t m_nDurationSource = SourcePc;
    uint8_t m_bIndividualLoads = 0;
    int32_t m_nPcStepDuration = 180;
    uint8_t m_bParamsEntered = 0;
    int32_t m_nReserved1 = 0;
    int32_t m_nReserved2 = 0;
    uint8_t m_bClosed = 0;
};

// Longest athlete text of the fixed fields (first name to e-mail).
constexpr size_t kUserTextMax = 254;
// Longest remarks text the athlete dialog accepts.
constexpr size_t kUserRemarksMax = 4095;

struct UserDataType {
    std::string m_strFirstName, m_strLastName, m_strStreet, m_strPostCode, m_strTown, m_strPhone, m_strEmail;
    double m_dHeight = 0.0;  // cm
    double m_dWeight = 0.0;  // kg
    std::string m_strRemarks;
    COleDateTime m_BirthDate{0.0, COleDateTime::valid};
    int32_t m_nSex = 0;  // 0 male, 1 female
};

// Derived values shown in lists, export and printout.
int MemoryPosition(uint16_t measId);  // id mod 250, 0 shown as 250
// A reading of a typed or imported test (its test mark, whatever the ID) shows "manuell" and no
// memory position; every other reading is the analyser's, whatever its ID.
std::string MemoryPositionText(const TestDataType& test, uint16_t measId);  // "%03d"; "" for a typed reading
std::string MeasIdText(const TestDataType& test, uint16_t measId);          // "%05d"; "manuell" for a typed reading
std::string LactateText(const MDataType& m);                                // "High", "Low" or "%2.1f"
double LoadInUnit(const PCMDataType& m, int32_t loadUnit);                  // km/h, m/s or W
std::string LoadText(const PCMDataType& m, int32_t loadUnit);               // "%2.1f"
// A stored start value or increment in the shown unit (x 3.6 for km/h).
double ShownLoadValue(double stored, int32_t loadUnit);
const char* LoadUnitText(int32_t loadUnit);  // "km/h", "m/s", "W"; "" otherwise
const char* MeasTypeText(int32_t measType);  // "PrL", "Ld", "AFL"; "" otherwise
const char* TestTypeText(int32_t testType);  // IDS_TESTTYPE_TREADMILL.._FIELD; "" otherwise

}  // namespace trv
