#include "analysis/Evaluator.h"

#include "analysis/IansThreshold.h"
#include "analysis/StepTest.h"
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cmath>

namespace trv {

namespace {

using namespace chart_color;

struct SlotSeries {
    int curve, pre, load, post, hr, preHr, postHr;
    uint32_t fitBit, iansBit, paramsBit;
    const char* curveLabel;
    const char* preLabel;
    const char* loadLabel;
    int shortLabelId;               // a string id: the label is looked up in the language of the evaluation
    const char* postLabelOrdinary;  // with a trailing blank
    const char* postLabel;
    const char* hrLabel;
};

const SlotSeries kSlots[2] = {
    {SeriesCurve1, SeriesPreLoad1, SeriesLoad1, SeriesPostLoad1, SeriesHr1, SeriesPreLoadHr1, SeriesPostLoadHr1,
     NoticeFit1, NoticeIans1, NoticeParams1, "L 1", "PrL 1", "Ld 1", IDS_SERIES_LOAD_SHORTENED1, "AFL 1 ", "AFL 1",
     "HR 1"},
    {SeriesCurve2, SeriesPreLoad2, SeriesLoad2, SeriesPostLoad2, SeriesHr2, SeriesPreLoadHr2, SeriesPostLoadHr2,
     NoticeFit2, NoticeIans2, NoticeParams2, "L 2", "PrL 2", "Ld 2", IDS_SERIES_LOAD_SHORTENED2, "AFL 2", "AFL 2",
     "HR 2"},
};

// Whole seconds from `from` to `to`; 0 when either is not a valid time.
double SecondsBetween(const COleDateTime& from, const COleDateTime& to) {
    if (!from.IsValid() || !to.IsValid()) return 0.0;
    const double s = std::round((to.m_dt - from.m_dt) * 86400.0);
    return std::isfinite(s) ? s : 0.0;
}

}  // namespace

void CEvaluator::Evaluate(CTRVDoc& doc, const AnalysisOf& analysisOf, CChartModel& chart, uint32_t& noticeFlags) {
    for (int i = 0; i < kChartSeriesCount; ++i) chart.series[i].evalProperty = i <= 9;
    chart.tools[ToolResult1].active = false;
    chart.tools[ToolResult2].active = false;

    if (doc.m_Tests.empty() || doc.m_Tests.front().m_Steps.empty()) return;

    chart.notices.Clear();
    for (ChartSeries& s : chart.series) s.Clear();

    m_anShownTest = {-1, -1};
    m_nShownCount = 0;
    for (int i = 0; i < doc.GetTestCount(); ++i) {
        if (!doc.GetTest(i).m_bShowInChart) continue;
        if (m_nShownCount < 2) m_anShownTest[static_cast<size_t>(m_nShownCount)] = i;
        ++m_nShownCount;
    }

    m_bCurve1Active = chart.series[SeriesCurve1].active;
    m_bCurve2Active = chart.series[SeriesCurve2].active;

    if (m_nShownCount == 0) {
        noticeFlags = NoticeNoTestShown;
        return;
    }
    // A stale "choose tests" notice would contradict the chart (also when test 2 stops the run).
    noticeFlags &= ~static_cast<uint32_t>(NoticeNoTestShown);
    // Bits of a test that is not evaluated in this run would describe an earlier run.
    noticeFlags &= ~static_cast<uint32_t>(NoticeFit2 | NoticeIans2);

    for (int slot = 0; slot < 2 && slot < m_nShownCount; ++slot) {
        const int index = m_anShownTest[static_cast<size_t>(slot)];
        TestDataType& test = doc.GetTest(index);
        if (slot == 0) {
            m_nLoadUnit1 = test.m_nLoadUnit;
            const UserDataType& u = doc.m_UserData;
            const std::string date = test.m_Steps.empty() ? std::string() : test.m_Steps.front().m_Time.FormatDate();
            chart.title.Clear();
            if (!u.m_strFirstName.empty() && !u.m_strLastName.empty())
                chart.title.Add(Fmt("%s %s, %s %s", u.m_strFirstName.c_str(), u.m_strLastName.c_str(),
                                    LoadStr(IDS_CHART_TEST_DATE), date.c_str()));
            else
                chart.title.Add(Fmt("%s %s", LoadStr(IDS_CHART_TEST_DATE), date.c_str()));
        } else {
            if (test.m_nLoadUnit != m_nLoadUnit1) {
                noticeFlags |= NoticeUnits;
                return;
            }
            noticeFlags &= ~static_cast<uint32_t>(NoticeUnits);
        }
        if (!test.m_bParamsEntered) {
            noticeFlags &= ~(kSlots[slot].fitBit | kSlots[slot].iansBit);
            continue;
        }
        EvaluateTest(test, analysisOf(index), slot, chart, noticeFlags);
    }
    if (m_nShownCount < 2) noticeFlags &= ~static_cast<uint32_t>(NoticeUnits);
    noticeFlags &= ~static_cast<uint32_t>(NoticeNoTestShown);
}

void CEvaluator::AddPoints(TestDataType& test, TestAnalysis& an, int slot, CChartModel& chart) {
    const SlotSeries& ss = kSlots[slot];
    COleDateTime reference(0.0, COleDateTime::invalid);
    for (size_t k = 0; k < test.m_Steps.size(); ++k) {
        PCMDataType& m = test.m_Steps[k];
        if (!m.m_bChecked) continue;
        double x = LoadInUnit(m, test.m_nLoadUnit);
        if (!std::isfinite(x)) x = 0.0;
        const double y = m.m_nLactate / 10.0;
        const double h = m.m_nHeartRate;
        // A heart rate of 0 was never entered (the analyser records none): no heart-rate point.
        const bool hasHr = m.m_nHeartRate > 0;
        const bool ordinary = m.m_nStatus == StatusNormal || m.m_nStatus == StatusTimed;
        switch (m.m_nMeasType) {
            case MeasPreLoad:
                chart.series[ss.pre].Add(x, y, ss.preLabel, ordinary ? kWhite : kGreyPoint);
                if (hasHr) chart.series[ss.preHr].Add(x, h, ss.hrLabel, kGreen);
                break;
            case MeasLoad: {
                reference = m.m_Time;
                m.m_bShortened = 0;
                double comp = 0.0;
                if (CompensatedLoad(test, static_cast<int>(k), x, comp)) {
                    m.m_bShortened = 1;
                    an.m_bHasShortened = 1;
                    an.m_dShortFullLoad = x;
                    an.m_dShortCompLoad = comp;
                    an.m_dShortLactate = y;
                    x = comp;
                }
                if (ordinary)
                    chart.series[ss.load].Add(x, y, m.m_bShortened ? LoadStr(ss.shortLabelId) : ss.loadLabel, kRed);
                else
                    chart.series[ss.load].Add(x, y, ss.loadLabel, kGreyPoint);
                if (hasHr) chart.series[ss.hr].Add(x, h, ss.hrLabel, kGreen);
                break;
            }
            case MeasPostLoad: {
                const double px = SecondsBetween(reference, m.m_Time) / 86400.0;
                if (ordinary)
                    chart.series[ss.post].Add(px, y, ss.postLabelOrdinary, kDarkBlue);
                else
                    chart.series[ss.post].Add(px, y, ss.postLabel, kGreyPoint);
                if (hasHr) chart.series[ss.postHr].Add(px, h, ss.hrLabel, kGreen);
                break;
            }
            default:
                break;
        }
    }
}

void CEvaluator::EvaluateTest(TestDataType& test, TestAnalysis& an, int slot, CChartModel& chart,
                              uint32_t& noticeFlags) {
    const SlotSeries& ss = kSlots[slot];
    for (int t : {ToolMarksTip, ToolZoneBand, ToolAnsLabel, ToolAsLabel, ToolDeviceText}) chart.tools[t].active = true;
    an.m_bHasShortened = 0;

    const char* axisTitle = "v [m/s]";
    if (test.m_nLoadUnit == UnitKmh)
        axisTitle = "v [km/h]";
    else if (test.m_nLoadUnit == UnitWatt)
        axisTitle = "P [W]";
    chart.axes[AxisBottom].title = axisTitle;
    m_strSymbol = LoadSymbol(test.m_nLoadUnit);
    m_strUnit = LoadUnitText(test.m_nLoadUnit);

    AddPoints(test, an, slot, chart);

    const ChartSeries& load = chart.series[ss.load];
    std::vector<double> xs, ys;
    xs.reserve(load.points.size());
    ys.reserve(load.points.size());
    for (const ChartPoint& p : load.points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    m_Fit.SetPoints(std::move(xs), std::move(ys));

    bool fitted = m_Fit.Fit(an.m_nFitFunction);
    if (fitted) {
        fitted = m_Fit.Sample(chart.series[ss.curve], ss.curveLabel, kLightBlue);
        if (fitted && an.m_nFitFunction == FitCubic) {
            const double residual = m_Fit.ResidualSum();
            an.m_adCoeff = m_Fit.m_adCoeff;
            an.m_dResidualSum = std::isfinite(residual) ? residual : 0.0;
        }
    }
    if (fitted) {
        const ChartSeries& hr = chart.series[ss.hr];
        if (DetermineThreshold(test, an, m_Fit, chart.series[ss.curve], hr, hr.active))
            noticeFlags &= ~ss.iansBit;
        else
            noticeFlags |= ss.iansBit;
        noticeFlags &= ~ss.fitBit;
    } else {
        // No threshold is sought; results of an earlier run no longer belong to this curve.
        an.m_bEvaluated = 0;
        noticeFlags |= ss.fitBit;
        noticeFlags &= ~ss.iansBit;
    }
    m_Fit.Release();
}

void CEvaluator::SetUpResults(const CTRVDoc& doc, const AnalysisOf& analysisOf, CChartModel& chart,
                              uint32_t noticeFlags) const {
    for (int slot = 0; slot < 2; ++slot) {
        ChartTool& box = chart.tools[slot == 0 ? ToolResult1 : ToolResult2];
        box.active = false;
        box.text.clear();
        box.anchored = false;
        const int index = m_anShownTest[static_cast<size_t>(slot)];
        if (!doc.IsValidTest(index)) continue;
        const TestDataType& t = doc.GetTest(index);
        const TestAnalysis& an = analysisOf(index);
        const uint32_t blocking = kSlots[slot].fitBit | kSlots[slot].iansBit | NoticeUnits;
        if (!t.m_bParamsEntered || !an.m_bEvaluated || (noticeFlags & blocking) != 0) continue;
        box.text = ResultText(t, an);
        box.active = true;
        box.anchored = true;
        box.anchorX = an.m_dIansLoad;
        box.anchorY = an.m_dIansLactate;
    }
}

std::string CEvaluator::CursorReadout(const CTRVDoc& doc, CChartModel& chart, int toolIndex, double x, double y) const {
    chart.cursorText.Clear();
    int slot = -1;
    if (toolIndex == ToolCursor1 && m_nShownCount >= 1)
        slot = 0;
    else if (toolIndex == ToolCursor2 && m_nShownCount >= 2)
        slot = 1;
    if (slot < 0 || !doc.IsValidTest(m_anShownTest[static_cast<size_t>(slot)])) return std::string();
    const TestDataType& t = doc.GetTest(m_anShownTest[static_cast<size_t>(slot)]);
    std::string line = CursorText(slot + 1, t, x, y, chart.series[kSlots[slot].hr]);
    if (!line.empty()) chart.cursorText.Add(line);
    return line;
}

}  // namespace trv
