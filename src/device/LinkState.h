#pragma once
// What the bytes arriving from the analyser mean at the moment, and how the link's last search or
// transaction ended.

namespace trv {

enum LinkState : int {
    LinkOffline = 0,
    LinkIdle = 1,  // waiting for one of the analyser's words
    LinkMeasurementData = 2,
    LinkDiscard = 3,
    LinkDeviceId = 4,
    LinkConfigRead = 6,
    LinkConfigVerify = 7,
};

// For trv-cli and tests; the view shows the messages.
enum class LinkOutcome {
    None,
    Found,               // search without a pending transaction found the analyser
    Downloaded,          // memory frame merged into the document
    CrcError,            // "Fehlerhafte CRC-Prüfsumme."
    FrameTimeout,        // "Fehler: Timeout bei Datenübertragung!"
    NoAnswer,            // "Fehler: Gerät antwortet nicht!" after the retries
    HungUp,              // the port went away during a transaction
    PortBusy,            // no analyser answered, and a port was held by another window or program
    NoAnalyser,          // no port answered
    PermissionDenied,    // no port answered, and at least one port could not be opened for lack of rights
    DeviceMismatch,      // analysers answered, none with the document's device ID
    Unsupported,         // configuration not offered by this analyser
    ConfigCancelled,     // configuration read, dialog cancelled
    ConfigVerified,      // configuration written and read back
    ConfigVerifyFailed,  // read-back differs
    Cancelled,           // "Abbrechen" in the status window
};

}  // namespace trv
