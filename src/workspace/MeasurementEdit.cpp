#include "workspace/MeasurementEdit.h"

#include "analysis/StepTest.h"
#include "data/InputRules.h"
#include "res/Format.h"

#include <cmath>

namespace trv {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

std::string DurationText(int seconds) { return Fmt("%02d:%02d", seconds / 60, seconds % 60); }

}  // namespace

bool IsEditableMeasColumn(const TestDataType& test, int column) {
    switch (column) {
        case MeasColDuration:
            return test.m_nDurationSource == SourceManual && test.m_nTestType == TestField;
        case MeasColLoad:
            return test.m_bIndividualLoads != 0;
        case MeasColLactate:
        case MeasColHeartRate:
            return true;
        default:
            return false;
    }
}

MeasRowColors MeasurementRowColors(const PCMDataType& m) {
    MeasRowColors c;
    if (m.m_nMeasType == MeasLoad) {
        c.hasBackground = true;
        c.background = m.m_bChecked ? Rgb(255, 200, 200) : Rgb(255, 230, 230);
        c.hasText = true;
        c.text = m.m_bShortened && m.m_bDurationMeasured ? Rgb(0, 0, 255) : Rgb(0, 0, 0);
    } else if (m.m_nMeasType == MeasPostLoad) {
        c.hasBackground = true;
        c.background = m.m_bChecked ? Rgb(200, 200, 255) : Rgb(230, 230, 255);
    }
    if (m.m_nStatus != StatusNormal && m.m_nStatus != StatusTimed) {
        c.hasText = true;
        c.text = Rgb(150, 150, 150);
    }
    return c;
}

MeasEditResult ApplyMeasurementEdit(TestDataType& test, int meas, int column, std::string_view text) {
    MeasEditResult r;
    if (meas < 0 || meas >= static_cast<int>(test.m_Steps.size()) || !IsEditableMeasColumn(test, column)) return r;
    PCMDataType& m = test.m_Steps[static_cast<size_t>(meas)];
    switch (column) {
        case MeasColDuration: {
            int seconds = 0;
            if ((r.reason = ReadCellDuration(text, seconds)) != InputOk) return r;
            if (m.m_nMeasType != MeasLoad) {
                r.reason = IDS_IN_DURATION_ROW;
                return r;
            }
            m.m_dSpeed = SpeedFromDuration(test.m_dTrackLength, seconds);
            // Whole seconds again; the allowance keeps 400 m / (400 m / 133 s) at 133, not 132.
            const int shown = m.m_dSpeed > 0.0 ? static_cast<int>(test.m_dTrackLength / m.m_dSpeed + 1e-6) : 0;
            r.shown = DurationText(shown);
            r.refill = true;
            break;
        }
        case MeasColLoad: {
            double v = 0.0;
            if (m.m_nMeasType != MeasLoad) {
                r.reason = IDS_IN_LOAD_ROW;
                return r;
            }
            if ((r.reason = ReadLoad(text, v)) != InputOk) return r;
            if (test.m_nLoadUnit == UnitKmh)
                m.m_dSpeed = v / 3.6;
            else if (test.m_nLoadUnit == UnitMs)
                m.m_dSpeed = v;
            else
                m.m_dPower = v;
            r.shown = Fmt("%2.1f", LoadInUnit(m, test.m_nLoadUnit));
            r.refill = true;
            break;
        }
        case MeasColLactate: {
            uint16_t tenths = 0;
            if ((r.reason = ReadLactate(text, tenths)) != InputOk) return r;
            m.m_nLactate = tenths;
            r.shown = Fmt("%2.1f", m.m_nLactate / 10.0);
            r.refill = true;
            break;
        }
        case MeasColHeartRate: {
            int32_t bpm = 0;
            if ((r.reason = ReadHeartRate(text, bpm)) != InputOk) return r;
            m.m_nHeartRate = bpm;
            r.shown = Fmt("%d", bpm);
            break;
        }
        default:
            return r;
    }
    r.stored = true;
    return r;
}

}  // namespace trv
