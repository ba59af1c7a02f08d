#include "view/settings/ZoneSettingsStore.h"

#include "view/settings/Settings.h"

#include <QSettings>
#include <QStringList>

namespace trv {

ZoneSettings LoadZoneSettings() {
    ZoneSettings z;
    QSettings s;
    for (int type = 0; type < 3; ++type) {
        s.beginGroup(settings::ZoneGroup(type));
        const QStringList codes = s.value(QString::fromLatin1(settings::kZoneCodesKey)).toStringList();
        const QStringList names = s.value(QString::fromLatin1(settings::kZoneNamesKey)).toStringList();
        const QStringList bounds = s.value(QString::fromLatin1(settings::kZoneBoundsKey)).toStringList();
        s.endGroup();
        if (codes.isEmpty()) continue;
        ZoneScheme scheme;
        for (int i = 0; i < codes.size(); ++i)
            scheme.zones.push_back({codes[i].toStdString(), i < names.size() ? names[i].toStdString() : std::string()});
        bool all = true;
        for (const QString& b : bounds) {
            bool ok = false;
            scheme.bounds.push_back(b.toDouble(&ok));
            all = all && ok;
        }
        if (all && CheckZoneScheme(scheme).empty()) z.schemes[static_cast<size_t>(type)] = scheme;
    }
    return z;
}

void SaveZoneSettings(const ZoneSettings& settings) {
    QSettings s;
    for (int type = 0; type < 3; ++type) {
        const ZoneScheme& scheme = settings.schemes[static_cast<size_t>(type)];
        QStringList codes, names, bounds;
        for (const ZoneName& z : scheme.zones) {
            codes << QString::fromStdString(z.code);
            names << QString::fromStdString(z.name);
        }
        for (double b : scheme.bounds) bounds << QString::number(b, 'g', 17);
        s.beginGroup(settings::ZoneGroup(type));
        s.setValue(QString::fromLatin1(settings::kZoneCodesKey), codes);
        s.setValue(QString::fromLatin1(settings::kZoneNamesKey), names);
        s.setValue(QString::fromLatin1(settings::kZoneBoundsKey), bounds);
        s.endGroup();
    }
}

}  // namespace trv
