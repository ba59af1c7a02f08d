#include "sim/SimAnalyser.h"

#include "device/DeviceProtocol.h"
#include "res/Format.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace trv::sim {

namespace {

using Clock = std::chrono::steady_clock;
// One byte on a 19200-baud line with start and stop bit.
constexpr double kByteSeconds = 10.0 / 19200.0;

Clock::duration LineTime(size_t bytes) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(bytes * kByteSeconds));
}

}  // namespace

SimAnalyser::SimAnalyser(SimConfig config) : m_cfg(std::move(config)), m_bStepTestMode(m_cfg.memory.stepTestMode) {}

SimAnalyser::~SimAnalyser() { Stop(); }

Result SimAnalyser::OpenTerminal() {
    auto fail = [&](const char* what) {
        Result failed = Result::Fail(std::string(what) + ": " + std::strerror(errno));
        CloseTerminal();
        return failed;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return fail("grantpt");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) return fail("ptsname");
    m_strSlave = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) return fail("open slave");
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::unlink(m_strLink.c_str());
    if (::symlink(name, m_strLink.c_str()) != 0) return fail("symlink");
    return Result::Ok();
}

void SimAnalyser::CloseTerminal() {
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
    m_master = m_slave = -1;
}

Result SimAnalyser::Start(const std::string& portDir) {
    if (Running()) return Result::Fail({});
    m_strLink = portDir + "/" + m_cfg.linkName;
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) return Result::Fail(std::strerror(errno));
    {
        std::lock_guard lock(m_mutex);
        if (Result opened = OpenTerminal(); !opened) return opened;
    }
    m_bStop = false;
    m_thread = std::thread(&SimAnalyser::Run, this);
    return Result::Ok();
}

void SimAnalyser::Stop() {
    if (!m_thread.joinable()) return;
    m_bStop = true;
    const char c = 'x';
    (void)::write(m_wake[1], &c, 1);
    m_thread.join();
    std::lock_guard lock(m_mutex);
    CloseTerminal();
    ::unlink(m_strLink.c_str());
    ::close(m_wake[0]);
    ::close(m_wake[1]);
    m_wake[0] = m_wake[1] = -1;
}

std::string SimAnalyser::SlavePath() const {
    std::lock_guard lock(m_mutex);
    return m_strSlave;
}

size_t SimAnalyser::ReadingCount() const {
    std::lock_guard lock(m_mutex);
    return m_cfg.memory.readings.size();
}

void SimAnalyser::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(m_mutex);
    m_cfg.faults = faults;
}

void SimAnalyser::AddReading(const SimReading& reading) {
    std::lock_guard lock(m_mutex);
    m_cfg.memory.readings.push_back(reading);
}

bool SimAnalyser::Announce(const std::string& word) {
    if (!Running()) return false;
    std::lock_guard lock(m_mutex);
    return Send(word);
}

void SimAnalyser::Run() {
    uint8_t buf[512];
    while (!m_bStop) {
        int master;
        {
            std::lock_guard lock(m_mutex);
            master = m_master;
        }
        pollfd p[2] = {{master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(p, 2, -1) <= 0) continue;  // the wake pipe ends the wait on Stop()
        if (p[1].revents) break;
        if (!(p[0].revents & POLLIN)) continue;
        const ssize_t r = ::read(master, buf, sizeof buf);
        if (r <= 0) continue;
        m_nBytesIn += static_cast<size_t>(r);
        for (ssize_t i = 0; i < r && !m_bStop; ++i) OnByte(buf[i]);
    }
}

void SimAnalyser::OnByte(uint8_t b) {
    if (!m_strPending.empty()) {
        m_Payload.push_back(b);
        const size_t need = m_strPending == proto::kGetConfig ? proto::kGetConfigPayload : proto::kSetConfigPayload;
        if (m_Payload.size() == need) {
            const std::string word = m_strPending;
            m_strPending.clear();
            PaceRequest(word.size() + need);
            Answer(word, m_Payload.data());
        }
        return;
    }
    m_strWindow.push_back(static_cast<char>(b));
    constexpr size_t kLongest = sizeof proto::kGetConfig - 1;  // the longest request word
    if (m_strWindow.size() > kLongest) m_strWindow.erase(0, m_strWindow.size() - kLongest);
    auto endsWith = [&](const char* w) {
        const size_t n = std::strlen(w);
        return m_strWindow.size() >= n && m_strWindow.compare(m_strWindow.size() - n, n, w) == 0;
    };
    for (const char* w : {proto::kGetIdentity, proto::kGetMemory, proto::kReset}) {
        if (endsWith(w)) {
            m_strWindow.clear();
            PaceRequest(std::strlen(w));
            Answer(w, nullptr);
            return;
        }
    }
    for (const char* w : {proto::kGetConfig, proto::kSetConfig}) {
        if (endsWith(w)) {
            m_strWindow.clear();
            m_strPending = w;
            m_Payload.clear();
            return;
        }
    }
}

// With pacing, the request took its line time to arrive: wait that long before answering.
void SimAnalyser::PaceRequest(size_t bytes) {
    if (m_cfg.pace) std::this_thread::sleep_for(LineTime(bytes));
}

void SimAnalyser::Answer(const std::string& request, const uint8_t* payload) {
    std::lock_guard lock(m_mutex);
    if (request == proto::kReset) {
        m_cfg.memory.readings.clear();
        return;
    }
    ++m_nRequests;
    if (m_cfg.faults.ignoreRequests > 0) {
        --m_cfg.faults.ignoreRequests;
        return;
    }
    if (m_cfg.faults.noiseBytes > 0) {
        std::vector<uint8_t> noise(static_cast<size_t>(m_cfg.faults.noiseBytes));
        for (auto& n : noise) {
            m_nNoiseSeed = m_nNoiseSeed * 1103515245u + 12345u;
            n = static_cast<uint8_t>(0x80 | ((m_nNoiseSeed >> 16) & 0x7F));
        }
        if (!Send(noise.data(), noise.size())) return;
    }
    if (request == proto::kGetIdentity) {
        std::string id = m_cfg.memory.deviceId;
        id.resize(proto::kDeviceIdChars, ' ');
        Send(proto::kPutIdentity + id + Fmt("%03d", m_cfg.memory.firmware100 % 1000));
    } else if (request == proto::kGetMemory) {
        std::vector<uint8_t> frame = BuildMemoryFrame(m_cfg.memory.readings);
        if (m_cfg.faults.corruptCrc) frame[proto::kCrcOffset] ^= 0x5A;
        size_t len = frame.size();
        if (m_cfg.faults.cutFrameAt >= 0 && static_cast<size_t>(m_cfg.faults.cutFrameAt) < len)
            len = static_cast<size_t>(m_cfg.faults.cutFrameAt);
        const size_t word = proto::kAnswerWordChars;
        std::vector<uint8_t> out(word + len);
        std::memcpy(out.data(), proto::kPutMemory, word);
        std::memcpy(out.data() + word, frame.data(), len);
        Send(out.data(), out.size(), m_cfg.faults.hangUpAt >= 0 ? static_cast<int>(word) + m_cfg.faults.hangUpAt : -1);
    } else {
        if (request == proto::kSetConfig) m_bStepTestMode = payload[proto::kSetConfigModeByte] != 0;
        std::string answer(proto::kPutConfig);
        answer.resize(answer.size() + proto::kConfigBytes, '\0');
        answer[proto::kAnswerWordChars + proto::kConfigModeByte] = m_bStepTestMode ? 1 : 0;
        Send(answer);
    }
}

// Caller holds m_mutex.
bool SimAnalyser::Send(const uint8_t* data, size_t len, int hangUpAfter) {
    const auto start = Clock::now();
    size_t sent = 0;
    while (sent < len && !m_bStop) {
        if (hangUpAfter >= 0 && sent >= static_cast<size_t>(hangUpAfter)) {
            // Hang up as a pulled cable would, then come back on a new terminal.
            ++m_nHangUps;
            CloseTerminal();
            OpenTerminal();
            return false;
        }
        size_t chunk = std::min<size_t>(len - sent, m_cfg.pace ? 16 : 4096);
        if (hangUpAfter >= 0) chunk = std::min(chunk, static_cast<size_t>(hangUpAfter) - sent);
        if (m_cfg.pace) std::this_thread::sleep_until(start + LineTime(sent + chunk));
        const ssize_t w = ::write(m_master, data + sent, chunk);
        if (w < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                pollfd p{m_master, POLLOUT, 0};
                ::poll(&p, 1, 50);
                continue;
            }
            return false;
        }
        sent += static_cast<size_t>(w);
        m_nBytesOut += static_cast<size_t>(w);
    }
    return sent == len;
}

}  // namespace trv::sim
