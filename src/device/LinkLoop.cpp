#include "device/LinkLoop.h"

#include <thread>

namespace trv {

void CLinkLoop::Attach(CLinkController& controller, ILinkPort& port) {
    m_pController = &controller;
    port.SetNotify([this] {
        {
            std::lock_guard lock(m_mutex);
            m_bData = true;
        }
        m_cv.notify_one();
    });
}

bool CLinkLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        auto next = end;
        for (const auto& [id, due] : m_Timers) next = std::min(next, due);
        bool data = false;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait_until(lock, next, [&] { return m_bData; });
            data = m_bData;
            m_bData = false;
        }
        if (data && m_pController) m_pController->OnSerialData();
        // Fire due timers one at a time: a handler may set or kill others.
        for (;;) {
            if (done()) return true;
            const auto now = Clock::now();
            int due = -1;
            for (const auto& [id, at] : m_Timers)
                if (at <= now) {
                    due = id;
                    break;
                }
            if (due < 0) break;
            m_Timers.erase(due);
            if (m_pController) m_pController->OnTimer(due);
        }
        if (Clock::now() >= end && !done()) return false;
    }
    return true;
}

bool CLinkLoop::RunUntilEnabled(int before, int timeoutMs) {
    return RunUntil([&] { return m_nEnableCount != before; }, timeoutMs);
}

void CLinkLoop::SetTimer(int id, int ms) { m_Timers[id] = Clock::now() + std::chrono::milliseconds(ms); }

void CLinkLoop::KillTimer(int id) { m_Timers.erase(id); }

void CLinkLoop::Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void CLinkLoop::MessageBox(const std::string& text, const std::string&, bool) { m_Messages.push_back(text); }

bool CLinkLoop::RunConfigDialog(bool& stepTestMode) {
    if (!m_ConfigChoice) return false;
    stepTestMode = *m_ConfigChoice;
    return true;
}

void CLinkLoop::EnableReceive(bool enable) {
    m_bReceiveEnabled = enable;
    if (enable) ++m_nEnableCount;
}

void CLinkLoop::SetDeviceAnnotation(const std::string& text, bool visible) {
    m_strAnnotation = text;
    m_bAnnotationVisible = visible;
}

}  // namespace trv
