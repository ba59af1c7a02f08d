// The commands of the workspace: dialogs, conversion, measurement types, export, printing, cursors,
// and the evaluation that follows every change.
#include "ChartWidget.h"
#include "CsvExport.h"
#include "Evaluator.h"
#include "MeasurementListModel.h"
#include "QtText.h"
#include "StepTest.h"
#include "StringIds.h"
#include "TRVView.h"
#include "TestListModel.h"
#include "TestParamDialog.h"
#include "UserDataDialog.h"
#include "ViewLink.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTreeView>

#include <qcustomplot.h>

using namespace trv;

// ---- evaluation -------------------------------------------------------------------------------

void CTRVView::Evaluate() {
    m_pEval->Evaluate(GetDocument(), m_Chart, m_nNotice);
    m_pEval->SetUpResults(GetDocument(), m_Chart, m_nNotice);
    // The evaluation gives each shown test its curve slot: the "Kurve" column follows it.
    m_pTestModel->dataChanged(m_pTestModel->index(0, CTestListModel::ColCurve),
                              m_pTestModel->index(std::max(0, m_pTestModel->rowCount() - 1), CTestListModel::ColCurve));
    // The notice area follows at once rather than with the next tick of the notice timer.
    RefreshNotices();
}

void CTRVView::SetUpChart() {
    m_pEval->SetUpResults(GetDocument(), m_Chart, m_nNotice);
    m_Chart.tools[ToolCursor1].active = m_bCursor1;
    m_Chart.tools[ToolCursor2].active = m_bCursor2;
    m_pChart->Redraw();
}

// ---- buttons ----------------------------------------------------------------------------------

void CTRVView::OnReceiveData() {
    if (m_pLink) m_pLink->ReceiveData();
}

void CTRVView::OnEditTestParams() {
    CTRVDoc& doc = GetDocument();
    if (!doc.IsValidTest(m_nSelectedTest)) return;
    // While the dialog is open the analyser may announce a reading, and its download adds tests
    // (the list of tests grows and is sorted again, and the newest test becomes the selected one).
    // The edited test is therefore found again afterwards by its first reading.
    const int index = m_nSelectedTest;
    auto firstId = [](const TestDataType& t) { return t.m_Steps.empty() ? -1 : int(t.m_Steps.front().m_nMeasId); };
    const int id = firstId(doc.GetTest(index));
    CTRVTestParamDialog dlg(doc.GetTest(index), this);
    if (dlg.exec() != QDialog::Accepted) return;
    int edited = doc.IsValidTest(index) && firstId(doc.GetTest(index)) == id ? index : -1;
    for (int i = 0; edited < 0 && i < doc.GetTestCount(); ++i)
        if (firstId(doc.GetTest(i)) == id) edited = i;
    if (edited < 0) return;
    TestDataType& test = doc.GetTest(edited);
    test.m_bParamsEntered = 1;
    dlg.ApplyTo(test);
    m_nSelectedTest = edited;
    MarkModified();
    RunLoadUpdate();
}

void CTRVView::RunLoadUpdate() {
    CTRVDoc& doc = GetDocument();
    if (doc.IsValidTest(m_nSelectedTest)) UpdateLoads(doc.GetTest(m_nSelectedTest));
    FillTestList();
    Evaluate();
    SetUpChart();
    FillMeasurementList();
}

void CTRVView::OnEditUserData() {
    CTRVDoc& doc = GetDocument();
    CTRVUserDataEditDialog dlg(doc.m_UserData, this);
    if (dlg.exec() == QDialog::Accepted) {
        doc.m_UserData = dlg.Data();
        MarkModified();
    }
    Evaluate();
    RefreshNotices();
}

void CTRVView::OnShowTest() {
    CTRVDoc& doc = GetDocument();
    bool checked = doc.IsValidTest(m_nSelectedTest) && doc.GetTest(m_nSelectedTest).m_bShowInChart;
    if (m_nShowMode == 0 || checked) {
        Evaluate();
        SetUpChart();
        return;
    }
    if (CountShown() < 2) OnTestCheckChange(m_nSelectedTest, true);
}

void CTRVView::OnResetDisplay() {
    CTRVDoc& doc = GetDocument();
    for (int row = 0; row < m_pTestModel->rowCount(); ++row) {
        int t = m_pTestModel->TestIndexOfRow(row);
        if (doc.IsValidTest(t) && doc.GetTest(t).m_bShowInChart) OnTestCheckChange(t, false);
    }
}

// ---- conversion and measurement types -----------------------------------------------------------

bool CTRVView::CanConvertToStepTest() const { return trv::CanConvertToStepTest(GetDocument(), SelectedTestIndices()); }

void CTRVView::OnConvertToStepTest() {
    if (!CanConvertToStepTest()) return;
    int target = ConvertToStepTest(GetDocument(), SelectedTestIndices());
    if (target < 0) return;
    m_nSelectedTest = target;
    m_nCurrentMeas = -1;
    m_bSeveralSelected = false;
    FillTestList();
    FillMeasurementList();
    // As after a click on the new step test: "Test anzeigen" adds it to the chart.
    m_nShowMode = CountShown() < 2 ? 1 : 0;
    MarkModified();
    emit commandStateChanged();
}

void CTRVView::OnSetMeasType(int type) {
    CTRVDoc& doc = GetDocument();
    if (!doc.IsValidTest(m_nSelectedTest)) return;
    TestDataType& test = doc.GetTest(m_nSelectedTest);
    // Rows of the measurement list are the measurements of the selected test, in order.
    std::vector<int> rows;
    const auto& listed = m_pMeasModel->Rows();
    for (int r : SelectedMeasurementRows())
        if (r < static_cast<int>(listed.size()) && listed[static_cast<size_t>(r)].test == m_nSelectedTest)
            rows.push_back(listed[static_cast<size_t>(r)].meas);
    if (!SetMeasType(test, rows, m_nCurrentMeas, type)) return;
    MarkModified();
    RunLoadUpdate();
}

void CTRVView::contextMenuEvent(QContextMenuEvent* e) {
    QPoint pos = e->globalPos();
    if (m_pTestList->viewport()->rect().contains(m_pTestList->viewport()->mapFromGlobal(pos))) {
        ShowTestMenu(pos);
        return;
    }
    QPoint local = m_pMeasList->viewport()->mapFromGlobal(pos);
    if (m_pMeasList->viewport()->rect().contains(local)) {
        ShowMeasMenu(pos, m_pMeasList->indexAt(local));
        return;
    }
    QWidget::contextMenuEvent(e);
}

void CTRVView::ShowTestMenu(const QPoint& globalPos) {
    if (!CanConvertToStepTest()) return;
    QMenu menu(QStr(IDS_POPUP_CONVERT), this);
    QAction* a = menu.addAction(QStr(IDS_EDIT_CONVERT));
    a->setStatusTip(QStr(IDS_TIP_CONVERT));
    connect(a, &QAction::triggered, this, &CTRVView::OnConvertToStepTest);
    menu.exec(globalPos);
}

void CTRVView::ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index) {
    CTRVDoc& doc = GetDocument();
    if (!index.isValid() || !doc.IsValidTest(m_nSelectedTest)) return;
    const auto& rows = m_pMeasModel->Rows();
    if (index.row() >= static_cast<int>(rows.size())) return;
    auto r = rows[static_cast<size_t>(index.row())];
    if (!doc.IsValidTest(r.test)) return;
    const TestDataType& test = doc.GetTest(r.test);
    if (r.meas < 0 || r.meas >= static_cast<int>(test.m_Steps.size())) return;
    int type = test.m_Steps[static_cast<size_t>(r.meas)].m_nMeasType;
    if (type == MeasSingle) return;
    if (r.test == m_nSelectedTest) m_nCurrentMeas = r.meas;
    QMenu menu(QStr(IDS_POPUP_MEASTYPE), this);
    const int tips[] = {IDS_TIP_PRL, IDS_TIP_LD, IDS_TIP_AFL};
    for (int t = MeasPreLoad; t <= MeasPostLoad; ++t) {
        QAction* a = menu.addAction(QString::fromUtf8(MeasTypeText(t)));
        a->setCheckable(true);
        a->setChecked(t == type);
        a->setStatusTip(QStr(tips[t - 1]));
        connect(a, &QAction::triggered, this, [this, t] { OnSetMeasType(t); });
    }
    menu.exec(globalPos);
}

// ---- cursors, device commands -------------------------------------------------------------------

void CTRVView::OnCursor(int which) {
    bool& mine = which == 1 ? m_bCursor1 : m_bCursor2;
    bool& other = which == 1 ? m_bCursor2 : m_bCursor1;
    if (mine) {
        mine = false;
        m_Chart.cursorText.Clear();
    } else {
        mine = true;
        other = false;
    }
    m_Chart.tools[ToolCursor1].active = m_bCursor1;
    m_Chart.tools[ToolCursor2].active = m_bCursor2;
    m_pChart->Redraw();
    emit commandStateChanged();
}

void CTRVView::OnBtMode() {
    if (m_pLink) m_pLink->ToggleBtMode();
    emit commandStateChanged();
}

bool CTRVView::BtMode() const { return m_pLink && m_pLink->BtMode(); }

void CTRVView::OnResetAnalyser() {
    if (m_pLink) m_pLink->ResetAnalyser();
}

void CTRVView::OnDeviceSettings() {
    if (m_pLink && ReceiveEnabled()) m_pLink->DeviceSettings();
}

bool CTRVView::ReceiveEnabled() const { return m_pReceiveButton->isEnabled(); }

void CTRVView::EnableReceive(bool enable) {
    m_pReceiveButton->setEnabled(enable);
    emit commandStateChanged();
}

void CTRVView::SetDeviceAnnotation(const std::string& text, bool visible) {
    m_Chart.tools[ToolDeviceText].text = text;
    m_Chart.tools[ToolDeviceText].active = visible;
    m_pChart->Redraw();
}

// ---- export -------------------------------------------------------------------------------------

bool CTRVView::ExportTo(const QString& path, QString& error) const {
    // The compensated load of a shortened step comes from an evaluation; a test that is not shown
    // gets it worked out on a copy.
    CTRVDoc doc = GetDocument();
    const std::vector<int> tests = SelectedTestIndices();
    for (int i : tests)
        if (doc.IsValidTest(i)) UpdateShortenedStep(doc.GetTest(i));
    FileResult r = ExportCsv(doc, tests, path.toStdString());
    if (!r.ok) error = QU8(r.message);
    return r.ok;
}

void CTRVView::OnExportData() {
    if (SelectedTestIndices().empty()) return;
    QFileDialog dlg(this, QStr(IDS_FILE_EXPORT), QString(), QStr(IDS_CSV_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    dlg.selectFile(QStringLiteral("*.csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    QString error;
    if (!ExportTo(dlg.selectedFiles().first(), error))
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             QStr(IDS_EXPORT_FAILED) + QLatin1Char('\n') + error);
}
