#include "chart/MinSecTicker.h"

#include "res/Format.h"

#include <cmath>

namespace trv {

std::vector<double> CMinSecTicker::Steps(double range) const {
    std::vector<double> steps{15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    for (double h = 2; steps.back() < range; h *= 2) steps.push_back(3600.0 * h);
    return steps;
}

QString CMinSecTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    long s = std::lround(tick);
    const char* sign = s < 0 ? "-" : "";
    s = std::labs(s);
    return QString::fromStdString(Fmt("%s%02ld:%02ld", sign, s / 60, s % 60));
}

}  // namespace trv
