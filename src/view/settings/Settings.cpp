#include "view/settings/Settings.h"

#include <QDir>
#include <QSettings>

namespace trv::settings {

namespace {

const char kHistoryVisibleKey[] = "history/visible";
const char kHistoryMethodsKey[] = "history/methods";
const char kPdfFolderKey[] = "Protocol/PdfFolder";
const char kGoldenCheetahKey[] = "ZoneExport/GoldenCheetahDir";
const char kLanguageKey[] = "Language";
const char kPrintLanguageKey[] = "Print/Language";
const char kLibraryFolderKey[] = "Athletenbibliothek/Ordner";
const char kLibraryMethodKey[] = "Athletenbibliothek/Methode";

QString Key(const char* key) { return QString::fromLatin1(key); }

}  // namespace

QString RecentFileKey(int number) { return QStringLiteral("File%1").arg(number); }

bool HistoryVisible() { return QSettings().value(Key(kHistoryVisibleKey), false).toBool(); }
void SetHistoryVisible(bool visible) { QSettings().setValue(Key(kHistoryVisibleKey), visible); }

QStringList HistoryMethods() { return QSettings().value(Key(kHistoryMethodsKey)).toStringList(); }
void SetHistoryMethods(const QStringList& ids) { QSettings().setValue(Key(kHistoryMethodsKey), ids); }

QString PdfFolder() { return QSettings().value(Key(kPdfFolderKey), QDir::homePath()).toString(); }
void SetPdfFolder(const QString& folder) { QSettings().setValue(Key(kPdfFolderKey), folder); }

QString GoldenCheetahFolder() { return QSettings().value(Key(kGoldenCheetahKey)).toString(); }
void SetGoldenCheetahFolder(const QString& folder) { QSettings().setValue(Key(kGoldenCheetahKey), folder); }
QString LanguageCode() { return QSettings().value(Key(kLanguageKey)).toString(); }
void SetLanguageCode(const QString& code) { QSettings().setValue(Key(kLanguageKey), code); }

QString PrintLanguageCode() { return QSettings().value(Key(kPrintLanguageKey)).toString(); }
void SetPrintLanguageCode(const QString& code) {
    if (code.isEmpty())
        QSettings().remove(Key(kPrintLanguageKey));
    else
        QSettings().setValue(Key(kPrintLanguageKey), code);
}

QString LibraryFolder() { return QSettings().value(Key(kLibraryFolderKey)).toString(); }
void SetLibraryFolder(const QString& folder) { QSettings().setValue(Key(kLibraryFolderKey), folder); }

QString LibraryMethod() { return QSettings().value(Key(kLibraryMethodKey), Key(kLibraryMethodDefault)).toString(); }
void SetLibraryMethod(const QString& id) { QSettings().setValue(Key(kLibraryMethodKey), id); }

QString ZoneGroup(int testType) { return QStringLiteral("Zones/Type%1").arg(testType); }

}  // namespace trv::settings
