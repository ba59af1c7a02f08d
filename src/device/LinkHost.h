#pragma once
// What the link controller needs from its owner (the workspace view, the console of trv-cli, or a
// test fixture). Every call comes from the owner's own thread, the one that delivers the events
// OnSerialData and OnTimer to the controller.
#include "data/NoticeFlags.h"

#include <cstdint>
#include <string>

namespace trv {

// One-shot timers of the link, by id. Id 4 (notice line, 1000 ms) belongs to the view itself.
enum LinkTimerId : int {
    TimerIdentify = 1,     // 1000 ms: no identity answer from the port being probed
    TimerDataStart = 2,    // 1000 ms: no "putmdata" after "getmdata"
    TimerFrame = 3,        // 15000 ms: memory frame not complete
    TimerNotice = 4,       // 1000 ms: the view's notice line (not used by the link)
    TimerPolling = 5,      // 15000 ms: automatic polling tick
    TimerConfigRead = 6,   // 1000 ms: no "puticonf" after "geticonfig"
    TimerConfigWrite = 7,  // 2000 ms: no "puticonf" after "seticonfig"
};

// The link sets and clears NoticeDeviceMismatch and NoticeNoAnalyser (NoticeFlags.h); NoticeSecondWindow
// is the view's.

enum class BeepKind { Default, Exclamation };

class ILinkHost {
public:
    virtual ~ILinkHost() = default;

    // Starts (or restarts) the one-shot timer `id`; when it expires the owner calls
    // CLinkController::OnTimer(id) once. KillTimer on a timer that is not running is harmless.
    virtual void SetTimer(int id, int ms) = 0;
    virtual void KillTimer(int id) = 0;
    // Blocks the owner's thread (reopen delays, 250 ms pauses of the port search).
    virtual void Sleep(int ms) = 0;

    // The transfer status window ("Übertragungsstatus"). Showing and hiding keeps the last text and
    // percentage; they change only through the two setters.
    virtual void ShowStatus() = 0;
    virtual void HideStatus() = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetStatusPercent(int percent) = 0;  // shown as "%d %%"

    // A modal message box with an OK button; an empty caption means the application's name.
    virtual void MessageBox(const std::string& text, const std::string& caption, bool exclamation) = 0;
    virtual void Beep(BeepKind kind) = 0;
    // A modal question with Yes and No (No is the default); true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // The dialog "Geräteeinstellungen": `stepTestMode` comes preselected; true for OK, with the chosen
    // mode written back; false for "Abbrechen".
    virtual bool RunConfigDialog(bool& stepTestMode) = 0;

    // The "Daten empfangen" button (and with it the menu item "Geräteeinstellungen"). Enabling it
    // marks the end of every search or transfer, successful or not.
    virtual void EnableReceive(bool enable) = 0;
    virtual void SetNoticeFlags(uint32_t bits) = 0;
    virtual void ClearNoticeFlags(uint32_t bits) = 0;
    // The chart's device-information annotation (ToolDeviceText): its text and whether it is shown.
    virtual void SetDeviceAnnotation(const std::string& text, bool visible) = 0;
    // The analyser the document is bound to (true), or false when any analyser may fill it. A search
    // keeps only a bound document's analyser.
    virtual bool BoundIdentity(std::string& deviceId, double& firmware) = 0;
    // A memory frame arrived with a correct checksum: its 3500 slot bytes and the analyser's identity.
    // The owner merges it into the document and binds the document to that analyser.
    virtual void MemoryReceived(const uint8_t* memory, const std::string& deviceId, double firmware) = 0;
};

}  // namespace trv
