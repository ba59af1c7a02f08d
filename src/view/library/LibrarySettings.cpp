#include "view/library/LibrarySettings.h"

#include "analysis/ThresholdMethods.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const char kFolderKey[] = "Athletenbibliothek/Ordner";
const char kMethodKey[] = "Athletenbibliothek/Methode";
}  // namespace

QString DefaultLibraryFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return QDir(docs).filePath(QStringLiteral("TRV-Athleten"));
}

QString LibraryFolderSetting() {
    const QString stored = QSettings().value(kFolderKey).toString();
    if (!stored.isEmpty()) return stored;
    const QString folder = DefaultLibraryFolder();
    QDir().mkpath(folder);
    return folder;
}

void SaveLibraryFolderSetting(const QString& folder) { QSettings().setValue(kFolderKey, folder); }

std::string LibraryMethodSetting() {
    const std::string id = QSettings().value(kMethodKey, QStringLiteral("ians")).toString().toStdString();
    return trv::MethodIndex(id) >= 0 ? id : std::string("ians");
}

void SaveLibraryMethodSetting(const std::string& id) { QSettings().setValue(kMethodKey, QString::fromStdString(id)); }
