#pragma once
// The device link of one document window: serial port, link controller and the host side
// (timers, status window, message boxes) that the controller talks to. What the window must show
// (the receive button, the device annotation, the arrived memory) it reports by signals.
#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

class QWidget;
class CTRVStatusDialog;
namespace trv {
class CWorkspace;
}

class CViewLink : public QObject {
    Q_OBJECT
public:
    // `window` carries the messages and the configuration dialog; `status` shows the progress;
    // the workspace takes the notice flags and knows the analyser the document is bound to.
    CViewLink(QWidget* window, CTRVStatusDialog* status, trv::CWorkspace& ws);
    ~CViewLink() override;
    CViewLink(const CViewLink&) = delete;
    CViewLink& operator=(const CViewLink&) = delete;

    // False when the program was built without the device link.
    bool Available() const;

    void ReceiveData();     // "Daten empfangen"
    void DeviceSettings();  // "Geräteeinstellungen"
    void ResetAnalyser();   // Ctrl+R, after its question
    void ToggleBtMode();    // "BT-Kompatibilitätsmodus"
    bool BtMode() const;

signals:
    // The "Daten empfangen" button follows the link's state.
    void receiveEnabled(bool enable);
    // The device-information annotation of the chart.
    void deviceAnnotation(const std::string& text, bool visible);
    // The analyser's memory arrived (valid during the call).
    void memoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware);

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};
