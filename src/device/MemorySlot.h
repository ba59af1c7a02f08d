#pragma once
// The analyser's memory slots as measurement records: 14 bytes each, little-endian numbers, BCD
// date and time (layout in DeviceProtocol.h).
#include "data/Records.h"
#include "device/DeviceProtocol.h"

#include <cstdint>
#include <vector>

namespace trv {

static_assert(sizeof(MDataType::m_abRaw) == proto::kSlotBytes, "a record keeps one slot's bytes");

// Decodes one slot into a record (raw bytes kept). Out-of-range date parts of a slot in use are
// replaced (second/minute -> 0, hour -> 0, day -> 1, month -> 1, a year after 2099 -> 2000); an empty slot (status 0)
// keeps the record's constructed time. Never rejects a slot.
void DecodeSlot(const uint8_t* slot, PCMDataType& m);

// Encodes a record's fields into a slot (the inverse of DecodeSlot for valid values).
void EncodeSlot(const MDataType& m, uint8_t* slot);

// All slots of a memory image (proto::kMemoryBytes bytes), in slot order, empty slots included.
std::vector<PCMDataType> DecodeMemory(const uint8_t* memory);

}  // namespace trv
