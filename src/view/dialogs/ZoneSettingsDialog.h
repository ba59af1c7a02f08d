#pragma once
// "Trainingszonen": the zones of each test type (short name, long name, upper boundary in percent of
// the IANS) with "Standard wiederherstellen". OK checks every type and refuses a setting that is not
// ascending or not within 0 to 300 % with a German message.
#include "analysis/Zones.h"

#include <QDialog>

#include <array>

class QTableWidget;
class QTabWidget;

class CZoneSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CZoneSettingsDialog(const trv::ZoneSettings& settings, QWidget* parent = nullptr);
    // The settings after OK.
    const trv::ZoneSettings& Settings() const { return m_Settings; }
    // The table of a test type (tests fill it as a user would).
    QTableWidget* Table(int testType) const { return m_apTables[static_cast<size_t>(testType)]; }
    QTabWidget* Tabs() const { return m_pTabs; }
    // Checks and takes the tables; "" or the German reason (then nothing is taken).
    QString TakeTables();
    void RestoreDefaults();

    void accept() override;

private:
    void Fill(int testType, const trv::ZoneScheme& scheme);

    trv::ZoneSettings m_Settings;
    QTabWidget* m_pTabs;
    std::array<QTableWidget*, 3> m_apTables{};
};
