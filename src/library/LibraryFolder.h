#pragma once
// The library folder: its documents (one athlete each, subfolders are groups), the names of new
// athletes' files, and where the index of a folder is kept.
#include "data/Records.h"
#include "data/Result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// Whether `dir` can serve as a library folder; if not, the German reason (missing, not a folder,
// not readable).
Result CheckLibraryFolder(const std::string& dir);

// A document file found in the folder.
struct LibraryFile {
    std::string file;  // relative to the folder, "/" separated
    int64_t size = 0;
    int64_t mtime = 0;  // nanoseconds since 1970
};

// Every ".trv" file below `dir` (hidden files and folders, lock files and temporaries left out),
// sorted by relative path.
std::vector<LibraryFile> ListLibraryFiles(const std::string& dir);

// The group of a relative path: its folder ("U23/Läufer"); "" for the top of the library.
std::string GroupOf(const std::string& relativeFile);

// An athlete's birth date is known unless it is unset (day 0 of the date scale) or not valid.
bool HasBirthDate(const UserDataType& user);
// "YYYY-MM-DD"; "" without a birth date.
std::string BirthDateIso(const UserDataType& user);
// "YYYY-MM-DD" into a date; false for anything else (or an impossible day).
bool ParseIsoDate(const std::string& text, COleDateTime& date);

// "Nachname_Vorname_JJJJ-MM-TT.trv" (without the date when unknown), with the characters that file
// systems refuse replaced.
std::string AthleteFileName(const UserDataType& user);
// A path for a new athlete's document in `group` of the library `dir` that no file takes yet
// ("... (2).trv" when the name is taken).
std::string NewAthletePath(const std::string& dir, const std::string& group, const UserDataType& user);

// Where the index of the library `dir` is kept: $XDG_CACHE_HOME/trv/ (or ~/.cache/trv/), one
// database per library folder.
std::string IndexDatabasePath(const std::string& dir);

// The folder's absolute, normalised path (the library's identity).
std::string CanonicalFolder(const std::string& dir);

}  // namespace trv
