#pragma once
// A document window: one view on one document, in the main window's area.
#include <QMdiSubWindow>

class CDocHandle;
class CTRVView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CDocHandle* doc, QWidget* parent = nullptr);
    CTRVView* View() const { return m_pView; }
    CDocHandle* Doc() const { return m_pDoc; }
    void UpdateTitle(int number, int count);

signals:
    // Asked before the window closes; `allow` may be set to false (the save question was cancelled).
    void closeRequested(CChildFrame* frame, bool& allow);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    CDocHandle* m_pDoc;
    CTRVView* m_pView;
};
