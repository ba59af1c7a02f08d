#pragma once
// The workspace of a document window: the chart, the test list, the measurement list, the command
// buttons and the notice area. It keeps the selection, decides which tests the chart shows (at most
// two) and routes every command to the code that does the work. It also owns the device link of its
// window (serial port, link controller, status window).
#include "ChartModel.h"
#include "DocHandle.h"
#include "TRVDoc.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;
class QTreeView;
class CTChart;
class CTestListModel;
class CMeasurementListModel;
class CTRVStatusDialog;
class CViewLink;
namespace trv {
class CEvaluator;
}

class CTRVView : public QWidget {
    Q_OBJECT
public:
    explicit CTRVView(CDocHandle* doc, QWidget* parent = nullptr);
    ~CTRVView() override;

    CDocHandle* DocHandle() const { return m_pDocHandle; }
    trv::CTRVDoc& GetDocument() const { return m_pDocHandle->Doc(); }

    // List refills from the document.
    void FillTestList();
    void FillMeasurementList();
    void RefreshLists();
    // Evaluates the shown tests into the chart model and redraws the chart.
    void Evaluate();
    void SetUpChart();
    // Rewrites the notice area from the notice flags (every second).
    void RefreshNotices();

    // Selection.
    int SelectedTest() const { return m_nSelectedTest; }
    int CurrentMeasurement() const { return m_nCurrentMeas; }
    // Test indices of the selected rows of the test list, top to bottom.
    std::vector<int> SelectedTestIndices() const;
    // Rows of the measurement list that are selected.
    std::vector<int> SelectedMeasurementRows() const;
    bool SeveralTestsSelected() const { return m_bSeveralSelected; }
    int ShowButtonMode() const { return m_nShowMode; }

    // Notice bits (trv::NoticeFlag); each adds one line to the chart's notice area.
    uint32_t NoticeFlags() const { return m_nNotice; }
    void SetNoticeFlags(uint32_t bits) { m_nNotice |= bits; }
    void ClearNoticeFlags(uint32_t bits) { m_nNotice &= ~bits; }

    // Commands.
    void OnReceiveData();
    void OnEditTestParams();
    void OnEditUserData();
    void OnShowTest();
    void OnResetDisplay();
    void OnPrint();
    bool CanConvertToStepTest() const;
    void OnConvertToStepTest();
    void OnSetMeasType(int type);
    void OnCursor(int which);  // 1 or 2
    // Reports of the chart window and the measurement list (ChartViewLink.cpp).
    void OnChartCursorMoved(int tool, double x, double y);
    void OnChartSeriesToggled();
    void OnMeasurementEdited(int row, bool refill);
    // The tip of button 1008: what a click on it would do now ("" when nothing).
    QString ShowButtonTip() const;
    void ConnectChartAndEditing();
    bool CursorShown(int which) const { return which == 1 ? m_bCursor1 : m_bCursor2; }
    void OnBtMode();
    bool BtMode() const;
    void OnResetAnalyser();
    void OnDeviceSettings();
    bool ReceiveEnabled() const;
    bool CanExport() const { return !SelectedTestIndices().empty(); }
    // "Daten exportieren" with its save dialog.
    void OnExportData();
    // Writes the CSV of the selected tests; false with a German reason.
    bool ExportTo(const QString& path, QString& error) const;

    // Mirrors the "Daten empfangen" button (the link enables and disables it).
    void EnableReceive(bool enable);
    // The device-information annotation of the chart.
    void SetDeviceAnnotation(const std::string& text, bool visible);
    // After a download was merged: the newest test becomes the selected one.
    void OnDownloadMerged();
    void MarkModified();

    // Check-box handling of both lists (what a click on a check box leads to).
    void OnTestCheckChange(int testIndex, bool checked);
    void OnMeasurementCheckChange(int row, bool checked);

    // Controls (tests drive them).
    CTChart* m_pChart;
    QTreeView* m_pTestList;
    QTreeView* m_pMeasList;
    QPushButton* m_pResetButton;
    QPushButton* m_pReceiveButton;
    QPushButton* m_pParamButton;
    QPushButton* m_pUserButton;
    QPushButton* m_pShowButton;
    QPushButton* m_pPrintButton;
    CTestListModel* m_pTestModel;
    CMeasurementListModel* m_pMeasModel;
    CTRVStatusDialog* m_pStatus;
    trv::CChartModel m_Chart;

signals:
    // A command's enable or check state may have changed (the main window updates its menus).
    void commandStateChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void BuildLayout();
    static void FitColumns(QTreeView* list);
    void OnTestSelectionChanged();
    void OnTestClicked(const QModelIndex& index);
    void OnMeasClicked(const QModelIndex& index);
    void OnDocumentChanged(CTRVView* sender);
    void RunLoadUpdate();
    void ShowTestMenu(const QPoint& globalPos);
    void ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index);
    void SelectTestRow(int testIndex);
    int CountShown() const { return GetDocument().CountShownTests(); }

    CDocHandle* m_pDocHandle;
    QTimer* m_pNoticeTimer;
    QLabel* m_pBitmap;
    int m_nSelectedTest = -1;
    int m_nCurrentMeas = -1;
    int m_nShowMode = 0;
    bool m_bRefreshing = false;
    bool m_bSeveralSelected = false;
    bool m_bCursor1 = false;
    bool m_bCursor2 = false;
    uint32_t m_nNotice = 0;
    std::unique_ptr<trv::CEvaluator> m_pEval;
    std::unique_ptr<CViewLink> m_pLink;
};
