#include "view/settings/UncertaintySettings.h"

#include <QSettings>

#include <cmath>

namespace trv {

namespace {

double Read(const char* key, double fallback, double max) {
    QSettings s;
    bool ok = false;
    const double v = s.value(QStringLiteral("Uncertainty/") + QLatin1String(key)).toDouble(&ok);
    return ok && std::isfinite(v) && v >= 0.0 && v <= max ? v : fallback;
}

}  // namespace

ErrorModel LoadErrorModel() {
    const ErrorModel defaults;
    ErrorModel e;
    e.a = Read("A", defaults.a, kErrorAMax);
    e.c = Read("C", defaults.c, kErrorCMax);
    return e;
}

double LoadDayToDay() { return Read("D", kDefaultDayToDay, kDayToDayMax); }

void SaveUncertaintySettings(const ErrorModel& error, double dayToDay) {
    QSettings s;
    s.setValue(QStringLiteral("Uncertainty/A"), error.a);
    s.setValue(QStringLiteral("Uncertainty/C"), error.c);
    s.setValue(QStringLiteral("Uncertainty/D"), dayToDay);
}

}  // namespace trv
