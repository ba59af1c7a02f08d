#include "MeasurementEdit.h"

#include "Format.h"
#include "StepTest.h"

#include <cmath>
#include <limits>

namespace trv {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// "mm:ss" with the colon at index 2, 3 or 4; the seconds are the two characters after it.
bool ParseDuration(std::string_view text, int& seconds) {
    const size_t colon = text.find(':');
    if (colon != 2 && colon != 3 && colon != 4) return false;
    const long minutes = ParseLeadingInt(text.substr(0, colon));
    const long secs = ParseLeadingInt(text.substr(colon + 1, 2));
    const long total = minutes * 60 + secs;
    if (total <= 0 || total > std::numeric_limits<int>::max()) return false;
    seconds = static_cast<int>(total);
    return true;
}

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
            if (!ParseDuration(text, seconds) || m.m_nMeasType != MeasLoad) return r;
            m.m_dSpeed = SpeedFromDuration(test.m_dTrackLength, seconds);
            // Whole seconds again; the allowance keeps 400 m / (400 m / 133 s) at 133, not 132.
            const int shown = m.m_dSpeed > 0.0 ? static_cast<int>(test.m_dTrackLength / m.m_dSpeed + 1e-6) : 0;
            r.shown = DurationText(shown);
            r.refill = true;
            break;
        }
        case MeasColLoad: {
            const double v = ParseLeadingDecimal(text);
            if (m.m_nMeasType != MeasLoad || !std::isfinite(v) || v < 0.0) return r;
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
            const double v = ParseLeadingDecimal(text);
            // Tenths, truncated; the small allowance keeps 4,3 (42.99999... tenths in binary) at 43.
            const double tenths = std::floor(v * 10.0 + 1e-9);
            if (!std::isfinite(v) || v < 0.0 || tenths > std::numeric_limits<uint16_t>::max()) return r;
            m.m_nLactate = static_cast<uint16_t>(tenths);
            r.shown = Fmt("%2.1f", m.m_nLactate / 10.0);
            r.refill = true;
            break;
        }
        case MeasColHeartRate: {
            const long v = ParseLeadingInt(text);
            if (v < 0 || v > std::numeric_limits<int32_t>::max()) return r;
            m.m_nHeartRate = static_cast<int32_t>(v);
            r.shown = std::string(text);
            break;
        }
        default:
            return r;
    }
    r.stored = true;
    return r;
}

}  // namespace trv
