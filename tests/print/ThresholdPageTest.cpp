// Page 2 of the protocol carries the thresholds and zones of both shown tests below their tables,
// and they fit on the page for two tests of 12 steps.
#include "PdfText.h"
#include "ProtocolDocs.h"
#include "print/Protocol.h"
#include "print/ProtocolThresholds.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace trv;

namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// 12 steps from 6 km/h (+1 km/h); lactate 1.0 + k (k + 1) (k + 2) / 60 mmol/l at step k = 0..11,
// whole tenths on an exact cubic; heart rate 120 + 6 k; a pre-load and two post-load readings.
TestDataType TwelveSteps(int firstId, int type) {
    TestDataType t;
    t.m_nTestType = type;
    t.m_nLoadUnit = type == TestErgometer ? UnitWatt : UnitKmh;
    t.m_dStartValue = type == TestErgometer ? 50.0 : 6.0 / 3.6;
    t.m_dIncrement = type == TestErgometer ? 25.0 : 1.0 / 3.6;
    t.m_bParamsEntered = 1;
    t.m_Steps.push_back(trvtest::Reading(firstId, MeasPreLoad, 0.0, 1.0, 70, 0));
    for (int k = 0; k < 12; ++k) {
        PCMDataType m = trvtest::Reading(firstId + 1 + k, MeasLoad, (6.0 + k) / 3.6, 1.0 + k * (k + 1) * (k + 2) / 60.0,
                                         120 + 6 * k, 3 * (k + 1));
        if (type == TestErgometer) {
            m.m_dSpeed = 0.0;
            m.m_dPower = 50.0 + 25.0 * k;
        }
        t.m_Steps.push_back(m);
    }
    t.m_Steps[1].m_bFirstStep = 1;
    t.m_Steps[12].m_bLastStep = 1;
    t.m_Steps.push_back(trvtest::Reading(firstId + 13, MeasPostLoad, 0.0, 30.0, 150, 38));
    t.m_Steps.push_back(trvtest::Reading(firstId + 14, MeasPostLoad, 0.0, 25.0, 120, 43));
    return t;
}

// k with k (k + 1) (k + 2) = 180, i.e. 4.0 mmol/l on the cubic, by bisection.
double FourMmolStep() {
    double lo = 4.0, hi = 5.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (mid * (mid + 1) * (mid + 2) < 180.0 ? lo : hi) = mid;
    }
    return lo;
}

}  // namespace

TEST(ThresholdPage, BothTestsThresholdsAndZonesFitOnPageTwo) {
    if (!trvtest::HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    CTRVDoc doc = trvtest::ProtocolDoc();
    doc.m_Tests = {TwelveSteps(100, TestTreadmill), TwelveSteps(200, TestErgometer)};
    for (TestDataType& t : doc.m_Tests) t.m_bShowInChart = 1;
    const fs::path pdf = fs::temp_directory_path() / ("trv-threshold-page-" + std::to_string(::getpid()) + ".pdf");
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {0, 1}, {}));

    // A4 is 595 x 842 pt; the page frame ends a tenth of the width above the bottom edge. Only the
    // text inside the frame is taken.
    const std::string page = trvtest::PageText(pdf, 2, "-x 0 -y 0 -W 595 -H 782");
    fs::remove(pdf);
    EXPECT_EQ(Count(page, "Messwerte (Test"), 2u);
    EXPECT_EQ(Count(page, "Schwellen (Test 1):"), 1u);
    EXPECT_EQ(Count(page, "Schwellen (Test 2):"), 1u);
    EXPECT_EQ(Count(page, "Trainingszonen:"), 2u);
    for (const char* label : {"IANS (Kurvenmodell)", "OBLA 2,0", "Basis + 1,5", "mod. Dmax", "Exp-Dmax", "Log-Log",
                              "LTP 2", "Laktatäquivalent", "IANS Dickhuth", "IAS Stegmann"})
        EXPECT_EQ(Count(page, label), 2u) << label;
    // The last zone of both tests, on the page.
    EXPECT_EQ(Count(page, "REKOM"), 2u) << page;
    EXPECT_EQ(Count(page, "SB "), 2u) << page;

    // The IANS at 4 mmol/l: step k = 4.7075 gives 10.71 km/h and 167.7 W (the chart's cubic in W
    // and its bisection leave some hundredths of a watt); the zones' first boundary at 55 % of it.
    const double k = FourMmolStep();
    char text[64];
    std::snprintf(text, sizeof text, "IANS (Kurvenmodell) %.2f 4,00", 6.0 + k);
    std::string kmh = text;
    kmh[kmh.find('.')] = ',';
    EXPECT_HAS(page, kmh);
    std::snprintf(text, sizeof text, "REKOM < %.0f,", std::floor(0.55 * (50.0 + 25.0 * k)));
    EXPECT_HAS(page, text) << "\n" << page;
}

TEST(ThresholdPage, LinesOfAnUndeterminedTest) {
    TestDataType t = TwelveSteps(100, TestTreadmill);
    t.m_Steps.resize(3);  // two main-load points
    const TestThresholds r = ComputeTestThresholds(t, FitCubic, ModelMader);
    const auto lines = ThresholdTableLines(t, r);
    ASSERT_EQ(lines.size(), 2u + 18u);
    EXPECT_EQ(lines[1], "\t [km/h]\t [mmol/l]\t [S/min]");
    EXPECT_EQ(lines[2], "IANS (Kurvenmodell)\t nicht bestimmbar");
    EXPECT_TRUE(ZoneTableLines(t, r).empty());
}
