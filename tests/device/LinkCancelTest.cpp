// "Abbrechen" in the status window: a search or download stops and leaves everything as before.
#include "LinkTestUtil.h"

using namespace trv;
using namespace trv::test;

using LinkCancel = LinkFixture;

TEST_F(LinkCancel, MidFrameNothingIsMergedAndTheDocumentKeepsItsState) {
    ConnectForDownload();
    const auto frame = FrameOf(SmallMemory());
    Feed("putmdata");
    Feed(std::vector<uint8_t>(frame.begin(), frame.begin() + 1500));
    ASSERT_TRUE(ctl.Busy());
    const int enabled = host.enableCount;
    ctl.Cancel();
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Cancelled);
    EXPECT_FALSE(ctl.Busy());
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_EQ(host.enableCount, enabled + 1);
    EXPECT_FALSE(host.statusVisible);
    EXPECT_TRUE(host.timers.empty());
    // The document as before the click on "Daten empfangen".
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_EQ(doc.m_strDeviceId, "");
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(host.docChanged, 0);
    // The rest of the frame and the frame time-out come to nothing, and nobody is told of an error.
    Feed(std::vector<uint8_t>(frame.begin() + 1500, frame.end()));
    host.Advance(20000);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Cancelled);
}

TEST_F(LinkCancel, DuringTheSearchNoFurtherPortIsAsked) {
    port.openable = {"COM1", "COM2", "COM3"};
    ctl.ReceiveData();
    ASSERT_EQ(port.Sent(), (std::vector<std::string>{"gethmgid"}));  // COM1 asked, its answer awaited
    ctl.Cancel();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(host.receiveEnabled);
    host.Advance(10000);
    EXPECT_EQ(port.Sent(), (std::vector<std::string>{"gethmgid"}));
    EXPECT_EQ(port.Count("getmdata"), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.notice & NoticeNoAnalyser, 0u);
}

TEST_F(LinkCancel, WhileWaitingForARetryTheRetryIsNotSent) {
    ConnectForDownload();
    host.Advance(1000);  // no "putmdata": the first retry
    ASSERT_EQ(port.Count("getmdata"), 2);
    ctl.Cancel();
    host.Advance(10000);
    EXPECT_EQ(port.Count("getmdata"), 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkCancel, WhenIdleNothingHappensAndAfterwardsTheNextDownloadWorks) {
    port.openable.insert("COM3");
    ctl.Cancel();
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::None);
    EXPECT_EQ(host.enableCount, 0);

    ConnectForDownload();
    Feed("putmdata");
    ctl.Cancel();
    // "Daten empfangen" again: a new search on the closed port, then the whole download.
    ConnectForDownload();
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 2);
    EXPECT_TRUE(doc.m_bDeviceBound);
}
