#pragma once
// Builds file bytes field by field in tests, independent of the program's writer.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ByteBuilder {
    std::vector<uint8_t> b;
    template <typename T>
    ByteBuilder& raw(T v) {
        uint8_t tmp[sizeof(T)];
        std::memcpy(tmp, &v, sizeof(T));
        b.insert(b.end(), tmp, tmp + sizeof(T));
        return *this;
    }
    ByteBuilder& i32(int32_t v) { return raw(v); }
    ByteBuilder& u32(uint32_t v) { return raw(v); }
    ByteBuilder& u16(uint16_t v) { return raw(v); }
    ByteBuilder& u8(uint8_t v) { return raw(v); }
    ByteBuilder& f64(double v) { return raw(v); }
    // A short code-page string (length below 255): one length byte, then the bytes.
    ByteBuilder& str(const std::string& cp1252) {
        u8(static_cast<uint8_t>(cp1252.size()));
        b.insert(b.end(), cp1252.begin(), cp1252.end());
        return *this;
    }
    ByteBuilder& date(int32_t status, double days) { return i32(status).f64(days); }
    // Athlete block: seven texts, weight, height, birth date, sex, remarks.
    ByteBuilder& athlete(const std::vector<std::string>& texts, double weight, double height, double birth, int sex,
                         const std::string& remarks) {
        for (const auto& t : texts) str(t);
        f64(weight).f64(height).date(0, birth).i32(sex);
        return str(remarks);
    }
    ByteBuilder& emptyAthlete() { return athlete({"", "", "", "", "", "", ""}, 0, 0, 0, 0, ""); }
};
