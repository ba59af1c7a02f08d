#pragma once
// The "Verlauf" window beside the document windows: the history of the active document. It follows
// the active window, refreshes when that document changes (only while it is shown), shows a
// double-clicked test in the view's chart and prints the history ("Verlauf drucken").
#include <QDockWidget>
#include <QMetaObject>
#include <QPointer>

#include <functional>

class CDocHandle;
class CHistoryPanel;
class QPainter;
class QPrinter;
class QRectF;

class CHistoryDock : public QDockWidget {
    Q_OBJECT
public:
    explicit CHistoryDock(QWidget* parent = nullptr);

    // The document of the active window (null: none) and how that window shows a test picked here.
    void SetDocument(CDocHandle* doc, std::function<void(int test)> showTest);
    CDocHandle* Document() const { return m_pDoc; }
    CHistoryPanel* Panel() const { return m_pPanel; }

    // "Verlauf drucken": the preview, from which the page goes to a printer or a PDF file.
    void OnPrint();
    // The page on a printer (the preview's paint request, tests).
    void PaintOn(QPrinter& printer);
    // The history charts drawn into a rectangle of a printed page.
    void DrawCharts(QPainter& painter, const QRectF& target) const;

private:
    void OnDocumentChanged();
    CHistoryPanel* m_pPanel;
    QPointer<CDocHandle> m_pDoc;
    std::function<void(int)> m_ShowTest;
    QMetaObject::Connection m_docConnection;
    bool m_bStale = false;
};
