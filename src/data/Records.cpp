#include "data/Records.h"

#include "data/ManualIds.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv {

MDataType::MDataType() : m_Time(COleDateTime::Now()) {}

int MemoryPosition(uint16_t measId) {
    const int r = measId % 250;
    return r == 0 ? 250 : r;
}

// A typed or imported reading was never in the analyser's memory. Its test's mark says so: the
// analyser's own IDs reach the block of typed IDs after 60,000 readings (about three years in a busy lab).
std::string MemoryPositionText(const TestDataType& test, uint16_t measId) {
    return IsTypedTest(test) ? std::string() : Fmt("%03d", MemoryPosition(measId));
}

std::string MeasIdText(const TestDataType& test, uint16_t measId) {
    return IsTypedTest(test) ? LoadStr(IDS_MAN_ID_TEXT) : Fmt("%05d", static_cast<int>(measId));
}

std::string LactateText(const MDataType& m) {
    if (m.m_nStatus == StatusHigh) return "High";
    if (m.m_nStatus == StatusLow) return "Low";
    return Fmt("%2.1f", m.m_nLactate / 10.0);
}

double LoadInUnit(const PCMDataType& m, int32_t loadUnit) {
    switch (loadUnit) {
        case UnitKmh:
            return m.m_dSpeed * 3.6;
        case UnitMs:
            return m.m_dSpeed;
        case UnitWatt:
            return m.m_dPower;
        default:
            return 0.0;
    }
}

std::string LoadText(const PCMDataType& m, int32_t loadUnit) { return Fmt("%2.1f", LoadInUnit(m, loadUnit)); }

double ShownLoadValue(double stored, int32_t loadUnit) { return loadUnit == UnitKmh ? stored * 3.6 : stored; }

const char* LoadUnitText(int32_t loadUnit) {
    switch (loadUnit) {
        case UnitKmh:
            return "km/h";
        case UnitMs:
            return "m/s";
        case UnitWatt:
            return "W";
        default:
            return "";
    }
}

const char* MeasTypeText(int32_t measType) {
    switch (measType) {
        case MeasPreLoad:
            return "PrL";
        case MeasLoad:
            return "Ld";
        case MeasPostLoad:
            return "AFL";
        default:
            return "";
    }
}

const char* TestTypeText(int32_t testType) {
    if (testType < TestTreadmill || testType > TestField) return "";
    return LoadStr(IDS_TESTTYPE_TREADMILL + testType);
}

}  // namespace trv
