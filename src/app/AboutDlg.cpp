#include "AboutDlg.h"

#include "Icons.h"
#include "QtText.h"
#include "StringIds.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(trv::QStr(trv::IDS_ABOUT_TITLE));
    auto* icon = new QLabel(this);
    icon->setPixmap(trv::AppIcon().pixmap(48, 48));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(trv::QStr(trv::IDS_ABOUT_NOTICE), this);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(notice);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(buttons);
}

QString CAboutDlg::VersionLine() const { return QStringLiteral("TRV") + QStringLiteral(" V1.0.7"); }
