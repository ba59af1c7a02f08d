// trv-sim: an analyser on a pseudo-terminal, for tests, demonstrations and manual trials.
#include "sim/SimAnalyser.h"

#include "res/Format.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

void Usage(FILE* to) {
    std::fprintf(to,
                 "Aufruf: trv-sim [OPTIONEN]\n"
                 "  --dir DIR             Verzeichnis für den Port-Link (Vorgabe: $TRV_PORT_DIR)\n"
                 "  --name COMn           Name des Links (Vorgabe: COM1)\n"
                 "  --memory FILE         Gerätespeicher aus einer Textdatei (Vorgabe: eingebaute Probe)\n"
                 "  --empty               leerer Gerätespeicher\n"
                 "  --device-id ID        Geräte-ID (10 Zeichen)\n"
                 "  --firmware X.YY       Firmware-Version\n"
                 "  --step-test-mode on|off\n"
                 "  --pace                mit 19200 Baud senden (10 Bit je Byte)\n"
                 "  --ignore N            die ersten N Anfragen nicht beantworten\n"
                 "  --corrupt-crc         falsche Prüfsumme senden\n"
                 "  --cut N               nur N Bytes des Datenrahmens senden\n"
                 "  --noise N             N Störbytes vor jeder Antwort\n"
                 "  --hangup N            nach N Bytes des Datenrahmens auflegen\n"
                 "  --notify-after SEC    nach SEC Sekunden \"menotify\" senden\n"
                 "  --switch-off-after SEC  nach SEC Sekunden \"swhmgoff\" senden\n"
                 "  --run-for SEC         nach SEC Sekunden beenden\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace trv::sim;
    SimConfig cfg;
    std::string dir = std::getenv("TRV_PORT_DIR") ? std::getenv("TRV_PORT_DIR") : "";
    double notifyAfter = -1, offAfter = -1, runFor = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "trv-sim: %s braucht einen Wert.\n", a.c_str());
                std::exit(1);
            }
            return argv[++i];
        };
        auto number = [&]() {
            double v = 0;
            const std::string s = value();
            if (!trv::ParseDecimal(s, v)) {
                std::fprintf(stderr, "trv-sim: \"%s\" ist keine Zahl.\n", s.c_str());
                std::exit(1);
            }
            return v;
        };
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else if (a == "--dir") {
            dir = value();
        } else if (a == "--name") {
            cfg.linkName = value();
        } else if (a == "--memory") {
            const std::string path = value();
            if (const trv::Result loaded = LoadSimMemory(path, cfg.memory); !loaded) {
                std::fprintf(stderr, "trv-sim: %s: %s\n", path.c_str(), loaded.message.c_str());
                return 2;
            }
        } else if (a == "--empty") {
            cfg.memory.readings.clear();
        } else if (a == "--device-id") {
            cfg.memory.deviceId = value();
            if (cfg.memory.deviceId.size() != 10) {
                std::fprintf(stderr, "trv-sim: die Geräte-ID hat 10 Zeichen.\n");
                return 1;
            }
        } else if (a == "--firmware") {
            cfg.memory.firmware100 = static_cast<int>(number() * 100 + 0.5);
        } else if (a == "--step-test-mode") {
            cfg.memory.stepTestMode = value() == "on";
        } else if (a == "--pace") {
            cfg.pace = true;
        } else if (a == "--ignore") {
            cfg.faults.ignoreRequests = static_cast<int>(number());
        } else if (a == "--corrupt-crc") {
            cfg.faults.corruptCrc = true;
        } else if (a == "--cut") {
            cfg.faults.cutFrameAt = static_cast<int>(number());
        } else if (a == "--noise") {
            cfg.faults.noiseBytes = static_cast<int>(number());
        } else if (a == "--hangup") {
            cfg.faults.hangUpAt = static_cast<int>(number());
        } else if (a == "--notify-after") {
            notifyAfter = number();
        } else if (a == "--switch-off-after") {
            offAfter = number();
        } else if (a == "--run-for") {
            runFor = number();
        } else {
            std::fprintf(stderr, "trv-sim: unbekannte Option %s\n", a.c_str());
            Usage(stderr);
            return 1;
        }
    }
    if (dir.empty()) {
        std::fprintf(stderr, "trv-sim: kein Verzeichnis für den Port (--dir oder TRV_PORT_DIR).\n");
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    SimAnalyser sim(cfg);
    if (const trv::Result started = sim.Start(dir); !started) {
        std::fprintf(stderr, "trv-sim: %s\n", started.message.c_str());
        return 2;
    }
    std::printf("%s -> %s\n", sim.LinkPath().c_str(), sim.SlavePath().c_str());
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    while (!g_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (notifyAfter >= 0 && elapsed() >= notifyAfter) {
            sim.Announce("menotify");
            notifyAfter = -1;
        }
        if (offAfter >= 0 && elapsed() >= offAfter) {
            sim.Announce("swhmgoff");
            offAfter = -1;
        }
        if (runFor >= 0 && elapsed() >= runFor) break;
    }
    sim.Stop();
    return 0;
}
