#pragma once
// Axis ticks spaced by the room their labels need: the step is the smallest of the usual steps
// (at least a least step: 0.5 km/h on the load axis, 1 mmol/l on the lactate axis, 15 s on the
// post-load time) whose ticks lie far enough apart for their labels on the axis' length in pixels.
// The same rule serves the window and the printout: the layout tells each axis its length and font.
#include <qcustomplot.h>

#include <functional>
#include <vector>

namespace trv {

// The usual steps from `least` up to the first that spans `range`: `least` itself, then 1, 2 and 5
// (and 2.5 with `quarters`) times the powers of ten above it (0.5 → 0.5, 1, 2, 2.5, 5, 10, 20 ...).
std::vector<double> NiceSteps(double least, double range, bool quarters);

// The first of `steps` (ascending) whose ticks lie at least the label's extent plus `gap` pixels apart,
// where `range` units take `pixels` and `extent(step)` is the widest (or, on a vertical axis, highest)
// label that step gives. The last step when none does.
double SpacedStep(double range, double pixels, const std::vector<double>& steps,
                  const std::function<double(double)>& extent, double gap);

class CSpacedTicker : public QCPAxisTicker {
public:
    CSpacedTicker(double least, bool quarters) : m_dLeast(least), m_bQuarters(quarters) {}
    // The axis' length in pixels and its tick-label font, from the layout (0: not laid out yet).
    void SetRoom(double pixels, const QFont& font, bool vertical, const QLocale& locale);
    // No step that gives more ticks than this (0: any), however much room there is.
    void SetMostTicks(int n) { m_nMostTicks = n; }
    // Pixels left free between two labels.
    static constexpr double kGapAcross = 10.0;  // horizontal axes: between texts
    static constexpr double kGapAlong = 4.0;    // vertical axes: between lines

protected:
    double getTickStep(const QCPRange& range) override;
    // The candidate steps for a range, ascending.
    virtual std::vector<double> Steps(double range) const;

private:
    double LabelExtent(const QCPRange& range, double step);

    double m_dLeast;
    bool m_bQuarters;
    double m_dPixels = 0.0;
    bool m_bVertical = false;
    int m_nMostTicks = 0;
    QFont m_Font;
    QLocale m_Locale;
};

}  // namespace trv
