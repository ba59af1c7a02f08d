#include "data/CsvExport.h"

#include "data/Cp1252.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

namespace trv {

namespace {

constexpr const char* kSep = ";";
constexpr const char* kEol = "\r\n";

std::string Duration(int seconds, const char* suffix) { return Fmt("%02d:%02d", seconds / 60, seconds % 60) + suffix; }

// Seconds for the track at a speed, truncated; -1 when the speed gives no finite duration.
int TrackSeconds(double track, double speed) {
    if (!(speed > 0.0)) return -1;
    const double d = track / speed;
    if (!std::isfinite(d) || d < 0 || d > 1e8) return -1;
    return static_cast<int>(d);
}

std::string StepLengthCell(const TestDataType& t, const PCMDataType& m) {
    if (m.m_nMeasType != MeasLoad) return {};
    const bool field = t.m_nTestType == TestField;
    switch (t.m_nDurationSource) {
        case SourcePc: {
            if (field) {
                const int d = TrackSeconds(t.m_dTrackLength, m.m_dSpeed);
                return d < 0 ? std::string() : Duration(d, " (PC)");
            }
            return Duration(t.m_nPcStepDuration, m.m_bShortened ? " (PC)*" : " (PC)");
        }
        case SourceAnalyser:
            return Duration(m.m_nStepDuration, " (AV)");
        case SourceManual: {
            if (field) {
                const int d = TrackSeconds(t.m_dTrackLength, m.m_dSpeed);
                return d < 0 ? std::string() : Duration(d, "");
            }
            return Duration(t.m_nPcStepDuration, "");
        }
        default:
            return {};
    }
}

std::string MeasTypeCell(int type) {
    const char* s = MeasTypeText(type);
    return *s ? s : " ";
}

}  // namespace

std::string CsvText(const CTRVDoc& doc, const std::vector<int>& testIndices, const CompensatedLoadOf& compensated) {
    // The export is German whatever language the program speaks: spreadsheets and scripts read it by its
    // texts, decimal commas and dates.
    const LangScope german(Lang::de);
    std::string out =
        "MID;Mem Pos;Date;Time;Test type;Step length;Load;Load unit;Lactate value;Heart rate;"
        "Measurement type";
    out += kEol;
    for (int i : NormalizedTestIndices(doc, testIndices)) {
        const TestDataType& t = doc.GetTest(i);
        for (const PCMDataType& m : t.m_Steps) {
            std::string load = LoadText(m, t.m_nLoadUnit);
            if (m.m_bShortened)
                load = Fmt("%2.1f (%2.1f)", compensated ? compensated(i) : 0.0, LoadInUnit(m, t.m_nLoadUnit));
            const std::string cells[] = {MeasIdText(t, m.m_nMeasId),
                                         MemoryPositionText(t, m.m_nMeasId),
                                         m.m_Time.FormatDate(),
                                         m.m_Time.FormatTime(),
                                         TestTypeText(t.m_nTestType),
                                         StepLengthCell(t, m),
                                         load,
                                         LoadUnitText(t.m_nLoadUnit),
                                         LactateText(m),
                                         Fmt("%d", m.m_nHeartRate),
                                         MeasTypeCell(m.m_nMeasType)};
            bool first = true;
            for (const auto& c : cells) {
                if (!first) out += kSep;
                out += c;
                first = false;
            }
            out += kEol;
        }
    }
    return out;
}

FileResult ExportCsv(const CTRVDoc& doc, const std::vector<int>& testIndices, const std::string& path,
                     const CompensatedLoadOf& compensated) {
    const std::string text = Utf8ToCp1252(CsvText(doc, testIndices, compensated));
    // Written like the document: a crash or a full disk leaves the old file, never half a new one.
    const Result written = WriteFileSafely(path, std::vector<uint8_t>(text.begin(), text.end()));
    if (!written) return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.c_str(), written.message.c_str()));
    return {};
}

}  // namespace trv
