#pragma once
// The .trv document file: reader for layout versions 2 to 5, writer for version 5.
#include "data/SafeFile.h"
#include "data/TRVDoc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

struct FileResult {
    bool ok = true;
    std::string message;          // German, names the file; empty on success
    bool writeProtected = false;  // a save refused because the file is write-protected
};

// Reads a whole document from bytes. On failure `doc` is left untouched and `error` says why
// (without the file name).
bool ReadTrv(const std::vector<uint8_t>& bytes, CTRVDoc& doc, std::string& error);
// Writes the document in layout version 5. False (and `error` set) when a measurement time cannot
// be written as compact time.
bool WriteTrv(const CTRVDoc& doc, std::vector<uint8_t>& bytes, std::string& error);

// Opens `path` into `doc` (doc untouched on failure; path name set and modified flag cleared on success).
FileResult LoadDocument(const std::string& path, CTRVDoc& doc);
// Saves `doc` to `path` safely: a temporary file beside it is written, flushed to disk and renamed
// over the old file only when complete. A write-protected file is refused ("Die Datei ist
// schreibgeschützt.", writeProtected set) and stays as it is. On success the document's version becomes 5, its path
// name is set, the modified flag cleared and the file's identity recorded.
FileResult SaveDocument(CTRVDoc& doc, const std::string& path);

}  // namespace trv
