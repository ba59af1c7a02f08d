// trv-cli thresholds: every threshold method and the training zones of the listed tests.
#include "CiOptions.h"
#include "Cli.h"
#include "analysis/ThresholdMethods.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv::cli {

namespace {

void WriteTest(Json& j, int index, const TestThresholds& r, const TestUncertainty& u) {
    j.BeginObject();
    j.Field("index", index).Field("test_type", r.testType).Field("load_unit", r.loadUnit);
    j.Field("points", r.points);
    j.Field("baseline", r.baseline);
    j.Key("fit").BeginObject();
    j.Field("function", r.fit.function);
    j.Field("r2", r.fit.r2);
    j.Field("residual_error", r.fit.residualError);
    j.EndObject();
    j.Key("methods").BeginArray();
    for (const MethodResult& m : r.methods) {
        j.BeginObject();
        j.Field("id", m.id).Field("ok", m.ok);
        j.Field("load", m.load);
        j.Field("lactate", m.lactate);
        j.Field("heart_rate", m.heartRate);
        WriteIntervalFields(j, u.intervals.Find(m.id));
        j.EndObject();
    }
    j.EndArray();
    WriteZoneModel(j, r);
    j.Key("zones");
    WriteZoneArray(j, r.zones);
    WriteOutliers(j, u.outliers);
    j.EndObject();
}

}  // namespace

int CmdThresholds(int argc, char** argv) {
    ZoneSettings zones;
    if (int rc = TakeZoneOptions(argc, argv, zones)) return rc;
    CiOptions ci;
    if (int rc = TakeCiOptions(argc, argv, ci)) return rc;
    const Args args(argc, argv);
    CTRVDoc doc;
    std::vector<int> indices;
    int fit = FitCubic;
    int model = ModelMader;
    if (int rc = ReadFitModelArgs(args, "thresholds", doc, indices, fit, model)) return rc;

    Json j;
    j.BeginObject();
    j.Key("tests").BeginArray();
    const std::vector<int> listed = NormalizedTestIndices(doc, indices);
    const std::vector<TestUncertainty> uncertainty = ComputeUncertainties(doc, listed, fit, model, ci);
    for (size_t k = 0; k < listed.size(); ++k)
        WriteTest(j, listed[k], ComputeTestThresholds(doc.GetTest(listed[k]), fit, model, zones), uncertainty[k]);
    j.EndArray();
    j.EndObject();
    j.Print();
    return ExitOk;
}

}  // namespace trv::cli
