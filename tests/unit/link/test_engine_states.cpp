// The arming of the one timer trigger through the wake-up states, with and without a modem line,
// for the normal and the fast protocol, against the literal tick counts.
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

struct WakeUpTicksCase {
    const char* name;
    bool fast;
    bool modemOnLine;
    bool loggerSilent;
    std::vector<int> firstArmings;  // wake-up or fast start, then the handshake
    int lastTimeout;                // only the wake-up time-out of 16 ticks is recorded
};

class WakeUpTicks : public ::testing::TestWithParam<WakeUpTicksCase> {};

TEST_P(WakeUpTicks, TheTriggerIsArmedForEachStagesTicks)
{
    const WakeUpTicksCase c = GetParam();
    VirtualLink link;
    link.records.settings.fastProtocol = c.fast;
    if (c.fast)
        link.logger.protocol = ScriptedLogger::Protocol::Fast;
    if (c.modemOnLine) {
        link.records.settings.useModem = true;
        link.records.session.modemOnline = true;
        link.host.vport.opened = true;  // the line is up: no dialling
    }
    link.logger.dead = c.loggerSilent;
    link.logger.silentCommands = 100;  // stop after the handshake
    link.start(TransactionKind::ReadStatus);
    link.host.run();
    ASSERT_GE(link.host.armings.size(), c.firstArmings.size());
    const std::vector<int> first(link.host.armings.begin(),
                                 link.host.armings.begin() + static_cast<std::ptrdiff_t>(c.firstArmings.size()));
    EXPECT_EQ(first, c.firstArmings);
    EXPECT_EQ(link.records.session.lastTimeout, c.lastTimeout);
}

INSTANTIATE_TEST_SUITE_P(
    States, WakeUpTicks,
    ::testing::Values(
        // 83 ticks for the echo, then 7 for the acknowledgement.
        WakeUpTicksCase{"EchoDirect", false, false, false, {83, 7}, 0},
        // A modem line adds 6 to the wake-up and allows 21 for the acknowledgement.
        WakeUpTicksCase{"EchoOverModem", false, true, false, {89, 21}, 0},
        // No echo: ConfirmBaud anyway and 16 ticks for a late acknowledgement, with or without modem.
        WakeUpTicksCase{"SilentDirect", false, false, true, {83, 16}, 16},
        WakeUpTicksCase{"SilentOverModem", false, true, true, {89, 16}, 16},
        // Fast protocol: 3 ticks, 9 over a modem, and nothing is awaited.
        WakeUpTicksCase{"FastDirect", true, false, false, {3}, 0},
        WakeUpTicksCase{"FastOverModem", true, true, false, {9}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WakeUpTicks, StatusBoxNamesTheStepWhileTheLinkIsEstablished)
{
    VirtualLink link;
    link.logger.dead = true;
    link.start(TransactionKind::ReadStatus);
    ASSERT_FALSE(link.host.statusTexts.isEmpty());
    EXPECT_EQ(link.host.statusTexts.last(), QStringLiteral("Establishing link..."));
}
