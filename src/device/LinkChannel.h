#pragma once
// The line to the analyser as the link's search and sessions use it: a port opened with its reader,
// closed, and reopened after the reopen delay; bytes written; what arriving bytes mean now (the
// receive state); and the window of the last eight characters in which the analyser's words are
// recognised. The port search, the download and the configuration all talk through one channel, so
// the state and the delay are the same for all of them.
#include "device/LinkHost.h"
#include "device/LinkPort.h"
#include "device/LinkState.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

class CLinkChannel {
public:
    CLinkChannel(ILinkPort& port, ILinkHost& host) : m_port(port), m_host(host) {}

    bool Send(const uint8_t* data, size_t len) { return m_port.Write(data, len); }
    bool Send(const std::vector<uint8_t>& bytes) { return Send(bytes.data(), bytes.size()); }
    bool Send(const char* word);
    // Opens `name` and starts its reader.
    bool Connect(const std::string& name);
    void Disconnect();
    // An open port is closed for the reopen delay first; then the last port is opened again and the
    // link waits for words.
    void Reopen();
    // The pause a closed port gets before it is used again.
    void PauseAfterClose() { m_host.Sleep(m_nReopenDelay); }
    bool IsOpen() const { return m_port.IsOpen(); }
    // Opens and closes `name` without a reader: whether the port exists and may be used. `error`
    // holds the errno value when it does not open.
    bool Probe(const std::string& name, int& error);
    // Writes the polling byte. When it cannot be written the port is reopened, at most twice, with
    // 250 ms after each reopen. False when the byte never went out.
    bool KeepAlive();

    // Moves the bytes received so far to the back of `out`.
    void TakeReceived(std::vector<uint8_t>& out) { m_port.TakeReceived(out); }
    // True once the open port's other end went away.
    bool HungUp() const { return m_port.IsOpen() && m_port.HungUp(); }

    LinkState State() const { return m_nState; }
    void SetState(LinkState s) { m_nState = s; }

    // Adds a character to the word window; true when the window holds a whole word (Word()).
    bool PushWordChar(uint8_t b);
    const std::string& Word() const { return m_strWindow; }
    void ClearWords() { m_strWindow.clear(); }

    // "BT-Kompatibilitätsmodus": reopen delay 100 ms <-> 3000 ms.
    void ToggleBtCompatibility() { m_nReopenDelay = m_nReopenDelay != 100 ? 100 : 3000; }
    bool BtCompatibility() const { return m_nReopenDelay != 100; }

private:
    ILinkPort& m_port;
    ILinkHost& m_host;
    LinkState m_nState = LinkOffline;
    std::string m_strWindow;
    int m_nReopenDelay = 100;
};

}  // namespace trv
