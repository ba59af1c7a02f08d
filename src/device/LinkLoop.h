#pragma once
// A link host that runs in real time without a window system: timers from a small timer table,
// serial notifications through a condition variable, and an event loop that delivers both to the
// controller on the calling thread. trv-cli and the end-to-end tests build on it; the user-facing
// calls only record what they were given (override them to show it).
#include "device/LinkController.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace trv {

class CLinkLoop : public ILinkHost {
public:
    using Clock = std::chrono::steady_clock;

    // Connects the port's notification to this loop; the controller receives the events.
    void Attach(CLinkController& controller, ILinkPort& port);
    // Delivers events until `done` holds (true) or `timeoutMs` has passed (false).
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);
    // Runs until the receive button comes back (the end of a search or transfer) after it had been
    // enabled `enableCountBefore` times (take m_nEnableCount before issuing the command).
    bool RunUntilEnabled(int enableCountBefore, int timeoutMs);

    void SetTimer(int id, int ms) override;
    void KillTimer(int id) override;
    void Sleep(int ms) override;
    bool TimerRunning(int id) const { return m_Timers.count(id) != 0; }

    void ShowStatus() override { m_bStatusVisible = true; }
    void HideStatus() override { m_bStatusVisible = false; }
    void SetStatusText(const std::string& text) override { m_strStatus = text; }
    void SetStatusPercent(int percent) override { m_nPercent = percent; }
    void MessageBox(const std::string& text, const std::string& caption, bool exclamation) override;
    void Beep(BeepKind) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return m_bAnswerYes; }
    bool RunConfigDialog(bool& stepTestMode) override;
    void EnableReceive(bool enable) override;
    void SetNoticeFlags(uint32_t bits) override { m_nNotice |= bits; }
    void ClearNoticeFlags(uint32_t bits) override { m_nNotice &= ~bits; }
    void SetDeviceAnnotation(const std::string& text, bool visible) override;
    bool BoundIdentity(std::string& deviceId, double& firmware) override {
        return m_BoundIdentity && m_BoundIdentity(deviceId, firmware);
    }
    void MemoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware) override {
        ++m_nDocumentChanged;
        if (m_OnMemory) m_OnMemory(memory, deviceId, firmware);
    }

    // The document's side (CWorkspace::BoundIdentity and CWorkspace::MergeDownload); without them
    // every analyser is taken and the memory is only counted.
    std::function<bool(std::string&, double&)> m_BoundIdentity;
    std::function<void(const uint8_t*, const std::string&, double)> m_OnMemory;

    // What the answers are and what was shown.
    bool m_bAnswerYes = false;
    std::optional<bool> m_ConfigChoice;  // the mode chosen in the dialog; none = "Abbrechen"
    std::vector<std::string> m_Messages;
    bool m_bStatusVisible = false;
    std::string m_strStatus;
    int m_nPercent = 0;
    bool m_bReceiveEnabled = true;
    int m_nEnableCount = 0;
    uint32_t m_nNotice = 0;
    std::string m_strAnnotation;
    bool m_bAnnotationVisible = false;
    int m_nDocumentChanged = 0;

private:
    CLinkController* m_pController = nullptr;
    std::map<int, Clock::time_point> m_Timers;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bData = false;
};

}  // namespace trv
