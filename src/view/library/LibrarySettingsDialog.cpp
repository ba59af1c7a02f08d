#include "view/library/LibrarySettingsDialog.h"

#include "analysis/ThresholdMethods.h"
#include "library/LibraryFolder.h"
#include "view/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace trv;

CLibrarySettingsDialog::CLibrarySettingsDialog(const QString& folder, const std::string& method, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStr(IDS_LIBGUI_SETTINGS_TITLE));
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* row = new QHBoxLayout;
    m_pFolder = new QLineEdit(folder, this);
    m_pFolder->setMinimumWidth(360);
    auto* choose = new QPushButton(QStr(IDS_LIBGUI_SETTINGS_CHOOSE), this);
    row->addWidget(m_pFolder, 1);
    row->addWidget(choose);
    form->addRow(QStr(IDS_LIBGUI_SETTINGS_FOLDER), row);
    m_pMethod = new QComboBox(this);
    for (const MethodInfo& m : MethodCatalogue()) {
        m_pMethod->addItem(QStr(m.label), QString::fromLatin1(m.id));
        if (method == m.id) m_pMethod->setCurrentIndex(m_pMethod->count() - 1);
    }
    form->addRow(QStr(IDS_LIBGUI_SETTINGS_METHOD), m_pMethod);
    v->addLayout(form);
    auto* hint = new QLabel(QStr(IDS_LIBGUI_SETTINGS_HINT), this);
    hint->setWordWrap(true);
    v->addWidget(hint);
    m_pError = new QLabel(this);
    m_pError->setWordWrap(true);
    m_pError->setStyleSheet(QStringLiteral("color: #a00000"));
    m_pError->hide();
    v->addWidget(m_pError);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLibrarySettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStr(IDS_LIBGUI_SETTINGS_TITLE), m_pFolder->text());
        if (!dir.isEmpty()) m_pFolder->setText(dir);
    });
}

QString CLibrarySettingsDialog::Folder() const { return QDir::cleanPath(m_pFolder->text().trimmed()); }

std::string CLibrarySettingsDialog::Method() const { return m_pMethod->currentData().toString().toStdString(); }

void CLibrarySettingsDialog::accept() {
    // A folder that is missing, unreadable or not a folder is refused with the reason.
    if (const Result usable = CheckLibraryFolder(Folder().toStdString()); !usable) {
        m_pError->setText(QU8(usable.message));
        m_pError->show();
        return;
    }
    QDialog::accept();
}
