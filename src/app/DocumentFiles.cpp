// Opening and saving a document window's file: its lock (who else edits it decides whether this window may
// save over it), the question when another program changed it, write-protected files, names that are not
// UTF-8, and readings whose time the file's layout cannot hold.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/RecentFiles.h"
#include "data/DocLock.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/window/DocHandle.h"
#include "view/window/DocSafety.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

using namespace trv;

namespace {

QString TrvFilter() { return QStr(IDS_TRV_FILTER) + QStringLiteral(";;") + QStr(IDS_ALL_FILES); }

}  // namespace

bool CMainFrame::OpenDocument(const QString& path) {
    return OpenDocumentPath(docsafety::PathBytes(QFileInfo(path).absoluteFilePath()));
}

bool CMainFrame::OpenDocumentPath(const std::string& bytes) {
    std::string abs = bytes;
    if (!abs.empty() && abs[0] != '/') abs = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + abs;
    // A file that is open already is only brought to the front.
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) {
        auto* f = static_cast<CChildFrame*>(w);
        if (!f->Doc()->Doc().GetPathName().empty() && f->Doc()->Doc().GetPathName() == abs) {
            m_pMdi->setActiveSubWindow(w);
            return true;
        }
    }
    auto* doc = new CDocHandle(this);
    // The lock first: who else edits the file decides whether this window may save over it.
    if (!TakeLock(doc, abs, true)) {
        delete doc;
        return false;
    }
    FileResult r = LoadDocument(abs, doc->Doc());
    if (!r.ok) {
        delete doc;
        QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.message));
        return false;
    }
    AddFrame(doc);
    doc->SetModified(false);
    CRecentFiles::Add(QFile::decodeName(QByteArray::fromStdString(abs)));
    UpdateTitles();
    return true;
}

bool CMainFrame::TakeLock(CDocHandle* doc, const std::string& path, bool opening) {
    const CDocLock::Result r = doc->Lock().Acquire(path);
    if (r.Taken()) {
        doc->SetReadOnly(false);
        return true;
    }
    // No lock can be made there (a read-only medium): nobody else can lock it either.
    if (r.status == CDocLock::Status::Error) return true;
    if (!opening) {
        QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.Message()));
        return false;
    }
    switch (docsafety::AskLockedDocument(this, r.holder)) {
        case docsafety::LockChoice::ReadOnly:
            doc->SetReadOnly(true);
            return true;
        case docsafety::LockChoice::EditAnyway:
            doc->Lock().TakeOver(path);
            doc->SetReadOnly(false);
            return true;
        case docsafety::LockChoice::Cancel:
            break;
    }
    return false;
}

void CMainFrame::OnOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), TrvFilter());
    if (!path.isEmpty()) OpenDocument(path);
}

bool CMainFrame::SaveDocument(CDocHandle* doc, bool saveAs) {
    std::string path = doc->Doc().GetPathName();
    const bool samePath = !saveAs && !path.empty();
    if (samePath && doc->IsReadOnly()) {
        // Another holds the file: this window saves only under another name.
        const std::string name = docsafety::DisplayName(path).toStdString();
        if (!docsafety::OfferSaveAs(this, QU8(FmtId(IDS_READONLY_NO_SAVE, name.c_str())))) return false;
        return SaveDocument(doc, true);
    }
    if (!samePath) {
        QString suggestion = doc->Title() + QStringLiteral(".trv");
        if (!path.empty())
            suggestion = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).absolutePath() +
                         QLatin1Char('/') + docsafety::DisplayName(path);
        QFileDialog dlg(this, QString(), suggestion, TrvFilter());
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(QStringLiteral("trv"));
        dlg.selectFile(suggestion);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
        path = docsafety::PathBytes(dlg.selectedFiles().first());
    }
    // Saving under another name takes that file's lock; the old one is given up once saved.
    CDocLock newLock;
    if (path != doc->Doc().GetPathName() || (!doc->Lock().Held() && doc->IsReadOnly())) {
        const CDocLock::Result r = newLock.Acquire(path);
        if (r.status == CDocLock::Status::HeldByOther) {
            QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.Message()));
            return false;
        }
    }
    // Changed by another program since this window read or last wrote it: ask before overwriting
    // (a file that is gone has nothing to lose).
    const FileIdentity onDisk = FileIdentity::Of(path);
    if (path == doc->Doc().GetPathName() && onDisk.exists && onDisk != doc->Doc().m_DiskIdentity) {
        switch (docsafety::AskChangedOnDisk(this, doc->Title())) {
            case docsafety::ChangedChoice::Overwrite:
                break;
            case docsafety::ChangedChoice::SaveAs:
                return SaveDocument(doc, true);
            case docsafety::ChangedChoice::Cancel:
                return false;
        }
    }
    const std::string moved = MovedReadingsText(ReadingsMovedByLayout(doc->Doc()));
    FileResult r = trv::SaveDocument(doc->Doc(), path);
    if (!r.ok) {
        // A write-protected file stays as it is; another name is offered.
        if (r.writeProtected) return docsafety::OfferSaveAs(this, QU8(r.message)) && SaveDocument(doc, true);
        QMessageBox::warning(this, QApplication::applicationDisplayName(), QU8(r.message));
        return false;
    }
    if (newLock.Held()) {
        doc->Lock() = std::move(newLock);
        doc->SetReadOnly(false);
    }
    doc->SetModified(false);
    doc->PathChanged();
    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    CRecentFiles::Add(QFileInfo(shown).absoluteFilePath());
    UpdateTitles();
    ShowStatusMessage(QU8(FmtId(IDS_STATUS_SAVED, QDir::toNativeSeparators(shown).toStdString().c_str())));
    if (!moved.empty()) QMessageBox::information(this, QApplication::applicationDisplayName(), QU8(moved));
    return true;
}

bool CMainFrame::SaveModified(CDocHandle* doc) {
    if (!doc->IsModified()) return true;
    QMessageBox::StandardButton b = QMessageBox::question(
        this, QApplication::applicationDisplayName(), QU8(FmtId(IDS_SAVE_CHANGES, doc->Title().toStdString().c_str())),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (b == QMessageBox::Cancel) return false;
    if (b == QMessageBox::No) return true;
    return SaveDocument(doc, false);
}
