// Port search, identification and binding of the link controller.
#include "LinkController.h"
#include "PortNames.h"

#include "DeviceIdentity.h"

#include "Format.h"
#include "Strings.h"

#include <cerrno>
#include <cstdlib>

namespace trv {

namespace {
constexpr int kIdentifyMs = 1000;
constexpr int kPollingMs = 15000;
}  // namespace

std::string CLinkController::SearchPortName(size_t index) const {
    return index < m_FoundPorts.size() ? m_FoundPorts[index] : std::string();
}

void CLinkController::PortSearch() {
    m_FoundPorts.clear();
    m_strPermission.clear();
    // A port closed just now gets time to settle before it is probed again; with none open there is
    // nothing to wait for (the pause would cost every download a quarter of a second).
    if (m_port.IsOpen()) {
        Disconnect();
        m_host.Sleep(250);
    }
    SetState(LinkIdle);
    m_host.ShowStatus();
    m_host.SetStatusText(LoadStr(IDS_LINK_SEARCHING_PORTS));
    auto probe = [&](const std::string& name) {
        if (m_port.Open(name)) {
            if (m_FoundPorts.size() < kMaxIdentifiedPorts) m_FoundPorts.push_back(name);
            m_port.Close();
        } else if (m_port.LastOpenError() == EACCES && m_strPermission.empty()) {
            std::string path;
            ResolvePortName(name, path);
            m_strPermission = PermissionHint(path);
        }
    };
    if (!m_strFixedPort.empty()) {
        m_host.SetStatusPercent(100);
        probe(m_strFixedPort);
    } else {
        for (int n = 1; n <= kMaxComPort; ++n) {
            m_host.SetStatusPercent(n);
            probe(ComPortName(n));
        }
    }
    m_host.HideStatus();
}

void CLinkController::StartIdentification() {
    m_IdentIds.clear();
    m_IdentPorts.clear();
    if (m_FoundPorts.empty()) {
        // Nothing to ask: the same end as a search in which no port answered.
        m_nSearchIndex = 0;
        FinishSearch();
        return;
    }
    SetState(LinkIdle);
    m_nSearchIndex = 1;
    m_host.ShowStatus();
    ProbeCurrentPort();
}

// Status text and "gethmgid" for the port at the search index. A port that opened during the port
// search but not now counts as silent.
void CLinkController::ProbeCurrentPort() {
    const std::string name = SearchPortName(m_nSearchIndex - 1);
    m_host.SetStatusPercent(static_cast<int>(m_nSearchIndex * 100 / m_FoundPorts.size()));
    m_host.SetStatusText(FmtId(IDS_LINK_SEARCHING_AT, name.c_str()));
    m_strWindow.clear();
    if (Connect(name)) {
        Send(proto::kGetIdentity);
        m_host.SetTimer(TimerIdentify, kIdentifyMs);
    } else {
        OnIdentifyTimeout();
    }
}

void CLinkController::IdentityReceived() {
    m_host.KillTimer(TimerIdentify);
    const std::string name = SearchPortName(m_nSearchIndex - 1);
    m_host.SetStatusPercent(static_cast<int>(m_nSearchIndex * 100 / m_FoundPorts.size()));
    const int n = ComPortNumber(name);
    if (n > 0) {
        m_host.SetStatusText(FmtId(IDS_LINK_FOUND_AT, DeviceIdFromAnalyser(m_strIdBuf).c_str(), n));
    } else {
        m_host.SetStatusText(FmtId(IDS_LINK_FOUND_AT_PATH, DeviceIdFromAnalyser(m_strIdBuf).c_str(), name.c_str()));
    }
    Disconnect();
    SetState(LinkIdle);
    m_IdentIds.push_back(m_strIdBuf);
    m_IdentPorts.push_back(name);
    if (m_nSearchIndex < m_FoundPorts.size())
        NextPort();
    else
        FinishSearch();
}

void CLinkController::OnIdentifyTimeout() {
    if (m_nSearchIndex == 0) return;  // a late timer after the search ended
    Disconnect();
    SetState(LinkIdle);
    if (m_nSearchIndex == kMaxIdentifiedPorts) {
        FinishSearch();
        return;
    }
    m_host.Sleep(m_nReopenDelay);
    if (m_nSearchIndex < m_FoundPorts.size())
        NextPort();
    else
        FinishSearch();
}

void CLinkController::NextPort() {
    ++m_nSearchIndex;
    ProbeCurrentPort();
}

void CLinkController::FinishSearch() {
    m_nSearchIndex = 0;
    m_host.HideStatus();
    if (m_IdentIds.empty()) {
        SetNotice(NoticeNoAnalyser);
        SetState(LinkOffline);
        m_host.SetDeviceAnnotation("", false);
        Disconnect();
        if (!m_strPermission.empty() && m_bUserSearch) m_host.MessageBox(m_strPermission, "", true);
        m_bConfigPending = false;
        EndTransaction(m_strPermission.empty() ? LinkOutcome::NoAnalyser : LinkOutcome::PermissionDenied);
    } else {
        // A bound document keeps its analyser; an unbound one takes the first that answered.
        std::string boundId;
        double boundFirmware = 0.0;
        const bool bound = m_host.BoundIdentity(boundId, boundFirmware);
        int taken = -1;
        for (size_t i = 0; i < m_IdentIds.size() && taken < 0; ++i) {
            const std::string& ident = m_IdentIds[i];
            const std::string id = ident.substr(0, proto::kDeviceIdChars);
            if (!bound) {
                m_strDeviceId = DeviceIdFromAnalyser(id);
                m_dFirmware = std::atoi(ident.c_str() + proto::kDeviceIdChars) / 100.0;
                taken = static_cast<int>(i);
            } else if (IsSameDeviceId(boundId, id)) {
                m_strDeviceId = boundId;
                m_dFirmware = boundFirmware;
                taken = static_cast<int>(i);
            }
        }
        if (taken < 0) {
            // No analyser of this document: the link counts as offline, the port stays closed.
            SetNotice(NoticeDeviceMismatch);
            SetState(LinkOffline);
            m_bConfigPending = false;
            EndTransaction(LinkOutcome::DeviceMismatch);
        } else {
            const std::string& port = m_IdentPorts[static_cast<size_t>(taken)];
            m_host.SetDeviceAnnotation(FmtId(IDS_LINK_DEVICE_INFO, m_strDeviceId.c_str(), m_dFirmware, port.c_str()),
                                       true);
            m_strBoundPort = port;
            Connect(port);
            SetState(LinkIdle);
            m_strWindow.clear();
            if (!m_bDownloadPending && !m_bConfigPending) EndTransaction(LinkOutcome::Found);
            if (m_bDownloadPending) {
                m_bDownloadPending = false;
                RequestMeasurementData();
            }
            if (m_bConfigPending) ConfigAfterSearch();
            ClearNotice(NoticeDeviceMismatch);
        }
        ClearNotice(NoticeNoAnalyser);
    }
    if (m_bAutoPolling) m_host.SetTimer(TimerPolling, kPollingMs);
}

}  // namespace trv
