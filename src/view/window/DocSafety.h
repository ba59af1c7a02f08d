#pragma once
// What keeps a document window from losing or overwriting work: the questions on opening a locked
// document and on saving over a file changed by another program, the recovery copy a window with
// unsaved changes keeps, and the offer of copies left by a crash.
#include "data/DocLock.h"
#include "data/Recovery.h"

#include <QObject>
#include <QString>

#include <string>

class QTimer;
class QWidget;
class CDocHandle;

namespace docsafety {

enum class LockChoice { ReadOnly, EditAnyway, Cancel };
// "Die Datei wird bereits von ... bearbeitet (seit ...)." with "Schreibgeschützt öffnen",
// "Trotzdem bearbeiten" and "Abbrechen".
LockChoice AskLockedDocument(QWidget* parent, const trv::LockHolder& holder);

enum class ChangedChoice { Overwrite, SaveAs, Cancel };
// "Die Datei wurde seit dem Öffnen außerhalb des Programms geändert." with "Überschreiben",
// "Speichern unter..." and "Abbrechen".
ChangedChoice AskChangedOnDisk(QWidget* parent, const QString& title);

// "Die Datei ist schreibgeschützt." (or why a read-only window does not save over its file), with
// "Speichern unter..." and "Abbrechen": true when the user chose to save under another name.
bool OfferSaveAs(QWidget* parent, const QString& text);

// An unmodified window whose file changed on disk: true when the user wants it reloaded.
bool AskReload(QWidget* parent, const QString& title);

enum class RecoveryChoice { Restore, Discard, Later };
// One copy left by a crash, named with its document and time.
RecoveryChoice AskRecovery(QWidget* parent, const trv::RecoveryEntry& entry);

// A file name for the user: the path's last part, decoded as UTF-8, or as Latin-1 where it is not
// UTF-8 (a name from an old Windows share).
QString DisplayName(const std::string& path);
// The bytes of a path chosen in a dialog. A name that is not UTF-8 reaches Qt with replacement
// characters; the folder's entry that reads the same is taken then.
std::string PathBytes(const QString& path);

// Seconds from a change to the recovery copy: 30, or TRV_RECOVERY_SECONDS (tests).
int RecoveryDelaySeconds();

}  // namespace docsafety

// Keeps the recovery copy of one document: written within RecoveryDelaySeconds() of a change while
// the document is modified (and at once when asked, after a download), removed when the document
// becomes clean (saved) and when the keeper ends (the document closed).
class CRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    explicit CRecoveryKeeper(CDocHandle* doc);
    ~CRecoveryKeeper() override;

    void WriteNow();
    void Remove();
    const std::string& Key() const { return m_key; }
    static trv::CRecoveryStore Store();

private:
    void OnChanged();
    CDocHandle* m_pDoc;
    QTimer* m_pTimer;
    std::string m_key;
    bool m_bWritten = false;
};
