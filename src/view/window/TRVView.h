#pragma once
// The window of a document: the chart, the test list, the measurement list, the command buttons
// and the notice area. It mirrors its workspace (CWorkspace: selection, shown tests, notices,
// evaluation, document commands): each handler reads the selection, calls one workspace command and
// refreshes what that command says changed. It also owns the device link of its window.
#include "analysis/ChartModel.h"
#include "data/TRVDoc.h"
#include "view/window/CommandId.h"
#include "view/window/DocHandle.h"
#include "view/window/EnteredTestActions.h"
#include "view/window/TRVViewUi.h"
#include "view/window/TestManagement.h"
#include "view/window/ThresholdActions.h"
#include "workspace/Workspace.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QModelIndex;
class CViewLink;
class CProtocolPrinting;

class CTRVView : public QWidget {
    Q_OBJECT
public:
    explicit CTRVView(CDocHandle* doc, QWidget* parent = nullptr);
    ~CTRVView() override;

    CDocHandle* DocHandle() const { return m_pDocHandle; }
    trv::CTRVDoc& GetDocument() const { return m_pDocHandle->Doc(); }
    trv::CWorkspace& Workspace() { return m_Ws; }
    // The window's widgets (tests drive them).
    const CTRVViewUi& Ui() const { return m_ui; }
    // The chart model of the workspace (the chart widget draws it).
    const trv::CChartModel& ChartModel() const { return m_Ws.Chart(); }
    // Where the lists' context menus find the main window's actions.
    void SetCommands(CommandLookup commands);

    // List refills from the document.
    void FillTestList();
    void FillMeasurementList();
    void RefreshLists();
    // Refreshes what a command, undo or redo changed (trv::WorkspaceChange bits).
    void Refresh(uint32_t changes);
    // Evaluates the shown tests and redraws the chart.
    void Evaluate();
    void SetUpChart();
    // Rewrites the notice area from the notice flags (every second).
    void RefreshNotices();

    // Selection.
    int SelectedTest() const { return m_Ws.SelectedTest(); }
    int CurrentMeasurement() const { return m_Ws.CurrentMeasurement(); }
    // Test indices of the selected rows of the test list, top to bottom.
    std::vector<int> SelectedTestIndices() const;
    // Rows of the measurement list that are selected.
    std::vector<int> SelectedMeasurementRows() const;
    // The index of the test list (sorted and searched) that shows test `test`; invalid while the
    // search hides it.
    QModelIndex TestListIndex(int test, int column = 0) const;
    bool SeveralTestsSelected() const { return m_Ws.SeveralSelected(); }
    int ShowButtonMode() const { return m_Ws.ShowButtonMode(); }

    // Notice bits (trv::NoticeFlag); each adds one line to the chart's notice area.
    uint32_t NoticeFlags() const { return m_Ws.Notices(); }
    void SetNoticeFlags(uint32_t bits) { m_Ws.SetNotices(bits); }
    void ClearNoticeFlags(uint32_t bits) { m_Ws.ClearNotices(bits); }

    // Commands.
    void OnReceiveData();
    void OnEditTestParams();
    void OnEditUserData();
    void OnShowTest();
    void OnResetDisplay();
    // Print, "Seitenansicht", "Als PDF speichern ...".
    CProtocolPrinting& Printing() { return *m_pPrinting; }
    bool CanConvertToStepTest() const { return m_Ws.CanConvertToStepTest(); }
    void OnConvertToStepTest();
    // Tests without the analyser: typed in, imported from a file, pasted from the clipboard.
    CEnteredTestActions& EnteredTests() { return *m_pEntered; }
    void OnManualTest() { m_pEntered->ManualTest(); }
    void OnImportReadings() { m_pEntered->ImportReadings(); }
    void OnPasteReadings() { m_pEntered->PasteReadings(); }
    void OnSetMeasType(int type) { m_pManagement->SetMeasType(type); }
    void OnCursor(int which);  // 1 or 2
    void OnUndo();
    void OnRedo();
    // Entf in a list: the selected tests, or the selected readings (the current one when none is
    // selected), after a question whose default answer is "Nein".
    void OnDeleteTests() { m_pManagement->DeleteTests(); }
    void OnDeleteReadings() { m_pManagement->DeleteReadings(); }
    // The search field over the test list (typing filters at once; Esc clears it).
    void SetFilterText(const QString& text) { m_pManagement->SetFilterText(text); }
    // "Messdaten kopieren": the measurement list as tab-separated text on the clipboard.
    void OnCopyTable();
    QString MeasurementTableText() const;
    int MeasurementRowCount() const;
    // A typed cell value was refused: said beside the cell and in the status bar.
    void OnEditRefused(int row, int column, const QString& reason);
    // The tip of the "Anzeigen" button: what a click on it would do now ("" when nothing).
    QString ShowButtonTip() const;
    bool CursorShown(int which) const { return m_Ws.CursorShown(which); }
    void OnBtMode();
    bool BtMode() const;
    // This window's link has the analyser's port open.
    bool HoldsAnalyser() const;
    void OnResetAnalyser();
    void OnDeviceSettings();
    bool ReceiveEnabled() const;
    bool CanExport() const { return !SelectedTestIndices().empty(); }
    // "Daten exportieren" with its save dialog.
    void OnExportData();
    // Writes the CSV of the selected tests; fails with a German reason.
    trv::Result ExportTo(const QString& path) const;
    // "Schwellen exportieren" for the selected tests with its save dialog, and the file it writes.
    void OnExportThresholds() { m_pThresholdActions->Export(SelectedTestIndices()); }
    trv::Result ExportThresholdsTo(const QString& path) const {
        return m_pThresholdActions->ExportTo(SelectedTestIndices(), path);
    }

    // Mirrors the "Daten empfangen" button (the link enables and disables it).
    void EnableReceive(bool enable);
    // The device-information annotation of the chart.
    void SetDeviceAnnotation(const std::string& text, bool visible);
    // The analyser's memory arrived: merged into the document as a command, then refreshed.
    void OnMemoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware);
    // After a download was merged: the newest test becomes the selected one, lists and chart follow.
    void OnDownloadMerged();
    // The document was changed outside the command history (no undo leads back to the saved state).
    void MarkModified();

    // The test picked in the history becomes the selected test and is shown unless two are.
    void ShowHistoryTest(int index);

    // Check-box handling of both lists (what a click on a check box leads to).
    void OnTestCheckChange(int testIndex, bool checked);
    void OnMeasurementCheckChange(int row, bool checked);

signals:
    // A command's enable or check state may have changed (the main window updates its menus).
    void commandStateChanged();
    // A line for the main window's status bar: what an action did, or why an entry was refused.
    void statusMessage(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildLayout();
    void FitThresholdPanel();
    void ConnectSignals();
    void OnTestSelectionChanged();
    void OnTestClicked(const QModelIndex& index);
    void OnMeasClicked(const QModelIndex& index);
    void OnDocumentChanged(QObject* sender);
    void SelectTestRow(int testIndex);
    trv::MeasEditResult EditCell(int test, int meas, int column, const std::string& text);

    CTRVViewUi m_ui;
    trv::CWorkspace m_Ws;
    CProtocolPrinting* m_pPrinting;
    CDocHandle* m_pDocHandle;
    QTimer* m_pNoticeTimer;
    bool m_bRefreshing = false;
    std::unique_ptr<CViewLink> m_pLink;
    std::unique_ptr<CEnteredTestActions> m_pEntered;
    std::unique_ptr<CThresholdActions> m_pThresholdActions;
    std::unique_ptr<CTestManagement> m_pManagement;
};
