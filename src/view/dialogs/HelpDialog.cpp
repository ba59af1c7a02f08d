#include "view/dialogs/HelpDialog.h"

#include "res/StringIds.h"
#include "view/QtText.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpDialog::CHelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(trv::QStr(trv::IDS_HELP_TITLE));
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(true);
    m_pBrowser->setSource(QUrl(QStringLiteral("qrc:/trv/hilfe.html")));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(m_pBrowser);
    lay->addWidget(buttons);
    resize(660, 620);
}
