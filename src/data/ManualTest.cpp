#include "data/ManualTest.h"

#include "data/ManualIds.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>

namespace trv {

namespace {

constexpr double kSecondsPerDay = 86400.0;

COleDateTime Plus(const COleDateTime& t, double seconds) { return COleDateTime(t.m_dt + seconds / kSecondsPerDay); }

std::string LoadShown(double v, int32_t unit) { return Fmt("%2.1f %s", v, LoadUnitText(unit)); }

Result CheckStep(const ManualStep& s, std::vector<std::string>& questions) {
    const int line = s.m_nLine;
    if (s.m_nMeasType < MeasPreLoad || s.m_nMeasType > MeasPostLoad)
        return Result::Fail(FmtId(IDS_MAN_UNKNOWN_TYPE, line));
    if (s.m_nMeasType == MeasLoad && !s.m_Load) return Result::Fail(FmtId(IDS_MAN_LOAD_MISSING, line));
    if (s.m_Load && (!std::isfinite(*s.m_Load) || *s.m_Load < 0.0))
        return Result::Fail(FmtId(IDS_MAN_LOAD_NEGATIVE, line));
    if (s.m_nStatus == StatusNormal) {
        if (!std::isfinite(s.m_dLactate) || s.m_dLactate < 0.0)
            return Result::Fail(FmtId(IDS_MAN_LACTATE_NEGATIVE, line));
        if (s.m_dLactate * 10.0 > 65535.0) return Result::Fail(FmtId(IDS_MAN_LACTATE_TOO_HIGH, line));
        if (s.m_dLactate > kLactateQuestionAbove)
            questions.push_back(FmtId(IDS_MAN_ASK_LACTATE, line, s.m_dLactate, kLactateQuestionAbove));
    }
    if (s.m_nHeartRate < 0) return Result::Fail(FmtId(IDS_MAN_HR_NEGATIVE, line));
    if (s.m_nHeartRate > kHeartRateQuestionAbove)
        questions.push_back(FmtId(IDS_MAN_ASK_HR, line, s.m_nHeartRate, kHeartRateQuestionAbove));
    if (s.m_nDuration != -1 && (s.m_nDuration <= 0 || s.m_nDuration > 65535))
        return Result::Fail(FmtId(IDS_MAN_DURATION_RANGE, line));
    if (s.m_dMinutesAfter && !(*s.m_dMinutesAfter >= 0.0 && *s.m_dMinutesAfter < 100000.0))
        return Result::Fail(FmtId(IDS_MAN_MINUTES_NEGATIVE, line));
    return Result::Ok();
}

// Stored speed or power of a main-load step.
void SetLoad(PCMDataType& m, const TestDataType& t, double shown) {
    switch (t.m_nLoadUnit) {
        case UnitKmh:
            m.m_dSpeed = shown / 3.6;
            break;
        case UnitMs:
            m.m_dSpeed = shown;
            break;
        default:
            m.m_dPower = shown;
            break;
    }
    if (t.m_nTestType == TestField) m.m_dNominalSpeed = m.m_dSpeed;
}

}  // namespace

Result BuildManualTest(const ManualTestInput& input, TestDataType& test, std::vector<std::string>& questions) {
    questions.clear();
    if (input.m_nTestType < TestTreadmill || input.m_nTestType > TestField || input.m_nLoadUnit < UnitKmh ||
        input.m_nLoadUnit > UnitWatt)
        return Result::Fail(LoadStr(IDS_MAN_BAD_CODES));
    // The ergometer measures in watts, treadmill and track in speeds; the test parameters rely on that pair.
    if ((input.m_nTestType == TestErgometer) != (input.m_nLoadUnit == UnitWatt))
        return Result::Fail(LoadStr(IDS_MAN_UNIT_FOR_TYPE));
    if (input.m_nStepDuration < 10 || input.m_nStepDuration > 600) return Result::Fail(LoadStr(IDS_MAN_STEP_DURATION));
    if (input.m_nTestType == TestField && !(input.m_dTrackLength > 0.0 && input.m_dTrackLength <= 100000.0))
        return Result::Fail(LoadStr(IDS_MAN_TRACK));
    if (!input.m_FirstStep.IsValid()) return Result::Fail(LoadStr(IDS_MAN_NO_DATE));
    std::vector<ManualStep> pre, load, post;
    for (const ManualStep& s : input.m_Steps) {
        if (Result checked = CheckStep(s, questions); !checked) return checked;
        (s.m_nMeasType == MeasPreLoad ? pre : s.m_nMeasType == MeasLoad ? load : post).push_back(s);
    }
    if (load.empty()) {
        std::string error = LoadStr(IDS_MAN_NO_LOAD_STEP);
        if (!input.m_Steps.empty()) {
            const int a = input.m_Steps.front().m_nLine, b = input.m_Steps.back().m_nLine;
            error = (a == b ? FmtId(IDS_MAN_LINE, a) : FmtId(IDS_MAN_LINES, a, b)) + error;
        }
        return Result::Fail(error);
    }
    // The curve needs distinct loads in ascending order.
    std::stable_sort(load.begin(), load.end(),
                     [](const ManualStep& a, const ManualStep& b) { return *a.m_Load < *b.m_Load; });
    for (size_t i = 1; i < load.size(); ++i)
        if (std::fabs(*load[i].m_Load - *load[i - 1].m_Load) < 1e-9) {
            const int a = std::min(load[i - 1].m_nLine, load[i].m_nLine);
            const int b = std::max(load[i - 1].m_nLine, load[i].m_nLine);
            return Result::Fail(
                FmtId(IDS_MAN_EQUAL_LOADS, a, b, LoadShown(*load[i].m_Load, input.m_nLoadUnit).c_str()));
        }

    TestDataType t;
    t.m_nTestType = input.m_nTestType;
    t.m_nLoadUnit = input.m_nLoadUnit;
    t.m_nPcStepDuration = input.m_nStepDuration;
    t.m_dTrackLength = input.m_nTestType == TestField ? input.m_dTrackLength : TestDataType{}.m_dTrackLength;
    // Field-test durations are hand-entered and stay as entered; the other tests run on the PC's schedule.
    t.m_nDurationSource = input.m_nTestType == TestField ? SourceManual : SourcePc;
    t.m_bIndividualLoads = 1;
    t.m_bParamsEntered = 1;
    t.m_bClosed = 1;
    const double toStored = input.m_nLoadUnit == UnitKmh ? 1.0 / 3.6 : 1.0;
    t.m_dStartValue = *load.front().m_Load * toStored;
    t.m_dIncrement = load.size() > 1 ? (*load[1].m_Load - *load[0].m_Load) * toStored : 0.0;

    auto reading = [&](const ManualStep& s, const COleDateTime& when) {
        PCMDataType m;
        m.m_nMeasType = static_cast<uint8_t>(s.m_nMeasType);
        m.m_nStatus = static_cast<uint8_t>(s.m_nStatus);
        m.m_nLactate = s.m_nStatus == StatusNormal ? static_cast<uint16_t>(std::llround(s.m_dLactate * 10.0)) : 0;
        m.m_nHeartRate = s.m_nHeartRate;
        m.m_nStepDuration = static_cast<uint16_t>(s.m_nDuration > 0 ? s.m_nDuration : input.m_nStepDuration);
        if (s.m_nMeasType == MeasLoad) SetLoad(m, t, *s.m_Load);
        m.m_bChecked = 1;
        m.m_Time = s.m_Time ? *s.m_Time : s.m_nOffset ? Plus(input.m_FirstStep, *s.m_nOffset) : when;
        return m;
    };
    // Without a time of their own: the steps follow each other by their durations, pre-load readings
    // a minute apart before the first step, post-load readings a minute apart after the last.
    double at = 0.0;
    for (size_t i = 0; i < pre.size(); ++i)
        t.m_Steps.push_back(reading(pre[i], Plus(input.m_FirstStep, -60.0 * static_cast<double>(pre.size() - i))));
    COleDateTime last = input.m_FirstStep;
    for (size_t i = 0; i < load.size(); ++i) {
        if (i > 0) at += load[i].m_nDuration > 0 ? load[i].m_nDuration : input.m_nStepDuration;
        t.m_Steps.push_back(reading(load[i], Plus(input.m_FirstStep, at)));
        last = t.m_Steps.back().m_Time;
    }
    for (size_t i = 0; i < post.size(); ++i) {
        const double minutes = post[i].m_dMinutesAfter ? *post[i].m_dMinutesAfter : static_cast<double>(i + 1);
        t.m_Steps.push_back(reading(post[i], Plus(last, 60.0 * minutes)));
    }
    for (size_t i = 0; i < t.m_Steps.size(); ++i) {
        uint32_t seconds = 0;
        if (!LocalToCompactTime(t.m_Steps[i].m_Time, seconds)) {
            const ManualStep& s = i < pre.size()                 ? pre[i]
                                  : i < pre.size() + load.size() ? load[i - pre.size()]
                                                                 : post[i - pre.size() - load.size()];
            return Result::Fail(FmtId(IDS_MAN_DATE_RANGE, s.m_nLine));
        }
    }
    t.m_Steps.front().m_bFirstStep = 1;
    t.m_Steps.back().m_bLastStep = 1;
    test = std::move(t);
    return Result::Ok();
}

Result AddManualTest(CTRVDoc& doc, TestDataType test, int& index) {
    index = -1;
    const std::vector<uint16_t> ids = AllocateManualIds(doc, test.m_Steps.size());
    if (ids.empty()) return Result::Fail(FmtId(IDS_MAN_NO_IDS_LEFT, static_cast<int>(test.m_Steps.size())));
    for (size_t i = 0; i < ids.size(); ++i) test.m_Steps[i].m_nMeasId = ids[i];
    test.m_nReserved1 = kTypedTestMark;
    const uint16_t first = ids.front();
    doc.m_Tests.push_back(std::move(test));
    doc.SortTests();
    doc.SetModifiedFlag();
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (doc.GetTest(i).m_Steps.front().m_nMeasId == first) {
            index = i;
            break;
        }
    return Result::Ok();
}

}  // namespace trv
