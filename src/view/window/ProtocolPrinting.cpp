#include "view/window/ProtocolPrinting.h"

#include "print/Protocol.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/settings/Settings.h"
#include "view/settings/UncertaintySettings.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>

using namespace trv;

namespace {

std::vector<int> ShownTests(const CTRVDoc& doc) {
    std::vector<int> shown;
    for (int i = 0; i < doc.GetTestCount(); ++i)
        if (doc.GetTest(i).m_bShowInChart) shown.push_back(i);
    return shown;
}

void UseA4(QPrinter& printer) { printer.setPageSize(QPageSize(QPageSize::A4)); }

}  // namespace

CProtocolPrinting::CProtocolPrinting(const CWorkspace& ws, QWidget* window)
    : QObject(window), m_Ws(ws), m_pWindow(window) {}

ProtocolOptions CProtocolPrinting::Setup() const {
    ProtocolOptions opt;
    opt.chart = &m_Ws.Chart();
    opt.analysis = m_Ws.AnalysisLookup();
    opt.thresholds = [this](int test) {
        const TestThresholds* shown = m_Ws.ShownThresholds(test);
        return shown ? *shown : m_Ws.ThresholdsOf(test);
    };
    opt.intervalError = LoadErrorModel();
    // The logo is looked for in the folder the program was started from.
    opt.logoDir = qApp->property("trvStartDir").toString();
    return opt;
}

QString CProtocolPrinting::FileName() const {
    // "Nachname_Vorname_2026-03-02.pdf": the athlete and the date of the first shown test.
    const CTRVDoc& doc = m_Ws.Doc();
    QStringList parts;
    for (const std::string& s : {doc.m_UserData.m_strLastName, doc.m_UserData.m_strFirstName})
        if (!QU8(s).trimmed().isEmpty()) parts << QU8(s).trimmed();
    if (parts.isEmpty()) parts << QStr(IDS_PDF_NAME_STEM);
    for (int i : ShownTests(doc)) {
        DateParts d;
        const TestDataType& t = doc.GetTest(i);
        if (!t.m_Steps.empty() && t.m_Steps.front().m_Time.GetParts(d)) {
            parts << QStringLiteral("%1-%2-%3")
                         .arg(d.year, 4, 10, QLatin1Char('0'))
                         .arg(d.month, 2, 10, QLatin1Char('0'))
                         .arg(d.day, 2, 10, QLatin1Char('0'));
            break;
        }
    }
    // Characters that file systems or shells do not like become "_".
    QString name = parts.join(QLatin1Char('_'));
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral("_"));
    return name + QStringLiteral(".pdf");
}

void CProtocolPrinting::Print() {
    QPrinter printer(QPrinter::HighResolution);
    UseA4(printer);
    QPrintDialog dlg(&printer, m_pWindow);
    dlg.setMinMax(1, kProtocolPageCount);
    if (dlg.exec() != QDialog::Accepted) return;
    if (!PrintProtocol(printer, m_Ws.Doc(), ShownTests(m_Ws.Doc()), Setup()))
        QMessageBox::warning(m_pWindow, QApplication::applicationDisplayName(),
                             QU8(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str())));
}

void CProtocolPrinting::Preview() {
    QPrinter printer(QPrinter::HighResolution);
    UseA4(printer);
    QPrintPreviewDialog dlg(&printer, m_pWindow);
    dlg.setWindowTitle(QStr(IDS_FILE_PREVIEW).remove(QLatin1Char('&')));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintProtocol(*p, m_Ws.Doc(), ShownTests(m_Ws.Doc()), Setup()); });
    m_pPreview = &dlg;
    dlg.exec();
    m_pPreview = nullptr;
}

void CProtocolPrinting::SavePdf() {
    const QString folder = settings::PdfFolder();
    QFileDialog dlg(m_pWindow, QStr(IDS_FILE_SAVE_PDF).remove(QLatin1Char('&')), folder, QStr(IDS_PDF_FILTER));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    dlg.selectFile(QDir(folder).filePath(FileName()));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    SavePdfTo(dlg.selectedFiles().first());
}

bool CProtocolPrinting::SavePdfTo(const QString& path) {
    QString error;
    if (!WriteProtocolPdf(path, m_Ws.Doc(), ShownTests(m_Ws.Doc()), Setup(), &error)) {
        QMessageBox::warning(m_pWindow, QApplication::applicationDisplayName(), error);
        return false;
    }
    settings::SetPdfFolder(QFileInfo(path).absolutePath());
    emit statusMessage(QU8(FmtId(IDS_STATUS_PDF_SAVED, QDir::toNativeSeparators(path).toStdString().c_str())));
    return true;
}
