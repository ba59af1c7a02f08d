#pragma once
// "Übertragungsstatus": the small modeless window that shows what the device link is doing, with
// "Abbrechen" to stop it.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CTRVStatusDialog : public QDialog {
    Q_OBJECT
public:
    explicit CTRVStatusDialog(QWidget* parent = nullptr);

    void SetProgress(int percent);
    void SetStatusText(const QString& text);

    QString StatusText() const;
    QString PercentText() const;
    int Progress() const;
    QPushButton* CancelButton() const { return m_pCancel; }

signals:
    // "Abbrechen" clicked, or Escape pressed: the owner stops the search or transfer.
    void cancelRequested();

public slots:
    // Escape must not just hide the window while the transfer goes on.
    void reject() override;

private:
    QLabel* m_pText;
    QLabel* m_pPercent;
    QProgressBar* m_pBar;
    QPushButton* m_pCancel;
};
