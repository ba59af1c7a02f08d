// The link controller and the serial port against trv-sim on a pseudo-terminal, in real time.
#include "device/SerialPort.h"
#include "res/Strings.h"
#include "sim/SimAnalyser.h"
#include "workspace/LinkHandOver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace trv;
using namespace trv::sim;

namespace {

struct EndToEnd : ::testing::Test {
    std::string dir;
    std::unique_ptr<SimAnalyser> sim;
    CLinkLoop loop;
    CTRVDoc doc;
    CCommandHistory history;
    CWorkspace ws{doc, history};
    CSerialPort port;
    CLinkController ctl{port, loop};

    EndToEnd() {
        char tmpl[] = "/tmp/trv-e2e-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::setenv("TRV_PORT_DIR", dir.c_str(), 1);
        loop.Attach(ctl, port);
        HandLinkTo(loop, ws);
    }
    ~EndToEnd() override {
        if (sim) sim->Stop();
        std::filesystem::remove_all(dir);
        ::unsetenv("TRV_PORT_DIR");
    }
    void StartSim(SimConfig cfg = {}) {
        sim = std::make_unique<SimAnalyser>(std::move(cfg));
        ASSERT_EQ(sim->Start(dir).message, "");
    }
    // Runs a command and the events after it until the receive button comes back.
    template <typename F>
    void Run(F command, int timeoutMs = 10000) {
        const int before = loop.m_nEnableCount;
        command();
        ASSERT_TRUE(loop.RunUntilEnabled(before, timeoutMs));
    }
    int MeasurementCount() const {
        int n = 0;
        for (const auto& t : doc.m_Tests) n += static_cast<int>(t.m_Steps.size());
        return n;
    }
};

}  // namespace

TEST_F(EndToEnd, DownloadIntoANewDocument) {
    StartSim();
    Run([&] { ctl.ReceiveData(); });
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(ctl.BoundPort(), "COM1");
    EXPECT_EQ(doc.m_strDeviceId, "ARV0012345");
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.05);
    EXPECT_TRUE(doc.m_bDeviceBound);
    // Sample: 6 single readings, a treadmill test of 9 and a field test of 7 readings.
    ASSERT_EQ(doc.GetTestCount(), 8);
    EXPECT_EQ(MeasurementCount(), 22);
    const TestDataType& treadmill = doc.GetTest(2);
    ASSERT_EQ(treadmill.m_Steps.size(), 9u);
    EXPECT_EQ(treadmill.m_Steps.front().m_nMeasId, 103);
    EXPECT_EQ(treadmill.m_Steps[7].m_nLactate, 80);
    EXPECT_EQ(treadmill.m_Steps[7].m_nStepDuration, 135);
    EXPECT_EQ(treadmill.m_Steps.front().m_Time.FormatIso(), "2026-03-02T09:20:05");
    EXPECT_EQ(LactateText(doc.GetTest(4).m_Steps[0]), "High");
    EXPECT_TRUE(loop.m_Messages.empty());
    EXPECT_EQ(loop.m_strAnnotation, "Geräte-ID   : ARV0012345\rFirmware: 3,05\rCOM-Port: COM1");
}

TEST_F(EndToEnd, SecondDownloadIntoTheBoundDocumentAddsOnlyNewReadings) {
    StartSim();
    Run([&] { ctl.ReceiveData(); });
    ASSERT_EQ(doc.GetTestCount(), 8);
    SimReading r;
    r.id = 123;
    r.start = true;
    r.lactate = 17;
    r.year = 2026, r.month = 3, r.day = 7, r.hour = 8;
    sim->AddReading(r);
    Run([&] { ctl.ReceiveData(); });  // the link is idle: no new search
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    ASSERT_EQ(doc.GetTestCount(), 9);
    EXPECT_EQ(doc.GetTest(8).m_Steps[0].m_nMeasId, 123);
    EXPECT_EQ(MeasurementCount(), 23);
}

TEST_F(EndToEnd, AnalyserOfAnotherDocumentIsNotTaken) {
    StartSim();
    doc.m_bDeviceBound = true;
    doc.m_strDeviceId = "ARV0099995";
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::DeviceMismatch);
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(loop.m_nNotice & NoticeDeviceMismatch);
}

TEST_F(EndToEnd, ChecksumErrorLeavesTheDocumentUntouched) {
    SimConfig cfg;
    cfg.faults.corruptCrc = true;
    StartSim(cfg);
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::CrcError);
    ASSERT_EQ(loop.m_Messages.size(), 1u);
    EXPECT_EQ(loop.m_Messages[0], LoadStr(2135));
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_FALSE(doc.IsModified());
    // Still connected to that analyser: a download without the fault binds the document to it.
    sim->SetFaults({});
    Run([&] { ctl.ReceiveData(); });
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0012345");
}

TEST_F(EndToEnd, HangUpMidFrameThenTheAnalyserComesBack) {
    SimConfig cfg;
    cfg.faults.hangUpAt = 1200;
    StartSim(cfg);
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::HungUp);
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(sim->HangUps(), 1);
    EXPECT_EQ(doc.GetTestCount(), 0);
    sim->SetFaults({});
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 8);
}

TEST_F(EndToEnd, NoiseBeforeEveryAnswer) {
    SimConfig cfg;
    cfg.faults.noiseBytes = 40;
    StartSim(cfg);
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 8);
}

TEST_F(EndToEnd, UnansweredRequestIsRetried) {
    StartSim();
    Run([&] { ctl.Search(); });
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::Found);
    SimFaults f;
    f.ignoreRequests = 1;
    sim->SetFaults(f);
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(sim->RequestCount(), 3);  // identity, ignored request, retry
}

TEST_F(EndToEnd, FrameCutShortTimesOut) {
    SimConfig cfg;
    cfg.faults.cutFrameAt = 2000;
    StartSim(cfg);
    Run([&] { ctl.ReceiveData(); }, 20000);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::FrameTimeout);
    EXPECT_EQ(doc.GetTestCount(), 0);
}

TEST_F(EndToEnd, NotifyStartsADownload) {
    StartSim();
    Run([&] { ctl.Search(); });
    Run([&] { sim->Announce("menotify"); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 8);
}

TEST_F(EndToEnd, ConfigurationIsWrittenAndVerified) {
    StartSim();
    loop.m_ConfigChoice = false;
    Run([&] { ctl.Configure(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::ConfigVerified);
    EXPECT_FALSE(sim->StepTestMode());
    EXPECT_FALSE(ctl.StepTestMode());
    ASSERT_EQ(loop.m_Messages.size(), 1u);
    EXPECT_EQ(loop.m_Messages[0], LoadStr(2230));
}

TEST_F(EndToEnd, ResetClearsTheAnalyserMemory) {
    StartSim();
    Run([&] { ctl.Search(); });
    loop.m_bAnswerYes = true;
    ASSERT_TRUE(ctl.ResetMemory());
    for (int i = 0; i < 200 && sim->ReadingCount() != 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(sim->ReadingCount(), 0u);
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(doc.m_bDeviceBound);
}

TEST_F(EndToEnd, NoSimulatorMeansNoAnalyser) {
    Run([&] { ctl.ReceiveData(); });
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::NoAnalyser);
    EXPECT_TRUE(loop.m_nNotice & NoticeNoAnalyser);
}

TEST(SerialPort, OpenWriteAndHangUp) {
    char tmpl[] = "/tmp/trv-port-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    ::setenv("TRV_PORT_DIR", dir.c_str(), 1);
    {
        SimAnalyser sim;
        ASSERT_TRUE(sim.Start(dir));
        CSerialPort port;
        EXPECT_FALSE(port.Close());
        EXPECT_FALSE(port.StopReader());
        EXPECT_FALSE(port.Open("COM2"));  // no such entry
        ASSERT_TRUE(port.Open("COM1"));
        EXPECT_FALSE(port.Open("COM1"));  // already open: the connection stays
        EXPECT_TRUE(port.IsOpen());
        CSerialPort second;
        EXPECT_FALSE(second.Open("COM1"));  // one owner at a time
        EXPECT_TRUE(port.Write(nullptr, 0));
        std::atomic<int> notes{0};
        port.SetNotify([&] { ++notes; });
        ASSERT_TRUE(port.StartReader());
        const std::string ask = "gethmgid";
        ASSERT_TRUE(port.Write(reinterpret_cast<const uint8_t*>(ask.data()), ask.size()));
        std::vector<uint8_t> got;
        for (int i = 0; i < 400 && got.size() < 21; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            port.TakeReceived(got);
        }
        EXPECT_EQ(std::string(got.begin(), got.end()), "puthmgidARV0012345305");
        EXPECT_GE(notes.load(), 1);
        sim.Stop();  // the other end goes away
        for (int i = 0; i < 400 && port.ReaderRunning(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_FALSE(port.ReaderRunning());
        EXPECT_TRUE(port.HungUp());
        EXPECT_TRUE(port.Close());
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.PortName(), "COM1");  // kept for a reopen
    }
    std::filesystem::remove_all(dir);
    ::unsetenv("TRV_PORT_DIR");
}
