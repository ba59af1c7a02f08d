#pragma once
// "Info über TRV": program name, version, the maker's notice and the licences of the libraries used.
#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    QString VersionLine() const;
    QString LicenceLine() const;
};
