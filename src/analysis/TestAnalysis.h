#pragma once
// The fitting choice and the evaluation results of one test. A file never stores them, so they
// live beside the records (the workspace keeps one per test) and the analysis functions take or
// return them.
#include "data/Records.h"

#include <array>
#include <cstdint>
#include <functional>

namespace trv {

struct TestAnalysis {
    int32_t m_nFitFunction = FitCubic;
    int32_t m_nThresholdModel = ModelMader;
    double m_dTangentAngle = 30.0;
    double m_dMaderLactate = 4.0;
    std::array<double, 4> m_adCoeff{};  // a0..a3 of the fitted cubic
    double m_dResidualSum = 0.0;
    uint8_t m_bEvaluated = 0;
    uint8_t m_bIansFailed = 0;
    double m_dIansLoad = 0.0;       // display unit
    double m_dIansLactate = 0.0;    // mmol/l
    double m_dIansHeartRate = 0.0;  // -1.0 = none
    int32_t m_nTime1000 = 0;        // s, field test
    int32_t m_nTimeTrack = 0;       // s, field test
    uint8_t m_bHasShortened = 0;
    double m_dShortFullLoad = 0.0;  // display unit
    double m_dShortCompLoad = 0.0;  // display unit
    double m_dShortLactate = 0.0;   // mmol/l
};

// The analysis of a document's test by its index, as the caller keeps them.
using AnalysisOf = std::function<TestAnalysis&(int test)>;
using ConstAnalysisOf = std::function<const TestAnalysis&(int test)>;

}  // namespace trv
