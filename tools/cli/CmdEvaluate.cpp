// trv-cli evaluate: the evaluation of the shown tests, as the desktop program draws them.
#include "Cli.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "workspace/Workspace.h"

#include <cstdio>

namespace trv::cli {

namespace {

void WriteTest(Json& j, const CWorkspace& ws, int index) {
    const TestAnalysis& an = ws.Analysis(index);
    const int slot = ws.CurveSlot(index);
    const uint32_t flags = ws.Notices();
    const CChartModel& chart = ws.Chart();
    bool fitFailed = false;
    std::string result;
    if (slot == 0 || slot == 1) {
        fitFailed = (flags & (slot == 0 ? NoticeFit1 : NoticeFit2)) != 0;
        const ChartTool& box = chart.tools[slot == 0 ? ToolResult1 : ToolResult2];
        if (box.active) result = box.text;
    }
    j.BeginObject();
    j.Field("index", index).Field("slot", slot);
    j.Field("evaluated", an.m_bEvaluated != 0).Field("fit_failed", fitFailed);
    j.Field("ians_failed", an.m_bIansFailed != 0);
    j.Field("ians_load", an.m_dIansLoad).Field("ians_lactate", an.m_dIansLactate);
    j.Field("ians_heart_rate", an.m_dIansHeartRate).Field("tangent_angle", an.m_dTangentAngle);
    j.Field("time_1000", static_cast<int>(an.m_nTime1000)).Field("time_track", static_cast<int>(an.m_nTimeTrack));
    j.Key("coefficients").BeginArray();
    for (double a : an.m_adCoeff) j.Num(a);
    j.EndArray();
    j.Field("residual_sum", an.m_dResidualSum);
    j.Field("has_shortened", an.m_bHasShortened != 0);
    j.Field("short_full_load", an.m_dShortFullLoad).Field("short_comp_load", an.m_dShortCompLoad);
    j.Field("short_lactate", an.m_dShortLactate);
    j.Field("result_text", result);
    j.EndObject();
}

}  // namespace

int CmdEvaluate(int argc, char** argv) {
    const Args args(argc, argv);
    CTRVDoc doc;
    std::vector<int> indices;
    int fit = FitCubic;
    int model = ModelMader;
    if (int rc = ReadFitModelArgs(args, "evaluate", doc, indices, fit, model)) return rc;

    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly(indices, fit, model);
    const uint32_t flags = ws.Notices();
    const CChartModel& chart = ws.Chart();

    Json j;
    j.BeginObject();
    j.Field("notice_flags", static_cast<long long>(flags));
    j.Key("tests").BeginArray();
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (doc.GetTest(i).m_bShowInChart) WriteTest(j, ws, i);
    j.EndArray();
    j.Key("series").BeginArray();
    for (int s = 0; s < kChartSeriesCount; ++s) {
        const ChartSeries& series = chart.series[s];
        j.BeginObject();
        j.Field("index", s).Field("active", series.active);
        j.Key("points").BeginArray();
        for (const ChartPoint& p : series.points) {
            j.BeginObject();
            j.Field("x", p.x).Field("y", p.y).Field("label", p.label);
            j.Field("color", static_cast<long long>(p.color));
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Print();
    return ExitOk;
}

}  // namespace trv::cli
