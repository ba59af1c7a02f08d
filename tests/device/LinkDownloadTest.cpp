// The receive state machine, the download and its time-outs and retries, against a fake host.
#include "LinkTestUtil.h"

#include "res/Format.h"

using namespace trv;
using namespace trv::test;

TEST(Crc16, TextbookCheckValues) {
    const char* check = "123456789";
    EXPECT_EQ(Crc16Arc(reinterpret_cast<const uint8_t*>(check), 9), 0xBB3D);
    const uint8_t one[] = {0x01};
    EXPECT_EQ(Crc16Arc(one, 1), 0xC0C1);  // the first entry after 0 of the ARC table
    EXPECT_EQ(Crc16Arc(nullptr, 0), 0);
}

using LinkDownload = LinkFixture;

TEST_F(LinkDownload, WholeFrameInPiecesIsMergedAndBindsTheDocument) {
    ConnectForDownload();
    // The link keeps the analyser's identity; the document gets it with the merged download.
    EXPECT_EQ(ctl.DeviceId(), "ARV0000125");
    EXPECT_DOUBLE_EQ(ctl.Firmware(), 3.05);
    EXPECT_EQ(doc.m_strDeviceId, "");
    EXPECT_TRUE(host.Running(TimerDataStart));
    // The word and the frame arrive in odd pieces.
    const auto frame = FrameOf(SmallMemory());
    Feed("pu");
    Feed("tmd");
    Feed(std::string("ata") + std::string(reinterpret_cast<const char*>(frame.data()), 1000));
    EXPECT_EQ(ctl.State(), LinkMeasurementData);
    EXPECT_FALSE(host.Running(TimerDataStart));
    EXPECT_TRUE(host.Running(TimerFrame));
    EXPECT_EQ(host.percent, 1000 * 100 / 3504);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ...");
    Feed(std::vector<uint8_t>(frame.begin() + 1000, frame.end()));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(ctl.State(), LinkIdle);
    EXPECT_FALSE(host.Running(TimerFrame));
    ASSERT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(doc.GetTest(0).m_Steps.size(), 1u);
    EXPECT_EQ(doc.GetTest(1).m_Steps.size(), 3u);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(host.docChanged, 1);
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_FALSE(host.statusVisible);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LinkDownload, NoiseAndStrayBytesBeforeTheWordAreHarmless) {
    ConnectForDownload();
    Feed(std::string("\x01\xffputmdat\x00xputmdat", 18));
    EXPECT_EQ(ctl.State(), LinkIdle);
    const auto frame = FrameOf(SmallMemory());
    Feed("Xputmdata");
    Feed(frame);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 2);
}

TEST_F(LinkDownload, ChecksumMismatchLeavesTheDocumentAsItWas) {
    ConnectForDownload();
    auto frame = FrameOf(SmallMemory());
    frame[3501] ^= 0x01;
    Feed("putmdata");
    Feed(frame);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::CrcError);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Fehlerhafte CRC-Prüfsumme.");
    EXPECT_EQ(host.captions[0], "Übertragungsfehler:");
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ctl.State(), LinkIdle);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkDownload, DownloadAfterAChecksumErrorBindsTheDocumentToTheConnectedAnalyser) {
    ConnectForDownload("COM3", "ARV0000125", "305");
    auto bad = FrameOf(SmallMemory());
    bad[3500] ^= 0x01;
    Feed("putmdata");
    Feed(bad);
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::CrcError);
    // The link stays with that analyser: the next "Daten empfangen" asks it again without a search.
    ctl.ReceiveData();
    EXPECT_EQ(port.Count("gethmgid"), 1);
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    ASSERT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000125");
    EXPECT_DOUBLE_EQ(doc.m_dFirmware, 3.05);
    // And the analyser's configuration is still offered (tenth character "5", firmware 3.05).
    host.configOk = false;
    ctl.Configure();
    EXPECT_EQ(host.messages.size(), 1u);  // only the checksum message
    EXPECT_EQ(port.writes.back().bytes, std::string("geticonfig\x00", 11));
}

TEST_F(LinkDownload, EmptyMemoryAddsNothingButBindsAndModifiesTheDocument) {
    ConnectForDownload();
    // 3500 zero bytes have the checksum 0: the frame ends in two more zero bytes and two unused ones.
    Feed("putmdata");
    Feed(std::vector<uint8_t>(3504, 0));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(doc.m_bDeviceBound);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strDeviceId, "ARV0000125");
}

TEST_F(LinkDownload, BytesAfterTheChecksumAreNotPartOfIt) {
    ConnectForDownload();
    auto frame = FrameOf(SmallMemory());
    frame[3502] = 0x55;
    frame[3503] = 0xAA;
    Feed("putmdata");
    Feed(frame);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
}

TEST_F(LinkDownload, RetriesAreNumberedFromOneAndTheFourthSilenceGivesUp) {
    ConnectForDownload();
    host.Advance(999);
    EXPECT_EQ(port.Count("getmdata"), 1);
    host.Advance(1);
    EXPECT_EQ(port.Count("getmdata"), 2);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ... (1. Versuch)");
    EXPECT_EQ(host.sleeps.back(), 100);
    host.Advance(1100);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ... (2. Versuch)");
    host.Advance(1100);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ... (3. Versuch)");
    EXPECT_EQ(port.Count("getmdata"), 4);
    EXPECT_TRUE(host.messages.empty());
    host.Advance(1100);
    EXPECT_EQ(port.Count("getmdata"), 4);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Fehler: Gerät antwortet nicht!");
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::NoAnswer);
    EXPECT_TRUE(host.notice & NoticeNoAnalyser);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(host.receiveEnabled);
    EXPECT_FALSE(doc.m_bDeviceBound);
    EXPECT_EQ(doc.m_strDeviceId, "");  // the search's binding is undone
    // The next "Daten empfangen" searches again.
    const size_t before = port.writes.size();
    ctl.ReceiveData();
    EXPECT_EQ(port.writes[before].bytes, "gethmgid");
}

TEST_F(LinkDownload, AnswerAfterARetryStartsTheCountAgain) {
    ConnectForDownload();
    host.Advance(1000);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ... (1. Versuch)");
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Downloaded);
    ctl.ReceiveData();
    host.Advance(1000);
    EXPECT_EQ(host.texts.back(), "Empfange Messdaten ... (1. Versuch)");
}

TEST_F(LinkDownload, ShortFrameEndsWithTheTimeoutAfterFifteenSeconds) {
    ConnectForDownload();
    Feed("putmdata");
    Feed(std::vector<uint8_t>(3000, 0));
    host.Advance(14999);
    EXPECT_TRUE(host.messages.empty());
    host.Advance(1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Fehler: Timeout bei Datenübertragung!");
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::FrameTimeout);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkDownload, HangUpMidFrameTakesTheLinkOffline) {
    ConnectForDownload();
    Feed("putmdata");
    port.Queue(std::vector<uint8_t>(500, 0));
    port.HangUp();
    ctl.OnSerialData();
    EXPECT_EQ(ctl.State(), LinkOffline);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::HungUp);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(host.Running(TimerFrame));
    EXPECT_TRUE(host.notice & NoticeNoAnalyser);
    ASSERT_EQ(host.messages.size(), 1u);
    // The same words trv-cli gives, with the warning icon.
    EXPECT_EQ(host.messages[0], "Die Verbindung zum Gerät wurde während der Übertragung unterbrochen.");
    EXPECT_EQ(doc.GetTestCount(), 0);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkDownload, NotifyWhileIdleStartsADownload) {
    port.openable.insert("COM1");
    ctl.Search();
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Found);
    EXPECT_EQ(port.Count("getmdata"), 0);
    Feed("menotify");
    EXPECT_EQ(port.Count("getmdata"), 1);
    EXPECT_FALSE(host.receiveEnabled);
}

TEST_F(LinkDownload, SwitchOffReopensAndBeeps) {
    ConnectForDownload();
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    const int opens = port.openCalls;
    Feed("swhmgoff");
    EXPECT_EQ(port.openCalls, opens + 1);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(ctl.State(), LinkIdle);
    ASSERT_FALSE(host.beeps.empty());
    EXPECT_EQ(host.beeps.back(), BeepKind::Default);
}

TEST_F(LinkDownload, SecondDownloadOfTheSameMemoryAddsNothing) {
    ConnectForDownload();
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    ctl.ReceiveData();
    EXPECT_EQ(port.Count("getmdata"), 2);
    Feed("putmdata");
    Feed(FrameOf(SmallMemory()));
    EXPECT_EQ(doc.GetTestCount(), 2);
    EXPECT_EQ(host.docChanged, 2);
}
