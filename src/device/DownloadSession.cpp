#include "device/DownloadSession.h"

#include "device/Crc16.h"
#include "res/Format.h"
#include "res/Strings.h"

namespace trv {

namespace {
constexpr int kDataStartMs = 1000;
constexpr int kFrameMs = 15000;
}  // namespace

void CDownloadSession::Request() {
    m_bActive = true;
    m_channel.Send(proto::kGetMemory);
    m_host.SetTimer(TimerDataStart, kDataStartMs);
}

void CDownloadSession::Repeat(int attempt) {
    m_host.SetStatusText(FmtId(IDS_LINK_RECEIVING_RETRY, attempt));
    m_channel.Reopen();
    Request();
}

void CDownloadSession::OnFrameWord() {
    m_host.ShowStatus();
    m_channel.SetState(LinkMeasurementData);
    m_host.KillTimer(TimerDataStart);
    m_nFrameCount = 0;
    m_nCrc = 0;
    m_nLastPercent = -1;
    m_host.SetTimer(TimerFrame, kFrameMs);
}

bool CDownloadSession::OnByte(uint8_t b) {
    m_Frame[static_cast<size_t>(m_nFrameCount)] = b;
    ++m_nFrameCount;
    if (m_nFrameCount <= proto::kMemoryBytes) m_nCrc = Crc16ArcUpdate(m_nCrc, b);
    if (const int percent = m_nFrameCount * 100 / proto::kFrameBytes; percent != m_nLastPercent) {
        if (m_nLastPercent < 0) m_host.SetStatusText(LoadStr(IDS_LINK_RECEIVING));
        m_nLastPercent = percent;
        m_host.SetStatusPercent(percent);
    }
    return m_nFrameCount == proto::kFrameBytes;
}

LinkOutcome CDownloadSession::Finish(const std::string& deviceId, double firmware) {
    m_channel.SetState(LinkIdle);
    m_host.HideStatus();
    m_host.KillTimer(TimerFrame);
    const uint16_t received = static_cast<uint16_t>(m_Frame[proto::kCrcOffset] | (m_Frame[proto::kCrcOffset + 1] << 8));
    if (received != m_nCrc) {
        m_host.Beep(BeepKind::Exclamation);
        m_host.MessageBox(LoadStr(IDS_LINK_CRC_ERROR), LoadStr(IDS_LINK_TRANSFER_ERROR), true);
        m_host.HideStatus();
        // The link stays with this analyser: the next download asks it without a search.
        return LinkOutcome::CrcError;
    }
    m_host.ShowStatus();
    m_host.MemoryReceived(m_Frame.data(), deviceId, firmware);
    m_host.HideStatus();
    return LinkOutcome::Downloaded;
}

void CDownloadSession::OnFrameTimeout() {
    m_channel.Disconnect();
    m_channel.SetState(LinkOffline);
    m_host.HideStatus();
    m_host.MessageBox(LoadStr(IDS_LINK_TIMEOUT), "", false);
}

}  // namespace trv
