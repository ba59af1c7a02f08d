#include "view/window/DocSafety.h"

#include "res/Format.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/window/DocHandle.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <dirent.h>

#include <cstdlib>

using namespace trv;

namespace docsafety {

namespace {

// A question box with our own buttons; returns the index of the button pressed (the last when
// the box is closed otherwise).
int Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text, const std::vector<int>& buttonIds) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::NoButton, parent);
    std::vector<QPushButton*> buttons;
    for (size_t i = 0; i < buttonIds.size(); ++i) {
        const bool last = i + 1 == buttonIds.size();
        buttons.push_back(box.addButton(QStr(buttonIds[i]), last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
    return static_cast<int>(buttons.size()) - 1;
}

bool ValidUtf8(const std::string& s) {
    const QByteArray bytes(s.data(), static_cast<qsizetype>(s.size()));
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

}  // namespace

LockChoice AskLockedDocument(QWidget* parent, const LockHolder& holder) {
    switch (Ask(parent, QMessageBox::Warning, QU8(holder.Message()),
                {IDS_LOCK_OPEN_READONLY, IDS_LOCK_EDIT_ANYWAY, IDS_BUTTON_CANCEL})) {
        case 0:
            return LockChoice::ReadOnly;
        case 1:
            return LockChoice::EditAnyway;
        default:
            return LockChoice::Cancel;
    }
}

ChangedChoice AskChangedOnDisk(QWidget* parent, const QString& title) {
    const QString text = title + QStringLiteral("\n\n") + QStr(IDS_DISK_CHANGED);
    switch (Ask(parent, QMessageBox::Warning, text, {IDS_DISK_OVERWRITE, IDS_BUTTON_SAVE_AS, IDS_BUTTON_CANCEL})) {
        case 0:
            return ChangedChoice::Overwrite;
        case 1:
            return ChangedChoice::SaveAs;
        default:
            return ChangedChoice::Cancel;
    }
}

bool OfferSaveAs(QWidget* parent, const QString& text) {
    return Ask(parent, QMessageBox::Warning, text, {IDS_BUTTON_SAVE_AS, IDS_BUTTON_CANCEL}) == 0;
}

bool AskReload(QWidget* parent, const QString& title) {
    return Ask(parent, QMessageBox::Question, QU8(FmtId(IDS_DISK_RELOAD, title.toStdString().c_str())),
               {IDS_DISK_RELOAD_BUTTON, IDS_DISK_KEEP_BUTTON}) == 0;
}

RecoveryChoice AskRecovery(QWidget* parent, const RecoveryEntry& entry) {
    const std::string name = entry.title.empty() ? DisplayName(entry.docPath).toStdString() : entry.title;
    const QString text = QU8(FmtId(IDS_RECOVERY_ASK, name.c_str(), RecoveryTimeText(entry.written).c_str()));
    switch (
        Ask(parent, QMessageBox::Question, text, {IDS_RECOVERY_RESTORE, IDS_RECOVERY_DISCARD, IDS_RECOVERY_LATER})) {
        case 0:
            return RecoveryChoice::Restore;
        case 1:
            return RecoveryChoice::Discard;
        default:
            return RecoveryChoice::Later;
    }
}

QString DisplayName(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const QByteArray bytes(base.data(), static_cast<qsizetype>(base.size()));
    return ValidUtf8(base) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

std::string PathBytes(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    std::string bytes(encoded.constData(), static_cast<size_t>(encoded.size()));
    if (!path.contains(QChar::ReplacementCharacter) || QFileInfo::exists(path)) return bytes;
    const QFileInfo info(path);
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    // Qt lists such names decoded with replacement characters: compare each raw entry's decoding.
    if (DIR* raw = ::opendir(dir.constData())) {
        while (const dirent* e = ::readdir(raw)) {
            const QByteArray name(e->d_name);
            if (QString::fromUtf8(name) == info.fileName() || QString::fromLocal8Bit(name) == info.fileName()) {
                bytes = std::string(dir.constData(), static_cast<size_t>(dir.size())) + "/" + e->d_name;
                break;
            }
        }
        ::closedir(raw);
    }
    return bytes;
}

int RecoveryDelaySeconds() {
    if (const char* v = std::getenv("TRV_RECOVERY_SECONDS"); v && std::atoi(v) > 0) return std::atoi(v);
    return 30;
}

}  // namespace docsafety

// ---- recovery copy of one document ----------------------------------------------------------------

CRecoveryKeeper::CRecoveryKeeper(CDocHandle* doc)
    : QObject(doc), m_pDoc(doc), m_pTimer(new QTimer(this)), m_key(CRecoveryStore::NewKey()) {
    m_pTimer->setSingleShot(true);
    m_pTimer->setInterval(docsafety::RecoveryDelaySeconds() * 1000);
    connect(m_pTimer, &QTimer::timeout, this, &CRecoveryKeeper::WriteNow);
    connect(doc, &CDocHandle::documentChanged, this, &CRecoveryKeeper::OnChanged);
    connect(doc, &CDocHandle::modifiedChanged, this, [this](bool modified) {
        if (modified)
            OnChanged();
        else
            Remove();  // saved: the file holds it all
    });
}

CRecoveryKeeper::~CRecoveryKeeper() { Remove(); }

CRecoveryStore CRecoveryKeeper::Store() { return CRecoveryStore(); }

void CRecoveryKeeper::OnChanged() {
    // Within the delay of the first change not yet copied; later changes do not push it back.
    if (m_pDoc->IsModified() && !m_pTimer->isActive()) m_pTimer->start();
}

void CRecoveryKeeper::WriteNow() {
    m_pTimer->stop();
    if (!m_pDoc->IsModified()) return;
    const Result written = Store().Write(m_key, m_pDoc->Doc(), m_pDoc->Title().toStdString());
    if (written) {
        m_bWritten = true;
        return;
    }
    // Not worth interrupting the work for; the status bar says it.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* bar = w->findChild<QStatusBar*>())
            bar->showMessage(QU8(FmtId(IDS_RECOVERY_FAILED, written.message.c_str())), 10000);
}

void CRecoveryKeeper::Remove() {
    m_pTimer->stop();
    if (!m_bWritten) return;
    Store().Remove(m_key);
    m_bWritten = false;
}
