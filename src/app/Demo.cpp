// The demo analyser: the simulator answers on a pseudo-terminal that the port search finds as COM1.
#include "app/Demo.h"

#include "sim/SimAnalyser.h"

#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_portDir;
std::unique_ptr<trv::sim::SimAnalyser> g_sim;

}  // namespace

trv::Result StartDemoAnalyser() {
    StopDemoAnalyser();
    g_portDir = std::make_unique<QTemporaryDir>();
    if (!g_portDir->isValid()) {
        trv::Result failed = trv::Result::Fail(g_portDir->errorString().toStdString());
        g_portDir.reset();
        return failed;
    }
    trv::sim::SimConfig cfg;
    cfg.pace = true;  // the transfer takes as long as on the real line, so the status window can be seen
    g_sim = std::make_unique<trv::sim::SimAnalyser>(cfg);
    if (trv::Result started = g_sim->Start(g_portDir->path().toStdString()); !started) {
        g_sim.reset();
        g_portDir.reset();
        return started;
    }
    // From now on COM1 is the simulator's terminal, and no real port is probed.
    setenv("TRV_PORT_DIR", g_portDir->path().toLocal8Bit().constData(), 1);
    return trv::Result::Ok();
}

void StopDemoAnalyser() {
    if (g_sim) g_sim->Stop();
    g_sim.reset();
    g_portDir.reset();
}
