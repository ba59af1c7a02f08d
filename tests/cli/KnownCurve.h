#pragma once
// A version-5 document with one step test of a curve known by hand: lactate 0.1 x² + 0.2 x + 0.5 mmol/l
// at 2..7 m/s crosses 4 mmol/l at x = 5 (x² + 2x - 35 = 0); heart rate 100 + 10 x gives 150 there.
// With `anna` the athlete is Anna Meier, born 14.07.1994, female; else the athlete block is empty.
#include "ByteBuilder.h"

#include <filesystem>
#include <fstream>

inline void WriteKnownCurve(const std::filesystem::path& file, bool anna) {
    ByteBuilder bb;
    bb.i32(5).u32(1);
    bb.i32(0).i32(1).i32(0).u8(1).i32(0).f64(2).f64(1).f64(150).i32(0).u8(0).i32(180).u8(1).u8(0);
    bb.u32(6);
    for (int x = 2; x <= 7; ++x)
        bb.u16(static_cast<uint16_t>(x * x + 2 * x + 5))
            .u16(static_cast<uint16_t>(x))
            .u8(1)
            .u8(23)
            .u32(1700000000u + 180u * static_cast<uint32_t>(x))
            .f64(0)
            .i32(100 + 10 * x)
            .f64(x)
            .f64(0)
            .u8(2)
            .u16(180)
            .u8(1)
            .u8(0)
            .u8(0);
    if (anna)
        bb.athlete({"Anna", "Meier", "", "", "", "", ""}, 60, 170, 34529.0, 2, "");
    else
        bb.emptyAthlete();
    bb.str("").f64(0);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bb.b.data()), static_cast<long>(bb.b.size()));
}
