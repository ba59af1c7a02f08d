#pragma once
// "Tests zuordnen...": one row per selected test (date, time, type, steps, highest lactate) with an
// athlete field that completes names from the library; Enter goes to the next row, so that a team of
// twenty is assigned with the keyboard alone. OK copies each test into its athlete's document.
#include "library/Assignment.h"

#include <QDialog>

#include <functional>
#include <map>
#include <vector>

class CLibraryService;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace trv {
class CWorkspace;
}

// What the dialog needs of the program's windows.
struct AssignWindows {
    trv::CWorkspace* source = nullptr;  // the window the tests come from
    // The workspace of a window that holds the document `path` (null: none).
    std::function<trv::CWorkspace*(const std::string& path)> workspaceOf;
    // A window's workspace ran a command: the window refreshes what it changed.
    std::function<void(trv::CWorkspace*, uint32_t changes)> refresh;
    // Asks for a new athlete's data ("Benutzerdaten"); false when cancelled.
    std::function<bool(trv::UserDataType&)> askAthlete;
};

class CAssignDialog : public QDialog {
    Q_OBJECT
public:
    CAssignDialog(CLibraryService* service, AssignWindows windows, std::vector<int> tests, const QString& group,
                  QWidget* parent = nullptr);

    QTableWidget* m_pTable;
    std::vector<QLineEdit*> m_Athletes;  // one per row
    QPushButton* m_pNew;
    QLabel* m_pError;

    // The completion texts and the documents they stand for (for tests).
    const std::map<QString, std::string>& Known() const { return m_Known; }

public slots:
    void accept() override;

protected:
    // Enter in an athlete field goes to the next test; it is not the dialog's OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NewAthlete();
    // `finish`: Enter on the last field means OK.
    void Next(int row, bool finish = true);

    CLibraryService* m_pService;
    AssignWindows m_Windows;
    std::vector<int> m_Tests;
    QString m_strGroup;
    std::map<QString, std::string> m_Known;                              // completion text -> document path
    std::map<QString, std::pair<std::string, trv::UserDataType>> m_New;  // new athletes
};
