#include "view/window/ThresholdActions.h"

#include "analysis/RobustFit.h"
#include "analysis/ThresholdCsv.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/dialogs/ZoneExportDialog.h"
#include "view/settings/UncertaintySettings.h"
#include "view/window/ThresholdPanel.h"
#include "view/window/UncertaintyWorker.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

using namespace trv;

namespace {

// Curve L 1 marks in the chart's blue of test 1, L 2 in a dark green (0x00BBGGRR).
constexpr uint32_t kMarkColour[2] = {0x800000, 0x006400};

}  // namespace

CThresholdActions::CThresholdActions(QWidget* parent, CWorkspace& ws, CThresholdPanel* panel)
    : m_pParent(parent), m_Ws(ws), m_pPanel(panel), m_pWorker(new CUncertaintyWorker(parent)) {
    QObject::connect(panel, &CThresholdPanel::zonesExportRequested, panel, [this](int test) { ExportZones(test); });
    QObject::connect(m_pWorker, &CUncertaintyWorker::ready, panel,
                     [this](int test) { m_pPanel->SetUncertainty(test, m_pWorker->Result(test)); });
}

void CThresholdActions::ExportZones(int test) {
    const TestThresholds* shown = m_Ws.ShownThresholds(test);
    if (!shown) return;
    CZoneExportDialog dlg(m_Ws.Doc(), test, *shown, m_pParent);
    dlg.exec();
}

bool CThresholdActions::Refresh() {
    const CTRVDoc& doc = m_Ws.Doc();
    std::vector<CThresholdPanel::Entry> entries;
    for (int slot = 0; slot < 2; ++slot) {
        const int index = m_Ws.Evaluator().ShownTest(slot);
        const TestThresholds* result = m_Ws.ShownThresholds(index);
        if (!result) continue;
        CThresholdPanel::Entry e;
        e.testIndex = index;
        e.slot = slot;
        e.test = &doc.GetTest(index);
        e.result = *result;
        entries.push_back(std::move(e));
    }
    // The intervals of these tests: kept while their content stays, else computed anew.
    std::vector<CUncertaintyWorker::Job> jobs;
    for (const CThresholdPanel::Entry& e : entries) {
        const TestAnalysis& an = m_Ws.Analysis(e.testIndex);
        jobs.push_back({e.testIndex, *e.test, an.m_nFitFunction, an.m_nThresholdModel});
    }
    // Readings that do not fit: at once (the robust fit is quick), for the notice area and the list.
    std::vector<CWorkspace::FlaggedReading> flagged;
    for (const CUncertaintyWorker::Job& job : jobs)
        for (const OutlierFlag& f : FlagOutliers(ThresholdInputOf(job.test, job.fit, job.model), LoadErrorModel()))
            flagged.push_back({job.testIndex, f.row, OutlierText(f, job.test.m_nLoadUnit)});
    const bool flagsChanged = m_Ws.SetFlaggedReadings(std::move(flagged));
    m_pWorker->Request(std::move(jobs), LoadErrorModel());
    m_pPanel->SetEntries(std::move(entries));
    for (int slot = 0; slot < 2; ++slot) {
        const int index = m_Ws.Evaluator().ShownTest(slot);
        if (m_Ws.ShownThresholds(index)) m_pPanel->SetUncertainty(index, m_pWorker->Result(index));
    }
    ApplyMarks();
    return flagsChanged;
}

void CThresholdActions::ApplyMarks() {
    CChartModel& chart = m_Ws.Chart();
    chart.markers.clear();
    for (const CThresholdPanel::Mark& mark : m_pPanel->Marks())
        chart.markers.push_back(
            {mark.load, mark.label, kMarkColour[mark.slot == 1 ? 1 : 0], mark.bandFrom, mark.bandTo});
    chart.zoneBands = m_pPanel->ZoneBands();
}

Result CThresholdActions::ExportTo(const std::vector<int>& selected, const QString& path) const {
    const CTRVDoc& doc = m_Ws.Doc();
    const std::vector<int> tests = NormalizedTestIndices(doc, selected);
    std::vector<TestThresholds> results;
    for (int i : tests) {
        const TestThresholds* shown = m_Ws.ShownThresholds(i);
        results.push_back(shown ? *shown : m_Ws.ThresholdsOf(i));
    }
    return ExportThresholdCsv(doc, tests, results, path.toStdString());
}

void CThresholdActions::Export(const std::vector<int>& tests) {
    if (tests.empty()) return;
    QFileDialog dlg(m_pParent, QStr(IDS_THR_EXPORT_MENU).remove(QLatin1Char('&')), QString(), QStr(IDS_CSV_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    dlg.selectFile(QStringLiteral("Schwellen.csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    if (const Result written = ExportTo(tests, dlg.selectedFiles().first()); !written)
        QMessageBox::warning(m_pParent, QApplication::applicationDisplayName(),
                             QStr(IDS_THR_EXPORT_FAILED) + QLatin1Char('\n') + QU8(written.message));
}
