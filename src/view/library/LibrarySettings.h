#pragma once
// The library's settings: its folder (default "TRV-Athleten" in the documents folder, made on first
// use) and the threshold the Athleten list shows.
#include <QString>

#include <string>

QString DefaultLibraryFolder();
// The folder of the settings, or the default one (created when missing).
QString LibraryFolderSetting();
void SaveLibraryFolderSetting(const QString& folder);
std::string LibraryMethodSetting();
void SaveLibraryMethodSetting(const std::string& id);
