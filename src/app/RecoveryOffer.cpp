// The start after a crash: each recovery copy whose program is gone is offered by its document's
// name and time, to restore, discard or keep for later.
#include "app/MainFrame.h"
#include "data/Recovery.h"
#include "view/QtText.h"
#include "view/window/DocHandle.h"
#include "view/window/DocSafety.h"

#include <QApplication>
#include <QMessageBox>

using namespace trv;

int CMainFrame::OfferRecovery() {
    const CRecoveryStore store = CRecoveryKeeper::Store();
    int restored = 0;
    for (const RecoveryEntry& e : store.List()) {
        switch (docsafety::AskRecovery(this, e)) {
            case docsafety::RecoveryChoice::Restore: {
                auto* doc = new CDocHandle(this);
                std::string error;
                if (!store.Restore(e, doc->Doc(), error)) {
                    delete doc;
                    QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(error));
                    break;
                }
                // Its file may be open elsewhere by now: the same question as on opening.
                const std::string path = doc->Doc().GetPathName();
                if (!path.empty() && !TakeLock(doc, path, true)) {
                    delete doc;  // the copy stays for a later start
                    break;
                }
                AddFrame(doc);
                doc->SetModified(true);
                doc->UpdateAllViews(nullptr);
                // The window's own copy exists before the old one goes.
                doc->Recovery()->WriteNow();
                store.Remove(e.key);
                ++restored;
                break;
            }
            case docsafety::RecoveryChoice::Discard:
                store.Remove(e.key);
                break;
            case docsafety::RecoveryChoice::Later:
                break;
        }
    }
    return restored;
}
