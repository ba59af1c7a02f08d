#pragma once
// Reading and writing whole files so that neither a hostile input nor a crash or a full disk can
// cost data: only regular files of sane size are read; a file is replaced only by a complete new one.
#include "data/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// Largest file that is read. A document of 10,000 tests is about 4 MB; this leaves room for 30
// times as many and still keeps a mistaken choice (a disk image, a device) from filling the memory.
constexpr size_t kMaxDocumentBytes = size_t{128} << 20;

// Reads the regular file `path` of at most kMaxDocumentBytes. Devices, pipes and directories are
// refused without waiting for them. A failure says why in German.
Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes bytes to `path` through a temporary file beside it, synced to disk and renamed over the old
// file only when complete; the directory is synced after the rename. A symbolic link is written
// through to its target and stays a link. Temporaries of the same target left by writers that are
// gone are removed. A failure says why in German.
Result WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes);

// A German reason for an errno value of a file operation.
std::string FileErrorText(int err);

}  // namespace trv
