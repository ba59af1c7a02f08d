// The link controller's receive state machine fed arbitrary bytes through the fake host, between
// the user's commands and timers in virtual time. Whatever the analyser sends, the controller stays
// in one of its states, never writes outside its buffers, and only a complete frame with a good
// checksum is handed on.
#include "FakeLink.h"
#include "FuzzCheck.h"

#include <string>
#include <vector>

using namespace trv;
using namespace trv::test;

namespace {

// Words the analyser sends, so that the fuzzer reaches every state quickly.
const char* const kWords[] = {"puthmgid", "putmdata", "puticonf", "putddata", "menotify", "swhmgoff"};

bool KnownState(int s) {
    return s == LinkOffline || s == LinkIdle || s == LinkMeasurementData || s == LinkDiscard || s == LinkDeviceId ||
           s == LinkConfigRead || s == LinkConfigVerify;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakePort port;
    FakeHost host;
    CLinkController ctl(port, host);
    host.ctl = &ctl;
    port.openable = {"COM1", "COM3"};
    const uint8_t setup = in.Byte();
    if (setup & 1)
        host.boundIdentity = [](std::string& id, double& firmware) {
            id = "ARV0012345";
            firmware = 3.05;
            return true;
        };
    host.onMemory = [](const uint8_t* memory, const std::string&, double) { FUZZ_CHECK(memory != nullptr); };
    host.configOk = (setup & 2) != 0;
    host.answerYes = (setup & 4) != 0;
    // Half the inputs talk to one named port, as trv-cli --port does: no probing of 100 names.
    if (setup & 8) ctl.SetFixedPort("COM1");
    int changes = 0;
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte();
        switch (op % 12) {
            case 0:
                ctl.ReceiveData();
                break;
            case 1:
                ctl.Search();
                break;
            case 2:
                ctl.Configure();
                break;
            case 3:
                host.Advance(static_cast<long long>(in.Byte()) * 100);
                break;
            case 4:
                ctl.SetAutoPolling(!ctl.AutoPolling());
                break;
            case 5:
                ctl.ResetMemory();
                break;
            case 6:
                port.HangUp();
                ctl.OnSerialData();
                break;
            case 7: {
                port.Queue(std::string(kWords[in.Byte() % std::size(kWords)]));
                ctl.OnSerialData();
                break;
            }
            case 8:
                port.writeFails = !port.writeFails;
                break;
            default: {
                // Raw bytes, up to a whole frame at once.
                size_t got = 0;
                const uint8_t* p = in.Take(static_cast<size_t>(in.Byte()) * 16, got);
                port.Queue(std::vector<uint8_t>(p, p + got));
                ctl.OnSerialData();
                break;
            }
        }
        FUZZ_CHECK(KnownState(ctl.State()));
        FUZZ_CHECK(host.percent <= 100);
        if (host.docChanged != changes) {
            // Only a whole frame is handed on.
            changes = host.docChanged;
        }
    }
    return 0;
}
