// The port search on its own: the order in which ports are asked, when it ends, and which of the
// answering analysers the link takes.
#include "FakeLink.h"
#include "device/PortSearch.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace trv::test;

namespace {

struct PortSearch : ::testing::Test {
    FakePort port;
    FakeHost host;
    CLinkChannel channel{port, host};
    CPortSearch search{channel, host};

    // "puthmgid" and the 13 characters; true when the search ended with the last one.
    bool Answer(const std::string& identity) {
        search.OnIdentityWord();
        bool ended = false;
        for (size_t i = 0; i < identity.size(); ++i) {
            ended = search.OnIdentityChar(static_cast<uint8_t>(identity[i]));
            if (i + 1 < identity.size()) {
                EXPECT_FALSE(ended) << "ended after " << i + 1 << " characters";
            }
        }
        return ended;
    }
};

}  // namespace

TEST_F(PortSearch, AsksTheOpenPortsInOrderAndEndsAfterTheLast) {
    port.openable = {"COM2", "COM7", "COM9"};
    search.ProbePorts();
    EXPECT_EQ(search.FoundPorts(), (std::vector<std::string>{"COM2", "COM7", "COM9"}));
    EXPECT_FALSE(search.Identify());
    EXPECT_TRUE(search.Running());
    EXPECT_FALSE(Answer("ARV0000125305"));
    // COM7 stays silent: its time-out moves on to COM9 after the reopen delay.
    EXPECT_EQ(port.Sent(), (std::vector<std::string>{"gethmgid", "gethmgid"}));
    EXPECT_FALSE(search.OnTimeout());
    EXPECT_EQ(host.sleeps, std::vector<int>{100});
    EXPECT_TRUE(Answer("ARV0000225312"));
    EXPECT_EQ(port.Sent("COM9"), std::vector<std::string>{"gethmgid"});
    EXPECT_EQ(search.IdentifiedIds(), (std::vector<std::string>{"ARV0000125305", "ARV0000225312"}));
    EXPECT_EQ(search.IdentifiedPorts(), (std::vector<std::string>{"COM2", "COM9"}));
    EXPECT_FALSE(port.IsOpen());  // the owner connects to the port it chooses
    search.Stop();
    EXPECT_FALSE(search.OnTimeout());  // a late time-out after the end
}

TEST_F(PortSearch, NoOpenPortEndsTheSearchAtOnce) {
    port.denied = {"COM4"};
    search.ProbePorts();
    EXPECT_TRUE(search.Identify());
    EXPECT_FALSE(search.Running());
    EXPECT_TRUE(port.writes.empty());
    EXPECT_NE(search.PermissionText().find("dialout"), std::string::npos);
}

TEST_F(PortSearch, ChoiceFollowsTheDocumentsBinding) {
    port.openable = {"COM1", "COM2"};
    search.ProbePorts();
    search.Identify();
    Answer("ARV0000125305");
    ASSERT_TRUE(Answer("ARV0000225312"));

    // Unbound: the first answer, with the firmware it reported (305 / 100).
    auto any = search.Choose(false, "", 0.0);
    ASSERT_TRUE(any);
    EXPECT_EQ(any->port, "COM1");
    EXPECT_EQ(any->deviceId, "ARV0000125");
    EXPECT_DOUBLE_EQ(any->firmware, 3.05);

    // Bound: only the document's analyser, and the document keeps its own firmware (not 3.12).
    auto own = search.Choose(true, "ARV0000225", 3.10);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->port, "COM2");
    EXPECT_EQ(own->deviceId, "ARV0000225");
    EXPECT_DOUBLE_EQ(own->firmware, 3.10);

    EXPECT_FALSE(search.Choose(true, "ARV0000999", 3.05));
}
