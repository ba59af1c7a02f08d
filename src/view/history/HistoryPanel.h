#pragma once
// "Verlauf": every step test of the document over time. The methods to follow are a check list;
// the table lists the tests oldest first, the charts show the methods' loads over the test date,
// one chart per test type and unit. Without any step test a hint takes the place of both.
// Refresh() after a change of the document recomputes only the tests that changed.
#include "analysis/TestAnalysis.h"
#include "analysis/ThresholdCache.h"

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QModelIndex;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableView;
class CHistoryPlot;
class CHistoryIntervals;
class CHistoryTableModel;
namespace trv {
class CTRVDoc;
}

class CHistoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit CHistoryPanel(QWidget* parent = nullptr);

    // The document shown (not owned; null for none) and each test's fitting choice by index
    // (none: cubic and Mader). Refreshes.
    void SetDocument(const trv::CTRVDoc* doc, trv::ConstAnalysisOf analysis = {});
    const trv::CTRVDoc* Document() const { return m_pDoc; }
    void Refresh();

    std::vector<std::string> Methods() const;
    void SetMethods(const std::vector<std::string>& ids);

    // Parts (tests and the printout use them).
    QListWidget* m_pMethods;
    QTableView* m_pTable;
    CHistoryTableModel* m_pModel;
    CHistoryPlot* m_pPlot;
    QLabel* m_pHint;
    QStackedWidget* m_pStack;
    QPushButton* m_pPrint;
    const trv::CThresholdCache& Cache() const { return m_Cache; }

signals:
    // A row was double-clicked: the owner shows that test in the chart.
    void testActivated(int testIndex);
    void printRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate(const QModelIndex& index);
    const trv::CTRVDoc* m_pDoc = nullptr;
    trv::ConstAnalysisOf m_analysis;
    trv::CThresholdCache m_Cache;
    CHistoryIntervals* m_pIntervals;  // intervals and clear changes, away from the GUI thread
    bool m_bFilling = false;
};
