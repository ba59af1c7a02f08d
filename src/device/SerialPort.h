#pragma once
// The serial line to the analyser: 19200 baud, 8N1, no flow control, DTR on, RTS off; synchronous
// writes; a reader thread that waits in poll() (woken by data at once), queues what arrives and
// notifies the owner once per batch. A hang-up of the other end (cable pulled, Bluetooth lost, simulator ended) ends
// the reader and is reported through HungUp() with one last notification.
#include "device/LinkPort.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

namespace trv {

class CSerialPort : public ILinkPort {
public:
    CSerialPort() = default;
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    bool Open(const std::string& name) override;
    bool Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    const std::string& PortName() const override { return m_strName; }
    int LastOpenError() const override { return m_nOpenError; }
    // The device path that the last Open resolved to ("" when the name had no device).
    const std::string& DevicePath() const { return m_strPath; }

    bool Write(const uint8_t* data, size_t len) override;
    bool Write(const uint8_t* data, size_t len, size_t& written) override;
    // Bytes waiting in the driver's input buffer (0 when closed).
    unsigned BytesAvailable() const;

    bool StartReader() override;
    bool StopReader() override;
    bool ReaderRunning() const { return m_bReaderRunning; }

    bool TakeReceived(std::vector<uint8_t>& out) override;
    bool HungUp() const override { return m_bHungUp; }
    void SetNotify(std::function<void()> notify) override;

private:
    void ReaderLoop();

    int m_fd = -1;
    int m_wake = -1;  // eventfd that ends the reader's wait
    std::string m_strName;
    std::string m_strPath;
    int m_nOpenError = 0;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bReaderRunning{false};
    std::atomic<bool> m_bHungUp{false};
    std::thread m_reader;
    std::mutex m_mutex;  // guards m_queue and m_notify
    std::deque<uint8_t> m_queue;
    std::function<void()> m_notify;
};

}  // namespace trv
