// trv-cli zones, and the zone-model options that thresholds shares: the zones of one test handed
// on to GoldenCheetah, intervals.icu or a printed zone card.
#include "Cli.h"
#include "analysis/StepTest.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/ZoneExport.h"
#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace trv::cli {

namespace {

const char* const kZonesUsage =
    "zones FILE --test N [--zones ID] [--lt1 ID] [--lt2 ID] (--goldencheetah DIR | --intervals-json | --pdf OUT.pdf)";

}  // namespace

int TakeZoneOptions(int& argc, char** argv, ZoneSettings& zones) {
    struct Option {
        const char* name;
        std::string* value;
    };
    const Option options[] = {{"--zones", &zones.model}, {"--lt1", &zones.lt1}, {"--lt2", &zones.lt2}};
    int out = 1;  // argv[0] is the command word
    for (int i = 1; i < argc; ++i) {
        bool taken = false;
        for (const Option& o : options) {
            const size_t n = std::strlen(o.name);
            if (std::strcmp(argv[i], o.name) == 0) {
                if (i + 1 >= argc) return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, kZonesUsage));
                *o.value = argv[++i];
                taken = true;
            } else if (std::strncmp(argv[i], o.name, n) == 0 && argv[i][n] == '=') {
                *o.value = argv[i] + n + 1;
                taken = true;
            }
        }
        if (!taken) argv[out++] = argv[i];
    }
    argc = out;
    argv[out] = nullptr;
    if (const Result known = CheckZoneChoice(zones); !known) return Fail(ExitUsage, known.message);
    return ExitOk;
}

void WriteZoneModel(Json& j, const TestThresholds& r) {
    j.Field("zone_model", r.zoneModel.model);
    j.Key("anchors").BeginObject();
    for (const auto& [key, a] : {std::pair{"lt1", &r.zoneModel.lt1}, std::pair{"lt2", &r.zoneModel.lt2}}) {
        j.Key(key).BeginObject();
        j.Field("method", a->method);
        j.Field("load", a->load);
        j.EndObject();
    }
    j.EndObject();
}

void WriteZoneArray(Json& j, const std::vector<ZoneResult>& zones) {
    j.BeginArray();
    for (const ZoneResult& z : zones) {
        j.BeginObject();
        j.Field("name", z.code);
        j.Field("from_pct", z.fromPct);
        j.Field("to_pct", z.toPct);
        j.Field("load_from", z.loadFrom);
        j.Field("load_to", z.loadTo);
        j.Field("heart_rate_from", z.heartRateFrom);
        j.Field("heart_rate_to", z.heartRateTo);
        j.Field("lactate_from", z.lactateFrom);
        j.Field("lactate_to", z.lactateTo);
        j.EndObject();
    }
    j.EndArray();
}

int CmdZones(int argc, char** argv) {
    ZoneSettings zones;
    if (int rc = TakeZoneOptions(argc, argv, zones)) return rc;
    const Args args(argc, argv);
    const std::vector<std::string> valued{"--test", "--goldencheetah", "--pdf"};
    const auto files = args.Positional(valued);
    const auto test = args.Value("--test");
    const auto gc = args.Value("--goldencheetah");
    const auto pdf = args.Value("--pdf");
    const bool json = args.Has("--intervals-json");
    const std::string usage = FmtId(IDS_CLI_USAGE, kZonesUsage);
    const int outputs = (gc ? 1 : 0) + (pdf ? 1 : 0) + (json ? 1 : 0);
    if (files.size() != 1 || !test || outputs != 1 || (gc && gc->empty()) || (pdf && pdf->empty()) ||
        !args.Unknown({"--test", "--goldencheetah", "--pdf", "--intervals-json"}).empty())
        return Fail(ExitUsage, usage);
    std::vector<int> indices;
    if (!ParseIndexList(*test, indices) || indices.size() != 1)
        return Fail(ExitUsage, FmtId(IDS_CLI_BAD_TEST_LIST, test->c_str()));
    CTRVDoc doc;
    if (int rc = LoadDocumentAndTests(files[0], &*test, doc, indices)) return rc;
    const int index = indices.front();

    // A test that the chart does not show has no ticked reading: it counts as showing it would tick it.
    TestDataType t = doc.GetTest(index);
    if (std::none_of(t.m_Steps.begin(), t.m_Steps.end(), [](const PCMDataType& m) { return m.m_bChecked; }))
        TickForChart(t);
    const TestThresholds r = ComputeTestThresholds(t, FitCubic, ModelMader, zones);
    if (r.zones.empty()) return Fail(ExitFile, FmtId(IDS_CLI_ZONES_NONE, index, r.zoneModel.reason.c_str()));

    if (json) {
        const std::string text = IntervalsIcuJson(t, r);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        return ExitOk;
    }
    if (gc) {
        const GcExportResult res = WriteGoldenCheetahZones(*gc, t, r);
        if (!res.ok) return Fail(ExitFile, res.message);
        for (const std::string& note : res.notes) std::fprintf(stderr, "trv-cli: %s\n", note.c_str());
        std::printf("%s\n", res.message.c_str());
        return ExitOk;
    }
    CTRVDoc shown = doc;
    shown.m_Tests[static_cast<size_t>(index)] = t;
    return WriteZoneCard(shown, index, r, *pdf);
}

}  // namespace trv::cli
