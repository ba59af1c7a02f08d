#include "device/LinkChannel.h"

#include "device/DeviceProtocol.h"

#include <cstring>

namespace trv {

bool CLinkChannel::Send(const char* word) { return Send(reinterpret_cast<const uint8_t*>(word), std::strlen(word)); }

bool CLinkChannel::Connect(const std::string& name) {
    if (!m_port.Open(name)) return false;
    m_port.StartReader();
    return true;
}

void CLinkChannel::Disconnect() {
    m_port.StopReader();
    m_port.Close();
}

void CLinkChannel::Reopen() {
    if (m_port.IsOpen()) {
        Disconnect();
        PauseAfterClose();
    }
    const std::string name = m_port.PortName();
    if (m_port.Open(name)) m_port.StartReader();
    SetState(LinkIdle);
}

bool CLinkChannel::Probe(const std::string& name, int& error) {
    if (!m_port.Open(name)) {
        error = m_port.LastOpenError();
        return false;
    }
    m_port.Close();
    return true;
}

bool CLinkChannel::KeepAlive() {
    static const uint8_t keepAlive = proto::kKeepAlive;
    size_t written = 0;
    m_port.Write(&keepAlive, 1, written);
    for (int attempt = 0; attempt < 2 && written < 1; ++attempt) {
        Reopen();
        m_host.Sleep(250);
        m_port.Write(&keepAlive, 1, written);
    }
    return written >= 1;
}

bool CLinkChannel::PushWordChar(uint8_t b) {
    m_strWindow.push_back(static_cast<char>(b));
    if (m_strWindow.size() > proto::kAnswerWordChars) m_strWindow.erase(0, 1);
    return m_strWindow.size() == proto::kAnswerWordChars;
}

}  // namespace trv
