#include "view/ZoneSettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace trv {

namespace {

QString Group(int type) { return QStringLiteral("Zones/Type%1").arg(type); }

}  // namespace

ZoneSettings LoadZoneSettings() {
    ZoneSettings z;
    QSettings s;
    for (int type = 0; type < 3; ++type) {
        s.beginGroup(Group(type));
        const QStringList codes = s.value(QStringLiteral("Codes")).toStringList();
        const QStringList names = s.value(QStringLiteral("Names")).toStringList();
        const QStringList bounds = s.value(QStringLiteral("Bounds")).toStringList();
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
        s.beginGroup(Group(type));
        s.setValue(QStringLiteral("Codes"), codes);
        s.setValue(QStringLiteral("Names"), names);
        s.setValue(QStringLiteral("Bounds"), bounds);
        s.endGroup();
    }
}

}  // namespace trv
