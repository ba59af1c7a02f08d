#include "analysis/StepTest.h"

#include "data/ManualIds.h"
#include "data/TRVDoc.h"

#include <algorithm>
#include <cmath>

namespace trv {

namespace {

bool IsSingle(const TestDataType& t) { return !t.m_Steps.empty() && t.m_Steps.front().m_nMeasType == MeasSingle; }

}  // namespace

bool IsStepTest(const TestDataType& test) { return !test.m_Steps.empty() && !IsSingle(test); }

void TickForChart(TestDataType& test) {
    for (PCMDataType& m : test.m_Steps)
        if (m.m_nMeasType >= MeasPreLoad && m.m_nMeasType <= MeasPostLoad) m.m_bChecked = 1;
}

bool CanConvertToStepTest(const CTRVDoc& doc, const std::vector<int>& testIndices) {
    const std::vector<int> idx = NormalizedTestIndices(doc, testIndices);
    if (idx.size() < 2 || idx.size() != testIndices.size()) return false;
    return std::all_of(idx.begin(), idx.end(), [&](int i) { return IsSingle(doc.GetTest(i)); });
}

int ConvertToStepTest(CTRVDoc& doc, const std::vector<int>& testIndices) {
    std::vector<int> singles;
    for (int i : NormalizedTestIndices(doc, testIndices))
        if (IsSingle(doc.GetTest(i))) singles.push_back(i);
    if (singles.size() < 2) return -1;
    const int target = singles.front();
    TestDataType& t = doc.GetTest(target);
    // Typed readings stay typed: the joined test carries the mark when any of its parts did.
    for (int i : singles)
        if (IsTypedTest(doc.GetTest(i))) t.m_nReserved1 = kTypedTestMark;
    // A single test holds one measurement; should one hold more, they all join rather than be lost.
    for (PCMDataType& m : t.m_Steps) {
        m.m_nMeasType = MeasLoad;
        m.m_bFirstStep = 0;
        m.m_bLastStep = 0;
    }
    t.m_Steps.front().m_bFirstStep = 1;
    for (size_t k = 1; k < singles.size(); ++k) {
        for (PCMDataType& m : doc.GetTest(singles[k]).m_Steps) {
            m.m_nMeasType = MeasLoad;
            PCMDataType copy = m;
            copy.m_bFirstStep = 0;
            copy.m_bLastStep = 0;
            doc.GetTest(target).m_Steps.push_back(copy);
        }
    }
    doc.GetTest(target).m_Steps.back().m_bLastStep = 1;
    for (size_t k = singles.size() - 1; k >= 1; --k) doc.m_Tests.erase(doc.m_Tests.begin() + singles[k]);
    doc.SetModifiedFlag();
    return target;
}

bool SetMeasType(TestDataType& test, const std::vector<int>& selectedRows, int currentRow, int newType) {
    if (newType < MeasPreLoad || newType > MeasPostLoad) return false;
    const int n = static_cast<int>(test.m_Steps.size());
    bool changed = false;
    if (selectedRows.size() >= 2) {
        for (int r : selectedRows) {
            if (r < 0 || r >= n) continue;
            PCMDataType& m = test.m_Steps[static_cast<size_t>(r)];
            m.m_nMeasType = static_cast<uint8_t>(newType);
            if (newType != MeasLoad) {
                m.m_dSpeed = 0.0;
                m.m_dPower = 0.0;
            }
            changed = true;
        }
    } else if (currentRow >= 0 && currentRow < n) {
        test.m_Steps[static_cast<size_t>(currentRow)].m_nMeasType = static_cast<uint8_t>(newType);
        changed = true;
    }
    if (changed) UpdateLoads(test);
    return changed;
}

double SpeedFromDuration(double trackLength, int durationSeconds) {
    if (durationSeconds <= 0) return 0.0;
    const double v = trackLength / durationSeconds;
    return std::isfinite(v) ? v : 0.0;
}

void UpdateLoads(TestDataType& test) {
    if (test.m_bIndividualLoads || test.m_nDurationSource == SourceManual) return;
    int k = 0;
    for (PCMDataType& m : test.m_Steps) {
        if (m.m_nMeasType != MeasLoad) continue;
        const double load = test.m_dStartValue + k * test.m_dIncrement;
        ++k;
        if (test.m_nTestType == TestField) {
            m.m_dNominalSpeed = load;
            if (test.m_nDurationSource == SourceAnalyser)
                m.m_dSpeed = SpeedFromDuration(test.m_dTrackLength, m.m_nStepDuration);
            else
                m.m_dSpeed = load;
        } else if (test.m_nLoadUnit == UnitWatt) {
            m.m_dPower = load;
        } else {
            m.m_dSpeed = load;
        }
    }
}

double StepLoad(const TestDataType& test, int step) {
    const PCMDataType& m = test.m_Steps.at(static_cast<size_t>(step));
    return LoadInUnit(m, test.m_nLoadUnit);
}

bool CompensatedLoad(const TestDataType& test, int step, double x, double& compensated) {
    const int n = static_cast<int>(test.m_Steps.size());
    if (step < 0 || step >= n) return false;
    const PCMDataType& m = test.m_Steps[static_cast<size_t>(step)];
    if (!test.m_bCompensate || test.m_nTestType == TestField || !m.m_bDurationMeasured || m.m_nMeasType != MeasLoad)
        return false;
    const bool last =
        m.m_bLastStep || (step + 1 < n && test.m_Steps[static_cast<size_t>(step) + 1].m_nMeasType == MeasPostLoad);
    if (!last) return false;
    const double actual = m.m_nStepDuration;
    double nominal = 0.0;
    if (test.m_nDurationSource == SourcePc)
        nominal = test.m_nPcStepDuration;
    else if (step > 0)
        nominal = test.m_Steps[static_cast<size_t>(step) - 1].m_nStepDuration;
    else
        return false;  // no step before it to measure against
    if (!(nominal > actual)) return false;
    const double d = test.m_nLoadUnit == UnitKmh ? test.m_dIncrement * 3.6 : test.m_dIncrement;
    compensated = (x - d) + (actual / nominal) * d;
    return std::isfinite(compensated);
}

void UpdateShortenedStep(TestDataType& test, TestAnalysis& an) {
    an.m_bHasShortened = 0;
    for (size_t k = 0; k < test.m_Steps.size(); ++k) {
        PCMDataType& m = test.m_Steps[k];
        // Like the evaluation: only the ticked main-load steps.
        if (m.m_nMeasType != MeasLoad || !m.m_bChecked) continue;
        m.m_bShortened = 0;
        const double x = LoadInUnit(m, test.m_nLoadUnit);
        double comp = 0.0;
        if (std::isfinite(x) && CompensatedLoad(test, static_cast<int>(k), x, comp)) {
            m.m_bShortened = 1;
            an.m_bHasShortened = 1;
            an.m_dShortFullLoad = x;
            an.m_dShortCompLoad = comp;
            an.m_dShortLactate = m.m_nLactate / 10.0;
        }
    }
}

}  // namespace trv
