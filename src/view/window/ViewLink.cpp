// The window side of the device link: Qt timers by id, the status window, German message boxes,
// and the serial port's notifications turned into events on the GUI thread.
#include "view/window/ViewLink.h"

#include "device/LinkController.h"
#include "device/SerialPort.h"
#include "view/QtText.h"
#include "view/dialogs/TRVConfigDialog.h"
#include "view/dialogs/TRVStatusDialog.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <map>
#include <thread>

using namespace trv;

struct CViewLink::Impl : public ILinkHost {
    Impl(CViewLink* o, QWidget* w, CTRVStatusDialog* s, CWorkspace& ws)
        : owner(o), window(w), status(s), ws(ws), receiver(new QObject), link(port, *this) {
        QObject* r = receiver.get();
        port.SetNotify([this, r] {
            // Reader thread: hand the event to the GUI thread; dropped once the window is gone.
            QMetaObject::invokeMethod(
                r, [this] { link.OnSerialData(); }, Qt::QueuedConnection);
        });
        QObject::connect(status, &CTRVStatusDialog::cancelRequested, r, [this] { link.Cancel(); });
    }
    ~Impl() override {
        for (auto& [id, t] : timers) t->stop();
        port.SetNotify({});
    }

    void SetTimer(int id, int ms) override {
        QTimer*& t = timers[id];
        if (!t) {
            t = new QTimer(receiver.get());
            t->setSingleShot(true);
            QObject::connect(t, &QTimer::timeout, receiver.get(), [this, id] { link.OnTimer(id); });
        }
        t->start(ms);
    }
    void KillTimer(int id) override {
        auto it = timers.find(id);
        if (it != timers.end()) it->second->stop();
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    void ShowStatus() override {
        status->show();
        status->raise();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void HideStatus() override { status->hide(); }
    void SetStatusText(const std::string& text) override {
        status->SetStatusText(QU8(text));
        if (status->isVisible()) status->repaint();
    }
    void SetStatusPercent(int percent) override {
        status->SetProgress(percent);
        if (status->isVisible()) status->repaint();
    }
    void MessageBox(const std::string& text, const std::string& caption, bool exclamation) override {
        QString title = caption.empty() ? QApplication::applicationDisplayName() : QU8(caption);
        QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::Information, title, QU8(text),
                        QMessageBox::Ok, window);
        box.exec();
    }
    void Beep(BeepKind) override { QApplication::beep(); }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        QMessageBox box(QMessageBox::Warning, QU8(caption), QU8(text), QMessageBox::Yes | QMessageBox::No, window);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    bool RunConfigDialog(bool& stepTestMode) override {
        CTRVConfigDialog dlg(stepTestMode, window);
        if (dlg.exec() != QDialog::Accepted) return false;
        stepTestMode = dlg.StepTestMode();
        return true;
    }
    void EnableReceive(bool enable) override { emit owner->receiveEnabled(enable); }
    void SetNoticeFlags(uint32_t bits) override { ws.SetNotices(bits); }
    void ClearNoticeFlags(uint32_t bits) override { ws.ClearNotices(bits); }
    void SetDeviceAnnotation(const std::string& text, bool visible) override {
        emit owner->deviceAnnotation(text, visible);
    }
    bool BoundIdentity(std::string& deviceId, double& firmware) override {
        return ws.BoundIdentity(deviceId, firmware);
    }
    void MemoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware) override {
        emit owner->memoryReceived(memory, deviceId, firmware);
    }

    CViewLink* owner;
    QWidget* window;
    CTRVStatusDialog* status;
    CWorkspace& ws;
    std::unique_ptr<QObject> receiver;
    std::map<int, QTimer*> timers;
    CSerialPort port;
    CLinkController link;
};

CViewLink::CViewLink(QWidget* window, CTRVStatusDialog* status, CWorkspace& ws)
    : m_p(std::make_unique<Impl>(this, window, status, ws)) {}

CViewLink::~CViewLink() = default;

bool CViewLink::Available() const { return true; }
void CViewLink::ReceiveData() { m_p->link.ReceiveData(); }
void CViewLink::DeviceSettings() { m_p->link.Configure(); }
void CViewLink::ResetAnalyser() { m_p->link.ResetMemory(); }
void CViewLink::ToggleBtMode() { m_p->link.ToggleBtCompatibility(); }
bool CViewLink::BtMode() const { return m_p->link.BtCompatibility(); }
