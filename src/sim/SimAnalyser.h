#pragma once
// An analyser on a pseudo-terminal. Start() creates the terminal and the link <portDir>/<linkName>
// (for TRV_PORT_DIR) to its slave side; a thread answers the program's words:
//   "gethmgid"            -> "puthmgid" + device ID (10) + firmware x 100 (3 digits)
//   "getmdata"            -> "putmdata" + 3504-byte memory frame
//   "geticonfig" 00       -> "puticonf" + 00 00 00 00 mode
//   "seticonfig" 00 00 m 00 -> stores m, answers "puticonf" as above (read-back)
//   "reset"               -> clears the memory (no answer)
// Announce() sends "menotify" or "swhmgoff" on request. With pacing on, requests and answers take
// their time on a 19200-baud line (10 bits a byte). Faults can be switched on at any time.
#include "sim/SimMemory.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace trv::sim {

struct SimFaults {
    int ignoreRequests = 0;   // the first N requests get no answer
    bool corruptCrc = false;  // the frame's checksum is wrong
    int cutFrameAt = -1;      // send only this many bytes of the 3504-byte frame
    int noiseBytes = 0;       // noise bytes before every answer
    int hangUpAt = -1;        // hang up after this many frame bytes (the link then comes back)
};

struct SimConfig {
    SimMemory memory = SampleMemory();
    bool pace = false;
    SimFaults faults;
    std::string linkName = "COM1";
};

class SimAnalyser {
public:
    explicit SimAnalyser(SimConfig config = {});
    ~SimAnalyser();
    SimAnalyser(const SimAnalyser&) = delete;
    SimAnalyser& operator=(const SimAnalyser&) = delete;

    // Creates the pseudo-terminal and the link, then starts answering. Fails with a reason.
    Result Start(const std::string& portDir);
    // Stops answering, removes the link and closes the terminal.
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    // Sends an unrequested word ("menotify", "swhmgoff"); false when not running.
    bool Announce(const std::string& word);
    void SetFaults(const SimFaults& faults);
    void AddReading(const SimReading& reading);

    std::string SlavePath() const;
    std::string LinkPath() const { return m_strLink; }
    bool StepTestMode() const { return m_bStepTestMode; }
    size_t ReadingCount() const;
    int RequestCount() const { return m_nRequests; }
    size_t BytesReceived() const { return m_nBytesIn; }
    size_t BytesSent() const { return m_nBytesOut; }
    int HangUps() const { return m_nHangUps; }

private:
    Result OpenTerminal();
    void CloseTerminal();
    void Run();
    void OnByte(uint8_t b);
    void Answer(const std::string& request, const uint8_t* payload);
    // Writes with pacing; false when stopped or hung up on purpose.
    bool Send(const uint8_t* data, size_t len, int hangUpAfter = -1);
    bool Send(const std::string& s) { return Send(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
    void PaceRequest(size_t bytes);

    SimConfig m_cfg;
    mutable std::mutex m_mutex;  // memory, faults, terminal fds, writes
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bStepTestMode{true};
    std::thread m_thread;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the terminal survives the program closing its side
    int m_wake[2] = {-1, -1};
    std::string m_strSlave;
    std::string m_strLink;
    std::string m_strWindow;
    std::string m_strPending;  // "geticonfig" or "seticonfig" waiting for its payload
    std::vector<uint8_t> m_Payload;
    std::atomic<int> m_nRequests{0};
    std::atomic<size_t> m_nBytesIn{0};
    std::atomic<size_t> m_nBytesOut{0};
    std::atomic<int> m_nHangUps{0};
    uint32_t m_nNoiseSeed = 12345;
};

}  // namespace trv::sim
