#include "data/DeviceIdentity.h"

#include "data/Cp1252.h"

namespace trv {

bool IsDeviceBound(const CTRVDoc& doc) { return doc.m_bDeviceBound && !doc.m_strDeviceId.empty(); }

// The code page maps every byte to one character and back, so the text form loses nothing.
std::string DeviceIdFromAnalyser(std::string_view sent) { return Cp1252ToUtf8(sent); }

std::string DeviceIdAsSent(const CTRVDoc& doc) { return Utf8ToCp1252(doc.m_strDeviceId); }

bool IsSameDeviceId(const std::string& stored, std::string_view sent) { return stored == DeviceIdFromAnalyser(sent); }

bool IsSameDevice(const CTRVDoc& doc, std::string_view sent) { return doc.m_strDeviceId == DeviceIdFromAnalyser(sent); }

}  // namespace trv
