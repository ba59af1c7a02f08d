#pragma once
// The simulated analyser's settings and readings, read from a small text format:
//
//   # comment
//   device ARV0012345        10 characters
//   firmware 3.05
//   steptest on|off
//   # id  date       time     type  flags      lactate  temp  status  duration
//   1     2026-03-02 09:12:40 single start      1.1      22    1       180
//
// type: single, PrL, Ld, AFL; flags: start, end, start,end or "-"; lactate in mmol/l with a point
// ("High"/"Low" set status 6/7); status 0..15; duration in seconds.
#include "data/Result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv::sim {

struct SimReading {
    int id = 0;
    int year = 2026, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int type = 0;  // 0 single, 1 PrL, 2 Ld, 3 AFL
    bool start = false, end = false;
    int lactate = 0;  // tenths of mmol/l
    int temperature = 22;
    int status = 1;
    int duration = 180;
};

struct SimMemory {
    std::string deviceId = "ARV0012345";
    int firmware100 = 305;
    bool stepTestMode = true;
    std::vector<SimReading> readings;
};

// Parses the text; fails with a German reason (line number) on the first bad line.
Result ParseSimMemory(const std::string& text, SimMemory& memory);
Result LoadSimMemory(const std::string& path, SimMemory& memory);
// The ready sample: a treadmill step test, a field test and single readings.
const std::string& SampleMemoryText();
SimMemory SampleMemory();

// The memory slots: reading with ID n in slot (n - 1) mod 250, the newest winning.
std::vector<uint8_t> BuildMemoryImage(const std::vector<SimReading>& readings);
// The memory frame: image, CRC-16/ARC low byte first, two unused bytes.
std::vector<uint8_t> BuildMemoryFrame(const std::vector<SimReading>& readings);

}  // namespace trv::sim
