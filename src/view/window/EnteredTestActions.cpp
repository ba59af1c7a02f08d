#include "view/window/EnteredTestActions.h"

#include "data/TrvFile.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/dialogs/ImportDialog.h"
#include "view/dialogs/ManualTestDialog.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

using namespace trv;

CEnteredTestActions::CEnteredTestActions(QWidget* parent, CWorkspace& ws, std::function<void(uint32_t)> refresh)
    : m_pParent(parent), m_Ws(ws), m_Refresh(std::move(refresh)) {}

void CEnteredTestActions::Add(const TestDataType& test, int nameId) {
    std::string error;
    const uint32_t changes = m_Ws.AddEnteredTest(test, nameId, &error);
    if (!changes) {
        QMessageBox::warning(m_pParent, QStr(IDS_MT_TITLE), QU8(error));
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
    std::string why;
    if (!ReadWholeFile(path.toStdString(), bytes, why)) {
        QMessageBox::warning(m_pParent, QStr(IDS_IMPD_TITLE),
                             QU8(FmtId(IDS_IMPD_CANNOT_READ, path.toStdString().c_str()) + " " + why));
        return;
    }
    ImportText(std::string(bytes.begin(), bytes.end()));
}

void CEnteredTestActions::PasteReadings() {
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        QMessageBox::information(m_pParent, QStr(IDS_IMPD_TITLE), QStr(IDS_IMPD_NOTHING_TO_PASTE));
        return;
    }
    ImportText(text.toStdString());
}

void CEnteredTestActions::ImportText(const std::string& bytes) {
    CImportDialog dlg(m_pParent);
    std::string error;
    if (!dlg.Load(bytes, error)) {
        QMessageBox::warning(m_pParent, QStr(IDS_IMPD_TITLE), QU8(error));
        return;
    }
    if (dlg.exec() == QDialog::Accepted) Add(dlg.Test(), IDS_CMD_IMPORT_TEST);
}
