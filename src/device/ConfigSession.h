#pragma once
// Reading, changing and verifying the analyser's step-test mode: "geticonfig" and its answer, the
// dialog "Geräteeinstellungen", "seticonfig" with the chosen mode and the read-back that confirms
// it. The owner decides when to ask again and when to give up; the session says how it ended.
#include "device/DeviceProtocol.h"
#include "device/LinkChannel.h"
#include "device/LinkHost.h"
#include "device/LinkState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace trv {

class CConfigSession {
public:
    CConfigSession(CLinkChannel& channel, ILinkHost& host) : m_channel(channel), m_host(host) {}

    // Whether the analyser's device ID (code-page bytes) and firmware offer the configuration.
    static bool Supported(const std::string& deviceId, double firmware);

    // Shows the status and asks for the configuration (TimerConfigRead).
    void StartRead();
    // Asks again on the reopened port after the answer stayed away: the read when `read`, else the
    // write. `attempt` counts from 2 (the first request was the first attempt).
    void Repeat(bool read, int attempt);
    // A configuration was read or written and its transaction has not ended.
    bool Active() const { return m_bActive; }
    void End() { m_bActive = false; }
    // Forgets a write under way: the next answer is a read.
    void ForgetWrite() { m_bVerifyPending = false; }

    // "puticonf" was heard: the answer to the read, or the read-back after a write, follows.
    void OnConfigWord();
    // One byte of the answer; true when it is complete (then call Finish).
    bool OnByte(uint8_t b);
    // After a read: the dialog with the mode read preselected, and on OK the write of the chosen mode
    // (no outcome yet), else ConfigCancelled. After the read-back: ConfigVerified or
    // ConfigVerifyFailed after the message.
    std::optional<LinkOutcome> Finish();

    // The step-test mode as last read or chosen.
    bool StepTestMode() const { return m_bStepTestMode; }

private:
    void SendRead();
    void SendWrite();

    CLinkChannel& m_channel;
    ILinkHost& m_host;
    bool m_bActive = false;
    bool m_bVerifyPending = false;
    bool m_bStepTestMode = true;
    std::array<uint8_t, proto::kConfigBytes> m_abConfig{};
    size_t m_nConfigCount = 0;
};

}  // namespace trv
