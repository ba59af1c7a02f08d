#pragma once
// Managing the tests of a document window: the lists' context menus, deleting tests and readings
// (Entf, with a question), the readings' type, sorting and searching the test list, and columns as
// wide as their contents. Each change ends in one workspace command; the window refreshes what it
// changed (the refresh callback) and the main window shows what happened (the status callback).
#include "view/window/CommandId.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QLineEdit;
class QModelIndex;
class QPoint;
class QString;
class QTreeView;
class QWidget;
class CMeasurementListModel;
class CTestListProxy;
namespace trv {
class CWorkspace;
}

// The widgets a test management works on (the document window owns them).
struct TestListWidgets {
    QTreeView* tests;
    CTestListProxy* testProxy;
    QLineEdit* filter;
    QTreeView* meas;
    CMeasurementListModel* measModel;
};

class CTestManagement : public QObject {
public:
    // Sets up sorting, the search field and the delete actions of the lists. `window` carries the
    // questions and menus.
    CTestManagement(QWidget* window, trv::CWorkspace& ws, const TestListWidgets& lists,
                    std::function<void(uint32_t)> refresh, std::function<void(const QString&)> status);

    void SetCommands(CommandLookup commands) { m_Commands = std::move(commands); }

    void DeleteTests();
    // The selected readings, or the current one when none is selected.
    void DeleteReadings();
    // The selected readings of the selected test become pre-load, load or post-load readings.
    void SetMeasType(int type);
    // Filters the test list at once; the field shows the same text.
    void SetFilterText(const QString& text);
    // The context menu of the list under `globalPos`; false when the point is over neither list.
    bool ContextMenu(const QPoint& globalPos);

    // Test indices of the selected rows of the test list, top to bottom.
    static std::vector<int> SelectedTests(const QTreeView* tests, const CTestListProxy* proxy);
    // Rows of a list that are selected, top to bottom.
    static std::vector<int> SelectedRows(const QTreeView* list);

    // Never narrower than set at start; wider when the header or a value needs it.
    static void FitColumns(QTreeView* list);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::vector<int> SelectedTests() const { return SelectedTests(m_Lists.tests, m_Lists.testProxy); }
    std::vector<int> SelectedMeasurementRows() const { return SelectedRows(m_Lists.meas); }
    bool AskDelete(const std::string& question);
    bool FilterKey(QKeyEvent* e);
    void ShowTestMenu(const QPoint& globalPos);
    void ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index);

    QWidget* m_pWindow;
    trv::CWorkspace& m_Ws;
    TestListWidgets m_Lists;
    std::function<void(uint32_t)> m_Refresh;
    std::function<void(const QString&)> m_Status;
    CommandLookup m_Commands;
    QAction* m_pDeleteTestsAction;
    QAction* m_pDeleteReadingsAction;
};
