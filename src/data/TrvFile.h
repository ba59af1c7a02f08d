#pragma once
// The .trv document file: reader for layout versions 2 to 5, writer for version 5.
#include "data/Result.h"
#include "data/SafeFile.h"
#include "data/TRVDoc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// The file functions' result: `message` names the file.
using FileResult = Result;

// Reads a whole document from bytes. On failure `doc` is left untouched and `error` says why
// (without the file name).
bool ReadTrv(const std::vector<uint8_t>& bytes, CTRVDoc& doc, std::string& error);
// Writes the document in layout version 5. False (and `error` set) when a measurement time cannot
// be written as compact time.
bool WriteTrv(const CTRVDoc& doc, std::vector<uint8_t>& bytes, std::string& error);

// Opens `path` into `doc` (doc untouched on failure; path name set and modified flag cleared on success).
FileResult LoadDocument(const std::string& path, CTRVDoc& doc);
// Saves `doc` to `path` safely: a temporary file beside it is written, flushed to disk and renamed
// over the old file only when complete. On success the document's version becomes 5, its path
// name is set and the modified flag cleared.
FileResult SaveDocument(CTRVDoc& doc, const std::string& path);

}  // namespace trv
