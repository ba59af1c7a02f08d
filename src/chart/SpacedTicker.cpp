#include "chart/SpacedTicker.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace trv {

std::vector<double> NiceSteps(double least, double range, bool quarters) {
    if (!(least > 0.0)) least = range > 0.0 ? std::pow(10.0, std::floor(std::log10(range)) - 3.0) : 1.0;
    std::vector<double> steps{least};
    for (double decade = std::pow(10.0, std::floor(std::log10(least))); steps.back() < range; decade *= 10.0)
        for (double m : {1.0, 2.0, 2.5, 5.0}) {
            if ((m == 2.5 && !quarters) || m * decade <= least * (1.0 + 1e-9)) continue;
            steps.push_back(m * decade);
            if (steps.back() >= range) break;
        }
    return steps;
}

double SpacedStep(double range, double pixels, const std::vector<double>& steps,
                  const std::function<double(double)>& extent, double gap) {
    if (steps.empty()) return range;
    if (!(range > 0.0) || !(pixels > 0.0)) return steps.back();
    for (double step : steps) {
        const double apart = step / range * pixels;
        if (apart >= gap && apart >= extent(step) + gap) return step;
    }
    return steps.back();
}

void CSpacedTicker::SetRoom(double pixels, const QFont& font, bool vertical, const QLocale& locale) {
    m_dPixels = pixels;
    m_Font = font;
    m_bVertical = vertical;
    m_Locale = locale;
}

std::vector<double> CSpacedTicker::Steps(double range) const { return NiceSteps(m_dLeast, range, m_bQuarters); }

double CSpacedTicker::LabelExtent(const QCPRange& range, double step) {
    const QFontMetricsF fm(m_Font);
    // Numbers are as high as capitals and have no descenders: one above the other they need that height.
    if (m_bVertical) return fm.capHeight();
    // The widest label of the ticks this step puts on the axis (a few at most: denser steps fail
    // on their distance alone).
    double widest = 0.0;
    const double first = std::ceil(range.lower / step - 1e-9) * step;
    for (int i = 0; i < 200; ++i) {
        const double tick = first + i * step;
        if (tick > range.upper + step * 1e-9) break;
        widest = std::max(widest, fm.horizontalAdvance(getTickLabel(tick, m_Locale, QLatin1Char('g'), 6)));
    }
    return widest;
}

double CSpacedTicker::getTickStep(const QCPRange& range) {
    std::vector<double> steps = Steps(range.size());
    if (m_nMostTicks > 0)
        while (steps.size() > 1 && range.size() / steps.front() > m_nMostTicks) steps.erase(steps.begin());
    if (m_dPixels <= 0.0) {
        // Not laid out yet: about as many ticks as the ticker's count.
        for (double s : steps)
            if (range.size() / s <= std::max(tickCount(), 2)) return s;
        return steps.empty() ? range.size() : steps.back();
    }
    return SpacedStep(
        range.size(), m_dPixels, steps, [&](double step) { return LabelExtent(range, step); },
        m_bVertical ? kGapAlong : kGapAcross);
}

}  // namespace trv
