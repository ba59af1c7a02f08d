#include "device/SerialPort.h"

#include "device/PortNames.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

namespace trv {

CSerialPort::~CSerialPort() {
    StopReader();
    Close();
    if (m_wake >= 0) ::close(m_wake);
}

bool CSerialPort::Open(const std::string& name) {
    if (m_fd >= 0) return false;
    m_strName = name;
    m_strPath.clear();
    m_nOpenError = 0;
    if (!ResolvePortName(name, m_strPath)) {
        m_nOpenError = ENOENT;
        return false;
    }
    const int fd = ::open(m_strPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_nOpenError = errno;
        return false;
    }
    auto fail = [&](int err) {
        ::close(fd);
        m_nOpenError = err;
        return false;
    };
    // One owner at a time, as a serial port is exclusive: a second window or program gets "busy".
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(EBUSY);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return fail(errno);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B19200);
    ::cfsetospeed(&tio, B19200);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);
    // DTR on, RTS off. A pseudo-terminal refuses these ioctls: not an error.
    int bits = TIOCM_DTR;
    (void)::ioctl(fd, TIOCMBIS, &bits);
    bits = TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIC, &bits);
    // Synchronous writes from here on; the reader polls before it reads.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return fail(errno);
    // Whatever the line delivered before we were there belongs to nobody.
    ::tcflush(fd, TCIFLUSH);
    m_fd = fd;
    m_bHungUp = false;
    return true;
}

bool CSerialPort::Close() {
    StopReader();
    if (m_fd < 0) return false;
    ::tcdrain(m_fd);  // a last word ("reset") leaves the line before the port is gone
    ::close(m_fd);
    m_fd = -1;
    return true;
}

bool CSerialPort::Write(const uint8_t* data, size_t len) {
    size_t written = 0;
    return Write(data, len, written);
}

bool CSerialPort::Write(const uint8_t* data, size_t len, size_t& written) {
    written = 0;
    if (m_fd < 0) return false;
    if (!data || len == 0) return true;
    while (written < len) {
        const ssize_t r = ::write(m_fd, data + written, len - written);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(r);
    }
    return true;
}

unsigned CSerialPort::BytesAvailable() const {
    int n = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<unsigned>(n);
}

bool CSerialPort::StartReader() {
    if (m_reader.joinable()) StopReader();
    if (m_fd < 0) return false;
    m_bStop = false;
    if (m_wake < 0) m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    uint64_t drain = 0;
    if (m_wake >= 0) (void)::read(m_wake, &drain, sizeof drain);
    m_bReaderRunning = true;
    try {
        m_reader = std::thread(&CSerialPort::ReaderLoop, this);
    } catch (...) {
        m_bReaderRunning = false;
        return false;
    }
    return true;
}

bool CSerialPort::StopReader() {
    if (!m_reader.joinable()) return false;
    m_bStop = true;
    if (m_wake >= 0) {
        const uint64_t one = 1;
        (void)::write(m_wake, &one, sizeof one);
    }
    m_reader.join();
    return true;
}

void CSerialPort::SetNotify(std::function<void()> notify) {
    std::lock_guard lock(m_mutex);
    m_notify = std::move(notify);
}

bool CSerialPort::TakeReceived(std::vector<uint8_t>& out) {
    std::lock_guard lock(m_mutex);
    if (m_queue.empty()) return false;
    out.insert(out.end(), m_queue.begin(), m_queue.end());
    m_queue.clear();
    return true;
}

void CSerialPort::ReaderLoop() {
    const int fd = m_fd;
    uint8_t buf[4096];
    bool hungUp = false;
    while (!m_bStop && !hungUp) {
        // Data wakes the poll at once; the stop request wakes it through the event descriptor, so an
        // idle line costs no CPU. Without that descriptor, poll every 10 ms.
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake, POLLIN, 0}};
        const int pr = ::poll(fds, m_wake >= 0 ? 2 : 1, m_wake >= 0 ? -1 : 10);
        const pollfd& p = fds[0];
        if (pr < 0) {
            if (errno == EINTR) continue;
            hungUp = true;
            break;
        }
        if (pr == 0) continue;
        if (p.revents & POLLIN) {
            const ssize_t r = ::read(fd, buf, sizeof buf);
            if (r > 0) {
                std::function<void()> notify;
                {
                    std::lock_guard lock(m_mutex);
                    m_queue.insert(m_queue.end(), buf, buf + r);
                    notify = m_notify;
                }
                if (notify) notify();
                continue;
            }
            // Data was announced but none came: the other end has gone.
            if (r == 0 || (errno != EINTR && errno != EAGAIN)) hungUp = true;
        } else if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            hungUp = true;
        }
    }
    if (hungUp) {
        m_bHungUp = true;
        std::function<void()> notify;
        {
            std::lock_guard lock(m_mutex);
            notify = m_notify;
        }
        if (notify) notify();
    }
    m_bReaderRunning = false;
}

}  // namespace trv
