#pragma once
// The bits of a document window's notice flags: conditions that need the user's attention without
// stopping the work. The notice line shows one text for each set bit.
#include <cstdint>

namespace trv {

enum NoticeFlag : uint32_t {
    NoticeParams1 = 0x1,           // 2020: parameters of curve L1 missing
    NoticeParams2 = 0x2,           // 2021: parameters of curve L2 missing
    NoticeFit1 = 0x4,              // 2022: curve L1 cannot be fitted
    NoticeFit2 = 0x8,              // 2023: curve L2 cannot be fitted
    NoticeIans1 = 0x10,            // 2024: no threshold for curve L1
    NoticeIans2 = 0x20,            // 2025: no threshold for curve L2
    NoticeNoTestShown = 0x40,      // no test shown
    NoticeNoTests = 0x80,          // no tests yet
    NoticeUnits = 0x100,           // the two shown tests have different load units
    NoticeDeviceMismatch = 0x200,  // 2029: the device ID matches no connected analyser
    NoticeNoAnalyser = 0x400,      // 2030: no analyser found
    NoticeAthlete = 0x1000,        // 2202: athlete's name missing
    NoticeSecondWindow = 0x2000,   // 2218: a second window is open while no analyser is found
};

}  // namespace trv
