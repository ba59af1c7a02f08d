// The start after a crash: each recovery copy whose program is gone is offered by its document's
// name and time, to restore, discard or keep for later. And the reload of a file changed on disk.
#include "app/MainFrame.h"
#include "data/Recovery.h"
#include "data/TrvFile.h"
#include "view/QtText.h"
#include "view/window/DocHandle.h"
#include "view/window/DocSafety.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

using namespace trv;

int CMainFrame::OfferRecovery() {
    const CRecoveryStore store = CRecoveryKeeper::Store();
    int restored = 0;
    for (const RecoveryEntry& e : store.List()) {
        switch (docsafety::AskRecovery(this, e)) {
            case docsafety::RecoveryChoice::Restore: {
                auto* doc = new CDocHandle(this);
                if (const Result restored = store.Restore(e, doc->Doc()); !restored) {
                    delete doc;
                    QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(restored.message));
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

// An unmodified window whose file another program changed offers to reload it, once per change.
void CMainFrame::CheckFilesOnDisk() {
    if (m_bCheckingDisk || QApplication::activeModalWidget()) return;
    m_bCheckingDisk = true;
    for (CDocHandle* doc : std::vector<CDocHandle*>(m_docs)) {
        const std::string& path = doc->Doc().GetPathName();
        if (path.empty() || doc->IsModified()) continue;
        const FileIdentity now = FileIdentity::Of(path);
        if (!now.exists || now == doc->Doc().m_DiskIdentity) continue;
        auto asked = m_askedIdentity.find(doc);
        if (asked != m_askedIdentity.end() && asked->second == now) continue;
        m_askedIdentity[doc] = now;
        if (!docsafety::AskReload(this, doc->Title())) continue;
        CTRVDoc fresh;
        const FileResult r = LoadDocument(path, fresh);
        if (!r.ok) {
            QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.message));
            continue;
        }
        fresh.m_DeletedIds = doc->Doc().m_DeletedIds;
        doc->Doc() = std::move(fresh);
        doc->History() = CCommandHistory();
        doc->SetModified(false);
        doc->UpdateAllViews(nullptr);
        m_askedIdentity.erase(doc);
    }
    for (auto it = m_askedIdentity.begin(); it != m_askedIdentity.end();)
        it = std::find(m_docs.begin(), m_docs.end(), it->first) == m_docs.end() ? m_askedIdentity.erase(it) : ++it;
    m_bCheckingDisk = false;
}
