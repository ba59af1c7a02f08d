#pragma once
// One download of the analyser's memory: "getmdata", the frame that follows "putmdata" with its
// progress and its checksum, and the hand-over of a correct frame to the host. The owner decides
// when to ask again and when to give up; the session says how a frame ended.
#include "device/DeviceProtocol.h"
#include "device/LinkChannel.h"
#include "device/LinkHost.h"
#include "device/LinkState.h"

#include <array>
#include <cstdint>
#include <string>

namespace trv {

class CDownloadSession {
public:
    CDownloadSession(CLinkChannel& channel, ILinkHost& host) : m_channel(channel), m_host(host) {}

    // Asks for the memory; the answer is awaited for a second (TimerDataStart).
    void Request();
    // Asks again on the reopened port after the answer stayed away; `attempt` counts from 1.
    void Repeat(int attempt);
    // A download was asked for and its transaction has not ended.
    bool Active() const { return m_bActive; }
    void End() { m_bActive = false; }

    // "putmdata" was heard: the frame follows, within 15 s (TimerFrame).
    void OnFrameWord();
    // One byte of the frame; true when the frame is complete (then call Finish).
    bool OnByte(uint8_t b);
    // Checks the complete frame and hands a correct one to the host as coming from this analyser:
    // Downloaded, or CrcError after the message.
    LinkOutcome Finish(const std::string& deviceId, double firmware);
    // The frame did not complete in time: the link goes offline after the message.
    void OnFrameTimeout();

private:
    CLinkChannel& m_channel;
    ILinkHost& m_host;
    bool m_bActive = false;
    std::array<uint8_t, proto::kFrameBytes> m_Frame{};
    int m_nFrameCount = 0;
    uint16_t m_nCrc = 0;
    int m_nLastPercent = -1;
};

}  // namespace trv
