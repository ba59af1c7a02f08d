#pragma once
// The athlete library as the windows share it: the folder of the settings, its index read on a
// worker thread (the window never freezes, a first index shows its progress), and a snapshot of
// the rows the Athleten list shows. Dialogs that need the index itself (the team overview, the
// assignment) borrow it when no refresh runs.
#include "library/LibraryIndex.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One athlete of the list.
struct AthleteRow {
    int entry = -1;
    trv::LibraryEntry info;
    bool hasLast = false;
    std::optional<double> load, change;  // the chosen method's load of the last step test, stored units
    int loadUnit = 0;
    trv::COleDateTime lastDate{0.0, trv::COleDateTime::invalid};
};

class CLibraryService : public QObject {
    Q_OBJECT
public:
    explicit CLibraryService(QObject* parent = nullptr);
    ~CLibraryService() override;

    // The folder (from the settings, or given) and the method the list shows.
    void SetFolder(const QString& folder);
    const QString& Folder() const { return m_strFolder; }
    void SetMethod(const std::string& id);
    const std::string& Method() const { return m_strMethod; }
    void SetChoice(const trv::LibraryChoice& choice);

    // Reads what changed, on the worker thread; a refresh asked for while one runs follows it.
    void Refresh();
    bool Busy() const { return m_bBusy; }
    // Waits for a running refresh (tests, closing).
    void Wait();

    const std::vector<AthleteRow>& Rows() const { return m_Rows; }
    const std::vector<std::string>& Groups() const { return m_Groups; }
    const QString& Error() const { return m_strError; }

    // Runs `work` with the index when no refresh runs (false when one does or the folder failed).
    bool WithIndex(const std::function<void(trv::CLibraryIndex&)>& work);

signals:
    void progress(int done, int total);
    void refreshed();

private:
    void Finished(std::vector<AthleteRow> rows, std::vector<std::string> groups, QString error);

    QString m_strFolder;
    std::string m_strMethod = "ians";
    trv::LibraryChoice m_Choice;
    std::unique_ptr<trv::CLibraryIndex> m_pIndex;
    bool m_bOpen = false;
    std::mutex m_Mutex;  // the index belongs to whoever holds it
    std::thread m_Worker;
    bool m_bBusy = false, m_bAgain = false;
    std::vector<AthleteRow> m_Rows;
    std::vector<std::string> m_Groups;
    QString m_strError;
};
