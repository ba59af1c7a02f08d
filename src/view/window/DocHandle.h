#pragma once
// One open document as the windows share it: the document itself, its command history (the undo
// stack; whether the document is modified follows from it), its title and the signals that keep
// every window on it up to date.
#include "data/TRVDoc.h"
#include "workspace/Command.h"
#include "workspace/TestAnalyses.h"

#include <QObject>
#include <QString>

#include <memory>

class CDocHandle : public QObject {
    Q_OBJECT
public:
    explicit CDocHandle(QObject* parent = nullptr);

    trv::CTRVDoc& Doc() { return m_doc; }
    const trv::CTRVDoc& Doc() const { return m_doc; }
    trv::CCommandHistory& History() { return m_History; }
    // The tests' fitting choices and results, shared by the windows' workspaces (and by the
    // commands in the history that change a choice).
    const std::shared_ptr<trv::CTestAnalyses>& Analyses() const { return m_pAnalyses; }

    // The window title: the file name, or "TRV1", "TRV2" ... for a document never saved.
    QString Title() const;
    QString PathName() const { return QString::fromStdString(m_doc.GetPathName()); }

    // False: the current state is the one saved (or loaded), the clean mark of the history. True:
    // the document changed outside the history, and no undo leads back to the saved state.
    void SetModified(bool modified = true);
    bool IsModified() const { return !m_History.IsClean(); }

    // A window ran a command, an undo or a redo: every other window on this document refreshes, and
    // the modified marker follows the history.
    void UpdateAllViews(QObject* sender);
    // After a load or save: the path (and so the title) may have changed.
    void PathChanged() { emit titleChanged(); }

signals:
    void modifiedChanged(bool modified);
    void titleChanged();
    void documentChanged(QObject* sender);

private:
    void EmitModified();

    trv::CTRVDoc m_doc;
    trv::CCommandHistory m_History;
    std::shared_ptr<trv::CTestAnalyses> m_pAnalyses = std::make_shared<trv::CTestAnalyses>();
    bool m_bShownModified = false;
    int m_nUntitled = 0;
    static int s_nUntitledCount;
};
