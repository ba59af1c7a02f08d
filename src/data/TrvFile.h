#pragma once
// The .trv document file: reader for layout versions 2 to 5, writer for version 5.
#include "data/Result.h"
#include "data/SafeFile.h"
#include "data/TRVDoc.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace trv {

// The file functions' result: a Result whose `message` names the file, and that also says whether
// a save was refused because the file is write-protected.
struct FileResult : Result {
    bool writeProtected = false;  // a save refused because the file is write-protected

    FileResult() = default;
    FileResult(Result result, bool refusedAsWriteProtected = false)
        : Result(std::move(result)), writeProtected(refusedAsWriteProtected) {}
};

// Reads a whole document from bytes. On failure `doc` is left untouched and the message says why
// (without the file name).
Result ReadTrv(const std::vector<uint8_t>& bytes, CTRVDoc& doc);
// Writes the document in layout version 5. Fails when a measurement time cannot be written as
// compact time.
Result WriteTrv(const CTRVDoc& doc, std::vector<uint8_t>& bytes);

// A reading whose local time the file's layout (seconds since 1970 UTC) cannot hold: a time in the
// hour that the change to daylight saving time skips is read back an hour later.
struct MovedReading {
    uint16_t measId = 0;
    COleDateTime reported;  // as the analyser (or the user) gave it
    COleDateTime stored;    // as the file gives it back
};
std::vector<MovedReading> ReadingsMovedByLayout(const CTRVDoc& doc);
// The German notice naming each moved reading and by how much; empty when none moved.
std::string MovedReadingsText(const std::vector<MovedReading>& moved);

// Opens `path` into `doc` (doc untouched on failure; path name set and modified flag cleared on success).
FileResult LoadDocument(const std::string& path, CTRVDoc& doc);
// Saves `doc` to `path` safely: a temporary file beside it is written, flushed to disk and renamed
// over the old file only when complete. A write-protected file is refused ("Die Datei ist
// schreibgeschützt.", writeProtected set) and stays as it is. On success the document's version becomes 5, its path
// name is set, the modified flag cleared and the file's identity recorded.
FileResult SaveDocument(CTRVDoc& doc, const std::string& path);

}  // namespace trv
