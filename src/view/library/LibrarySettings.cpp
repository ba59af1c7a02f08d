#include "view/library/LibrarySettings.h"

#include "analysis/ThresholdMethods.h"
#include "view/settings/Settings.h"

#include <QDir>
#include <QStandardPaths>

QString DefaultLibraryFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return QDir(docs).filePath(QStringLiteral("TRV-Athleten"));
}

QString LibraryFolderSetting() {
    const QString stored = trv::settings::LibraryFolder();
    if (!stored.isEmpty()) return stored;
    const QString folder = DefaultLibraryFolder();
    QDir().mkpath(folder);
    return folder;
}

void SaveLibraryFolderSetting(const QString& folder) { trv::settings::SetLibraryFolder(folder); }

std::string LibraryMethodSetting() {
    const std::string id = trv::settings::LibraryMethod().toStdString();
    return trv::MethodIndex(id) >= 0 ? id : std::string(trv::settings::kLibraryMethodDefault);
}

void SaveLibraryMethodSetting(const std::string& id) { trv::settings::SetLibraryMethod(QString::fromStdString(id)); }
