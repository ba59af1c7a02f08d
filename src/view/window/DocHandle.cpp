#include "view/window/DocHandle.h"

#include "res/StringIds.h"
#include "view/QtText.h"

#include <QFileInfo>

int CDocHandle::s_nUntitledCount = 0;

CDocHandle::CDocHandle(QObject* parent) : QObject(parent), m_nUntitled(++s_nUntitledCount) {}

QString CDocHandle::Title() const {
    if (!m_doc.GetPathName().empty()) return QFileInfo(PathName()).fileName();
    return QString::fromStdString(trv::FmtId(trv::IDS_NEW_TITLE, m_nUntitled));
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
