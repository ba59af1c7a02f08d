#pragma once
// The zone model and its two anchors in the zone settings: "Modell", "LT1", "LT2", each a choice
// from the catalogue (zone models, threshold methods).
#include "analysis/Zones.h"

#include <QGroupBox>

class QComboBox;

class CZoneModelBox : public QGroupBox {
    Q_OBJECT
public:
    explicit CZoneModelBox(QWidget* parent = nullptr);
    // Shows the model and anchors of `settings`.
    void Set(const trv::ZoneSettings& settings);
    // Writes the chosen model and anchors into `settings`.
    void Take(trv::ZoneSettings& settings) const;

    QComboBox* Model() const { return m_pModel; }
    QComboBox* Lt1() const { return m_pLt1; }
    QComboBox* Lt2() const { return m_pLt2; }

private:
    QComboBox* m_pModel;
    QComboBox* m_pLt1;
    QComboBox* m_pLt2;
};
