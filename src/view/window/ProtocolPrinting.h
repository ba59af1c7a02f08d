#pragma once
// The test protocol of a window's shown tests: printed, previewed and saved as PDF. The view owns
// one and calls it from its print button and the "Datei" menu.
#include <QObject>
#include <QString>

#include <functional>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace trv {
class CWorkspace;
struct ProtocolOptions;
}  // namespace trv

// Prints with `paint`. A printer that the print dialog set to a PDF file paints into a temporary
// file first, which then replaces the chosen file safely: a full or read-only disk leaves no empty
// or partial file, and `error` gets the German reason naming the file.
bool PrintSafely(QPrinter& printer, const std::function<bool(QPrinter&)>& paint, QString* error);

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
    trv::ProtocolOptions Setup() const;

    const trv::CWorkspace& m_Ws;
    QWidget* m_pWindow;
    QPrintPreviewDialog* m_pPreview = nullptr;
};
