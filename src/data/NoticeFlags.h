#pragma once
// The bits of a document window's notice flags: conditions that need the user's attention without
// stopping the work. The notice line shows one text for each set bit.
#include <cstdint>

namespace trv {

enum NoticeFlag : uint32_t {
    NoticeParams1 = 0x1,           // IDS_NOTICE_PARAMS1: parameters of curve L1 missing
    NoticeParams2 = 0x2,           // IDS_NOTICE_PARAMS2: parameters of curve L2 missing
    NoticeFit1 = 0x4,              // IDS_NOTICE_FIT1: curve L1 cannot be fitted
    NoticeFit2 = 0x8,              // IDS_NOTICE_FIT2: curve L2 cannot be fitted
    NoticeIans1 = 0x10,            // IDS_NOTICE_IANS1: no threshold for curve L1
    NoticeIans2 = 0x20,            // IDS_NOTICE_IANS2: no threshold for curve L2
    NoticeNoTestShown = 0x40,      // no test shown
    NoticeNoTests = 0x80,          // no tests yet
    NoticeUnits = 0x100,           // the two shown tests have different load units
    NoticeDeviceMismatch = 0x200,  // IDS_NOTICE_DEVICE_MISMATCH: the device ID matches no connected analyser
    NoticeNoAnalyser = 0x400,      // IDS_NOTICE_NO_ANALYSER: no analyser found
    NoticeAthlete = 0x1000,        // IDS_NOTICE_ATHLETE: athlete's name missing
    NoticeSecondWindow = 0x2000,   // IDS_NOTICE_SECOND_WINDOW: a second window is open while no analyser is found
};

}  // namespace trv
