#pragma once
// Every key of the program's settings (QSettings, organisation "Morvane GmbH") and its default, in
// one place. Simple values are read and written here; the zone and preferred-choice stores build on
// the keys below. A new setting: its key and default here, a getter and setter beside them.
#include <QString>
#include <QStringList>

namespace trv::settings {

// "Recent File List/File1".."File4": the recent files, newest first (default: none).
inline constexpr char kRecentGroup[] = "Recent File List";
inline constexpr int kRecentMax = 4;
QString RecentFileKey(int number);  // 1-based

// "history/visible": the "Verlauf" dock was open when the program ended (default: closed).
bool HistoryVisible();
void SetHistoryVisible(bool visible);

// "history/methods": the methods the history follows, by id (default: none stored, then the
// history's default methods).
QStringList HistoryMethods();
void SetHistoryMethods(const QStringList& ids);

// "Protocol/PdfFolder": where "Als PDF speichern ..." last saved (default: the home folder).
QString PdfFolder();
void SetPdfFolder(const QString& folder);

// "Language": the program's language chosen under "Einstellungen > Sprache / Language", "de" or "en"
// (default: none stored, then German; --lang and TRV_LANG go first).
QString LanguageCode();
void SetLanguageCode(const QString& code);

// "Print/Language": "Sprache des Ausdrucks" of the print set-up, "de" or "en" (default: none stored, then the
// program's language). An empty code removes the key.
QString PrintLanguageCode();
void SetPrintLanguageCode(const QString& code);

// "Analysis/PreferredModel", "Analysis/PreferredFit": the lab's preferred choice (defaults and
// checks in PreferredChoiceStore.cpp: Mader, cubic).
inline constexpr char kPreferredModelKey[] = "Analysis/PreferredModel";
inline constexpr char kPreferredFitKey[] = "Analysis/PreferredFit";

// "Zones/Type0".."Type2" with "Codes", "Names", "Bounds": the training zones per test type
// (default: none stored, then the built-in schemes; checks in ZoneSettingsStore.cpp).
QString ZoneGroup(int testType);
inline constexpr char kZoneCodesKey[] = "Codes";
inline constexpr char kZoneNamesKey[] = "Names";
inline constexpr char kZoneBoundsKey[] = "Bounds";
// "Zones/Model", "Zones/Lt1", "Zones/Lt2": the zone model and the methods of its anchors LT1 and
// LT2 (defaults trv5, ltp1, ians; unknown ids keep the defaults, in ZoneSettingsStore.cpp).
inline constexpr char kZoneModelKey[] = "Zones/Model";
inline constexpr char kZoneLt1Key[] = "Zones/Lt1";
inline constexpr char kZoneLt2Key[] = "Zones/Lt2";

// "ZoneExport/GoldenCheetahDir": the athlete's GoldenCheetah folder "Zonen weitergeben" last wrote
// into (default: none).
QString GoldenCheetahFolder();
void SetGoldenCheetahFolder(const QString& folder);

// "Athletenbibliothek/Ordner": the athlete library's folder (default: none stored, then
// "TRV-Athleten" in the documents folder, in LibrarySettings.cpp).
QString LibraryFolder();
void SetLibraryFolder(const QString& folder);

// "Athletenbibliothek/Methode": the threshold the Athleten list shows, by method id (default
// "ians"; an unknown id reads as the default, in LibrarySettings.cpp).
inline constexpr char kLibraryMethodDefault[] = "ians";
QString LibraryMethod();
void SetLibraryMethod(const QString& id);

// "Uncertainty/A", "Uncertainty/C", "Uncertainty/D": "Messunsicherheit", the analyser's error a and c
// and the day-to-day variation d (defaults and ranges in analysis/Uncertainty.h, checks in
// UncertaintySettings.cpp).
inline constexpr char kUncertaintyAKey[] = "Uncertainty/A";
inline constexpr char kUncertaintyCKey[] = "Uncertainty/C";
inline constexpr char kUncertaintyDKey[] = "Uncertainty/D";

}  // namespace trv::settings
