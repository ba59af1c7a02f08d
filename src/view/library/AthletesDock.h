#pragma once
// "Athleten": the dock of the main window with the library's athletes. A search field (name parts,
// birth year, group; as you type), the group tree, and a sortable list; Enter or a double-click
// opens the athlete's document, "Neuer Athlet..." makes one, "Teamübersicht..." shows the team.
#include <QAbstractTableModel>
#include <QDockWidget>

#include <vector>

class CLibraryService;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTreeWidget;

class CAthleteListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColLast,
        ColFirst,
        ColBirth,
        ColGroup,
        ColTests,
        ColLastTest,
        ColThreshold,
        ColChange,
        ColNote,
        ColCount
    };
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int PathRole = Qt::UserRole + 2;

    explicit CAthleteListModel(CLibraryService* service, QObject* parent = nullptr);
    // Shows the rows of the service whose entries are `entries`.
    void SetEntries(const std::vector<int>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CLibraryService* m_pService;
    std::vector<int> m_Rows;  // into the service's rows
};

class CAthletesDock : public QDockWidget {
    Q_OBJECT
public:
    CAthletesDock(CLibraryService* service, QWidget* parent = nullptr);

    // The paths of the athletes the list shows now, and of the selected ones (absolute).
    QStringList ShownPaths() const;
    QStringList SelectedPaths() const;
    // The group chosen in the tree ("" for all).
    QString CurrentGroup() const;

    QLineEdit* m_pSearch;
    QTreeWidget* m_pGroups;
    QTableView* m_pList;
    QProgressBar* m_pProgress;
    QLabel* m_pMessage;
    QPushButton* m_pNew;
    QPushButton* m_pTeam;

signals:
    void openRequested(const QString& path);
    void newAthleteRequested(const QString& group);
    void teamRequested(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void FillGroups();
    void OpenCurrent();

    CLibraryService* m_pService;
    CAthleteListModel* m_pModel;
    QSortFilterProxyModel* m_pProxy;
};
