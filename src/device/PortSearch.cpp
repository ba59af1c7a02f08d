#include "device/PortSearch.h"

#include "data/DeviceIdentity.h"
#include "device/DeviceProtocol.h"
#include "device/PortNames.h"

#include "res/Format.h"
#include "res/Strings.h"

#include <cerrno>
#include <cstdlib>

namespace trv {

namespace {
constexpr int kIdentifyMs = 1000;
}  // namespace

std::string CPortSearch::PortAt(size_t index) const {
    return index < m_FoundPorts.size() ? m_FoundPorts[index] : std::string();
}

void CPortSearch::Probe(const std::string& name) {
    int error = 0;
    if (m_channel.Probe(name, error)) {
        if (m_FoundPorts.size() < kMaxIdentifiedPorts) m_FoundPorts.push_back(name);
    } else if (error == EBUSY && m_strBusyPort.empty()) {
        m_strBusyPort = name;  // another window or program has it open
    } else if (error == EACCES && m_strPermission.empty()) {
        std::string path;
        ResolvePortName(name, path);
        m_strPermission = PermissionHint(path);
    }
}

void CPortSearch::ProbePorts() {
    m_nIndex = 0;
    m_FoundPorts.clear();
    m_strPermission.clear();
    m_strBusyPort.clear();
    // A port closed just now gets time to settle before it is probed again; with none open there is
    // nothing to wait for (the pause would cost every download a quarter of a second).
    if (m_channel.IsOpen()) {
        m_channel.Disconnect();
        m_host.Sleep(250);
    }
    m_channel.SetState(LinkIdle);
    m_host.ShowStatus();
    m_host.SetStatusText(LoadStr(IDS_LINK_SEARCHING_PORTS));
    if (!m_strFixedPort.empty()) {
        m_host.SetStatusPercent(100);
        Probe(m_strFixedPort);
    } else {
        for (int n = 1; n <= kMaxComPort; ++n) {
            m_host.SetStatusPercent(n);
            Probe(ComPortName(n));
        }
    }
    m_host.HideStatus();
}

bool CPortSearch::Identify() {
    m_IdentIds.clear();
    m_IdentPorts.clear();
    if (m_FoundPorts.empty()) {
        m_nIndex = 0;
        return true;
    }
    m_channel.SetState(LinkIdle);
    m_nIndex = 1;
    m_host.ShowStatus();
    return AskCurrentPort();
}

// Status text and "gethmgid" for the port at the search index. A port that opened during the port
// search but not now counts as silent.
bool CPortSearch::AskCurrentPort() {
    const std::string name = PortAt(m_nIndex - 1);
    m_host.SetStatusPercent(static_cast<int>(m_nIndex * 100 / m_FoundPorts.size()));
    m_host.SetStatusText(FmtId(IDS_LINK_SEARCHING_AT, name.c_str()));
    m_channel.ClearWords();
    if (!m_channel.Connect(name)) return OnTimeout();
    m_channel.Send(proto::kGetIdentity);
    m_host.SetTimer(TimerIdentify, kIdentifyMs);
    return false;
}

bool CPortSearch::NextPortOrEnd() {
    if (m_nIndex >= m_FoundPorts.size()) return true;
    ++m_nIndex;
    return AskCurrentPort();
}

void CPortSearch::OnIdentityWord() {
    m_channel.SetState(LinkDeviceId);
    m_host.KillTimer(TimerIdentify);
    m_strIdBuf.clear();
    // An identity that stops short must not stall the search: the port then counts as silent.
    if (Running()) m_host.SetTimer(TimerIdentify, kIdentifyMs);
}

bool CPortSearch::OnIdentityChar(uint8_t b) {
    // Outside a search nobody waits for the identity: keep no more than one.
    if (m_strIdBuf.size() < proto::kIdentityChars) m_strIdBuf.push_back(static_cast<char>(b));
    if (m_strIdBuf.size() != proto::kIdentityChars || !Running()) return false;
    m_host.KillTimer(TimerIdentify);
    const std::string name = PortAt(m_nIndex - 1);
    m_host.SetStatusPercent(static_cast<int>(m_nIndex * 100 / m_FoundPorts.size()));
    const int n = ComPortNumber(name);
    if (n > 0) {
        m_host.SetStatusText(FmtId(IDS_LINK_FOUND_AT, DeviceIdFromAnalyser(m_strIdBuf).c_str(), n));
    } else {
        m_host.SetStatusText(FmtId(IDS_LINK_FOUND_AT_PATH, DeviceIdFromAnalyser(m_strIdBuf).c_str(), name.c_str()));
    }
    m_channel.Disconnect();
    m_channel.SetState(LinkIdle);
    m_IdentIds.push_back(m_strIdBuf);
    m_IdentPorts.push_back(name);
    return NextPortOrEnd();
}

bool CPortSearch::OnTimeout() {
    if (!Running()) return false;
    m_channel.Disconnect();
    m_channel.SetState(LinkIdle);
    if (m_nIndex == kMaxIdentifiedPorts) return true;
    m_channel.PauseAfterClose();
    return NextPortOrEnd();
}

std::optional<CPortSearch::Choice> CPortSearch::Choose(bool bound, const std::string& boundId,
                                                       double boundFirmware) const {
    for (size_t i = 0; i < m_IdentIds.size(); ++i) {
        const std::string& ident = m_IdentIds[i];
        const std::string id = ident.substr(0, proto::kDeviceIdChars);
        if (!bound)
            return Choice{m_IdentPorts[i], DeviceIdFromAnalyser(id),
                          std::atoi(ident.c_str() + proto::kDeviceIdChars) / 100.0};
        if (IsSameDeviceId(boundId, id)) return Choice{m_IdentPorts[i], boundId, boundFirmware};
    }
    return std::nullopt;
}

}  // namespace trv
