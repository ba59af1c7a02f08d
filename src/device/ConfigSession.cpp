#include "device/ConfigSession.h"

#include "res/Format.h"
#include "res/Strings.h"

#include <vector>

namespace trv {

namespace {
constexpr int kConfigReadMs = 1000;
constexpr int kConfigWriteMs = 2000;
}  // namespace

bool CConfigSession::Supported(const std::string& deviceId, double firmware) {
    return deviceId.size() > 9 && deviceId[9] == '5' && firmware > 3.03;
}

void CConfigSession::StartRead() {
    m_bActive = true;
    m_host.ShowStatus();
    m_host.SetStatusText(LoadStr(IDS_LINK_CONFIG_RECEIVING));
    m_host.SetStatusPercent(0);
    m_bVerifyPending = false;
    SendRead();
}

void CConfigSession::Repeat(bool read, int attempt) {
    m_channel.Reopen();
    m_host.SetStatusText(FmtId(read ? IDS_LINK_CONFIG_RECEIVING_RETRY : IDS_LINK_CONFIG_SENDING_RETRY, attempt));
    if (read) {
        SendRead();
    } else {
        SendWrite();
    }
}

void CConfigSession::SendRead() {
    std::vector<uint8_t> read(proto::kGetConfig, proto::kGetConfig + sizeof proto::kGetConfig - 1);
    read.resize(read.size() + proto::kGetConfigPayload, 0);
    m_channel.Send(read);
    m_host.SetTimer(TimerConfigRead, kConfigReadMs);
}

void CConfigSession::SendWrite() {
    m_bActive = true;
    std::vector<uint8_t> write(proto::kSetConfig, proto::kSetConfig + sizeof proto::kSetConfig - 1);
    const size_t payload = write.size();
    write.resize(payload + proto::kSetConfigPayload, 0);
    write[payload + proto::kSetConfigModeByte] = m_bStepTestMode ? 1 : 0;
    m_bVerifyPending = true;
    m_channel.Send(write);
    m_host.SetTimer(TimerConfigWrite, kConfigWriteMs);
}

void CConfigSession::OnConfigWord() {
    m_channel.SetState(m_bVerifyPending ? LinkConfigVerify : LinkConfigRead);
    m_host.SetStatusPercent(50);
    m_nConfigCount = 0;
}

bool CConfigSession::OnByte(uint8_t b) {
    if (m_nConfigCount < proto::kConfigBytes) m_abConfig[m_nConfigCount++] = b;
    return m_nConfigCount == proto::kConfigBytes;
}

std::optional<LinkOutcome> CConfigSession::Finish() {
    const bool verifying = m_channel.State() == LinkConfigVerify;
    // Idle before any dialog: bytes that arrive meanwhile must not land in the configuration.
    m_channel.SetState(LinkIdle);
    m_host.KillTimer(verifying ? TimerConfigWrite : TimerConfigRead);
    m_host.SetStatusPercent(100);
    m_host.HideStatus();
    const uint8_t mode = m_abConfig[proto::kConfigModeByte];
    if (!verifying) {
        m_bStepTestMode = mode != 0;
        bool chosen = m_bStepTestMode;
        if (!m_host.RunConfigDialog(chosen)) return LinkOutcome::ConfigCancelled;
        m_bStepTestMode = chosen;
        m_host.ShowStatus();
        m_host.SetStatusText(LoadStr(IDS_LINK_CONFIG_SENDING));
        m_host.SetStatusPercent(0);
        SendWrite();
        return std::nullopt;
    }
    const bool failed = (mode == 0 && m_bStepTestMode) || (mode == 1 && !m_bStepTestMode);
    m_host.MessageBox(LoadStr(failed ? IDS_LINK_CONFIG_CHECK_FAILED : IDS_LINK_CONFIG_SENT), "", false);
    return failed ? LinkOutcome::ConfigVerifyFailed : LinkOutcome::ConfigVerified;
}

}  // namespace trv
