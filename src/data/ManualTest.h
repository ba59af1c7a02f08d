#pragma once
// A step test built from readings typed in or imported, with its parameters entered.
#include "data/Result.h"
#include "data/TRVDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace trv {

// One entered reading. Loads are in the test's load unit as shown (km/h, m/s or W).
struct ManualStep {
    int m_nLine = 0;  // line of the file or row of the table, for messages
    int m_nMeasType = MeasLoad;
    std::optional<double> m_Load;  // required for main-load steps
    double m_dLactate = 0.0;       // mmol/l
    int m_nStatus = StatusNormal;  // StatusHigh / StatusLow for readings out of the measuring range
    int m_nHeartRate = 0;          // 0 = none
    int m_nDuration = -1;          // s, field-test step; -1 = none
    // When the reading was taken: an absolute time stamp, or seconds after the first main-load
    // reading, or (post-load rows) minutes after the last main-load reading. Without any of them the
    // time follows from the step duration.
    std::optional<COleDateTime> m_Time;
    std::optional<int> m_nOffset;
    std::optional<double> m_dMinutesAfter;
};

struct ManualTestInput {
    int32_t m_nTestType = TestTreadmill;
    int32_t m_nLoadUnit = UnitKmh;
    COleDateTime m_FirstStep;  // time stamp of the first main-load reading
    int32_t m_nStepDuration = 180;
    double m_dTrackLength = 150.0;
    std::vector<ManualStep> m_Steps;
};

// Plausibility limits beyond which the caller is asked before the values are taken.
constexpr double kLactateQuestionAbove = 30.0;  // mmol/l
constexpr int kHeartRateQuestionAbove = 250;    // S/min

// Checks the readings and builds the test: main-load steps sorted by load between the pre-load and
// the post-load readings, individual loads, parameters entered, every reading ticked. False with a
// German message naming the line when a value is missing, negative or out of range, or two steps
// share a load. `questions` gets one German line for every implausible value (lactate above
// 30 mmol/l, heart rate above 250); the caller asks before adding such a test. The readings get
// their IDs only when the test is added.
Result BuildManualTest(const ManualTestInput& input, TestDataType& test, std::vector<std::string>& questions);

// Gives the test's readings free IDs of the manual block, adds it to the document, sorts the tests
// and marks the document modified. `index` gets the new test's index; fails (index -1, nothing
// added) with a German message when the document has no IDs left for it.
Result AddManualTest(CTRVDoc& doc, TestDataType test, int& index);

}  // namespace trv
