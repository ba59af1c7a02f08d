// The zone parts of the "Schwellen" panel: the model and its anchors above the zones table, the
// reason when there are no zones, "Zonen im Diagramm" and "Zonen weitergeben...".
#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/QtText.h"
#include "view/window/ThresholdPanel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace trv;

void CThresholdPanel::MakeZoneControls(QVBoxLayout* lay) {
    m_pZoneBands = new QCheckBox(QStr(IDS_THR_ZONE_BANDS), this);
    m_pZoneBands->setToolTip(QStr(IDS_THR_ZONE_BANDS_TIP));
    m_pExportZones = new QPushButton(QStr(IDS_THR_ZONES_EXPORT), this);
    m_pExportZones->setToolTip(QStr(IDS_THR_ZONES_EXPORT_TIP));
    m_pExportZones->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pZoneBands);
    row->addStretch(1);
    row->addWidget(m_pExportZones);
    lay->addLayout(row);
    connect(m_pZoneBands, &QCheckBox::toggled, this, [this] { emit marksChanged(); });
    connect(m_pTabs, &QTabWidget::currentChanged, this, [this] {
        const Entry* e = CurrentEntry();
        m_pExportZones->setEnabled(e != nullptr);
        if (!m_bFilling && m_pZoneBands->isChecked()) emit marksChanged();
    });
    connect(m_pExportZones, &QPushButton::clicked, this, [this] {
        if (const Entry* e = CurrentEntry()) emit zonesExportRequested(e->testIndex);
    });
}

const CThresholdPanel::Entry* CThresholdPanel::CurrentEntry() const {
    const int tab = m_pTabs->currentIndex();
    return tab >= 0 && tab < static_cast<int>(m_Entries.size()) ? &m_Entries[static_cast<size_t>(tab)] : nullptr;
}

std::vector<ChartZoneBand> CThresholdPanel::ZoneBands() const {
    std::vector<ChartZoneBand> bands;
    const Entry* e = CurrentEntry();
    if (!e || !m_pZoneBands->isChecked()) return bands;
    const TestThresholds& r = e->result;
    auto shown = [&](const std::optional<double>& v) {
        return v ? std::optional<double>(LoadInTestUnit(*v, r.loadUnit)) : std::nullopt;
    };
    for (size_t i = 0; i < r.zones.size(); ++i) {
        const ZoneResult& z = r.zones[i];
        // Friel's bounds may have no load (a heart rate the line reaches only at no load).
        if (i > 0 && !z.loadFrom) continue;
        const unsigned rgb = ZoneColour(i, r.zones.size());
        const uint32_t bgr = ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
        bands.push_back({shown(z.loadFrom), shown(z.loadTo), z.code, bgr});
    }
    return bands;
}

QString CThresholdPanel::ZoneCaption(const TestThresholds& r) {
    QString text = QU8(FmtId(IDS_THR_ZONE_CAPTION, r.zoneModel.name.c_str()));
    // The anchors the model stands on: both for Seiler's three zones, LT2 for Friel and Coggan.
    const int model = ZoneModelIndex(r.zoneModel.model);
    if (model != 1 && model != 3 && model != 4) return text;
    const char* unit = LoadUnitText(r.loadUnit);
    for (const auto& [name, a] : {std::pair{"LT1", &r.zoneModel.lt1}, std::pair{"LT2", &r.zoneModel.lt2}}) {
        if (model != 1 && a == &r.zoneModel.lt1) continue;
        const std::string value =
            a->load ? Fmt(r.loadUnit == UnitWatt ? "%.0f %s" : "%.2f %s", LoadInTestUnit(*a->load, r.loadUnit), unit)
                    : std::string(LoadStr(IDS_NOT_DETERMINABLE));
        text += QStringLiteral("\n") + QU8(FmtId(IDS_THR_ZONE_ANCHOR, name, a->label.c_str(), value.c_str()));
    }
    return text;
}

QString CThresholdPanel::NoZonesText(const TestThresholds& r) {
    if (r.zoneModel.reason.empty()) return QStr(IDS_THR_NO_ZONES);
    return QU8(FmtId(IDS_ZEXP_NO_ZONES, r.zoneModel.reason.c_str()));
}
