// Texts a user types: the cells of the measurement list, the edits of the test-parameter dialog,
// the number parsers below them, and the code-page conversions every text passes through.
#include "FuzzCheck.h"
#include "data/Cp1252.h"
#include "res/Format.h"
#include "workspace/MeasurementEdit.h"
#include "workspace/TestParamRules.h"

#include <cmath>
#include <string>
#include <string_view>

using namespace trv;

namespace {

TestDataType SmallTest(uint8_t kind) {
    TestDataType t;
    t.m_nTestType = kind % 3;
    t.m_nLoadUnit = (kind / 3) % 3;
    t.m_nDurationSource = (kind / 9) % 3;
    t.m_bIndividualLoads = (kind & 0x40) != 0;
    for (int i = 0; i < 4; ++i) {
        PCMDataType m;
        m.m_nMeasId = static_cast<uint16_t>(10 + i);
        m.m_nMeasType = static_cast<uint8_t>(i == 0 ? MeasPreLoad : i == 3 ? MeasPostLoad : MeasLoad);
        m.m_dSpeed = 2.0 + i;
        m.m_dPower = 100.0 + 25 * i;
        m.m_nStepDuration = 180;
        t.m_Steps.push_back(m);
    }
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t kind = data[0], where = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    // Every byte string is code-page text and comes back byte for byte (device IDs rely on it).
    FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(text)) == text);
    const std::string utf8 = Cp1252ToUtf8(text);
    FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(utf8)) == utf8);
    FUZZ_CHECK(Utf8Left(utf8, 7).size() <= utf8.size());
    (void)Utf8ToCp1252(text);  // malformed UTF-8 as it may come from a clipboard

    double value = 0;
    if (ParseDecimal(text, value)) FUZZ_CHECK(!std::isnan(value));
    (void)ParseLeadingInt(text);
    (void)ParseLeadingDecimal(text);

    TestDataType test = SmallTest(kind);
    const int meas = where % 4;
    const int column = (where / 4) % 7;
    const MeasEditResult r = ApplyMeasurementEdit(test, meas, column, text);
    FUZZ_CHECK(test.m_Steps.size() == 4);
    if (!r.stored) FUZZ_CHECK(test.m_Steps[static_cast<size_t>(meas)].m_nLactate == 0);
    FUZZ_CHECK(test.m_Steps[static_cast<size_t>(meas)].m_nHeartRate >= 0);

    const TestAnalysis choice;
    CTestParamRules rules(SmallTest(kind), choice);
    const std::string s(text);
    switch (where % 3) {
        case 0:
            rules.StepEditLostFocus(s);
            break;
        case 1:
            rules.StartEditLostFocus(s);
            break;
        default:
            rules.IncrementEditLostFocus(s);
            break;
    }
    FUZZ_CHECK(rules.m_nPcStepDuration >= 0);
    TestDataType applied = SmallTest(kind);
    TestAnalysis appliedChoice;
    rules.Apply(applied, appliedChoice);
    return 0;
}
