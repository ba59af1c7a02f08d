#include "analysis/ThresholdCsv.h"

#include "data/Cp1252.h"
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv {

namespace {

constexpr const char* kEol = "\r\n";

std::string Num(const std::optional<double>& v, const char* fmt) { return v ? Fmt(fmt, *v) : std::string(); }

std::string Pace(const TestThresholds& r, const std::optional<double>& load) {
    if (!r.IsSpeed() || !load) return {};
    const std::optional<int> s = PaceSeconds(*load);
    return s ? Fmt("%02d:%02d", *s / 60, *s % 60) : std::string();
}

std::string Load(const TestThresholds& r, const std::optional<double>& load) {
    return load ? Fmt("%.2f", LoadInTestUnit(*load, r.loadUnit)) : std::string();
}

void Row(std::string& out, std::initializer_list<std::string> cells) {
    bool first = true;
    for (const std::string& c : cells) {
        if (!first) out += ';';
        // A ";" inside a name would shift every later column.
        for (char ch : c) out += ch == ';' ? ',' : ch;
        first = false;
    }
    out += kEol;
}

}  // namespace

std::string ThresholdCsvText(const CTRVDoc& doc, const std::vector<int>& testIndices,
                             const std::vector<TestThresholds>& results) {
    std::string out = LoadStr(IDS_THRCSV_HEADER);
    out += kEol;
    for (size_t i = 0; i < testIndices.size() && i < results.size(); ++i) {
        if (!doc.IsValidTest(testIndices[i])) continue;
        const TestDataType& t = doc.GetTest(testIndices[i]);
        const TestThresholds& r = results[i];
        const std::string test = Fmt("%d", testIndices[i] + 1);
        const std::string date = t.m_Steps.empty() ? std::string() : t.m_Steps.front().m_Time.FormatDate();
        const std::string type = TestTypeText(t.m_nTestType);
        const std::string unit = LoadUnitText(t.m_nLoadUnit);
        for (const MethodResult& m : r.methods)
            Row(out, {test, date, type, unit, LoadStr(IDS_THRCSV_METHOD), m.id, m.label, "", "",
                      m.ok ? Load(r, m.load) : LoadStr(IDS_NOT_DETERMINABLE), "", Num(m.lactate, "%.2f"), "",
                      Num(m.heartRate, "%.0f"), "", Pace(r, m.load), ""});
        for (const ZoneResult& z : r.zones)
            Row(out,
                {test, date, type, unit, LoadStr(IDS_THRCSV_ZONE), z.code, z.name,
                 z.fromPct ? PercentText(*z.fromPct) : "", z.toPct ? PercentText(*z.toPct) : "", Load(r, z.loadFrom),
                 Load(r, z.loadTo), Num(z.lactateFrom, "%.2f"), Num(z.lactateTo, "%.2f"), Num(z.heartRateFrom, "%.0f"),
                 Num(z.heartRateTo, "%.0f"), Pace(r, z.loadFrom), Pace(r, z.loadTo)});
    }
    return out;
}

FileResult ExportThresholdCsv(const CTRVDoc& doc, const std::vector<int>& testIndices,
                              const std::vector<TestThresholds>& results, const std::string& path) {
    const std::string text = Utf8ToCp1252(ThresholdCsvText(doc, testIndices, results));
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const Result written = WriteFileSafely(path, bytes);
    if (!written) return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.c_str(), written.message.c_str()));
    return {};
}

}  // namespace trv
