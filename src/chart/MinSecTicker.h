#pragma once
// Post-load axis: x in seconds, labels "mm:ss", ticks every 15 s or a multiple that keeps the
// labels apart (whole minutes, then whole hours).
#include "chart/SpacedTicker.h"

namespace trv {

class CMinSecTicker : public CSpacedTicker {
public:
    CMinSecTicker() : CSpacedTicker(15.0, false) {}

protected:
    std::vector<double> Steps(double range) const override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
};

}  // namespace trv
