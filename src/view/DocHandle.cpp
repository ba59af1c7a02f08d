#include "DocHandle.h"

#include "QtText.h"
#include "StringIds.h"

#include <QFileInfo>

int CDocHandle::s_nUntitledCount = 0;

CDocHandle::CDocHandle(QObject* parent) : QObject(parent), m_nUntitled(++s_nUntitledCount) {}

QString CDocHandle::Title() const {
    if (!m_doc.GetPathName().empty()) return QFileInfo(PathName()).fileName();
    return QString::fromStdString(trv::FmtId(trv::IDS_NEW_TITLE, m_nUntitled));
}

void CDocHandle::SetModified(bool modified) {
    bool was = m_doc.IsModified();
    m_doc.SetModifiedFlag(modified);
    if (was != modified) emit modifiedChanged(modified);
}

void CDocHandle::UpdateAllViews(CTRVView* sender) { emit documentChanged(sender); }
