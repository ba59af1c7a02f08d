// trv-cli search, download, config and reset: the desktop program's link controller with a console
// in place of the window (status texts and percentages on stderr, answers from the options).
#include "Cli.h"
#include "data/DeviceIdentity.h"
#include "data/DocLock.h"

#include "data/TrvFile.h"
#include "device/SerialPort.h"
#include "res/Format.h"
#include "res/Strings.h"
#include "workspace/LinkHandOver.h"

#include <cstdlib>
#include <filesystem>

namespace trv::cli {

namespace {

// Longest wait for one command: a search over 100 ports with 20 silent ones, then four attempts and
// the frame time-out, with room to spare.
constexpr int kCommandTimeoutMs = 180000;

class ConsoleHost : public CLinkLoop {
public:
    void SetStatusText(const std::string& text) override {
        CLinkLoop::SetStatusText(text);
        Print();
    }
    void SetStatusPercent(int percent) override {
        CLinkLoop::SetStatusPercent(percent);
        Print();
    }

private:
    // Every change of the text, and the percentage in steps of at least 10.
    void Print() {
        if (!m_bStatusVisible) return;
        const bool textChanged = m_strStatus != m_strPrinted;
        const bool stepped =
            m_nPercent == 0 || m_nPercent == 100 || m_nPrinted < 0 || std::abs(m_nPercent - m_nPrinted) >= 10;
        if (!textChanged && (m_nPercent == m_nPrinted || !stepped)) return;
        std::string line = m_strStatus;
        for (char& c : line)
            if (c == '\r') c = ' ';
        std::fprintf(stderr, "%s %d %%\n", line.c_str(), m_nPercent);
        m_strPrinted = m_strStatus;
        m_nPrinted = m_nPercent;
    }
    std::string m_strPrinted;
    int m_nPrinted = -1;
};

// One link session: document and its workspace, port, console and controller, wired together.
struct Session {
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws{doc, history};
    ConsoleHost host;
    CSerialPort port;
    CLinkController ctl{port, host};

    Session() {
        host.Attach(ctl, port);
        HandLinkTo(host, ws);
    }

    bool Run(void (CLinkController::*command)()) {
        const int before = host.m_nEnableCount;
        (ctl.*command)();
        return host.RunUntilEnabled(before, kCommandTimeoutMs);
    }
};

// The exit status and error line of a search or transfer that did not succeed.
int FailFor(const Session& s) {
    switch (s.ctl.Outcome()) {
        case LinkOutcome::PermissionDenied:
            return Fail(ExitNoAnalyser, s.ctl.PermissionText());
        case LinkOutcome::NoAnalyser:
            return Fail(ExitNoAnalyser, LoadStr(IDS_NOTICE_NO_ANALYSER));
        case LinkOutcome::NoAnswer:
            return Fail(ExitNoAnalyser, LoadStr(IDS_LINK_NO_ANSWER));
        case LinkOutcome::DeviceMismatch:
            return Fail(ExitDeviceMismatch, LoadStr(IDS_NOTICE_DEVICE_MISMATCH));
        case LinkOutcome::CrcError:
            return Fail(ExitTransfer, LoadStr(IDS_LINK_CRC_ERROR));
        case LinkOutcome::FrameTimeout:
            return Fail(ExitTransfer, LoadStr(IDS_LINK_TIMEOUT));
        case LinkOutcome::HungUp:
            return Fail(ExitTransfer, LoadStr(IDS_CLI_CONNECTION_LOST));
        case LinkOutcome::ConfigVerifyFailed:
            return Fail(ExitTransfer, LoadStr(IDS_LINK_CONFIG_CHECK_FAILED));
        case LinkOutcome::Unsupported:
            return Fail(ExitUnsupported, LoadStr(IDS_LINK_UNSUPPORTED));
        default:
            return Fail(ExitTransfer, LoadStr(IDS_LINK_NO_ANSWER));
    }
}

bool CheckOptions(const Args& args, const std::vector<std::string>& known, const char* usage, int& exitCode) {
    const auto unknown = args.Unknown(known);
    if (!unknown.empty()) {
        exitCode = Fail(ExitUsage, FmtId(IDS_CLI_UNKNOWN_OPTION, unknown[0].c_str(), usage));
        return false;
    }
    return true;
}

bool PortOption(const Args& args, bool required, const char* usage, std::string& port, int& exitCode) {
    bool missing = false;
    const auto value = args.Value("--port", &missing);
    if (missing || (required && !value) || (value && value->empty())) {
        exitCode = Fail(ExitUsage, FmtId(IDS_CLI_NO_PORT, usage));
        return false;
    }
    if (value) port = *value;
    return true;
}

}  // namespace

int CmdSearch(int argc, char** argv) {
    const Args args(argc, argv);
    int code = 0;
    if (!CheckOptions(args, {"--json"}, "search --json", code)) return code;
    if (!args.Positional({}).empty()) return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, "search --json"));
    Session s;
    if (!s.Run(&CLinkController::Search)) return Fail(ExitNoAnalyser, LoadStr(IDS_LINK_NO_ANSWER));
    const auto& ids = s.ctl.IdentifiedIds();
    if (ids.empty()) return FailFor(s);
    Json json;
    json.BeginArray();
    for (size_t i = 0; i < ids.size(); ++i) {
        json.BeginObject();
        json.Field("port", s.ctl.IdentifiedPorts()[i]);
        json.Field("device_id", DeviceIdFromAnalyser(ids[i].substr(0, 10)));
        json.Field("firmware", std::atoi(ids[i].c_str() + 10) / 100.0);
        json.EndObject();
    }
    json.EndArray();
    std::printf("%s\n", json.Text().c_str());
    return ExitOk;
}

int CmdDownload(int argc, char** argv) {
    static const char* kUsage = "download FILE [--port PORT]";
    const Args args(argc, argv);
    int code = 0;
    if (!CheckOptions(args, {"--port"}, kUsage, code)) return code;
    const auto files = args.Positional({"--port"});
    if (files.size() != 1) return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, kUsage));
    std::string port;
    if (!PortOption(args, false, kUsage, port, code)) return code;
    const std::string& path = files[0];

    // Held for the whole download: the readings merge into the document as read, and nobody may
    // write it between the reading and the saving.
    CDocLock lock;
    if (int rc = LockForWriting(path, lock)) return rc;
    Session s;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        const FileResult r = LoadDocument(path, s.doc);
        if (!r.ok) return Fail(ExitFile, r.message);
    }
    const int before = s.doc.CountReadings();
    s.ctl.SetFixedPort(port);
    if (!s.Run(&CLinkController::ReceiveData)) return Fail(ExitTransfer, LoadStr(IDS_LINK_TIMEOUT));
    if (s.ctl.Outcome() != LinkOutcome::Downloaded) return FailFor(s);
    if (int rc = CheckUnchangedOnDisk(s.doc, path)) return rc;
    const FileResult saved = SaveDocument(s.doc, path);
    if (!saved.ok) return Fail(ExitFile, saved.message);
    std::printf("%s\n", FmtId(IDS_CLI_DOWNLOADED, s.doc.CountReadings() - before, s.doc.GetTestCount(),
                              s.doc.m_strDeviceId.c_str(), s.doc.m_dFirmware, s.ctl.BoundPort().c_str())
                            .c_str());
    return ExitOk;
}

int CmdConfig(int argc, char** argv) {
    static const char* kUsage = "config --port PORT [--step-test-mode on|off] [--json]";
    const Args args(argc, argv);
    int code = 0;
    if (!CheckOptions(args, {"--port", "--step-test-mode", "--json"}, kUsage, code)) return code;
    if (!args.Positional({"--port", "--step-test-mode"}).empty()) return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, kUsage));
    std::string port;
    if (!PortOption(args, true, kUsage, port, code)) return code;
    Session s;
    bool missing = false;
    if (const auto mode = args.Value("--step-test-mode", &missing)) {
        if (*mode != "on" && *mode != "off") return Fail(ExitUsage, FmtId(IDS_CLI_STEP_MODE_VALUE, kUsage));
        s.host.m_ConfigChoice = *mode == "on";
    } else if (missing) {
        return Fail(ExitUsage, FmtId(IDS_CLI_STEP_MODE_VALUE, kUsage));
    }
    s.ctl.SetFixedPort(port);
    if (!s.Run(&CLinkController::Configure)) return Fail(ExitTransfer, LoadStr(IDS_LINK_NO_ANSWER));
    const LinkOutcome o = s.ctl.Outcome();
    if (o != LinkOutcome::ConfigCancelled && o != LinkOutcome::ConfigVerified) return FailFor(s);
    if (o == LinkOutcome::ConfigVerified) std::fprintf(stderr, "%s\n", LoadStr(IDS_LINK_CONFIG_SENT));
    if (args.Has("--json")) {
        Json json;
        json.BeginObject().Field("step_test_mode", s.ctl.StepTestMode()).EndObject();
        std::printf("%s\n", json.Text().c_str());
    } else {
        std::printf("%s\n", LoadStr(s.ctl.StepTestMode() ? IDS_CLI_STEP_MODE_ON : IDS_CLI_STEP_MODE_OFF));
    }
    return ExitOk;
}

int CmdReset(int argc, char** argv) {
    static const char* kUsage = "reset --port PORT --yes";
    const Args args(argc, argv);
    int code = 0;
    if (!CheckOptions(args, {"--port", "--yes"}, kUsage, code)) return code;
    if (!args.Positional({"--port"}).empty()) return Fail(ExitUsage, FmtId(IDS_CLI_USAGE, kUsage));
    std::string port;
    if (!PortOption(args, true, kUsage, port, code)) return code;
    if (!args.Has("--yes")) return Fail(ExitUsage, FmtId(IDS_CLI_CONFIRM_RESET, LoadStr(IDS_LINK_ASK_RESET)));
    Session s;
    s.ctl.SetFixedPort(port);
    if (!s.Run(&CLinkController::Search)) return Fail(ExitNoAnalyser, LoadStr(IDS_LINK_NO_ANSWER));
    if (s.ctl.Outcome() != LinkOutcome::Found) return FailFor(s);
    s.host.m_bAnswerYes = true;
    if (!s.ctl.ResetMemory()) return Fail(ExitTransfer, LoadStr(IDS_LINK_NO_ANSWER));
    std::printf("%s\n", FmtId(IDS_CLI_RESET_DONE, s.ctl.DeviceId().c_str(), s.ctl.BoundPort().c_str()).c_str());
    return ExitOk;
}

}  // namespace trv::cli
