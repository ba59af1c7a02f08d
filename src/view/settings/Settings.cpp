#include "view/settings/Settings.h"

#include <QDir>
#include <QSettings>

namespace trv::settings {

namespace {

const char kHistoryVisibleKey[] = "history/visible";
const char kHistoryMethodsKey[] = "history/methods";
const char kPdfFolderKey[] = "Protocol/PdfFolder";

QString Key(const char* key) { return QString::fromLatin1(key); }

}  // namespace

QString RecentFileKey(int number) { return QStringLiteral("File%1").arg(number); }

bool HistoryVisible() { return QSettings().value(Key(kHistoryVisibleKey), false).toBool(); }
void SetHistoryVisible(bool visible) { QSettings().setValue(Key(kHistoryVisibleKey), visible); }

QStringList HistoryMethods() { return QSettings().value(Key(kHistoryMethodsKey)).toStringList(); }
void SetHistoryMethods(const QStringList& ids) { QSettings().setValue(Key(kHistoryMethodsKey), ids); }

QString PdfFolder() { return QSettings().value(Key(kPdfFolderKey), QDir::homePath()).toString(); }
void SetPdfFolder(const QString& folder) { QSettings().setValue(Key(kPdfFolderKey), folder); }

QString ZoneGroup(int testType) { return QStringLiteral("Zones/Type%1").arg(testType); }

}  // namespace trv::settings
