#pragma once
// The byte transport as the link controller sees it. CSerialPort is the real one; tests use fakes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trv {

class ILinkPort {
public:
    virtual ~ILinkPort() = default;

    // Opens "COMn" (or a device path) at 19200 8N1. False when it cannot be opened; LastOpenError()
    // then holds the errno value (EACCES: the user may not use the port).
    virtual bool Open(const std::string& name) = 0;
    virtual bool Close() = 0;  // false when the port was not open
    virtual bool IsOpen() const = 0;
    // The name last given to Open, kept after Close so that the port can be reopened.
    virtual const std::string& PortName() const = 0;
    virtual int LastOpenError() const = 0;

    // Synchronous writes. A null pointer or length 0 writes nothing and succeeds.
    virtual bool Write(const uint8_t* data, size_t len) = 0;
    virtual bool Write(const uint8_t* data, size_t len, size_t& written) = 0;

    virtual bool StartReader() = 0;
    virtual bool StopReader() = 0;  // false when no reader was running

    // Moves every queued byte to the back of `out`, in arrival order; false when none was queued.
    virtual bool TakeReceived(std::vector<uint8_t>& out) = 0;
    // True once the other end went away (hang-up) since the last Open; the reader has ended then.
    virtual bool HungUp() const = 0;

    // Called on the reader thread after each received batch and after a hang-up. The owner turns it
    // into an event on its own thread and then calls CLinkController::OnSerialData there.
    virtual void SetNotify(std::function<void()> notify) = 0;
};

}  // namespace trv
