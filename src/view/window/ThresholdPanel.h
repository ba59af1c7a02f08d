#pragma once
// "Schwellen": the thresholds, the fit quality and the training zones of the tests the chart shows,
// one tab per test. Ticking a method marks its load in the chart; "Kopieren" (and Ctrl+C in a table)
// puts the tables on the clipboard as tab-separated text.
#include "analysis/ChartModel.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/Uncertainty.h"

#include <QWidget>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QVBoxLayout;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace trv {
struct TestDataType;
}

class CThresholdPanel : public QWidget {
    Q_OBJECT
public:
    explicit CThresholdPanel(QWidget* parent = nullptr);

    struct Entry {
        int testIndex = -1;
        int slot = 0;  // 0 for curve L 1, 1 for L 2
        const trv::TestDataType* test = nullptr;
        trv::TestThresholds result;
    };
    // Shows these tests (slot order); ticks of methods of tests still shown are kept.
    void SetEntries(std::vector<Entry> entries);

    // A ticked method: its load in the test's unit (as the chart's x axis shows it) and its label.
    struct Mark {
        int slot = 0;
        double load = 0.0;
        std::string label;
        std::optional<double> bandFrom, bandTo;  // its interval, test's unit
    };
    std::vector<Mark> Marks() const;

    // The intervals and flagged readings of a shown test as they come in (null: being computed);
    // the load column then reads "245 W (238–252)" and the marks get their bands.
    void SetUncertainty(int testIndex, const trv::TestUncertainty* u);

    // Tab-separated text of the methods and zones of tab `tab`, with their header lines.
    QString TablesText(int tab) const;
    // Copies the current tab's tables to the clipboard.
    void CopyTables() const;

    // The width that shows every column of the tables whole (the widest tab), at least `kLeastWidth`.
    int WantedWidth() const;
    static constexpr int kLeastWidth = 260;
    // The panel's width in a row of `row` pixels beside the chart: what it wants while the chart keeps
    // 55 % of the row (and at least `chartLeast`); never less than `kLeastWidth` (its tables scroll then).
    static int WidthIn(int row, int wanted, int chartLeast);
    // The width the panel asks its row for (its size hint).
    void SetWidth(int width);
    QSize sizeHint() const override;

    QTabWidget* Tabs() const { return m_pTabs; }
    QTableWidget* MethodTable(int tab) const;
    QTableWidget* ZoneTable(int tab) const;

    // Zones (ThresholdPanelZones.cpp): the current tab's zones as chart bands (display unit) while
    // "Zonen im Diagramm" is ticked; the entry of the current tab (null without one); the controls.
    std::vector<trv::ChartZoneBand> ZoneBands() const;
    const Entry* CurrentEntry() const;
    QCheckBox* ZoneBandsBox() const { return m_pZoneBands; }
    QPushButton* ExportZonesButton() const { return m_pExportZones; }

signals:
    void marksChanged();
    // The tables' contents changed their wanted width.
    void wantedWidthChanged();
    // "Zonen weitergeben..." for the test of the current tab.
    void zonesExportRequested(int testIndex);

private:
    struct Page {
        QWidget* widget = nullptr;
        QTableWidget* methods = nullptr;
        QLabel* fit = nullptr;
        QTableWidget* zones = nullptr;
    };
    Page MakePage(const Entry& e);
    void OnItemChanged(int tab, int row);
    void MakeZoneControls(QVBoxLayout* lay);
    static QString ZoneCaption(const trv::TestThresholds& r);
    static QString NoZonesText(const trv::TestThresholds& r);
    void ApplyUncertainty(size_t tab);

    QTabWidget* m_pTabs;
    QLabel* m_pNone;
    QPushButton* m_pCopy;
    std::vector<Entry> m_Entries;
    std::vector<Page> m_Pages;
    std::set<std::pair<int, std::string>> m_Ticked;  // (test index, method id)
    bool m_bFilling = false;
    int m_nWidth = 380;
    QCheckBox* m_pZoneBands = nullptr;
    QPushButton* m_pExportZones = nullptr;
    std::map<int, std::optional<trv::TestUncertainty>> m_Uncertainty;  // by test index; none: computing
};
