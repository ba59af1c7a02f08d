#pragma once
// The link to the analyser: receive state machine, time-outs and retries, download and merge, port
// search and identification, polling, configuration and the memory reset. A plain state machine
// driven by three kinds of events from its owner's thread: bytes received (OnSerialData), a timer
// fired (OnTimer) and commands (ReceiveData, Configure, ResetMemory, Search, SetAutoPolling, ...).
// It never touches a document: it asks its host which analyser the document is bound to and hands
// the received memory over; binding and merging are the owner's.
#include "DeviceProtocol.h"
#include "LinkHost.h"
#include "LinkPort.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

enum LinkState : int {
    LinkOffline = 0,
    LinkIdle = 1,
    LinkMeasurementData = 2,
    LinkDiscard = 3,
    LinkDeviceId = 4,
    LinkConfigRead = 6,
    LinkConfigVerify = 7,
};

// How the last search or transaction ended (for trv-cli and tests; the view shows the messages).
enum class LinkOutcome {
    None,
    Found,               // search without a pending transaction found the analyser
    Downloaded,          // memory frame merged into the document
    CrcError,            // "Fehlerhafte CRC-Prüfsumme."
    FrameTimeout,        // "Fehler: Timeout bei Datenübertragung!"
    NoAnswer,            // "Fehler: Gerät antwortet nicht!" after the retries
    HungUp,              // the port went away during a transaction
    NoAnalyser,          // no port answered
    PermissionDenied,    // no port answered, and at least one port could not be opened for lack of rights
    DeviceMismatch,      // analysers answered, none with the document's device ID
    Unsupported,         // configuration not offered by this analyser
    ConfigCancelled,     // configuration read, dialog cancelled
    ConfigVerified,      // configuration written and read back
    ConfigVerifyFailed,  // read-back differs
    Cancelled,           // "Abbrechen" in the status window
};

constexpr int kMaxIdentifiedPorts = 20;

class CLinkController {
public:
    CLinkController(ILinkPort& port, ILinkHost& host);
    ~CLinkController();  // disconnects
    CLinkController(const CLinkController&) = delete;
    CLinkController& operator=(const CLinkController&) = delete;

    // Events.
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
    // "BT-Kompatibilitätsmodus": reopen delay 100 ms <-> 3000 ms.
    void ToggleBtCompatibility();
    bool BtCompatibility() const { return m_nReopenDelay != 100; }
    // "Abbrechen" in the status window: ends the search or transfer under way as if it had not
    // started. Nothing is merged, an identity a search wrote into an unbound document is taken back,
    // the port is closed (the next download searches again) and the receive button is enabled.
    // Nothing happens when the link is not busy.
    void Cancel();
    // A search, download or configuration is under way (the status window may show).
    bool Busy() const;
    // Probe only this port instead of COM1..COM100 (trv-cli --port); "" for all.
    void SetFixedPort(const std::string& name) { m_strFixedPort = name; }

    // State.
    LinkState State() const { return m_nState; }
    LinkOutcome Outcome() const { return m_eOutcome; }
    uint32_t NoticeFlags() const { return m_nNotice; }
    // Ports that opened in the last search and the identities that answered (13 characters each).
    const std::vector<std::string>& FoundPorts() const { return m_FoundPorts; }
    const std::vector<std::string>& IdentifiedIds() const { return m_IdentIds; }
    const std::vector<std::string>& IdentifiedPorts() const { return m_IdentPorts; }
    // The port the link is bound to after a successful search ("" before).
    const std::string& BoundPort() const { return m_strBoundPort; }
    // The German text of the last permission problem ("" when none).
    const std::string& PermissionText() const { return m_strPermission; }
    // The analyser the link is bound to after a successful search: the document's identity when
    // the document is bound, else the analyser's own answer ("" and 0.0 before).
    const std::string& DeviceId() const { return m_strDeviceId; }
    double Firmware() const { return m_dFirmware; }
    // The analyser's step-test mode as last read or chosen in the configuration.
    bool StepTestMode() const { return m_bStepTestMode; }
    // Whether the analyser's device ID and firmware offer the configuration commands.
    static bool SupportsConfiguration(const std::string& deviceId, double firmware);

private:
    enum class Active { None, Download, ConfigRead, ConfigWrite };

    // Transport.
    bool Send(const uint8_t* data, size_t len);
    bool Send(const char* word);
    bool Connect(const std::string& name);
    void Disconnect();
    void Reopen();
    void RequestMeasurementData();
    void SetState(LinkState s) { m_nState = s; }
    void SetNotice(uint32_t bits);
    void ClearNotice(uint32_t bits);

    // Receive.
    void ProcessByte(uint8_t b);
    void OnWord();
    void FinishFrame();
    void OnHangUp();

    // Timers.
    void Retry(int timer);
    void OnFrameTimeout();
    void OnPollingTick();

    // Search (LinkSearch.cpp).
    void PortSearch();
    void StartIdentification();
    void IdentityReceived();
    void OnIdentifyTimeout();
    void NextPort();
    void ProbeCurrentPort();
    void FinishSearch();
    std::string SearchPortName(size_t index) const;

    // Configuration (LinkConfig.cpp).
    void StartConfigRead();
    void SendConfigRead();
    void SendConfigWrite();
    void FinishConfig();
    void ConfigAfterSearch();

    void EndTransaction(LinkOutcome outcome);

    ILinkPort& m_port;
    ILinkHost& m_host;

    LinkState m_nState = LinkOffline;
    LinkOutcome m_eOutcome = LinkOutcome::None;
    Active m_eActive = Active::None;
    std::string m_strWindow;
    std::string m_strIdBuf;
    std::array<uint8_t, proto::kConfigBytes> m_abConfig{};
    int m_nConfigCount = 0;
    std::vector<uint8_t> m_Frame;
    int m_nFrameCount = 0;
    uint16_t m_nCrc = 0;
    uint16_t m_nPoly = 0xA001;
    int m_nLastPercent = -1;
    int m_nRetry = 0;
    bool m_bDownloadPending = false;
    bool m_bConfigPending = false;
    bool m_bVerifyPending = false;
    int m_nReopenDelay = 100;
    uint32_t m_nNotice = 0;

    std::vector<std::string> m_FoundPorts;
    std::vector<std::string> m_IdentIds;
    std::vector<std::string> m_IdentPorts;
    size_t m_nSearchIndex = 0;
    bool m_bUserSearch = false;
    bool m_bAutoPolling = false;
    std::string m_strFixedPort;
    std::string m_strBoundPort;
    std::string m_strPermission;

    std::string m_strDeviceId;
    double m_dFirmware = 0.0;
    bool m_bStepTestMode = true;

    bool m_bInReceive = false;
    bool m_bReceiveAgain = false;
};

}  // namespace trv
