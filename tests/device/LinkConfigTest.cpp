// Reading, writing and verifying the step-test mode, against a fake host.
#include "LinkTestUtil.h"

using namespace trv;
using namespace trv::test;

namespace {

std::string ConfigAnswer(uint8_t mode) { return std::string("puticonf\x00\x00\x00\x00", 12) + char(mode); }
const std::string kRead("geticonfig\x00", 11);
std::string WriteFrame(uint8_t mode) { return std::string("seticonfig\x00\x00", 12) + char(mode) + '\x00'; }

struct LinkConfig : LinkFixture {
    // A search that connects to an analyser with this identity and leaves the link idle.
    void Connect(const std::string& id = "ARV0000125", const std::string& fw = "305") {
        port.openable.insert("COM1");
        ctl.Search();
        Feed(IdentityAnswer(id, fw));
        ASSERT_EQ(ctl.State(), LinkIdle);
    }
};

}  // namespace

TEST(ConfigSupport, TenthCharacterFiveAndFirmwareAboveThreeOhThree) {
    EXPECT_TRUE(CConfigSession::Supported("ARV0000125", 3.04));
    EXPECT_FALSE(CConfigSession::Supported("ARV0000125", 3.03));
    EXPECT_FALSE(CConfigSession::Supported("ARV0000124", 9.99));
    EXPECT_FALSE(CConfigSession::Supported("ARV000012", 4.00));  // too short
    EXPECT_TRUE(CConfigSession::Supported("ARV0000125", 303 / 100.0 + 0.01));
    EXPECT_FALSE(CConfigSession::Supported("ARV0000125", 303 / 100.0));
}

TEST_F(LinkConfig, UnsupportedAnalyserGetsTheMessageAndNothingIsSent) {
    Connect("ARV0000125", "303");
    const size_t before = port.writes.size();
    ctl.Configure();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Diese Funktion wird von der von Ihnen verwendeten Geräteversion nicht unterstützt.");
    EXPECT_EQ(port.writes.size(), before);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Unsupported);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkConfig, ReadWriteAndVerify) {
    Connect();
    host.configOk = true;
    host.configChoice = false;
    ctl.Configure();
    EXPECT_EQ(port.writes.back().bytes, kRead);
    EXPECT_EQ(host.texts.back(), "Empfange Konfiguration aus Gerät ...");
    EXPECT_EQ(host.percent, 0);
    Feed(std::string("puticonf"));
    EXPECT_EQ(host.percent, 50);
    EXPECT_EQ(ctl.State(), LinkConfigRead);
    Feed(std::string("\x07\x07\x07\x07\x01", 5));
    EXPECT_EQ(host.configDialogs, 1);
    EXPECT_TRUE(host.configPreselected);
    EXPECT_FALSE(ctl.StepTestMode());  // the user's choice
    EXPECT_EQ(port.writes.back().bytes, WriteFrame(0));
    EXPECT_EQ(host.texts.back(), "Sende und prüfe Konfiguration ...");
    EXPECT_TRUE(host.Running(TimerConfigWrite));
    Feed(ConfigAnswer(0));
    EXPECT_EQ(ctl.State(), LinkIdle);
    EXPECT_FALSE(host.Running(TimerConfigWrite));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Die neue Konfiguration wurde erfolgreich zum Gerät gesendet.");
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::ConfigVerified);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkConfig, VerifyRule) {
    struct Case {
        bool written;
        uint8_t readBack;
        bool ok;
    } cases[] = {{true, 1, true},   {true, 0, false}, {false, 0, true},
                 {false, 1, false}, {true, 2, true},  {false, 2, true}};
    Connect();
    host.configOk = true;
    for (const auto& c : cases) {
        host.messages.clear();
        host.configChoice = c.written;
        ctl.Configure();
        Feed(ConfigAnswer(c.written ? 0 : 1));
        Feed(ConfigAnswer(c.readBack));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], c.ok ? "Die neue Konfiguration wurde erfolgreich zum Gerät gesendet."
                                         : "Prüfung der Konfiguration fehlgeschlagen. Bitte wiederholen Sie den "
                                           "Vorgang.")
            << "written " << c.written << " read back " << int(c.readBack);
        EXPECT_EQ(ctl.StepTestMode(), c.written);  // kept as chosen either way
    }
}

TEST_F(LinkConfig, CancelSendsNothingButKeepsTheModeRead) {
    Connect();
    host.configOk = false;
    ctl.Configure();
    const size_t before = port.writes.size();
    Feed(ConfigAnswer(0));
    EXPECT_EQ(port.writes.size(), before);
    EXPECT_FALSE(ctl.StepTestMode());
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::ConfigCancelled);
    EXPECT_TRUE(host.receiveEnabled);
}

TEST_F(LinkConfig, RetriesAreNumberedFromTwo) {
    Connect();
    host.configOk = true;
    ctl.Configure();
    host.Advance(1000);
    EXPECT_EQ(host.texts.back(), "Empfange Konfiguration aus Gerät ... (2. Versuch)");
    EXPECT_EQ(port.Count(kRead), 2);
    host.Advance(1100);
    host.Advance(1100);
    EXPECT_EQ(host.texts.back(), "Empfange Konfiguration aus Gerät ... (4. Versuch)");
    host.Advance(1100);
    EXPECT_EQ(port.Count(kRead), 4);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Fehler: Gerät antwortet nicht!");
    EXPECT_EQ(ctl.State(), LinkOffline);
}

TEST_F(LinkConfig, WriteRetryResendsTheChosenMode) {
    Connect();
    host.configOk = true;
    host.configChoice = true;
    ctl.Configure();
    Feed(ConfigAnswer(0));
    host.Advance(1999);
    EXPECT_EQ(port.Count(WriteFrame(1)), 1);
    host.Advance(1);
    EXPECT_EQ(port.Count(WriteFrame(1)), 2);
    EXPECT_EQ(host.texts.back(), "Sende und prüfe Konfiguration ... (2. Versuch)");
    Feed(ConfigAnswer(1));
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::ConfigVerified);
}

TEST_F(LinkConfig, OfflineLinkSearchesFirstThenReads) {
    port.openable.insert("COM4");
    ctl.Configure();
    EXPECT_FALSE(host.receiveEnabled);
    EXPECT_EQ(port.writes.back().bytes, "gethmgid");
    Feed(IdentityAnswer("ARV0000125", "305"));
    EXPECT_EQ(port.writes.back().bytes, kRead);
    EXPECT_EQ(port.writes.back().port, "COM4");
    EXPECT_EQ(port.Count("getmdata"), 0);
}

TEST_F(LinkConfig, OfflineSearchOfAnUnsupportedAnalyserEndsWithTheMessage) {
    port.openable.insert("COM4");
    ctl.Configure();
    Feed(IdentityAnswer("ARV0000124", "305"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(ctl.Outcome(), LinkOutcome::Unsupported);
    EXPECT_TRUE(host.receiveEnabled);
}
