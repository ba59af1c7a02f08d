#pragma once
// "Teamübersicht": one row per athlete with the last step test (or the last before a chosen date),
// the chosen methods and the zones; sortable, copyable, printed, previewed, saved as PDF and CSV.
#include "library/TeamOverview.h"

#include <QDialog>

class CLibraryService;
class QCheckBox;
class QDateEdit;
class QPushButton;
class QTableWidget;

class CTeamDialog : public QDialog {
    Q_OBJECT
public:
    // `files`: the athletes' documents (relative to the library folder or absolute).
    CTeamDialog(CLibraryService* service, const QStringList& files, QWidget* parent = nullptr);

    const trv::TeamTable& Table() const { return m_Table; }
    // The table's text as the clipboard gets it: tab separated, one line per row.
    QString CopyText() const;
    // The overview as a PDF or CSV file; a failure says why in German.
    trv::Result SavePdf(const QString& path) const;
    trv::Result SaveCsv(const QString& path) const;

    QTableWidget* m_pTable;
    QCheckBox* m_pBefore;
    QDateEdit* m_pDate;
    QPushButton *m_pCopy, *m_pPrint, *m_pPreview, *m_pPdf, *m_pCsv;

private:
    void Build();

    CLibraryService* m_pService;
    QStringList m_Files;
    trv::TeamTable m_Table;
};
