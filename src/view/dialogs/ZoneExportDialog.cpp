#include "view/dialogs/ZoneExportDialog.h"

#include "analysis/History.h"
#include "analysis/ZoneExport.h"
#include "analysis/ZoneModels.h"
#include "data/Records.h"
#include "data/SafeFile.h"
#include "data/TRVDoc.h"
#include "print/ZoneCard.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/QtText.h"
#include "view/settings/Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace trv;

namespace {

QPushButton* Button(int text, QWidget* parent) { return new QPushButton(QStr(text), parent); }

}  // namespace

CZoneExportDialog::CZoneExportDialog(const CTRVDoc& doc, int test, const TestThresholds& result, QWidget* parent)
    : QDialog(parent), m_Doc(doc), m_nTest(test), m_Result(result) {
    setWindowTitle(QStr(IDS_ZEXP_TITLE));
    const TestDataType& t = doc.GetTest(test);
    auto* lay = new QVBoxLayout(this);
    auto* head = new QLabel(QU8(FmtId(IDS_ZEXP_TEST, HistoryDate(t).FormatDate().c_str(), TestTypeText(t.m_nTestType),
                                      ZoneModelCaption(result.zoneModel).c_str())),
                            this);
    head->setWordWrap(true);
    lay->addWidget(head);
    const bool zones = !result.zones.empty();

    auto* gc = new QGroupBox(QStringLiteral("GoldenCheetah"), this);
    auto* gcLay = new QVBoxLayout(gc);
    auto* folderLabel = new QLabel(QStr(IDS_ZEXP_GC_FOLDER), gc);
    m_pFolder = new QLineEdit(settings::GoldenCheetahFolder(), gc);
    folderLabel->setBuddy(m_pFolder);
    auto* browse = Button(IDS_ZEXP_BROWSE, gc);
    m_pWrite = Button(IDS_ZEXP_GC_WRITE, gc);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_pFolder, 1);
    folderRow->addWidget(browse);
    gcLay->addWidget(folderLabel);
    gcLay->addLayout(folderRow);
    gcLay->addWidget(m_pWrite, 0, Qt::AlignRight);
    lay->addWidget(gc);

    auto* icu = new QGroupBox(QStringLiteral("intervals.icu"), this);
    auto* icuLay = new QVBoxLayout(icu);
    auto* hint = new QLabel(QStr(IDS_ZEXP_ICU_HINT), icu);
    hint->setWordWrap(true);
    auto* copy = Button(IDS_ZEXP_ICU_COPY, icu);
    auto* save = Button(IDS_ZEXP_ICU_SAVE, icu);
    auto* icuRow = new QHBoxLayout;
    icuRow->addStretch(1);
    icuRow->addWidget(copy);
    icuRow->addWidget(save);
    icuLay->addWidget(hint);
    icuLay->addLayout(icuRow);
    lay->addWidget(icu);

    auto* card = new QGroupBox(QStr(IDS_CARD_TITLE), this);
    auto* cardRow = new QHBoxLayout(card);
    auto* preview = Button(IDS_ZEXP_PREVIEW, card);
    auto* print = Button(IDS_ZEXP_PRINT, card);
    auto* pdf = Button(IDS_ZEXP_PDF, card);
    cardRow->addStretch(1);
    cardRow->addWidget(preview);
    cardRow->addWidget(print);
    cardRow->addWidget(pdf);
    lay->addWidget(card);

    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);
    m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lay->addWidget(m_pStatus);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addWidget(buttons);

    // A test without zones offers nothing to hand on: it says why.
    for (QWidget* w : {static_cast<QWidget*>(gc), static_cast<QWidget*>(icu), static_cast<QWidget*>(card)})
        w->setEnabled(zones);
    if (!zones) Tell(QU8(FmtId(IDS_ZEXP_NO_ZONES, result.zoneModel.reason.c_str())), true);

    connect(browse, &QPushButton::clicked, this, &CZoneExportDialog::Browse);
    connect(m_pWrite, &QPushButton::clicked, this, &CZoneExportDialog::WriteGoldenCheetah);
    connect(copy, &QPushButton::clicked, this, &CZoneExportDialog::CopyIntervals);
    connect(save, &QPushButton::clicked, this, &CZoneExportDialog::SaveIntervalsAs);
    connect(preview, &QPushButton::clicked, this, &CZoneExportDialog::PreviewCard);
    connect(print, &QPushButton::clicked, this, &CZoneExportDialog::PrintCard);
    connect(pdf, &QPushButton::clicked, this, &CZoneExportDialog::SaveCardAs);
    resize(520, sizeHint().height());
}

void CZoneExportDialog::Tell(const QString& text, bool error) {
    m_pStatus->setStyleSheet(error ? QStringLiteral("color: #a00000;") : QString());
    m_pStatus->setText(text);
}

void CZoneExportDialog::Browse() {
    const QString dir = QFileDialog::getExistingDirectory(this, QStr(IDS_ZEXP_CHOOSE_FOLDER), m_pFolder->text());
    if (!dir.isEmpty()) m_pFolder->setText(dir);
}

bool CZoneExportDialog::WriteGoldenCheetah() {
    const QString dir = m_pFolder->text().trimmed();
    const GcExportResult res = WriteGoldenCheetahZones(dir.toStdString(), m_Doc.GetTest(m_nTest), m_Result);
    QString text = QU8(res.message);
    for (const std::string& note : res.notes) text += QStringLiteral("\n") + QU8(note);
    Tell(text, !res.ok);
    if (res.ok) settings::SetGoldenCheetahFolder(dir);
    return res.ok;
}

void CZoneExportDialog::CopyIntervals() {
    QApplication::clipboard()->setText(QU8(IntervalsIcuJson(m_Doc.GetTest(m_nTest), m_Result)));
    Tell(QStr(IDS_ZEXP_ICU_COPIED), false);
}

bool CZoneExportDialog::SaveIntervals(const QString& path) {
    const std::string json = IntervalsIcuJson(m_Doc.GetTest(m_nTest), m_Result) + "\n";
    if (const Result written = WriteFileSafely(path.toStdString(), std::vector<uint8_t>(json.begin(), json.end()));
        !written) {
        Tell(QU8(FmtId(IDS_ZEXP_FILE_FAILED, path.toUtf8().constData(), written.message.c_str())), true);
        return false;
    }
    Tell(QU8(FmtId(IDS_ZEXP_SAVED, path.toUtf8().constData())), false);
    return true;
}

void CZoneExportDialog::SaveIntervalsAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStr(IDS_ZEXP_ICU_SAVE).remove(QLatin1Char('&')),
                                     QStringLiteral("intervals-zonen.json"), QStr(IDS_ZEXP_JSON_FILTER));
    if (!path.isEmpty()) SaveIntervals(path);
}

bool CZoneExportDialog::SaveCardPdf(const QString& path) {
    const ZoneCardText card = MakeZoneCardText(m_Doc, m_nTest, m_Result, COleDateTime::Now());
    if (const Result written = WriteZoneCardPdf(path, card); !written) {
        Tell(QU8(written.message), true);
        return false;
    }
    Tell(QU8(FmtId(IDS_ZEXP_SAVED, path.toUtf8().constData())), false);
    return true;
}

void CZoneExportDialog::SaveCardAs() {
    const QString path = QFileDialog::getSaveFileName(this, QStr(IDS_ZEXP_PDF).remove(QLatin1Char('&')),
                                                      QStringLiteral("Zonenkarte.pdf"), QStr(IDS_ZEXP_PDF_FILTER));
    if (!path.isEmpty()) SaveCardPdf(path);
}

void CZoneExportDialog::PreviewCard() {
    const ZoneCardText card = MakeZoneCardText(m_Doc, m_nTest, m_Result, COleDateTime::Now());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dlg(&printer, this);
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [&card](QPrinter* p) { PrintZoneCard(*p, card); });
    dlg.exec();
}

void CZoneExportDialog::PrintCard() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dlg(&printer, this);
    if (dlg.exec() != QDialog::Accepted) return;
    PrintZoneCard(printer, MakeZoneCardText(m_Doc, m_nTest, m_Result, COleDateTime::Now()));
}
