#include "LinkController.h"

#include "DeviceIdentity.h"

#include "Crc16.h"
#include "Format.h"
#include "MemorySlot.h"
#include "Strings.h"

#include <cstring>

namespace trv {

namespace {
constexpr int kDataStartMs = 1000;
constexpr int kFrameMs = 15000;
constexpr int kPollingMs = 15000;
constexpr int kMaxRetries = 3;
}  // namespace

CLinkController::CLinkController(ILinkPort& port, ILinkHost& host)
    : m_port(port), m_host(host), m_Frame(proto::kFrameBytes, 0) {}

CLinkController::~CLinkController() { Disconnect(); }

// ---- transport -------------------------------------------------------------------------------

bool CLinkController::Send(const uint8_t* data, size_t len) { return m_port.Write(data, len); }

bool CLinkController::Send(const char* word) { return Send(reinterpret_cast<const uint8_t*>(word), std::strlen(word)); }

bool CLinkController::Connect(const std::string& name) {
    if (!m_port.Open(name)) return false;
    m_port.StartReader();
    return true;
}

void CLinkController::Disconnect() {
    m_port.StopReader();
    m_port.Close();
}

void CLinkController::Reopen() {
    if (m_port.IsOpen()) {
        Disconnect();
        m_host.Sleep(m_nReopenDelay);
    }
    const std::string name = m_port.PortName();
    if (m_port.Open(name)) m_port.StartReader();
    SetState(LinkIdle);
}

void CLinkController::RequestMeasurementData() {
    m_eActive = Active::Download;
    Send(proto::kGetMemory);
    m_host.SetTimer(TimerDataStart, kDataStartMs);
}

void CLinkController::SetNotice(uint32_t bits) {
    m_nNotice |= bits;
    m_host.SetNoticeFlags(bits);
}

void CLinkController::ClearNotice(uint32_t bits) {
    m_nNotice &= ~bits;
    m_host.ClearNoticeFlags(bits);
}

void CLinkController::EndTransaction(LinkOutcome outcome) {
    m_eActive = Active::None;
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
        m_port.TakeReceived(bytes);
        for (uint8_t b : bytes) ProcessByte(b);
    } while (m_bReceiveAgain);
    m_bInReceive = false;
    if (m_port.IsOpen() && m_port.HungUp()) OnHangUp();
}

void CLinkController::ProcessByte(uint8_t b) {
    switch (m_nState) {
        case LinkIdle:
            m_strWindow.push_back(static_cast<char>(b));
            if (m_strWindow.size() > proto::kAnswerWordChars) m_strWindow.erase(0, 1);
            if (m_strWindow.size() == proto::kAnswerWordChars) OnWord();
            break;
        case LinkMeasurementData:
            m_Frame[static_cast<size_t>(m_nFrameCount)] = b;
            ++m_nFrameCount;
            if (m_nFrameCount <= proto::kMemoryBytes) m_nCrc = Crc16ArcUpdate(m_nCrc, b, m_nPoly);
            if (const int percent = m_nFrameCount * 100 / proto::kFrameBytes; percent != m_nLastPercent) {
                if (m_nLastPercent < 0) m_host.SetStatusText(LoadStr(IDS_LINK_RECEIVING));
                m_nLastPercent = percent;
                m_host.SetStatusPercent(percent);
            }
            if (m_nFrameCount == proto::kFrameBytes) FinishFrame();
            break;
        case LinkDeviceId:
            // Outside a search nobody waits for the identity: keep no more than one.
            if (m_strIdBuf.size() < proto::kIdentityChars) m_strIdBuf.push_back(static_cast<char>(b));
            if (m_strIdBuf.size() == proto::kIdentityChars && m_nSearchIndex != 0) IdentityReceived();
            break;
        case LinkConfigRead:
        case LinkConfigVerify:
            if (m_nConfigCount < static_cast<int>(proto::kConfigBytes))
                m_abConfig[static_cast<size_t>(m_nConfigCount++)] = b;
            if (m_nConfigCount == static_cast<int>(proto::kConfigBytes)) FinishConfig();
            break;
        case LinkOffline:
        case LinkDiscard:
            break;
    }
}

void CLinkController::OnWord() {
    const std::string& w = m_strWindow;
    if (w == proto::kPutIdentity) {
        SetState(LinkDeviceId);
        m_host.KillTimer(TimerIdentify);
        m_strIdBuf.clear();
        // An identity that stops short must not stall the search: the port then counts as silent.
        if (m_nSearchIndex != 0) m_host.SetTimer(TimerIdentify, 1000);
    } else if (w == proto::kPutMemory) {
        m_nRetry = 0;
        m_host.ShowStatus();
        SetState(LinkMeasurementData);
        m_host.KillTimer(TimerDataStart);
        m_nFrameCount = 0;
        m_nCrc = 0;
        m_nPoly = proto::kCrcPolynomial;
        m_nLastPercent = -1;
        m_host.SetTimer(TimerFrame, kFrameMs);
    } else if (w == proto::kPutOther) {
        SetState(LinkDiscard);
    } else if (w == proto::kSwitchOff) {
        Reopen();
        m_host.Beep(BeepKind::Default);
    } else if (w == proto::kNotify) {
        ReceiveData();
    } else if (w == proto::kPutConfig) {
        SetState(m_bVerifyPending ? LinkConfigVerify : LinkConfigRead);
        m_host.SetStatusPercent(50);
        m_nConfigCount = 0;
    }
}

void CLinkController::FinishFrame() {
    SetState(LinkIdle);
    m_host.HideStatus();
    m_host.KillTimer(TimerFrame);
    const uint16_t received = static_cast<uint16_t>(m_Frame[proto::kCrcOffset] | (m_Frame[proto::kCrcOffset + 1] << 8));
    if (received != m_nCrc) {
        m_host.Beep(BeepKind::Exclamation);
        m_host.MessageBox(LoadStr(IDS_LINK_CRC_ERROR), LoadStr(IDS_LINK_TRANSFER_ERROR), true);
        m_host.HideStatus();
        // The link stays with this analyser: the next download asks it without a search.
        EndTransaction(LinkOutcome::CrcError);
        return;
    }
    m_host.ShowStatus();
    m_host.MemoryReceived(m_Frame.data(), m_strDeviceId, m_dFirmware);
    m_host.HideStatus();
    EndTransaction(LinkOutcome::Downloaded);
}

// The port went away (cable pulled, Bluetooth lost, simulator ended): the link is offline, as when
// no analyser answers.
void CLinkController::OnHangUp() {
    Disconnect();
    if (m_nSearchIndex != 0) return;  // identification: timer 1 treats the port as silent
    for (int id : {TimerDataStart, TimerFrame, TimerConfigRead, TimerConfigWrite}) m_host.KillTimer(id);
    const bool busy = m_eActive != Active::None || m_nState == LinkMeasurementData || m_nState == LinkConfigRead ||
                      m_nState == LinkConfigVerify;
    SetState(LinkOffline);
    m_bDownloadPending = false;
    m_bConfigPending = false;
    m_nRetry = 0;
    m_host.HideStatus();
    SetNotice(NoticeNoAnalyser);
    if (busy) {
        m_host.MessageBox(LoadStr(IDS_LINK_NO_ANSWER), "", false);
        EndTransaction(LinkOutcome::HungUp);
    }
}

// ---- timers ----------------------------------------------------------------------------------

void CLinkController::OnTimer(int id) {
    m_host.KillTimer(id);
    switch (id) {
        case TimerIdentify:
            OnIdentifyTimeout();
            break;
        case TimerDataStart:
        case TimerConfigRead:
        case TimerConfigWrite:
            Retry(id);
            break;
        case TimerFrame:
            OnFrameTimeout();
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
    Disconnect();
    m_host.Sleep(m_nReopenDelay);
    m_bDownloadPending = false;
    if (m_nRetry < kMaxRetries) {
        if (timer == TimerDataStart) {
            m_host.SetStatusText(FmtId(IDS_LINK_RECEIVING_RETRY, m_nRetry + 1));
            Reopen();
            RequestMeasurementData();
        } else {
            Reopen();
            m_host.SetStatusText(
                FmtId(timer == TimerConfigRead ? IDS_LINK_CONFIG_RECEIVING_RETRY : IDS_LINK_CONFIG_SENDING_RETRY,
                      m_nRetry + 2));
            if (timer == TimerConfigRead) {
                SendConfigRead();
            } else {
                SendConfigWrite();
            }
            m_bConfigPending = false;
        }
        ++m_nRetry;
        return;
    }
    SetState(LinkOffline);
    m_host.MessageBox(LoadStr(IDS_LINK_NO_ANSWER), "", false);
    m_nRetry = 0;
    SetNotice(NoticeNoAnalyser);
    m_host.HideStatus();
    EndTransaction(LinkOutcome::NoAnswer);
}

void CLinkController::OnFrameTimeout() {
    Disconnect();
    SetState(LinkOffline);
    m_host.HideStatus();
    m_host.MessageBox(LoadStr(IDS_LINK_TIMEOUT), "", false);
    EndTransaction(LinkOutcome::FrameTimeout);
}

void CLinkController::OnPollingTick() {
    if (m_nState == LinkOffline) {
        m_nSearchIndex = 0;
        m_bUserSearch = false;
        PortSearch();
        StartIdentification();
        return;
    }
    if (m_nState != LinkIdle) return;
    static const uint8_t keepAlive = proto::kKeepAlive;
    size_t written = 0;
    m_port.Write(&keepAlive, 1, written);
    for (int attempt = 0; attempt < 2 && written < 1; ++attempt) {
        Reopen();
        m_host.Sleep(250);
        m_port.Write(&keepAlive, 1, written);
    }
    if (written < 1) {
        SetState(LinkOffline);
        Disconnect();
        SetNotice(NoticeNoAnalyser);
    }
    m_host.SetTimer(TimerPolling, kPollingMs);
}

// ---- commands --------------------------------------------------------------------------------

void CLinkController::ReceiveData() {
    if (m_nState == LinkIdle) {
        m_bConfigPending = false;
        m_host.EnableReceive(false);
        RequestMeasurementData();
        return;
    }
    m_host.EnableReceive(false);
    m_nSearchIndex = 0;
    m_bConfigPending = false;
    m_bUserSearch = true;
    PortSearch();
    // Set before the identification starts: a search that finds no port at all ends at once, and
    // the download then stays pending for the next successful search.
    m_bDownloadPending = true;
    StartIdentification();
}

void CLinkController::Search() {
    m_host.EnableReceive(false);
    m_nSearchIndex = 0;
    m_bConfigPending = false;
    m_bDownloadPending = false;
    m_bUserSearch = true;
    PortSearch();
    StartIdentification();
}

bool CLinkController::ResetMemory() {
    if (!m_host.AskYesNo(LoadStr(IDS_LINK_ASK_RESET), LoadStr(IDS_ATTENTION))) return false;
    if (m_nState != LinkIdle) return false;
    return Send(proto::kReset);
}

void CLinkController::SetAutoPolling(bool on) {
    m_bAutoPolling = on;
    if (!on) {
        m_host.KillTimer(TimerPolling);
        return;
    }
    if (m_nState == LinkOffline || m_nState == LinkIdle) {
        m_nSearchIndex = 0;
        m_bUserSearch = false;
        PortSearch();
        StartIdentification();
    }
}

bool CLinkController::Busy() const {
    return m_nSearchIndex != 0 || m_eActive != Active::None || m_bDownloadPending || m_bConfigPending ||
           m_nState == LinkMeasurementData || m_nState == LinkConfigRead || m_nState == LinkConfigVerify;
}

void CLinkController::Cancel() {
    if (!Busy()) return;
    for (int id : {TimerIdentify, TimerDataStart, TimerFrame, TimerConfigRead, TimerConfigWrite}) m_host.KillTimer(id);
    Disconnect();
    SetState(LinkOffline);
    m_nSearchIndex = 0;
    m_bDownloadPending = false;
    m_bConfigPending = false;
    m_bVerifyPending = false;
    m_nRetry = 0;
    m_nFrameCount = 0;
    m_strWindow.clear();
    m_host.HideStatus();
    EndTransaction(LinkOutcome::Cancelled);
}

void CLinkController::ToggleBtCompatibility() { m_nReopenDelay = m_nReopenDelay != 100 ? 100 : 3000; }

}  // namespace trv
