// Port search, identification, binding, polling and the memory reset, against a fake host.
#include "LinkTestUtil.h"

#include "device/PortNames.h"

#include <algorithm>

using namespace trv;
using namespace trv::test;

using LinkSearch = LinkFixture;

TEST_F(LinkSearch, SilentPortIsSkippedAfterOneSecondAndTheReopenDelay) {
    port.openable = {"COM2", "COM5"};
    ctl.ReceiveData();
    EXPECT_EQ(ctl.FoundPorts(), (std::vector<std::string>{"COM2", "COM5"}));
    EXPECT_EQ(port.Sent("COM2"), std::vector<std::string>{"gethmgid"});
    EXPECT_EQ(host.texts.back(), "Suche an COM2 ...");
    EXPECT_EQ(host.percent, 50);
    EXPECT_FALSE(host.receiveEnabled);
    host.Advance(999);
    EXPECT_TRUE(port.Sent("COM5").empty());
    host.Advance(1);
    EXPECT_EQ(host.sleeps.back(), 100);
    EXPECT_EQ(port.Sent("COM5"), std::vector<std::string>{"gethmgid"});
    EXPECT_EQ(host.texts.back(), "Suche an COM5 ...");
    EXPECT_EQ(host.percent, 100);
    // The identity in three pieces.
    Feed("puthm");
    Feed("gidARV00");
    Feed("00125305");
    EXPECT_EQ(ctl.BoundPort(), "COM5");
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortName(), "COM5");
    EXPECT_EQ(host.annotation, "Geräte-ID   : ARV0000125\rFirmware: 3,05\rCOM-Port: COM5");
    EXPECT_TRUE(host.annotationVisible);
    EXPECT_EQ(port.writes.back().bytes, "getmdata");
    EXPECT_EQ(port.writes.back().port, "COM5");
}

TEST_F(LinkSearch, IdentityTextAndProgressWhileSearching) {
    port.openable = {"COM1", "COM4", "COM9"};
    ctl.Search();
    Feed(IdentityAnswer("ARV0000125", "304"));
    // The status line said which analyser was found, then the search went on to COM4.
    EXPECT_NE(std::find(host.texts.begin(), host.texts.end(), "Gerät ARV0000125304 an COM1 gefunden."),
              host.texts.end());
    EXPECT_EQ(host.texts.back(), "Suche an COM4 ...");
    EXPECT_EQ(host.percent, 2 * 100 / 3);
    host.Advance(1000);
    EXPECT_EQ(host.texts.back(), "Suche an COM9 ...");
    host.Advance(1000);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Found);
    EXPECT_EQ(ctl.BoundPort(), "COM1");
    EXPECT_FALSE(host.statusVisible);
}

TEST_F(LinkSearch, OnlyTheFirstTwentyPortsAreAskedAndTheTwentiethDoesNotSleep) {
    for (int n = 1; n <= 30; ++n) port.openable.insert(ComPortName(n));
    ctl.ReceiveData();
    ASSERT_EQ(ctl.FoundPorts().size(), 20u);
    EXPECT_EQ(ctl.FoundPorts().back(), "COM20");
    host.Advance(60000);
    EXPECT_EQ(port.Count("gethmgid"), 20);
    EXPECT_TRUE(port.Sent("COM21").empty());
    // 19 reopen delays between 20 silent ports, none after the last.
    EXPECT_EQ(std::count(host.sleeps.begin(), host.sleeps.end(), 100), 19);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::NoAnalyser);
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_TRUE(host.notice & NoticeNoAnalyser);
    EXPECT_FALSE(host.annotationVisible);
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_TRUE(host.messages.empty());  // a notice, no message box
}

TEST_F(LinkSearch, SearchWithoutAnyPortEndsAsNoAnalyser) {
    ctl.ReceiveData();
    EXPECT_TRUE(host.sleeps.empty());  // no port was open, so there is nothing to give time to
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::NoAnalyser);
    EXPECT_TRUE(host.notice & NoticeNoAnalyser);
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_EQ(host.percent, 100);  // the search ran over all 100 numbers
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(LinkSearch, BoundDocumentTakesOnlyItsOwnAnalyser) {
    doc.m_bDeviceBound = true;
    doc.m_strDeviceId = "ARV0000225";
    doc.m_dFirmware = 3.10;
    port.openable = {"COM1", "COM2"};
    ctl.ReceiveData();
    Feed(IdentityAnswer("ARV0000125", "305"));
    Feed(IdentityAnswer("ARV0000225", "310"));
    EXPECT_EQ(ctl.BoundPort(), "COM2");
    EXPECT_EQ(port.writes.back().bytes, "getmdata");
    EXPECT_EQ(port.writes.back().port, "COM2");
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000225");
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.10);
}

TEST_F(LinkSearch, SearchPausesOnlyAfterClosingAnOpenPort) {
    port.openable = {"COM2"};
    ctl.Search();
    Feed(IdentityAnswer("ARV0000125", "305"));
    ASSERT_TRUE(port.IsOpen());
    host.sleeps.clear();
    ctl.Search();  // the link is connected: the port is closed and gets its 250 ms before probing
    ASSERT_FALSE(host.sleeps.empty());
    EXPECT_EQ(host.sleeps.front(), 250);
    EXPECT_EQ(std::count(host.sleeps.begin(), host.sleeps.end(), 250), 1);
}

TEST_F(LinkSearch, EmptyDeviceIdIsNotABinding) {
    // A file of an old layout, saved once: flagged as bound, but to no analyser.
    doc.m_bDeviceBound = true;
    port.openable = {"COM4"};
    ctl.ReceiveData();
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_EQ(ctl.BoundPort(), "COM4");
    EXPECT_EQ(port.writes.back().bytes, "getmdata");
    EXPECT_FALSE(host.notice & NoticeDeviceMismatch);
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000125");
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.05);
}

TEST_F(LinkSearch, DeviceIdBeyondAsciiIsComparedAsSent) {
    const std::string sent =
        "ARV\xE4\x81\xFF"
        "0123";
    port.openable = {"COM1"};
    ctl.ReceiveData();
    Feed(IdentityAnswer(sent, "305"));
    ASSERT_EQ(ctl.BoundPort(), "COM1");
    EXPECT_EQ(host.annotation, "Geräte-ID   : ARVä\xC2\x81ÿ0123\rFirmware: 3,05\rCOM-Port: COM1");
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    // The document holds the ID as text (UTF-8) of the analyser's code-page bytes, and is bound to it.
    EXPECT_EQ(doc.m_strDeviceId,
              "ARV\xC3\xA4\xC2\x81\xC3\xBF"
              "0123");
    ASSERT_TRUE(doc.m_bDeviceBound);
    ctl.Search();
    Feed(IdentityAnswer(sent, "305"));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Found);
    // One byte different is another analyser.
    ctl.Search();
    Feed(
        IdentityAnswer("ARV\xE4\x81\xFE"
                       "0123",
                       "305"));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::DeviceMismatch);
}

TEST_F(LinkSearch, MismatchSetsTheNoticeAndCountsAsOffline) {
    doc.m_bDeviceBound = true;
    doc.m_strDeviceId = "ARV0000225";
    port.openable = {"COM1"};
    ctl.ReceiveData();
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::DeviceMismatch);
    EXPECT_TRUE(host.notice & NoticeDeviceMismatch);
    EXPECT_FALSE(host.notice & NoticeNoAnalyser);
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000225");
    EXPECT_EQ(port.Count("getmdata"), 0);
    // The next "Daten empfangen" searches again, and a matching analyser clears the notice.
    port.openable = {"COM3"};
    ctl.ReceiveData();
    Feed(IdentityAnswer("ARV0000225", "305"));
    EXPECT_FALSE(host.notice & NoticeDeviceMismatch);
    EXPECT_EQ(port.Count("getmdata"), 1);
}

TEST_F(LinkSearch, PortThatDoesNotOpenAgainCountsAsSilent) {
    port.openable = {"COM1", "COM2"};
    port.opensLeft["COM1"] = 1;  // opens for the port search only
    ctl.ReceiveData();
    EXPECT_TRUE(port.Sent("COM1").empty());
    EXPECT_EQ(port.Sent("COM2"), std::vector<std::string>{"gethmgid"});
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_EQ(ctl.BoundPort(), "COM2");
}

TEST_F(LinkSearch, IdentityCutShortDoesNotStallTheSearch) {
    port.openable = {"COM1", "COM2"};
    ctl.Search();
    Feed("puthmgidARV00");
    host.Advance(1000);
    EXPECT_EQ(port.Sent("COM2"), std::vector<std::string>{"gethmgid"});
    host.Advance(1000);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::NoAnalyser);
}

TEST_F(LinkSearch, PermissionDeniedIsNotReportedAsNoAnalyser) {
    port.denied = {"COM1"};
    ctl.ReceiveData();
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::PermissionDenied);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("dialout"), std::string::npos);
    EXPECT_NE(host.messages[0].find("Keine Berechtigung"), std::string::npos);
}

// A port another window or program holds is named, not reported as "no analyser" (which would send
// the user looking for cables); the notice line stays free of "Kein Arvento gefunden!".
TEST_F(LinkSearch, BusyPortIsNamedNotReportedAsNoAnalyser) {
    port.openable = {"COM2", "COM3"};
    port.opensLeft = {{"COM3", 0}};
    ctl.ReceiveData();
    host.Advance(1000);  // COM2 is silent
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::PortBusy);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "COM3 wird von einem anderen Fenster oder Programm benutzt.");
    EXPECT_EQ(ctl.BusyText(), host.messages[0]);
    EXPECT_FALSE(host.notice & NoticeNoAnalyser);
}

TEST_F(LinkSearch, BluetoothModeWaitsThreeSecondsOnEveryReopen) {
    ctl.ToggleBtCompatibility();
    EXPECT_TRUE(ctl.BtCompatibility());
    port.openable = {"COM1", "COM2"};
    ctl.ReceiveData();
    host.Advance(1000);
    EXPECT_EQ(host.sleeps.back(), 3000);
    Feed(IdentityAnswer("ARV0000125", "305"));
    host.Advance(1000);  // no "putmdata": retry
    EXPECT_EQ(host.sleeps.back(), 3000);
    ctl.ToggleBtCompatibility();
    EXPECT_FALSE(ctl.BtCompatibility());
}

TEST_F(LinkSearch, PollingSendsTheKeepAliveAndGoesOfflineWhenItCannotBeWritten) {
    port.openable = {"COM1"};
    ctl.SetAutoPolling(true);
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_TRUE(host.receiveEnabled);  // polling does not hold the button
    EXPECT_TRUE(host.Running(TimerPolling));
    host.Advance(15000);
    EXPECT_EQ(port.Count("O"), 1);
    EXPECT_TRUE(host.Running(TimerPolling));
    port.writeFails = true;
    host.sleeps.clear();
    host.Advance(15000);
    // Two reopens (each closing the open port for the reopen delay), each followed by 250 ms.
    EXPECT_EQ(host.sleeps, (std::vector<int>{100, 250, 100, 250}));
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_TRUE(host.notice & NoticeNoAnalyser);
    EXPECT_TRUE(host.Running(TimerPolling));
    // Offline: the next tick searches again.
    port.writeFails = false;
    host.Advance(15000);
    EXPECT_EQ(port.Count("gethmgid"), 2);
    ctl.SetAutoPolling(false);
    EXPECT_FALSE(host.Running(TimerPolling));
}

TEST_F(LinkSearch, ResetIsSentOnlyOnYesAndOnlyToAConnectedAnalyser) {
    EXPECT_FALSE(ctl.ResetMemory());
    EXPECT_EQ(host.questions, 1);
    EXPECT_TRUE(port.writes.empty());
    port.openable = {"COM1"};
    ctl.Search();
    Feed(IdentityAnswer("ARV0000125", "305"));
    host.answerYes = false;
    EXPECT_FALSE(ctl.ResetMemory());
    EXPECT_EQ(port.Count("reset"), 0);
    host.answerYes = true;
    EXPECT_TRUE(ctl.ResetMemory());
    EXPECT_EQ(port.Count("reset"), 1);
    EXPECT_EQ(doc.GetTestCount(), 0);
}

TEST(PortNames, ComNumbers) {
    EXPECT_EQ(ComPortNumber("COM1"), 1);
    EXPECT_EQ(ComPortNumber("com17"), 17);
    EXPECT_EQ(ComPortNumber("COM100"), 100);
    EXPECT_EQ(ComPortNumber("COM101"), 0);
    EXPECT_EQ(ComPortNumber("COM0"), 0);
    EXPECT_EQ(ComPortNumber("COM01"), 0);
    EXPECT_EQ(ComPortNumber("/dev/ttyUSB0"), 0);
}

TEST(PortNames, PortDirectoryDecides) {
    setenv("TRV_PORT_DIR", "/tmp/trv-ports", 1);
    std::string path;
    ASSERT_TRUE(ResolvePortName("COM12", path));
    EXPECT_EQ(path, "/tmp/trv-ports/COM12");
    ASSERT_TRUE(ResolvePortName("/dev/pts/7", path));
    EXPECT_EQ(path, "/dev/pts/7");
    unsetenv("TRV_PORT_DIR");
}
