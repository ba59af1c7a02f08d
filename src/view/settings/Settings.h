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

}  // namespace trv::settings
