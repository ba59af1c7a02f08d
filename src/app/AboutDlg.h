#pragma once
// "Info über TRV": program name, version and the maker's notice.
#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    QString VersionLine() const;
};
