#pragma once
// The widgets of a document window (the Ui idiom): the window makes and owns them, hands each helper
// the ones it works on, and tests read them through CTRVView::Ui().
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;
class CTChart;
class CTestListModel;
class CTestListProxy;
class CMeasurementListModel;
class CThresholdPanel;
class CTRVStatusDialog;
class CWorkspaceSplitter;

struct CTRVViewUi {
    CTChart* chart = nullptr;
    CThresholdPanel* thresholds = nullptr;  // beside the chart
    QWidget* chartPane = nullptr;           // the chart and the thresholds side by side
    QTreeView* testList = nullptr;
    CTestListModel* testModel = nullptr;
    CTestListProxy* testProxy = nullptr;  // the test list as sorted and searched
    QLineEdit* filter = nullptr;          // the search field over the test list
    QTreeView* measList = nullptr;
    CMeasurementListModel* measModel = nullptr;
    QPushButton* resetButton = nullptr;  // "R": hides every shown test
    QPushButton* receiveButton = nullptr;
    QPushButton* paramButton = nullptr;
    QPushButton* userButton = nullptr;
    QPushButton* showButton = nullptr;
    QPushButton* printButton = nullptr;
    QLabel* plate = nullptr;  // the analyser's plate beside the buttons
    CTRVStatusDialog* status = nullptr;
    CWorkspaceSplitter* splitter = nullptr;  // the chart above, the lists below
    QTimer* downloadNoticeTimer = nullptr;   // takes the download's line out of the notice area
};
