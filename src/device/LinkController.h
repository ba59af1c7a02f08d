#pragma once
// The link to the analyser as its owner sees it: commands (receive data, configure, reset, search,
// polling), the events that drive it (bytes received, a timer fired), and what the last search or
// transaction found. The controller owns the channel, the port search and the two sessions and
// sequences them: it routes arriving bytes and words by the receive state, repeats unanswered
// requests, binds the link to the analyser a search chose, starts what waited for the search, and
// ends every transaction the same way. It never touches a document: it asks its host which analyser
// the document is bound to and hands the received memory over; binding and merging are the owner's.
#include "device/ConfigSession.h"
#include "device/DownloadSession.h"
#include "device/LinkChannel.h"
#include "device/LinkHost.h"
#include "device/LinkPort.h"
#include "device/LinkState.h"
#include "device/PortSearch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trv {

class CLinkController {
public:
    CLinkController(ILinkPort& port, ILinkHost& host);
    ~CLinkController();  // disconnects
    CLinkController(const CLinkController&) = delete;
    CLinkController& operator=(const CLinkController&) = delete;

    // Events, delivered on the owner's thread.
    void OnSerialData();
    void OnTimer(int id);

    // Commands.
    void ReceiveData();  // "Daten empfangen" (and the analyser's "menotify")
    void Configure();    // "Geräteeinstellungen"
    // Ctrl+R: asks "Gerätespeicher zurücksetzen?"; sends "reset" on Yes when the link is idle.
    // True when it was sent.
    bool ResetMemory();
    // A port search and identification without a transaction after it (trv-cli search and reset).
    void Search();
    void SetAutoPolling(bool on);
    bool AutoPolling() const { return m_bAutoPolling; }
    void ToggleBtCompatibility() { m_channel.ToggleBtCompatibility(); }
    bool BtCompatibility() const { return m_channel.BtCompatibility(); }
    // "Abbrechen" in the status window: ends the search or transfer under way as if it had not
    // started. Nothing is merged, an identity a search wrote into an unbound document is taken back,
    // the port is closed (the next download searches again) and the receive button is enabled.
    // Nothing happens when the link is not busy.
    void Cancel();
    // A search, download or configuration is under way (the status window may show).
    bool Busy() const;
    // Probe only this port instead of COM1..COM100 (trv-cli --port); "" for all.
    void SetFixedPort(const std::string& name) { m_search.SetFixedPort(name); }

    // State.
    LinkState State() const { return m_channel.State(); }
    LinkOutcome Outcome() const { return m_eOutcome; }
    uint32_t NoticeFlags() const { return m_nNotice; }
    const std::vector<std::string>& FoundPorts() const { return m_search.FoundPorts(); }
    const std::vector<std::string>& IdentifiedIds() const { return m_search.IdentifiedIds(); }
    const std::vector<std::string>& IdentifiedPorts() const { return m_search.IdentifiedPorts(); }
    const std::string& PermissionText() const { return m_search.PermissionText(); }
    // "COM3 wird von einem anderen Fenster oder Programm benutzt." after a search that found no
    // analyser but a port held by someone else; "" otherwise.
    std::string BusyText() const;
    // The port the link is bound to after a successful search ("" before).
    const std::string& BoundPort() const { return m_strBoundPort; }
    // The analyser the link is bound to after a successful search: the document's identity when
    // the document is bound, else the analyser's own answer ("" and 0.0 before).
    const std::string& DeviceId() const { return m_strDeviceId; }
    double Firmware() const { return m_dFirmware; }
    // The analyser's step-test mode as last read or chosen in the configuration.
    bool StepTestMode() const { return m_config.StepTestMode(); }

private:
    void StartSearch();
    void FinishSearch();
    void ConfigAfterSearch();
    void FinishConfig();
    void ProcessByte(uint8_t b);
    void OnWord(const std::string& word);
    void OnHangUp();
    void Retry(int timer);
    void OnPollingTick();
    void SetNotice(uint32_t bits);
    void ClearNotice(uint32_t bits);
    void EndTransaction(LinkOutcome outcome);

    ILinkHost& m_host;
    CLinkChannel m_channel;
    CPortSearch m_search;
    CDownloadSession m_download;
    CConfigSession m_config;

    LinkOutcome m_eOutcome = LinkOutcome::None;
    int m_nRetry = 0;  // repeats of the request under way
    bool m_bDownloadPending = false;
    bool m_bConfigPending = false;
    bool m_bUserSearch = false;
    bool m_bAutoPolling = false;
    uint32_t m_nNotice = 0;
    std::string m_strBoundPort;
    std::string m_strDeviceId;
    double m_dFirmware = 0.0;

    bool m_bInReceive = false;
    bool m_bReceiveAgain = false;
};

}  // namespace trv
