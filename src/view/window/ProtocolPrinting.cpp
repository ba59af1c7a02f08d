#include "view/window/ProtocolPrinting.h"

#include "data/SafeFile.h"
#include "print/Protocol.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/settings/Settings.h"
#include "view/settings/UncertaintySettings.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>

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

namespace trv {

int SavedPrintLanguage() {
    Lang lang = Lang::de;
    const QString saved = settings::PrintLanguageCode();
    return !saved.isEmpty() && ParseLang(saved.toStdString(), lang) ? static_cast<int>(lang) : -1;
}

void SavePrintLanguage(int choice) {
    settings::SetPrintLanguageCode(choice < 0 ? QString() : QString::fromLatin1(LangCode(static_cast<Lang>(choice))));
}

Lang PrintLanguage() {
    const int saved = SavedPrintLanguage();
    return saved < 0 ? CurrentLang() : static_cast<Lang>(saved);
}

void AddPrintLanguageChoice(QDialog& dlg) {
    auto* combo = new QComboBox(&dlg);
    combo->setObjectName(QStringLiteral("printLanguage"));
    combo->setToolTip(QStr(IDS_PRINT_LANG_TIP));
    combo->addItem(QStr(IDS_PRINT_LANG_PROGRAM), -1);
    combo->addItem(QStr(IDS_LANG_GERMAN), static_cast<int>(Lang::de));
    combo->addItem(QStr(IDS_LANG_ENGLISH), static_cast<int>(Lang::en));
    combo->setCurrentIndex(std::max(0, combo->findData(SavedPrintLanguage())));
    auto* row = new QWidget(&dlg);
    auto* form = new QFormLayout(row);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStr(IDS_PRINT_LANG) + QLatin1Char(':'), combo);
    // Qt's page set-up puts its page widget and its buttons into one box: the row goes above the buttons.
    if (auto* box = qobject_cast<QBoxLayout*>(dlg.layout()))
        box->insertWidget(std::max(0, box->count() - 1), row);
    else if (dlg.layout())
        dlg.layout()->addWidget(row);
    QObject::connect(&dlg, &QDialog::accepted, combo, [combo] { SavePrintLanguage(combo->currentData().toInt()); });
}

}  // namespace trv

CProtocolPrinting::CProtocolPrinting(const CWorkspace& ws, QWidget* window)
    : QObject(window), m_Ws(ws), m_pWindow(window) {}

ProtocolOptions CProtocolPrinting::Setup(Lang lang) {
    ProtocolOptions opt;
    opt.analysis = m_Ws.AnalysisLookup();
    if (lang == CurrentLang()) {
        opt.chart = &m_Ws.Chart();
        opt.thresholds = [this](int test) {
            const TestThresholds* shown = m_Ws.ShownThresholds(test);
            return shown ? *shown : m_Ws.ThresholdsOf(test);
        };
    } else {
        // The windows' chart and thresholds carry their texts in the program's language.
        m_PrintChart = m_Ws.ChartIn(lang);
        opt.chart = &m_PrintChart;
        opt.thresholds = [this, lang](int test) {
            const LangScope scope(lang);
            return m_Ws.ThresholdsOf(test);
        };
    }
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

Result PrintSafely(QPrinter& printer, const std::function<bool(QPrinter&)>& paint) {
    const QString target = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || target.isEmpty()) {
        if (paint(printer)) return Result::Ok();
        return Result::Fail(FmtId(IDS_PRINT_FAILED, printer.printerName().toStdString().c_str()));
    }
    const auto fail = [&](const std::string& why) {
        return Result::Fail(
            FmtId(IDS_PDF_NOT_WRITTEN, QDir::toNativeSeparators(target).toStdString().c_str(), why.c_str()));
    };
    QTemporaryDir temp;
    if (!temp.isValid()) return fail(FileErrorText(ENOSPC));
    const QString scratch = temp.filePath(QStringLiteral("protocol.pdf"));
    printer.setOutputFileName(scratch);
    const bool painted = paint(printer);
    printer.setOutputFileName(target);
    QFile f(scratch);
    if (!painted || !f.open(QIODevice::ReadOnly) || f.size() == 0) return fail(FileErrorText(ENOSPC));
    const QByteArray bytes = f.readAll();
    const Result written =
        WriteFileSafely(QFile::encodeName(target).toStdString(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    if (!written) return fail(written.message);
    return Result::Ok();
}

void CProtocolPrinting::Print() {
    QPrinter printer(QPrinter::HighResolution);
    UseA4(printer);
    QPrintDialog dlg(&printer, m_pWindow);
    dlg.setMinMax(1, kProtocolPageCount);
    if (dlg.exec() != QDialog::Accepted) return;
    const Lang lang = PrintLanguage();
    const ProtocolOptions opt = Setup(lang);
    const auto paint = [this, lang, &opt](QPrinter& p) {
        const LangScope scope(lang);
        return PrintProtocol(p, m_Ws.Doc(), ShownTests(m_Ws.Doc()), opt);
    };
    if (const Result printed = PrintSafely(printer, paint); !printed)
        QMessageBox::warning(m_pWindow, QApplication::applicationDisplayName(), QU8(printed.message));
}

void CProtocolPrinting::Preview() {
    QPrinter printer(QPrinter::HighResolution);
    UseA4(printer);
    QPrintPreviewDialog dlg(&printer, m_pWindow);
    dlg.setWindowTitle(QStr(IDS_FILE_PREVIEW).remove(QLatin1Char('&')));
    const Lang lang = PrintLanguage();
    const ProtocolOptions opt = Setup(lang);
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this, lang, opt](QPrinter* p) {
        const LangScope scope(lang);
        PrintProtocol(*p, m_Ws.Doc(), ShownTests(m_Ws.Doc()), opt);
    });
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
    const Lang lang = PrintLanguage();
    const ProtocolOptions opt = Setup(lang);
    Result written;
    {
        const LangScope scope(lang);
        written = WriteProtocolPdf(path, m_Ws.Doc(), ShownTests(m_Ws.Doc()), opt);
    }
    if (!written) {
        QMessageBox::warning(m_pWindow, QApplication::applicationDisplayName(), QU8(written.message));
        return false;
    }
    settings::SetPdfFolder(QFileInfo(path).absolutePath());
    emit statusMessage(QU8(FmtId(IDS_STATUS_PDF_SAVED, QDir::toNativeSeparators(path).toStdString().c_str())));
    return true;
}
