#pragma once
// "Übertragungsstatus": the small modeless window that shows what the device link is doing.
#include <QDialog>

class QLabel;
class QProgressBar;

class CTRVStatusDialog : public QDialog {
    Q_OBJECT
public:
    explicit CTRVStatusDialog(QWidget* parent = nullptr);

    void SetProgress(int percent);
    void SetStatusText(const QString& text);

    QString StatusText() const;
    QString PercentText() const;
    int Progress() const;

private:
    QLabel* m_pText;
    QLabel* m_pPercent;
    QProgressBar* m_pBar;
};
