#include "view/window/EnteredTestActions.h"

#include "data/TrvFile.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/dialogs/ImportDialog.h"
#include "view/dialogs/ManualTestDialog.h"
#include "workspace/TestTransfer.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>

using namespace trv;

CEnteredTestActions::CEnteredTestActions(QWidget* parent, CWorkspace& ws, std::function<void(uint32_t)> refresh)
    : m_pParent(parent), m_Ws(ws), m_Refresh(std::move(refresh)) {}

void CEnteredTestActions::Add(const TestDataType& test, int nameId) {
    uint32_t changes = 0;
    const Result added = m_Ws.AddEnteredTest(test, nameId, changes);
    if (!changes) {
        QMessageBox::warning(m_pParent, QStr(IDS_MT_TITLE), QU8(added.message));
        return;
    }
    m_Refresh(changes);
}

void CEnteredTestActions::ManualTest() {
    CManualTestDialog dlg(m_pParent);
    if (dlg.exec() == QDialog::Accepted) Add(dlg.Test(), IDS_CMD_ENTER_TEST);
}

void CEnteredTestActions::ImportReadings() {
    const QString path =
        QFileDialog::getOpenFileName(m_pParent, QStr(IDS_IMPD_TITLE), QString(), QStr(IDS_IMPD_FILTER));
    if (path.isEmpty()) return;
    std::vector<uint8_t> bytes;
    if (const Result read = ReadWholeFile(path.toStdString(), bytes); !read) {
        QMessageBox::warning(m_pParent, QStr(IDS_IMPD_TITLE),
                             QU8(FmtId(IDS_IMPD_CANNOT_READ, path.toStdString().c_str()) + " " + read.message));
        return;
    }
    ImportText(std::string(bytes.begin(), bytes.end()));
}

void CEnteredTestActions::PasteReadings() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    // Whole tests copied in a window of this program: they arrive as they were.
    if (mime && mime->hasFormat(QString::fromLatin1(kTestsMimeType))) {
        const QByteArray data = mime->data(QString::fromLatin1(kTestsMimeType));
        PasteTests(std::vector<uint8_t>(data.begin(), data.end()));
        return;
    }
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        QMessageBox::information(m_pParent, QStr(IDS_IMPD_TITLE), QStr(IDS_IMPD_NOTHING_TO_PASTE));
        return;
    }
    ImportText(text.toStdString());
}

void CEnteredTestActions::PasteTests(const std::vector<uint8_t>& bytes) {
    std::string message;
    std::vector<std::string> refusals;
    const uint32_t changes = m_Ws.PasteTests(bytes, message, refusals);
    if (changes) m_Refresh(changes);
    if (!refusals.empty()) {
        std::string text = LoadStr(IDS_CLIP_REFUSED);
        for (const std::string& r : refusals) text += "\n\n" + r;
        if (!message.empty()) text += "\n\n" + message;
        QMessageBox::warning(m_pParent, QStr(IDS_EDIT_PASTE).remove(QLatin1Char('&')), QU8(text));
    } else if (!changes) {
        QMessageBox::information(m_pParent, QStr(IDS_EDIT_PASTE).remove(QLatin1Char('&')), QU8(message));
    }
    if (m_Status && !message.empty()) m_Status(QU8(message));
}

void CEnteredTestActions::ImportText(const std::string& bytes) {
    CImportDialog dlg(m_pParent);
    if (const Result loaded = dlg.Load(bytes); !loaded) {
        QMessageBox::warning(m_pParent, QStr(IDS_IMPD_TITLE), QU8(loaded.message));
        return;
    }
    if (dlg.exec() == QDialog::Accepted) Add(dlg.Test(), IDS_CMD_IMPORT_TEST);
}
