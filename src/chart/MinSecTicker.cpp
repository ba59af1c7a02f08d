#include "chart/MinSecTicker.h"

#include "res/Format.h"

#include <cmath>

namespace trv {

double CMinSecTicker::getTickStep(const QCPRange& range) {
    static const double kSteps[] = {15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    const int ticks = std::max(tickCount(), 2);
    for (double s : kSteps)
        if (range.size() / s <= ticks) return s;
    return 3600.0 * std::ceil(range.size() / 3600.0 / ticks);
}

QString CMinSecTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    long s = std::lround(tick);
    const char* sign = s < 0 ? "-" : "";
    s = std::labs(s);
    return QString::fromStdString(Fmt("%s%02ld:%02ld", sign, s / 60, s % 60));
}

}  // namespace trv
