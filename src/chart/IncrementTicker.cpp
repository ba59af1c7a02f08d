#include "chart/IncrementTicker.h"

namespace trv {

double CIncrementTicker::getTickStep(const QCPRange& range) {
    if (m_dIncrement > 0 && range.size() / m_dIncrement <= m_nMaxTicks) return m_dIncrement;
    return cleanMantissa(range.size() / std::max(tickCount(), 2));
}

}  // namespace trv
