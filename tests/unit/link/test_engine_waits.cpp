// A wait is an action: the engine goes on in a later event, and what the port brings meanwhile
// is handed on afterwards, in order, as if it had arrived after the wait.
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

struct Waiting : ::testing::Test {
    VirtualLink link;
    void SetUp() override
    {
        link.logger.dead = true;
        link.records.session.transaction = TransactionKind::ReadStatus;
    }
};

} // namespace

TEST_F(Waiting, ContinuesOnlyAfterTheTicksAndHoldsBytesTimeOutsAndDrainsUntilThen)
{
    int continued = 0;
    link.engine.wait(4, [&] { ++continued; });
    EXPECT_TRUE(link.engine.waiting());
    link.engine.onBytes("abc");
    link.engine.onTimeout();
    link.engine.onOutputDrained();
    EXPECT_EQ(continued, 0);
    EXPECT_TRUE(link.records.session.rxBuffer.isEmpty());
    link.host.run(0);
    EXPECT_EQ(continued, 1);
    EXPECT_FALSE(link.engine.waiting());
    EXPECT_EQ(link.host.waits, std::vector<int>{4});
    EXPECT_EQ(link.host.now, TickUs(4));
}

TEST_F(Waiting, ATimeOutHeldDuringTheWaitIsVoidOnceTheContinuationArmsAgain)
{
    link.records.session.linkState = LinkState::AwaitResponse;
    link.engine.wait(2, [&] { link.engine.arm(50); });
    link.engine.onTimeout();  // fired during the wait: superseded by the new arming
    link.host.run(0);
    EXPECT_TRUE(link.host.messages.isEmpty());
    EXPECT_EQ(link.host.armings.back(), 50);
}

TEST_F(Waiting, TheEndOfTheSessionDropsAPendingWait)
{
    bool continued = false;
    link.engine.wait(9, [&] { continued = true; });
    link.engine.EndSession();
    link.host.run(0);
    EXPECT_FALSE(continued);
    EXPECT_FALSE(link.engine.waiting());
}

TEST_F(Waiting, StepsRunInOrderEachAfterItsWait)
{
    std::vector<std::pair<int, std::int64_t>> seen;
    link.engine.runSteps({{0, [&] { seen.push_back({1, link.host.now}); }},
                          {4, [&] { seen.push_back({2, link.host.now}); }},
                          {9, {}}},
                         [&] { seen.push_back({3, link.host.now}); });
    link.host.run(0);
    const std::vector<std::pair<int, std::int64_t>> expected{{1, 0}, {2, TickUs(4)}, {3, TickUs(13)}};
    EXPECT_EQ(seen, expected);
}

// The echo byte starts the speed confirmation's wait; bytes behind it in the same chunk belong
// to the handshake that follows, exactly as when they come one at a time.
TEST(WaitingInAChunk, BytesBehindTheEchoAreHeardAfterTheConfirmationEitherWay)
{
    for (bool byteWise : {false, true}) {
        VirtualLink link;
        link.records.settings.baud = 9600;
        link.logger.dead = true;
        link.start(TransactionKind::ReadStatus);
        const QByteArray chunk = QByteArray("\x80", 1) + "0q\r";
        if (byteWise)
            for (char c : chunk)
                link.engine.onBytes(QByteArray(1, c));
        else
            link.engine.onBytes(chunk);
        link.host.run(0);
        EXPECT_EQ(link.records.session.revision, 'q') << byteWise;
        EXPECT_TRUE(link.records.session.linkUp) << byteWise;
        EXPECT_TRUE(link.frames().value(0).startsWith('C')) << byteWise;
    }
}
