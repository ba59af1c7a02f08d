#pragma once
// "Einstellungen > Athletenbibliothek...": the library's folder and the threshold of the list.
#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

class CLibrarySettingsDialog : public QDialog {
    Q_OBJECT
public:
    CLibrarySettingsDialog(const QString& folder, const std::string& method, QWidget* parent = nullptr);
    QString Folder() const;
    std::string Method() const;

    QLineEdit* m_pFolder;
    QComboBox* m_pMethod;
    QLabel* m_pError;

public slots:
    void accept() override;
};
