#pragma once
// Post-load axis: x in seconds, labels "mm:ss", ticks every 15 s or a multiple that keeps the
// labels apart.
#include <qcustomplot.h>

namespace trv {

class CMinSecTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
};

}  // namespace trv
