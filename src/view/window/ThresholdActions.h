#pragma once
// The thresholds of the tests a document window shows: the panel beside the chart follows the
// evaluation, the loads it marks go into the chart model, and "Schwellen exportieren" writes them.
#include "data/Result.h"

#include <QString>

#include <vector>

class QWidget;
class CThresholdPanel;
class CUncertaintyWorker;
namespace trv {
class CWorkspace;
}

class CThresholdActions {
public:
    CThresholdActions(QWidget* parent, trv::CWorkspace& ws, CThresholdPanel* panel);

    // The panel from the last evaluation, then the marks; true when the flagged readings changed
    // (the measurement list then marks other rows).
    bool Refresh();
    // The marked loads into the chart model (the caller redraws).
    void ApplyMarks();
    // "Schwellen exportieren" for the tests `tests` with its save dialog, and the file it writes
    // (failing with a German reason).
    void Export(const std::vector<int>& tests);
    trv::Result ExportTo(const std::vector<int>& tests, const QString& path) const;
    // "Zonen weitergeben..." for a shown test.
    void ExportZones(int test);

private:
    QWidget* m_pParent;
    trv::CWorkspace& m_Ws;
    CThresholdPanel* m_pPanel;
    CUncertaintyWorker* m_pWorker;  // intervals of the shown tests, away from the GUI thread
};
