#pragma once
// "TRV-Hilfe": the short guide to the program, shown beside the work (not modal).
#include <QDialog>

class QTextBrowser;

class CHelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit CHelpDialog(QWidget* parent = nullptr);
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
