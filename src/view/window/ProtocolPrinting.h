#pragma once
// The test protocol of a window's shown tests: printed, previewed and saved as PDF. The view owns
// one and calls it from its print button and the "Datei" menu.
#include "analysis/ChartModel.h"
#include "data/Result.h"
#include "res/Strings.h"

#include <QObject>
#include <QString>

class QDialog;
#include <functional>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace trv {
class CWorkspace;
struct ProtocolOptions;
}  // namespace trv

namespace trv {
// "Sprache des Ausdrucks": the language of printed pages (the protocol, the history), chosen in the print set-up
// and kept in the settings; without a choice, the program's language.
Lang PrintLanguage();
// The saved choice: -1 "wie das Programm", else a Lang.
int SavedPrintLanguage();
void SavePrintLanguage(int choice);
// Puts the choice into a print set-up dialog (a row above its buttons) and saves it when the dialog is
// accepted.
void AddPrintLanguageChoice(QDialog& dlg);
}  // namespace trv
// Prints with `paint`. A printer that the print dialog set to a PDF file paints into a temporary
// file first, which then replaces the chosen file safely: a full or read-only disk leaves no empty
// or partial file; a failure says why in German, naming the file.
trv::Result PrintSafely(QPrinter& printer, const std::function<bool(QPrinter&)>& paint);

class CProtocolPrinting : public QObject {
    Q_OBJECT
public:
    // `window` is the parent of the dialogs; the workspace gives the document, the chart and the
    // results.
    CProtocolPrinting(const trv::CWorkspace& ws, QWidget* window);

    void Print();
    void Preview();  // "Seitenansicht"
    void SavePdf();  // "Als PDF speichern ...": asks for the file, then SavePdfTo
    bool SavePdfTo(const QString& path);
    // The suggested PDF name: athlete and date of the first shown test.
    QString FileName() const;
    // The preview window while it is open (for tests), else null.
    QPrintPreviewDialog* OpenPreview() const { return m_pPreview; }

signals:
    void statusMessage(const QString& text);

private:
    // The options for a printout in `lang`: in another language than the program's, the chart and the
    // thresholds are worked out anew in that language.
    trv::ProtocolOptions Setup(trv::Lang lang);

    const trv::CWorkspace& m_Ws;
    trv::CChartModel m_PrintChart;  // the chart of a printout in the other language
    QWidget* m_pWindow;
    QPrintPreviewDialog* m_pPreview = nullptr;
};
