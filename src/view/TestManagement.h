#pragma once
// Managing the tests of a document window: the lists' context menus, deleting tests and readings
// (Entf, with a question), sorting and searching the test list, and columns as wide as their
// contents. Each change ends in one workspace command; the window refreshes what it changed.
#include <QObject>

#include <string>

class QAction;
class QKeyEvent;
class QModelIndex;
class QPoint;
class QString;
class QTreeView;
class CTRVView;

class CTestManagement : public QObject {
public:
    // Sets up sorting, the search field and the delete actions of `view`'s lists.
    explicit CTestManagement(CTRVView& view);

    void DeleteTests();
    // The selected readings, or the current one when none is selected.
    void DeleteReadings();
    // Filters the test list at once; the field shows the same text.
    void SetFilterText(const QString& text);
    // The context menu of the list under `globalPos`; false when the point is over neither list.
    bool ContextMenu(const QPoint& globalPos);

    // Never narrower than set at start; wider when the header or a value needs it.
    static void FitColumns(QTreeView* list);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool AskDelete(const std::string& question);
    bool FilterKey(QKeyEvent* e);
    void ShowTestMenu(const QPoint& globalPos);
    void ShowMeasMenu(const QPoint& globalPos, const QModelIndex& index);

    CTRVView& m_View;
    QAction* m_pDeleteTestsAction;
    QAction* m_pDeleteReadingsAction;
};
