// The gate on its own: the order in which held events are handed on, a wait begun while handing on,
// a wait replaced by a newer one, and a program that is ending.
#include "virtual_host.h"

#include "link/event_gate.h"

#include <gtest/gtest.h>
#include <utility>

using namespace tamble;
using namespace tamble::vt;

namespace {

struct Sink : HeldEventSink {
    QStringList seen;
    bool ending = false;
    std::function<void()> onRead;  // a handler of a held event that begins another wait

    bool closed() const override { return ending; }
    void onPortError(const QString& why) override { seen << QStringLiteral("failure ") + why; }
    void onBytesAvailable() override
    {
        seen << QStringLiteral("read");
        if (onRead)
            std::exchange(onRead, {})();
    }
    void onOutputDrained() override { seen << QStringLiteral("drain"); }
    void onTimeout() override { seen << QStringLiteral("timeout"); }
    void onHeldBytes(const QByteArray& bytes, std::uint64_t generation) override
    {
        seen << QStringLiteral("bytes %1 @%2").arg(QString::fromLatin1(bytes)).arg(generation);
    }
};

struct Gate : ::testing::Test {
    VirtualHost host;
    Sink sink;
    EventGate gate{host, sink};

    // Ends the waits that are due, oldest first.
    void elapse()
    {
        while (!host.pendingWaits.empty()) {
            auto then = std::move(host.pendingWaits.front().then);
            host.pendingWaits.erase(host.pendingWaits.begin());
            then();
        }
    }
};

} // namespace

TEST_F(Gate, HandsOnBytesFirstThenFailureReadDrainAndTimeOutWhateverTheirArrival)
{
    EXPECT_FALSE(gate.hold(HeldEvent::Timeout));  // no wait: nothing is held
    gate.wait(3, [&] { sink.seen << QStringLiteral("continued"); });
    EXPECT_TRUE(gate.hold(HeldEvent::Timeout));
    EXPECT_TRUE(gate.hold(HeldEvent::Drain));
    gate.holdBytes("cd", 7);
    EXPECT_TRUE(gate.hold(HeldEvent::Read));
    EXPECT_TRUE(gate.holdFailure(QStringLiteral("gone")));
    gate.holdRestOfChunk("ab", 6);  // the rest of the chunk goes ahead, with its generation
    elapse();
    const QStringList expected{QStringLiteral("continued"), QStringLiteral("bytes abcd @6"),
                               QStringLiteral("failure gone"), QStringLiteral("read"), QStringLiteral("drain"),
                               QStringLiteral("timeout")};
    EXPECT_EQ(sink.seen, expected);
}

TEST_F(Gate, AWaitBegunWhileHandingOnKeepsTheRestHeldUntilItIsOver)
{
    gate.wait(1, {});
    gate.hold(HeldEvent::Read);
    gate.hold(HeldEvent::Timeout);
    sink.onRead = [&] { gate.wait(2, [&] { sink.seen << QStringLiteral("second"); }); };
    ASSERT_EQ(host.pendingWaits.size(), 1U);
    auto first = std::move(host.pendingWaits.front().then);
    host.pendingWaits.clear();
    first();
    EXPECT_EQ(sink.seen, QStringList{QStringLiteral("read")});
    EXPECT_TRUE(gate.waiting());
    elapse();
    EXPECT_EQ(sink.seen, (QStringList{QStringLiteral("read"), QStringLiteral("second"), QStringLiteral("timeout")}));
}

TEST_F(Gate, ANewerWaitReplacesAPendingOneAndAnEndingProgramWaitsForNothing)
{
    gate.wait(5, [&] { sink.seen << QStringLiteral("older"); });
    gate.wait(5, [&] { sink.seen << QStringLiteral("newer"); });
    elapse();
    EXPECT_EQ(sink.seen, QStringList{QStringLiteral("newer")});

    sink.seen.clear();
    gate.wait(5, [&] { sink.seen << QStringLiteral("after the end"); });
    gate.hold(HeldEvent::Drain);
    sink.ending = true;
    gate.wait(5, [&] { sink.seen << QStringLiteral("begun at the end"); });
    elapse();
    EXPECT_TRUE(sink.seen.isEmpty());
    EXPECT_EQ(host.waits, (std::vector<int>{5, 5, 5}));
}
