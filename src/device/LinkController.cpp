#include "device/LinkController.h"

#include "data/Cp1252.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv {

namespace {
constexpr int kPollingMs = 15000;
constexpr int kMaxRetries = 3;
}  // namespace

CLinkController::CLinkController(ILinkPort& port, ILinkHost& host)
    : m_host(host),
      m_channel(port, host),
      m_search(m_channel, host),
      m_download(m_channel, host),
      m_config(m_channel, host) {}

CLinkController::~CLinkController() { m_channel.Disconnect(); }

void CLinkController::SetNotice(uint32_t bits) {
    m_nNotice |= bits;
    m_host.SetNoticeFlags(bits);
}

void CLinkController::ClearNotice(uint32_t bits) {
    m_nNotice &= ~bits;
    m_host.ClearNoticeFlags(bits);
}

void CLinkController::EndTransaction(LinkOutcome outcome) {
    m_download.End();
    m_config.End();
    m_eOutcome = outcome;
    m_host.EnableReceive(true);
}

// ---- receive ---------------------------------------------------------------------------------

void CLinkController::OnSerialData() {
    // A modal box opened while handling bytes may deliver the next notification re-entrantly.
    if (m_bInReceive) {
        m_bReceiveAgain = true;
        return;
    }
    m_bInReceive = true;
    std::vector<uint8_t> bytes;
    do {
        m_bReceiveAgain = false;
        bytes.clear();
        m_channel.TakeReceived(bytes);
        for (uint8_t b : bytes) ProcessByte(b);
    } while (m_bReceiveAgain);
    m_bInReceive = false;
    if (m_channel.HungUp()) OnHangUp();
}

void CLinkController::ProcessByte(uint8_t b) {
    switch (m_channel.State()) {
        case LinkIdle:
            if (m_channel.PushWordChar(b)) OnWord(m_channel.Word());
            break;
        case LinkMeasurementData:
            if (m_download.OnByte(b)) EndTransaction(m_download.Finish(m_strDeviceId, m_dFirmware));
            break;
        case LinkDeviceId:
            if (m_search.OnIdentityChar(b)) FinishSearch();
            break;
        case LinkConfigRead:
        case LinkConfigVerify:
            if (m_config.OnByte(b)) FinishConfig();
            break;
        case LinkOffline:
        case LinkDiscard:
            break;
    }
}

void CLinkController::OnWord(const std::string& word) {
    if (word == proto::kPutIdentity) {
        m_search.OnIdentityWord();
    } else if (word == proto::kPutMemory) {
        m_nRetry = 0;  // an answer ends the repeats
        m_download.OnFrameWord();
    } else if (word == proto::kPutOther) {
        m_channel.SetState(LinkDiscard);
    } else if (word == proto::kSwitchOff) {
        m_channel.Reopen();
        m_host.Beep(BeepKind::Default);
    } else if (word == proto::kNotify) {
        ReceiveData();
    } else if (word == proto::kPutConfig) {
        m_config.OnConfigWord();
    }
}

void CLinkController::FinishConfig() {
    m_nRetry = 0;
    if (const std::optional<LinkOutcome> end = m_config.Finish()) {
        EndTransaction(*end);
    } else {
        m_bConfigPending = false;
    }
}

// The port went away (cable pulled, Bluetooth lost, simulator ended): the link is offline, as when
// no analyser answers.
void CLinkController::OnHangUp() {
    m_channel.Disconnect();
    if (m_search.Running()) return;  // identification: the identify timer treats the port as silent
    for (int id : {TimerDataStart, TimerFrame, TimerConfigRead, TimerConfigWrite}) m_host.KillTimer(id);
    const LinkState state = m_channel.State();
    const bool busy = m_download.Active() || m_config.Active() || state == LinkMeasurementData ||
                      state == LinkConfigRead || state == LinkConfigVerify;
    m_channel.SetState(LinkOffline);
    m_bDownloadPending = false;
    m_bConfigPending = false;
    m_nRetry = 0;
    m_host.HideStatus();
    SetNotice(NoticeNoAnalyser);
    if (busy) {
        // The same words as trv-cli's, with the warning icon.
        m_host.MessageBox(LoadStr(IDS_CLI_CONNECTION_LOST), "", true);
        EndTransaction(LinkOutcome::HungUp);
    }
}

// ---- search ----------------------------------------------------------------------------------

std::string CLinkController::BusyText() const {
    const std::string& port = m_search.BusyPort();
    return port.empty() ? std::string() : FmtId(IDS_PORT_BUSY, port.c_str());
}

void CLinkController::StartSearch() {
    m_search.ProbePorts();
    if (m_search.Identify()) FinishSearch();
}

void CLinkController::FinishSearch() {
    m_search.Stop();
    m_host.HideStatus();
    if (m_search.IdentifiedIds().empty()) {
        // A port held by another window or program is most likely the analyser: say so rather than
        // that there is none.
        const std::string busy = BusyText();
        if (busy.empty()) SetNotice(NoticeNoAnalyser);
        m_channel.SetState(LinkOffline);
        m_host.SetDeviceAnnotation("", false);
        m_channel.Disconnect();
        const std::string& permission = m_search.PermissionText();
        if (!busy.empty())
            m_host.MessageBox(busy, "", true);
        else if (!permission.empty() && m_bUserSearch)
            m_host.MessageBox(permission, "", true);
        m_bConfigPending = false;
        EndTransaction(!busy.empty()        ? LinkOutcome::PortBusy
                       : permission.empty() ? LinkOutcome::NoAnalyser
                                            : LinkOutcome::PermissionDenied);
    } else {
        std::string boundId;
        double boundFirmware = 0.0;
        const bool bound = m_host.BoundIdentity(boundId, boundFirmware);
        if (const auto choice = m_search.Choose(bound, boundId, boundFirmware); !choice) {
            // No analyser of this document: the link counts as offline, the port stays closed.
            SetNotice(NoticeDeviceMismatch);
            m_channel.SetState(LinkOffline);
            m_bConfigPending = false;
            EndTransaction(LinkOutcome::DeviceMismatch);
        } else {
            m_strDeviceId = choice->deviceId;
            m_dFirmware = choice->firmware;
            m_host.SetDeviceAnnotation(
                FmtId(IDS_LINK_DEVICE_INFO, m_strDeviceId.c_str(), m_dFirmware, choice->port.c_str()), true);
            m_strBoundPort = choice->port;
            m_channel.Connect(choice->port);
            m_channel.SetState(LinkIdle);
            m_channel.ClearWords();
            if (!m_bDownloadPending && !m_bConfigPending) EndTransaction(LinkOutcome::Found);
            if (m_bDownloadPending) {
                m_bDownloadPending = false;
                m_download.Request();
            }
            if (m_bConfigPending) ConfigAfterSearch();
            ClearNotice(NoticeDeviceMismatch);
        }
        ClearNotice(NoticeNoAnalyser);
    }
    if (m_bAutoPolling) m_host.SetTimer(TimerPolling, kPollingMs);
}

void CLinkController::ConfigAfterSearch() {
    if (!CConfigSession::Supported(Utf8ToCp1252(m_strDeviceId), m_dFirmware)) {
        m_bConfigPending = false;
        m_host.MessageBox(LoadStr(IDS_LINK_UNSUPPORTED), "", false);
        EndTransaction(LinkOutcome::Unsupported);
        return;
    }
    m_config.StartRead();
    m_bConfigPending = false;
}

// ---- timers ----------------------------------------------------------------------------------

void CLinkController::OnTimer(int id) {
    m_host.KillTimer(id);
    switch (id) {
        case TimerIdentify:
            if (m_search.OnTimeout()) FinishSearch();
            break;
        case TimerDataStart:
        case TimerConfigRead:
        case TimerConfigWrite:
            Retry(id);
            break;
        case TimerFrame:
            m_download.OnFrameTimeout();
            EndTransaction(LinkOutcome::FrameTimeout);
            break;
        case TimerPolling:
            OnPollingTick();
            break;
        default:
            break;
    }
}

void CLinkController::Retry(int timer) {
    if (timer == TimerDataStart) m_host.ShowStatus();
    m_channel.Disconnect();
    m_channel.PauseAfterClose();
    m_bDownloadPending = false;
    if (m_nRetry < kMaxRetries) {
        if (timer == TimerDataStart) {
            m_download.Repeat(m_nRetry + 1);
        } else {
            m_config.Repeat(timer == TimerConfigRead, m_nRetry + 2);
            m_bConfigPending = false;
        }
        ++m_nRetry;
        return;
    }
    m_channel.SetState(LinkOffline);
    m_host.MessageBox(LoadStr(IDS_LINK_NO_ANSWER), "", false);
    m_nRetry = 0;
    SetNotice(NoticeNoAnalyser);
    m_host.HideStatus();
    EndTransaction(LinkOutcome::NoAnswer);
}

void CLinkController::OnPollingTick() {
    if (m_channel.State() == LinkOffline) {
        m_bUserSearch = false;
        StartSearch();
        return;
    }
    if (m_channel.State() != LinkIdle) return;
    if (!m_channel.KeepAlive()) {
        m_channel.SetState(LinkOffline);
        m_channel.Disconnect();
        SetNotice(NoticeNoAnalyser);
    }
    m_host.SetTimer(TimerPolling, kPollingMs);
}

// ---- commands --------------------------------------------------------------------------------

void CLinkController::ReceiveData() {
    if (m_channel.State() == LinkIdle) {
        m_bConfigPending = false;
        m_host.EnableReceive(false);
        m_download.Request();
        return;
    }
    m_host.EnableReceive(false);
    m_bConfigPending = false;
    m_bUserSearch = true;
    m_search.ProbePorts();
    // Set before the identification starts: a search that finds no port at all ends at once, and
    // the download then stays pending for the next successful search.
    m_bDownloadPending = true;
    if (m_search.Identify()) FinishSearch();
}

void CLinkController::Configure() {
    m_host.EnableReceive(false);
    if (m_channel.State() != LinkIdle) {
        m_bDownloadPending = false;
        m_bConfigPending = true;
        m_config.ForgetWrite();
        m_bUserSearch = true;
        StartSearch();
        return;
    }
    ConfigAfterSearch();
}

void CLinkController::Search() {
    m_host.EnableReceive(false);
    m_bConfigPending = false;
    m_bDownloadPending = false;
    m_bUserSearch = true;
    StartSearch();
}

bool CLinkController::ResetMemory() {
    if (!m_host.AskYesNo(LoadStr(IDS_LINK_ASK_RESET), LoadStr(IDS_ATTENTION))) return false;
    if (m_channel.State() != LinkIdle) return false;
    return m_channel.Send(proto::kReset);
}

void CLinkController::SetAutoPolling(bool on) {
    m_bAutoPolling = on;
    if (!on) {
        m_host.KillTimer(TimerPolling);
        return;
    }
    if (m_channel.State() == LinkOffline || m_channel.State() == LinkIdle) {
        m_bUserSearch = false;
        StartSearch();
    }
}

bool CLinkController::Busy() const {
    const LinkState state = m_channel.State();
    return m_search.Running() || m_download.Active() || m_config.Active() || m_bDownloadPending || m_bConfigPending ||
           state == LinkMeasurementData || state == LinkConfigRead || state == LinkConfigVerify;
}

void CLinkController::Cancel() {
    if (!Busy()) return;
    for (int id : {TimerIdentify, TimerDataStart, TimerFrame, TimerConfigRead, TimerConfigWrite}) m_host.KillTimer(id);
    m_channel.Disconnect();
    m_channel.SetState(LinkOffline);
    m_search.Stop();
    m_bDownloadPending = false;
    m_bConfigPending = false;
    m_config.ForgetWrite();
    m_nRetry = 0;
    m_channel.ClearWords();
    m_host.HideStatus();
    EndTransaction(LinkOutcome::Cancelled);
}

}  // namespace trv
