#include "view/dialogs/TRVStatusDialog.h"

#include "view/QtText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CTRVStatusDialog::CTRVStatusDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_pText(new QLabel(this)),
      m_pPercent(new QLabel(this)),
      m_pBar(new QProgressBar(this)) {
    setWindowTitle(trv::QStr(trv::IDS_STATUS_TITLE));
    setModal(false);
    auto* lay = new QVBoxLayout(this);
    m_pPercent->setAlignment(Qt::AlignCenter);
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    lay->addWidget(m_pText);
    lay->addWidget(m_pPercent);
    lay->addWidget(m_pBar);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_pCancel = buttons->button(QDialogButtonBox::Cancel);
    connect(m_pCancel, &QPushButton::clicked, this, &CTRVStatusDialog::cancelRequested);
    lay->addWidget(buttons);
    setMinimumWidth(380);
}

void CTRVStatusDialog::reject() { emit cancelRequested(); }

void CTRVStatusDialog::SetProgress(int percent) {
    m_pBar->setValue(percent);
    m_pPercent->setText(QString::fromStdString(trv::Fmt("%d %%", percent)));
}

void CTRVStatusDialog::SetStatusText(const QString& text) { m_pText->setText(text); }

QString CTRVStatusDialog::StatusText() const { return m_pText->text(); }
QString CTRVStatusDialog::PercentText() const { return m_pPercent->text(); }
int CTRVStatusDialog::Progress() const { return m_pBar->value(); }
