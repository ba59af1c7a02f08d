#include "CiOptions.h"

#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cstring>

namespace trv::cli {

int TakeCiOptions(int& argc, char** argv, CiOptions& out) {
    int w = 0;
    for (int r = 0; r < argc; ++r) {
        if (r > 0 && std::strcmp(argv[r], "--ci") == 0) {
            out.ci = true;
            continue;
        }
        if (r > 0 && std::strcmp(argv[r], "--error") == 0) {
            if (r + 1 >= argc || !ParseErrorModel(argv[r + 1], out.error))
                return Fail(ExitUsage, LoadStr(IDS_CLI_BAD_ERROR));
            ++r;
            continue;
        }
        argv[w++] = argv[r];
    }
    argc = w;
    return ExitOk;
}

void WriteIntervalFields(Json& j, const MethodInterval* m) {
    const bool ok = m && m->ok;
    j.Key("ci_low");
    ok ? j.Num(*m->low) : j.Null();
    j.Key("ci_high");
    ok ? j.Num(*m->high) : j.Null();
    j.Key("se");
    ok ? j.Num(*m->se) : j.Null();
}

void WriteHistoryValueFields(Json& j, const HistoryValue& v) {
    j.Field("id", v.id).Field("ok", v.ok);
    j.Field("load", v.load);
    j.Field("lactate", v.lactate);
    j.Field("heart_rate", v.heartRate);
    j.Field("load_change", v.loadChange);
}

void WriteHistoryIntervalFields(Json& j, const HistoryValue& v) {
    for (const auto& [key, value] : {std::pair{"ci_low", &v.ciLow}, {"ci_high", &v.ciHigh}, {"se", &v.se}}) {
        j.Key(key);
        *value ? j.Num(**value) : j.Null();
    }
    j.Key("change_clear");
    v.changeClear ? j.Bool(*v.changeClear) : j.Null();
}

void WriteOutliers(Json& j, const std::vector<OutlierFlag>& flags) {
    j.Key("outliers").BeginArray();
    for (const OutlierFlag& f : flags) j.Int(f.id);
    j.EndArray();
}

std::vector<TestUncertainty> ComputeUncertainties(const CTRVDoc& doc, const std::vector<int>& indices, int fit,
                                                  int model, const CiOptions& options) {
    std::vector<TestUncertainty> out(indices.size());
    ParallelFor(indices.size(), [&](size_t k) {
        out[k] = ComputeTestUncertainty(doc.GetTest(indices[k]), fit, model, options.error, options.ci);
    });
    return out;
}

}  // namespace trv::cli
