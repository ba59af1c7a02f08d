#pragma once
// A port and a host for driving the link controller without hardware and in virtual time.
#include "device/LinkController.h"

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace trv::test {

class FakePort : public ILinkPort {
public:
    std::set<std::string> openable;        // ports that open
    std::set<std::string> denied;          // ports that fail with EACCES
    std::map<std::string, int> opensLeft;  // ports that open only this many more times
    bool writeFails = false;

    struct Written {
        std::string port;
        std::string bytes;
    };
    std::vector<Written> writes;
    int openCalls = 0;

    bool Open(const std::string& name) override {
        ++openCalls;
        if (m_bOpen) return false;
        m_name = name;
        if (denied.count(name)) {
            m_err = EACCES;
            return false;
        }
        if (!openable.count(name)) {
            m_err = ENOENT;
            return false;
        }
        if (auto it = opensLeft.find(name); it != opensLeft.end()) {
            if (it->second == 0) {
                m_err = EBUSY;
                return false;
            }
            --it->second;
        }
        m_bOpen = true;
        m_bHungUp = false;
        return true;
    }
    bool Close() override {
        const bool was = m_bOpen;
        m_bOpen = false;
        return was;
    }
    bool IsOpen() const override { return m_bOpen; }
    const std::string& PortName() const override { return m_name; }
    int LastOpenError() const override { return m_err; }
    bool Write(const uint8_t* data, size_t len) override {
        size_t n = 0;
        return Write(data, len, n);
    }
    bool Write(const uint8_t* data, size_t len, size_t& written) override {
        written = 0;
        if (!m_bOpen || writeFails) return false;
        writes.push_back({m_name, std::string(reinterpret_cast<const char*>(data), len)});
        written = len;
        return true;
    }
    bool StartReader() override { return m_bOpen; }
    bool StopReader() override { return false; }
    bool TakeReceived(std::vector<uint8_t>& out) override {
        if (m_queue.empty()) return false;
        out.insert(out.end(), m_queue.begin(), m_queue.end());
        m_queue.clear();
        return true;
    }
    bool HungUp() const override { return m_bHungUp; }
    void SetNotify(std::function<void()>) override {}

    void Queue(const std::string& bytes) { m_queue.insert(m_queue.end(), bytes.begin(), bytes.end()); }
    void Queue(const std::vector<uint8_t>& bytes) { m_queue.insert(m_queue.end(), bytes.begin(), bytes.end()); }
    void HangUp() { m_bHungUp = true; }

    // The words written, in order ("gethmgid", "getmdata", ...), optionally only those to `port`.
    std::vector<std::string> Sent(const std::string& port = "") const {
        std::vector<std::string> out;
        for (const auto& w : writes)
            if (port.empty() || w.port == port) out.push_back(w.bytes);
        return out;
    }
    int Count(const std::string& bytes) const {
        int n = 0;
        for (const auto& w : writes) n += w.bytes == bytes;
        return n;
    }

private:
    bool m_bOpen = false;
    bool m_bHungUp = false;
    std::string m_name;
    int m_err = 0;
    std::vector<uint8_t> m_queue;
};

class FakeHost : public ILinkHost {
public:
    CLinkController* ctl = nullptr;
    long long now = 0;  // virtual milliseconds
    std::map<int, long long> timers;
    std::vector<int> sleeps;
    std::vector<std::string> texts;  // every status text set, in order
    int percent = -1;
    bool statusVisible = false;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<BeepKind> beeps;
    bool answerYes = true;
    int questions = 0;
    bool configOk = false;
    bool configChoice = true;
    int configDialogs = 0;
    bool configPreselected = false;
    bool receiveEnabled = true;
    int enableCount = 0;
    uint32_t notice = 0;
    std::string annotation;
    bool annotationVisible = false;
    int docChanged = 0;

    void SetTimer(int id, int ms) override { timers[id] = now + ms; }
    void KillTimer(int id) override { timers.erase(id); }
    void Sleep(int ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    void ShowStatus() override { statusVisible = true; }
    void HideStatus() override { statusVisible = false; }
    void SetStatusText(const std::string& t) override { texts.push_back(t); }
    void SetStatusPercent(int p) override { percent = p; }
    void MessageBox(const std::string& text, const std::string& caption, bool) override {
        messages.push_back(text);
        captions.push_back(caption);
    }
    void Beep(BeepKind k) override { beeps.push_back(k); }
    bool AskYesNo(const std::string&, const std::string&) override {
        ++questions;
        return answerYes;
    }
    bool RunConfigDialog(bool& mode) override {
        ++configDialogs;
        configPreselected = mode;
        if (configOk) mode = configChoice;
        return configOk;
    }
    void EnableReceive(bool e) override {
        receiveEnabled = e;
        if (e) ++enableCount;
    }
    void SetNoticeFlags(uint32_t b) override { notice |= b; }
    void ClearNoticeFlags(uint32_t b) override { notice &= ~b; }
    void SetDeviceAnnotation(const std::string& t, bool v) override {
        annotation = t;
        annotationVisible = v;
    }
    // The document's side, as the window's workspace answers it (set by the fixture).
    std::function<bool(std::string&, double&)> boundIdentity;
    std::function<void(const uint8_t*, const std::string&, double)> onMemory;
    bool BoundIdentity(std::string& id, double& firmware) override {
        return boundIdentity && boundIdentity(id, firmware);
    }
    void MemoryReceived(const uint8_t* memory, const std::string& id, double firmware) override {
        ++docChanged;
        if (onMemory) onMemory(memory, id, firmware);
    }

    bool Running(int id) const { return timers.count(id) != 0; }
    // Lets `ms` of virtual time pass, firing the timers that fall due in order.
    void Advance(long long ms) {
        const long long end = now + ms;
        for (;;) {
            int id = -1;
            long long due = end + 1;
            for (const auto& [tid, at] : timers)
                if (at < due) {
                    due = at;
                    id = tid;
                }
            if (id < 0 || due > end) break;
            now = std::max(now, due);
            timers.erase(id);
            ctl->OnTimer(id);
        }
        now = std::max(now, end);
    }
};

// Identity answer of an analyser: "puthmgid" + 10-character ID + firmware x 100.
inline std::string IdentityAnswer(const std::string& id10, const std::string& fw3) { return "puthmgid" + id10 + fw3; }

}  // namespace trv::test
