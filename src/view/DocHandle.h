#pragma once
// One open document as the windows share it: the document itself, its title and the signals that
// keep every window on it up to date.
#include "TRVDoc.h"

#include <QObject>
#include <QString>

class CTRVView;

class CDocHandle : public QObject {
    Q_OBJECT
public:
    explicit CDocHandle(QObject* parent = nullptr);

    trv::CTRVDoc& Doc() { return m_doc; }
    const trv::CTRVDoc& Doc() const { return m_doc; }

    // The window title: the file name, or "TRV1", "TRV2" ... for a document never saved.
    QString Title() const;
    QString PathName() const { return QString::fromStdString(m_doc.GetPathName()); }

    void SetModified(bool modified = true);
    bool IsModified() const { return m_doc.IsModified(); }

    // Tells every other window on this document that the records changed (they refill their lists).
    void UpdateAllViews(CTRVView* sender);
    // After a load or save: the path (and so the title) may have changed.
    void PathChanged() { emit titleChanged(); }

signals:
    void modifiedChanged(bool modified);
    void titleChanged();
    void documentChanged(CTRVView* sender);

private:
    trv::CTRVDoc m_doc;
    int m_nUntitled = 0;
    static int s_nUntitledCount;
};
