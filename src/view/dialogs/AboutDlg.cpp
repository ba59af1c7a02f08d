#include "view/dialogs/AboutDlg.h"

#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/widgets/Icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QtGlobal>

// Only for the version macro of the chart library.
#include <qcustomplot.h>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(trv::QStr(trv::IDS_ABOUT_TITLE));
    auto* icon = new QLabel(this);
    icon->setPixmap(trv::AppIcon().pixmap(48, 48));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(trv::QStr(trv::IDS_ABOUT_NOTICE), this);
    auto* licences = new QLabel(LicenceLine(), this);
    licences->setObjectName(QStringLiteral("licences"));
    licences->setWordWrap(true);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(notice);
    texts->addSpacing(8);
    texts->addWidget(licences);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(buttons);
    setMinimumWidth(420);
}

QString CAboutDlg::VersionLine() const { return QStringLiteral("TRV") + QStringLiteral(" V1.0.7"); }

QString CAboutDlg::LicenceLine() const {
    return trv::QU8(trv::FmtId(trv::IDS_ABOUT_LICENCES, qVersion(), QCUSTOMPLOT_VERSION_STR));
}
