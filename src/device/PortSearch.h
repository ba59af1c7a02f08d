#pragma once
// Finding the analyser: every port name is tried in order (COM1..COM100, or the one fixed port), the
// ports that open are asked "gethmgid" one after another (at most twenty of them), and the
// identities that answer are collected with their ports. The search runs on its owner's events:
// it is started, hears the identity word and its characters, and its time-out; each of these says
// whether the search has ended, and the owner then chooses among the answers.
#include "device/LinkChannel.h"
#include "device/LinkHost.h"

#include <optional>
#include <string>
#include <vector>

namespace trv {

constexpr int kMaxIdentifiedPorts = 20;

class CPortSearch {
public:
    CPortSearch(CLinkChannel& channel, ILinkHost& host) : m_channel(channel), m_host(host) {}

    // Probe only this port instead of COM1..COM100; "" for all.
    void SetFixedPort(const std::string& name) { m_strFixedPort = name; }

    // Begins a new search: closes the channel and tries the port names. Identify then asks those
    // that opened.
    void ProbePorts();
    // Asks the first port that opened. False when there is none to ask: the search has ended.
    bool Identify();
    bool Running() const { return m_nIndex != 0; }
    void Stop() { m_nIndex = 0; }

    // "puthmgid" was heard: the identity's characters follow.
    void OnIdentityWord();
    // One character after "puthmgid"; true when the search has ended with it.
    bool OnIdentityChar(uint8_t b);
    // The port being asked gave no complete identity in time; true when the search has ended. A late
    // time-out after the end does nothing.
    bool OnTimeout();

    // Ports that opened in the last search and the identities that answered (13 characters each),
    // with the port each came from.
    const std::vector<std::string>& FoundPorts() const { return m_FoundPorts; }
    const std::vector<std::string>& IdentifiedIds() const { return m_IdentIds; }
    const std::vector<std::string>& IdentifiedPorts() const { return m_IdentPorts; }
    // The German text of the first permission problem of the last search ("" when none).
    const std::string& PermissionText() const { return m_strPermission; }
    // The first port of the last search that another window or program held open ("" when none).
    const std::string& BusyPort() const { return m_strBusyPort; }

    // The analyser the link takes, and as whom.
    struct Choice {
        std::string port;
        std::string deviceId;
        double firmware = 0.0;
    };
    // A bound document keeps its analyser (and its own identity and firmware); an unbound one takes
    // the first that answered, with the firmware it reported. None when no answer fits.
    std::optional<Choice> Choose(bool bound, const std::string& boundId, double boundFirmware) const;

private:
    std::string PortAt(size_t index) const;
    bool AskCurrentPort();
    bool NextPortOrEnd();
    void Probe(const std::string& name);

    CLinkChannel& m_channel;
    ILinkHost& m_host;
    std::string m_strFixedPort;
    std::vector<std::string> m_FoundPorts;
    std::vector<std::string> m_IdentIds;
    std::vector<std::string> m_IdentPorts;
    std::string m_strPermission;
    std::string m_strBusyPort;
    std::string m_strIdBuf;
    size_t m_nIndex = 0;  // 1-based index of the port being asked; 0 while no search runs
};

}  // namespace trv
