#pragma once
// CRC-16/ARC of the analyser's memory frame: reflected polynomial 0xA001, initial value 0,
// no final XOR.
#include "device/DeviceProtocol.h"

#include <cstddef>
#include <cstdint>

namespace trv {

inline uint16_t Crc16ArcUpdate(uint16_t crc, uint8_t b, uint16_t poly = proto::kCrcPolynomial) {
    for (int i = 0; i < 8; ++i) {
        crc = ((crc ^ b) & 1) ? static_cast<uint16_t>((crc >> 1) ^ poly) : static_cast<uint16_t>(crc >> 1);
        b = static_cast<uint8_t>(b >> 1);
    }
    return crc;
}

inline uint16_t Crc16Arc(const uint8_t* data, size_t len) {
    uint16_t crc = 0;
    for (size_t i = 0; i < len; ++i) crc = Crc16ArcUpdate(crc, data[i]);
    return crc;
}

}  // namespace trv
