#pragma once
// The test protocol of a window's shown tests: printed, previewed and saved as PDF. The view owns
// one and calls it from its print button and the "Datei" menu.
#include <QObject>
#include <QString>

class QPrintPreviewDialog;
class QWidget;

namespace trv {
class CWorkspace;
struct ProtocolOptions;
}  // namespace trv

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
