#pragma once
// A fixed increment (0.5 on the load axis, 1 on the lactate axis) while it gives at most
// `maxTicks` ticks; wider ranges get the usual automatic steps.
#include <qcustomplot.h>

namespace trv {

class CIncrementTicker : public QCPAxisTicker {
public:
    CIncrementTicker(double increment, int maxTicks) : m_dIncrement(increment), m_nMaxTicks(maxTicks) {}
    void SetMaxTicks(int n) { m_nMaxTicks = n; }

protected:
    double getTickStep(const QCPRange& range) override;

private:
    double m_dIncrement;
    int m_nMaxTicks;
};

}  // namespace trv
