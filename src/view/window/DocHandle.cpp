#include "view/window/DocHandle.h"

#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/window/DocSafety.h"

#include <QFileInfo>

int CDocHandle::s_nUntitledCount = 0;

CDocHandle::CDocHandle(QObject* parent)
    : QObject(parent), m_pRecovery(new CRecoveryKeeper(this)), m_nUntitled(++s_nUntitledCount) {}

QString CDocHandle::Title() const {
    // The file's name as the user knows it, also when it is not UTF-8 (an old Windows share).
    QString name = m_doc.GetPathName().empty() ? QString::fromStdString(trv::FmtId(trv::IDS_NEW_TITLE, m_nUntitled))
                                               : docsafety::DisplayName(m_doc.GetPathName());
    if (m_bReadOnly) name = trv::QU8(trv::FmtId(trv::IDS_READONLY_TITLE, name.toStdString().c_str()));
    return name;
}

void CDocHandle::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    emit titleChanged();
}

void CDocHandle::SetModified(bool modified) {
    if (modified)
        m_History.SetDirty();
    else
        m_History.SetClean();
    EmitModified();
}

void CDocHandle::EmitModified() {
    const bool modified = IsModified();
    m_doc.SetModifiedFlag(modified);
    if (modified == m_bShownModified) return;
    m_bShownModified = modified;
    emit modifiedChanged(modified);
}

void CDocHandle::UpdateAllViews(QObject* sender) {
    EmitModified();
    emit documentChanged(sender);
}
