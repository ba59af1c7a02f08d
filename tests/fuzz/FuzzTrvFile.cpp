// The document reader on any bytes: it refuses or reads, never more; what it reads, the writer
// stores and the reader gives back unchanged.
#include "FuzzCheck.h"
#include "data/TrvFile.h"

#include <cstdlib>
#include <ctime>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with daylight saving time, so that the local-time conversions of the compact time run.
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    trv::CTRVDoc doc;
    if (const trv::Result read = trv::ReadTrv(bytes, doc); !read) {
        FUZZ_CHECK(!read.message.empty());
        FUZZ_CHECK(doc.GetTestCount() == 0);
        return 0;
    }
    FUZZ_CHECK(doc.m_nVersion >= 2 && doc.m_nVersion <= 5);
    // Every reading announced is in the bytes: the reader never makes up more than the file holds.
    size_t readings = 0;
    for (const auto& t : doc.m_Tests) readings += t.m_Steps.size();
    FUZZ_CHECK(readings * 44 <= size);
    FUZZ_CHECK(!doc.m_bDeviceBound || !doc.m_strDeviceId.empty());

    std::vector<uint8_t> once;
    if (!trv::WriteTrv(doc, once)) return 0;  // a time the format cannot hold: refused
    trv::CTRVDoc back;
    FUZZ_CHECK(trv::ReadTrv(once, back));
    FUZZ_CHECK(back.GetTestCount() == doc.GetTestCount());
    FUZZ_CHECK(back.m_strDeviceId == doc.m_strDeviceId);
    FUZZ_CHECK(back.m_UserData.m_strRemarks == doc.m_UserData.m_strRemarks);
    std::vector<uint8_t> twice;
    FUZZ_CHECK(trv::WriteTrv(back, twice));
    FUZZ_CHECK(twice == once);
    return 0;
}
