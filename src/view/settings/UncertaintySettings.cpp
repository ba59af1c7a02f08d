#include "view/settings/UncertaintySettings.h"

#include "view/settings/Settings.h"

#include <QSettings>

#include <cmath>

namespace trv {

namespace {

double Read(const char* key, double fallback, double max) {
    QSettings s;
    bool ok = false;
    const double v = s.value(QString::fromLatin1(key)).toDouble(&ok);
    return ok && std::isfinite(v) && v >= 0.0 && v <= max ? v : fallback;
}

}  // namespace

ErrorModel LoadErrorModel() {
    const ErrorModel defaults;
    ErrorModel e;
    e.a = Read(settings::kUncertaintyAKey, defaults.a, kErrorAMax);
    e.c = Read(settings::kUncertaintyCKey, defaults.c, kErrorCMax);
    return e;
}

double LoadDayToDay() { return Read(settings::kUncertaintyDKey, kDefaultDayToDay, kDayToDayMax); }

void SaveUncertaintySettings(const ErrorModel& error, double dayToDay) {
    QSettings s;
    s.setValue(QString::fromLatin1(settings::kUncertaintyAKey), error.a);
    s.setValue(QString::fromLatin1(settings::kUncertaintyCKey), error.c);
    s.setValue(QString::fromLatin1(settings::kUncertaintyDKey), dayToDay);
}

}  // namespace trv
