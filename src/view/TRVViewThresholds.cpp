// The thresholds of the shown tests: the panel beside the chart, the marks in the chart and
// "Schwellen exportieren".
#include "ChartWidget.h"
#include "QtText.h"
#include "StringIds.h"
#include "TRVView.h"
#include "ThresholdCsv.h"
#include "ThresholdPanel.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

using namespace trv;

namespace {

// Curve L 1 marks in the chart's blue of test 1, L 2 in a dark green (0x00BBGGRR).
constexpr uint32_t kMarkColour[2] = {0x800000, 0x006400};

}  // namespace

void CTRVView::RefreshThresholds() {
    const CTRVDoc& doc = GetDocument();
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
    m_pThresholds->SetEntries(std::move(entries));
    ApplyThresholdMarks();
}

void CTRVView::ApplyThresholdMarks() {
    m_Chart.markers.clear();
    for (const CThresholdPanel::Mark& mark : m_pThresholds->Marks())
        m_Chart.markers.push_back({mark.load, mark.label, kMarkColour[mark.slot == 1 ? 1 : 0]});
}

bool CTRVView::ExportThresholdsTo(const QString& path, QString& error) const {
    const CTRVDoc& doc = GetDocument();
    const std::vector<int> tests = NormalizedTestIndices(doc, SelectedTestIndices());
    std::vector<TestThresholds> results;
    for (int i : tests) {
        const TestThresholds* shown = m_Ws.ShownThresholds(i);
        results.push_back(shown ? *shown : m_Ws.ThresholdsOf(i));
    }
    const FileResult r = ExportThresholdCsv(doc, tests, results, path.toStdString());
    if (!r.ok) error = QU8(r.message);
    return r.ok;
}

void CTRVView::OnExportThresholds() {
    if (SelectedTestIndices().empty()) return;
    QFileDialog dlg(this, QStr(IDS_THR_EXPORT_MENU).remove(QLatin1Char('&')), QString(), QStr(IDS_CSV_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    dlg.selectFile(QStringLiteral("Schwellen.csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    QString error;
    if (!ExportThresholdsTo(dlg.selectedFiles().first(), error))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QStr(IDS_THR_EXPORT_FAILED) + QLatin1Char('\n') + error);
}
