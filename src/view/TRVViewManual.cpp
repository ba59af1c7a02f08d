// Tests that did not come from the analyser: typed in, imported from a file or pasted.
#include "ImportDialog.h"
#include "ManualTestDialog.h"
#include "QtText.h"
#include "TRVView.h"
#include "TrvFile.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

using namespace trv;

void CTRVView::AddEnteredTest(const TestDataType& test, int nameId) {
    std::string error;
    const uint32_t changes = m_Ws.AddEnteredTest(test, nameId, &error);
    if (!changes) {
        QMessageBox::warning(this, QStr(IDS_MT_TITLE), QU8(error));
        return;
    }
    Refresh(changes);
}

void CTRVView::OnManualTest() {
    CManualTestDialog dlg(this);
    if (dlg.exec() == QDialog::Accepted) AddEnteredTest(dlg.Test(), IDS_CMD_ENTER_TEST);
}

void CTRVView::OnImportReadings() {
    const QString path = QFileDialog::getOpenFileName(this, QStr(IDS_IMPD_TITLE), QString(), QStr(IDS_IMPD_FILTER));
    if (path.isEmpty()) return;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(path.toStdString(), bytes, why)) {
        QMessageBox::warning(this, QStr(IDS_IMPD_TITLE),
                             QU8(FmtId(IDS_IMPD_CANNOT_READ, path.toStdString().c_str()) + " " + why));
        return;
    }
    ImportText(std::string(bytes.begin(), bytes.end()));
}

void CTRVView::OnPasteReadings() {
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        QMessageBox::information(this, QStr(IDS_IMPD_TITLE), QStr(IDS_IMPD_NOTHING_TO_PASTE));
        return;
    }
    ImportText(text.toStdString());
}

void CTRVView::ImportText(const std::string& bytes) {
    CImportDialog dlg(this);
    std::string error;
    if (!dlg.Load(bytes, error)) {
        QMessageBox::warning(this, QStr(IDS_IMPD_TITLE), QU8(error));
        return;
    }
    if (dlg.exec() == QDialog::Accepted) AddEnteredTest(dlg.Test(), IDS_CMD_IMPORT_TEST);
}
