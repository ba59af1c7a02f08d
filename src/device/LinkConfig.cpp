// Reading, writing and verifying the analyser's step-test mode.
#include "LinkController.h"

#include "Cp1252.h"
#include "DeviceIdentity.h"

#include "Strings.h"

namespace trv {

namespace {
constexpr int kConfigReadMs = 1000;
constexpr int kConfigWriteMs = 2000;
}  // namespace

bool CLinkController::SupportsConfiguration(const std::string& deviceId, double firmware) {
    return deviceId.size() > 9 && deviceId[9] == '5' && firmware > 3.03;
}

void CLinkController::Configure() {
    m_host.EnableReceive(false);
    if (m_nState != LinkIdle) {
        m_nSearchIndex = 0;
        m_bDownloadPending = false;
        m_bConfigPending = true;
        m_bVerifyPending = false;
        m_bUserSearch = true;
        PortSearch();
        StartIdentification();
        return;
    }
    ConfigAfterSearch();
}

void CLinkController::ConfigAfterSearch() {
    if (!SupportsConfiguration(Utf8ToCp1252(m_strDeviceId), m_dFirmware)) {
        m_bConfigPending = false;
        m_host.MessageBox(LoadStr(IDS_LINK_UNSUPPORTED), "", false);
        EndTransaction(LinkOutcome::Unsupported);
        return;
    }
    StartConfigRead();
}

void CLinkController::StartConfigRead() {
    m_eActive = Active::ConfigRead;
    m_host.ShowStatus();
    m_host.SetStatusText(LoadStr(IDS_LINK_CONFIG_RECEIVING));
    m_host.SetStatusPercent(0);
    m_bVerifyPending = false;
    SendConfigRead();
    m_bConfigPending = false;
}

void CLinkController::SendConfigRead() {
    std::vector<uint8_t> read(proto::kGetConfig, proto::kGetConfig + sizeof proto::kGetConfig - 1);
    read.resize(read.size() + proto::kGetConfigPayload, 0);
    Send(read.data(), read.size());
    m_host.SetTimer(TimerConfigRead, kConfigReadMs);
}

void CLinkController::SendConfigWrite() {
    m_eActive = Active::ConfigWrite;
    std::vector<uint8_t> write(proto::kSetConfig, proto::kSetConfig + sizeof proto::kSetConfig - 1);
    const size_t payload = write.size();
    write.resize(payload + proto::kSetConfigPayload, 0);
    write[payload + proto::kSetConfigModeByte] = m_bStepTestMode ? 1 : 0;
    m_bVerifyPending = true;
    Send(write.data(), write.size());
    m_host.SetTimer(TimerConfigWrite, kConfigWriteMs);
}

void CLinkController::FinishConfig() {
    const bool verifying = m_nState == LinkConfigVerify;
    // Idle before any dialog: bytes that arrive meanwhile must not land in the configuration.
    SetState(LinkIdle);
    m_host.KillTimer(verifying ? TimerConfigWrite : TimerConfigRead);
    m_nRetry = 0;
    m_host.SetStatusPercent(100);
    m_host.HideStatus();
    const uint8_t mode = m_abConfig[proto::kConfigModeByte];
    if (!verifying) {
        m_bStepTestMode = mode != 0;
        bool chosen = m_bStepTestMode;
        if (m_host.RunConfigDialog(chosen)) {
            m_bStepTestMode = chosen;
            m_host.ShowStatus();
            m_host.SetStatusText(LoadStr(IDS_LINK_CONFIG_SENDING));
            m_host.SetStatusPercent(0);
            SendConfigWrite();
            m_bConfigPending = false;
        } else {
            EndTransaction(LinkOutcome::ConfigCancelled);
        }
        return;
    }
    const bool failed = (mode == 0 && m_bStepTestMode) || (mode == 1 && !m_bStepTestMode);
    m_host.MessageBox(LoadStr(failed ? IDS_LINK_CONFIG_CHECK_FAILED : IDS_LINK_CONFIG_SENT), "", false);
    EndTransaction(failed ? LinkOutcome::ConfigVerifyFailed : LinkOutcome::ConfigVerified);
}

}  // namespace trv
