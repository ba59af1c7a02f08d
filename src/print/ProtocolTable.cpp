#include "print/ProtocolTable.h"

#include "analysis/StepTest.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cmath>

namespace trv {

namespace {

// A reading with a lactate value: status "normal" or "timed". Others print "-".
bool HasValue(const PCMDataType& m) { return m.m_nStatus == StatusNormal || m.m_nStatus == StatusTimed; }

// The heart rate column: a heart rate of 0 was never entered and prints "-".
std::string Hr(const PCMDataType& m) { return m.m_nHeartRate > 0 ? Fmt("%3d", m.m_nHeartRate) : std::string("  -"); }

std::string PreLoadRow(const PCMDataType& m, int n) {
    const char* label = n == 1 ? "PrL" : "";
    if (HasValue(m)) return label + Fmt("\t%d\t\t\t %2.1f\t %s", n, m.m_nLactate / 10.0, Hr(m).c_str());
    return label + Fmt("\t%d\t\t\t -\t %s", n, Hr(m).c_str());
}

std::string LoadRow(const TestDataType& test, const TestAnalysis& an, int step, int n) {
    const PCMDataType& m = test.m_Steps[static_cast<size_t>(step)];
    const int d = PrintedStepDuration(test, m);
    const double load = LoadInUnit(m, test.m_nLoadUnit);
    const double lactate = m.m_nLactate / 10.0;
    const std::string label = n == 1 ? "Ld" : "";
    if (!HasValue(m)) return label + Fmt("\t%d\t %02d:%02d\t %3.1f\t -\t %s", n, d / 60, d % 60, load, Hr(m).c_str());
    std::string row;
    switch (test.m_nDurationSource) {
        case SourcePc:
            row = Fmt("\t%d\t %02d:%02d (PC)\t %3.1f\t %2.1f\t %s", n, d / 60, d % 60, load, lactate, Hr(m).c_str());
            break;
        case SourceAnalyser:
            if (m.m_bShortened) {
                double compensated = 0.0;
                if (!CompensatedLoad(test, step, load, compensated)) compensated = an.m_dShortCompLoad;
                row = Fmt("\t%d\t %02d:%02d (AV)\t %3.1f (%3.1f)\t %2.1f\t %s", n, d / 60, d % 60, compensated, load,
                          lactate, Hr(m).c_str());
            } else {
                row =
                    Fmt("\t%d\t %02d:%02d (AV)\t %3.1f\t %2.1f\t %s", n, d / 60, d % 60, load, lactate, Hr(m).c_str());
            }
            break;
        default:
            row = Fmt("\t%d\t %02d:%02d\t %3.1f\t %2.1f\t %s", n, d / 60, d % 60, load, lactate, Hr(m).c_str());
            break;
    }
    return label + row;
}

std::string PostLoadRow(const PCMDataType& m, int n, int seconds) {
    const char* label = n == 1 ? "AFL" : "";
    const int mm = seconds / 60;
    const int ss = seconds % 60;
    if (HasValue(m))
        return label + Fmt("\t%d\t %02d:%02d\t\t %2.1f\t %s", n, mm, ss, m.m_nLactate / 10.0, Hr(m).c_str());
    return label + Fmt("\t%d\t %02d:%02d\t\t -\t %s", n, mm, ss, Hr(m).c_str());
}

}  // namespace

int PrintedStepDuration(const TestDataType& test, const PCMDataType& m) {
    const bool fromTrack = test.m_nTestType == TestField && test.m_nDurationSource != SourceAnalyser;
    if (fromTrack) {
        // A step without a speed has no running time; the division would not give a number.
        if (!(m.m_dSpeed > 0.0)) return 0;
        const double d = test.m_dTrackLength / m.m_dSpeed;
        return d < 1e9 ? static_cast<int>(d) : 0;
    }
    if (test.m_nDurationSource == SourceAnalyser) return m.m_nStepDuration;
    return test.m_nPcStepDuration > 0 ? test.m_nPcStepDuration : 0;
}

int SecondsBetween(const COleDateTime& reference, const COleDateTime& time) {
    if (!reference.IsValid() || !time.IsValid()) return 0;
    const double s = std::round((time.m_dt - reference.m_dt) * 86400.0);
    if (!(s > 0.0)) return 0;
    return s < 1e9 ? static_cast<int>(s) : 0;
}

std::vector<TableLine> BuildMeasurementTable(const TestDataType& test, const TestAnalysis& an) {
    std::vector<TableLine> lines;
    lines.push_back({TableLine::Header, LoadStr(IDS_PRN_TABLE_HEAD)});
    lines.push_back({TableLine::Header, FmtId(IDS_PRN_TABLE_UNITS, LoadUnitText(test.m_nLoadUnit))});
    int nPre = 0, nLoad = 0, nPost = 0;
    COleDateTime reference(0.0, COleDateTime::null);
    for (size_t i = 0; i < test.m_Steps.size(); ++i) {
        const PCMDataType& m = test.m_Steps[i];
        TableLine row;
        row.kind = TableLine::Row;
        row.shown = m.m_bChecked != 0;
        row.shortened = m.m_bShortened != 0;
        switch (m.m_nMeasType) {
            case MeasPreLoad:
                row.text = PreLoadRow(m, ++nPre);
                reference = m.m_Time;
                break;
            case MeasLoad:
                if (nLoad == 0) lines.push_back({TableLine::GroupRule, {}});
                row.text = LoadRow(test, an, static_cast<int>(i), ++nLoad);
                reference = m.m_Time;
                break;
            case MeasPostLoad:
                if (nPost == 0) {
                    lines.push_back({TableLine::GroupRule, {}});
                    lines.push_back({TableLine::Text, LoadStr(IDS_PRN_TABLE_POST_LOAD)});
                    lines.push_back({TableLine::Text, "\t\t [mm:ss]\t\t\t"});
                }
                row.text = PostLoadRow(m, ++nPost, SecondsBetween(reference, m.m_Time));
                break;
            default:
                continue;
        }
        lines.push_back(std::move(row));
    }
    return lines;
}

}  // namespace trv
