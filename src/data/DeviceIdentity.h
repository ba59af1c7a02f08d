#pragma once
// Which analyser a document belongs to. Every place that binds a document to an analyser, or
// compares the two, goes through these rules.
#include "data/TRVDoc.h"

#include <string>
#include <string_view>

namespace trv {

// True when the document belongs to an analyser. An empty device ID belongs to none (an old file
// saved once stores it): such a document takes the next analyser that answers.
bool IsDeviceBound(const CTRVDoc& doc);

// The document's form (UTF-8 text) of the ID bytes that the analyser sends. The file stores the
// ID in its code page, which gives back these bytes exactly.
std::string DeviceIdFromAnalyser(std::string_view sent);

// The bytes of the document's device ID as the analyser sent them (what its character positions mean).
std::string DeviceIdAsSent(const CTRVDoc& doc);

// True when `sent` (the analyser's bytes) is the document's device ID, byte for byte.
bool IsSameDevice(const CTRVDoc& doc, std::string_view sent);
// The same for a device ID held apart from its document (document form, UTF-8).
bool IsSameDeviceId(const std::string& stored, std::string_view sent);

}  // namespace trv
