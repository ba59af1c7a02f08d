#pragma once
// The device link of one document window: serial port, link controller and the host side
// (timers, status window, message boxes) that the controller talks to.
#include <memory>
#include <string>

class CTRVView;

class CViewLink {
public:
    explicit CViewLink(CTRVView* view);
    ~CViewLink();
    CViewLink(const CViewLink&) = delete;
    CViewLink& operator=(const CViewLink&) = delete;

    // False when the program was built without the device link.
    bool Available() const;

    void ReceiveData();     // "Daten empfangen"
    void DeviceSettings();  // "Geräteeinstellungen"
    void ResetAnalyser();   // Ctrl+R, after its question
    void ToggleBtMode();    // "BT-Kompatibilitätsmodus"
    bool BtMode() const;
    // The window has a port open: it holds the analyser (no other window reaches it then).
    bool HoldsPort() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};
