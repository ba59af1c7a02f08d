#pragma once
#include "FakeLink.h"
#include "device/Crc16.h"
#include "device/MemorySlot.h"
#include "res/Strings.h"
#include "workspace/LinkHandOver.h"

#include <gtest/gtest.h>

namespace trv::test {

// Flags bytes: status 1, type in bits 4-5, start 0x40, end 0x80.
constexpr uint8_t kSingle = 0x41;    // single reading, start of its own test
constexpr uint8_t kPreStart = 0x51;  // pre-load, test start
constexpr uint8_t kLoad = 0x21;      // main-load step
constexpr uint8_t kPostEnd = 0xB1;   // post-load, test end

inline std::vector<int> Ids(const TestDataType& t) {
    std::vector<int> ids;
    for (const auto& s : t.m_Steps) ids.push_back(s.m_nMeasId);
    return ids;
}

// A slot written byte by byte: id, flags (status | type << 4 | start 0x40 | end 0x80), lactate.
inline void PutSlot(std::vector<uint8_t>& mem, int slot, int id, uint8_t flags, int lactate,
                    std::array<uint8_t, 6> bcd = {0x00, 0x30, 0x09, 0x02, 0x03, 0x26}) {
    uint8_t* s = mem.data() + slot * 14;
    s[0] = static_cast<uint8_t>(id & 0xFF);
    s[1] = static_cast<uint8_t>(id >> 8);
    s[2] = 180;
    s[3] = 0;
    s[4] = flags;
    s[5] = static_cast<uint8_t>(lactate & 0xFF);
    s[6] = static_cast<uint8_t>(lactate >> 8);
    s[7] = 22;
    for (int i = 0; i < 6; ++i) s[8 + i] = bcd[static_cast<size_t>(i)];
}

struct SlotSpec {
    int slot, id;
    uint8_t flags;
    int lactate;
};
using TestIds = std::vector<std::vector<int>>;

inline TestIds AllIds(const CTRVDoc& doc) {
    TestIds ids;
    for (const auto& t : doc.m_Tests) ids.push_back(Ids(t));
    return ids;
}

// Writes `slots` into `mem`, merges the whole memory into `doc` and returns every test's IDs.
inline TestIds MergeSlots(CTRVDoc& doc, std::vector<uint8_t>& mem, std::initializer_list<SlotSpec> slots) {
    for (const SlotSpec& s : slots) PutSlot(mem, s.slot, s.id, s.flags, s.lactate);
    doc.MergeDeviceMemory(DecodeMemory(mem.data()));
    return AllIds(doc);
}

// The 3504-byte frame around a memory image, with its checksum.
inline std::vector<uint8_t> FrameOf(const std::vector<uint8_t>& mem) {
    std::vector<uint8_t> f(mem);
    f.resize(3504, 0);
    const uint16_t crc = Crc16Arc(f.data(), 3500);
    f[3500] = static_cast<uint8_t>(crc & 0xFF);
    f[3501] = static_cast<uint8_t>(crc >> 8);
    return f;
}

// A memory with a single reading (id 7) and a step test 8..10 (pre-load, load, post-load).
inline std::vector<uint8_t> SmallMemory() {
    std::vector<uint8_t> mem(3500, 0);
    PutSlot(mem, 6, 7, 0x41, 13);
    PutSlot(mem, 7, 8, 0x51, 11);
    PutSlot(mem, 8, 9, 0x21, 25);
    PutSlot(mem, 9, 10, 0xB1, 60);
    return mem;
}

// The controller with a document window's workspace as its owner: a download merges as a command.
struct LinkFixture : ::testing::Test {
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws{doc, history};
    FakePort port;
    FakeHost host;
    CLinkController ctl{port, host};

    LinkFixture() {
        host.ctl = &ctl;
        host.boundIdentity = [this](std::string& id, double& fw) { return ws.BoundIdentity(id, fw); };
        host.onMemory = [this](const uint8_t* m, const std::string& id, double fw) { ws.MergeDownload(m, id, fw); };
    }

    void Feed(const std::string& bytes) {
        port.Queue(bytes);
        ctl.OnSerialData();
    }
    void Feed(const std::vector<uint8_t>& bytes) {
        port.Queue(bytes);
        ctl.OnSerialData();
    }
    // "Daten empfangen" with one analyser on `com`: search, identity, "getmdata" sent.
    void ConnectForDownload(const std::string& com = "COM3", const std::string& id = "ARV0000125",
                            const std::string& fw = "305") {
        port.openable.insert(com);
        ctl.ReceiveData();
        Feed(IdentityAnswer(id, fw));
        ASSERT_EQ(ctl.State(), LinkIdle);
        ASSERT_EQ(port.writes.back().bytes, "getmdata");
    }
};

}  // namespace trv::test
