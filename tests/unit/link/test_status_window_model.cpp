// The Status window's rules: its look, its texts after a status read and after real-time
// readings, and what closing it does to a running real-time session.

#include "link/status_window_model.h"

#include "link/status_record.h"
#include "support/scripted_messages.h"
#include "test_status_support.h"
#include "window_fake_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;

namespace {

const QString kTables = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");

// A real-time line for `fields`: ">" + fields + the checksum that makes the sum 0.
QByteArray RealTimeLineFor(const QByteArray& fields)
{
    unsigned sum = 0;
    for (char c : fields)
        sum += static_cast<unsigned char>(c);
    return ">" + fields + QByteArray::number((256 - sum % 256) % 256, 16).toUpper().rightJustified(2, '0');
}

struct StatusRig : WindowRig {
    StatusRig()
        : WindowRig(messages), model({records.settings, records.session, records.loggerInfo, records.programDir})
    {
        records.programDir = kTables;
        records.settings.fahrenheit = false;
        records.settings.amPm = false;
    }

    // Decodes `record` the way a session does, with its own channel scaling.
    ChannelScaling decode(const QByteArray& record)
    {
        ChannelScaling scaling;
        scaling.tableDirectory = kTables;
        const StatusContext context = MakeStatusContext(records.settings, QStringLiteral("now"), false);
        EXPECT_EQ(DecodeStatus(record, context, records.loggerInfo, records.geometry, scaling).outcome,
                  StatusOutcome::Decoded);
        return scaling;
    }

    ScriptedMessages messages;
    StatusWindowModel model;
};

} // namespace

TEST(StatusWindowClose, RuleByTransactionRevisionGraphAndTrigger)
{
    using T = StatusCloseTrigger;
    using A = StatusCloseAction;
    struct Case {
        TransactionKind transaction;
        char revision;
        bool graph;
        T trigger;
        A action;
    };
    const std::vector<Case> cases = {
        {TransactionKind::RealTime, 'o', false, T::OkButton, A::EndRealTime},
        {TransactionKind::RealTime, 'o', false, T::Window, A::EndRealTime},
        {TransactionKind::RealTime, 'O', false, T::Window, A::EndRealTime},
        {TransactionKind::RealTime, 'p', false, T::OkButton, A::EndSession},
        {TransactionKind::RealTime, 'q', false, T::Window, A::EndSession},
        // The window over a running real-time graph is only a view: the graph keeps its session.
        {TransactionKind::RealTime, 'o', true, T::OkButton, A::Close},
        {TransactionKind::RealTime, 'o', true, T::Window, A::Close},
        {TransactionKind::RealTime, 'q', true, T::OkButton, A::Close},
        {TransactionKind::RealTime, 'q', true, T::Window, A::Close},
        {TransactionKind::None, 'o', false, T::OkButton, A::Close},
        {TransactionKind::ReadStatus, 'o', false, T::Window, A::Close},
        {TransactionKind::EndRealTime, 'o', false, T::Window, A::Close},
    };
    for (const Case& c : cases) {
        SessionState s;
        s.transaction = c.transaction;
        s.revision = c.revision;
        s.realTimeGraph = c.graph;
        EXPECT_EQ(StatusCloseRule(c.trigger, s), c.action)
            << int(c.transaction) << " " << c.revision << " graph " << c.graph << " trigger " << int(c.trigger);
    }
}

TEST(StatusWindowClose, OldRevisionStartsAnEndRealTimeSessionOnTheOpenPort)
{
    StatusRig rig;
    rig.records.settings.fastProtocol = false;  // a logger up to 'o' answers the normal wake-up
    rig.startRealTime('n', false);
    rig.host.vport.written.clear();
    EXPECT_FALSE(rig.model.close(StatusCloseTrigger::OkButton, *rig.engine));
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::EndRealTime);
    EXPECT_EQ(rig.host.statusText, QStringLiteral("Terminating link..."));
    EXPECT_TRUE(rig.host.vport.isOpen());
    EXPECT_FALSE(rig.host.vport.written.isEmpty()) << "the wake-up burst interrupts the logger";
    EXPECT_FALSE(rig.host.mainEnabled);

    rig.engine->onTimeout();  // the logger stays quiet: the link is terminated
    ASSERT_EQ(rig.messages.texts(), QStringList{QStringLiteral("Real Time Link terminated")});
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
    EXPECT_FALSE(rig.host.vport.isOpen());
    EXPECT_TRUE(rig.host.mainEnabled);
}

TEST(StatusWindowClose, PolledRevisionSimplyEndsTheSession)
{
    StatusRig rig;
    rig.startRealTime('q', false);
    EXPECT_FALSE(rig.model.close(StatusCloseTrigger::Window, *rig.engine));
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
    EXPECT_FALSE(rig.host.vport.isOpen());
    EXPECT_TRUE(rig.host.mainEnabled);
}

TEST(StatusWindowClose, GraphRunningOrNoRealTimeLeavesTheSessionAndShowsTheMainWindow)
{
    StatusRig rig;
    EXPECT_TRUE(rig.model.close(StatusCloseTrigger::OkButton, *rig.engine));
    rig.startRealTime('q', true);
    EXPECT_TRUE(rig.model.close(StatusCloseTrigger::Window, *rig.engine));
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::RealTime);
    EXPECT_TRUE(rig.host.vport.isOpen());
}

TEST(StatusWindowLook, CaptionClockAndValueColourByDisplay)
{
    SessionState s;
    struct Case {
        TransactionKind transaction;
        bool graph;
        const char* caption;
        bool clock;
        bool white;
    };
    const std::vector<Case> cases = {
        {TransactionKind::None, false, "Status", true, false},
        {TransactionKind::ReadStatus, false, "Status", true, false},
        {TransactionKind::RealTime, false, "Real Time Display", false, true},
        {TransactionKind::RealTime, true, "Status", true, false},
    };
    for (const Case& c : cases) {
        s.transaction = c.transaction;
        s.realTimeGraph = c.graph;
        const StatusWindowLook look = StatusLook(RealTimeDisplayRunning(s));
        EXPECT_EQ(look.caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(look.clockVisible, c.clock);
        EXPECT_EQ(look.valuesWhite, c.white);
    }
}

TEST(StatusWindowTexts, ShowStatusGivesTheDecodingsTextsAndMarksTheStatusShown)
{
    StatusRig rig;
    EXPECT_EQ(rig.model.lastStatusRefusal().value_or(QString()),
              QStringLiteral("No Status to show; Select Receive/Status"));
    const ChannelScaling decoded = rig.decode(status_test::Golden12Bit());
    rig.records.session.dateCode = {true, 3, 97};

    const StatusTexts shown = rig.model.ShowStatus();
    const StatusTexts expected = ShowStatusTexts(rig.records.loggerInfo, rig.records.session.dateCode, decoded, false,
                                                 0, ClockStyle::Hour24);
    for (std::size_t i = 0; i < 4; ++i)   // the window's own scaling styles the values as the decoding did
        EXPECT_EQ(QString(shown.values[i]).remove(QLatin1Char(' ')), QString(expected.values[i]).remove(QLatin1Char(' ')));
    EXPECT_TRUE(shown.values[0].endsWith(QStringLiteral(" Deg C"))) << shown.values[0].toStdString();
    EXPECT_EQ(shown.model, QStringLiteral("LX700"));
    EXPECT_EQ(shown.scaling[3], QStringLiteral("K thermocouple"));
    EXPECT_EQ(shown.values[2], QStringLiteral("OFF"));
    EXPECT_TRUE(shown.dateCodeVisible);
    EXPECT_EQ(shown.dateCode, QStringLiteral(" 3/97"));
    EXPECT_EQ(shown.clock, QStringLiteral("Thu 20-Dec-1998 11:15:00"));
    EXPECT_TRUE(rig.records.loggerInfo.statusShown);
    EXPECT_FALSE(rig.model.lastStatusRefusal().has_value());
}

TEST(StatusWindowTexts, RealTimeLinesFillTheValueBoxesUnlessTheGraphTakesThem)
{
    StatusRig rig;
    rig.decode(status_test::Golden12Bit());  // codes A 3 0 h; channel 2 linear 0..100, a count input (three decimals)
    rig.model.ShowStatus();

    rig.records.session.transaction = TransactionKind::RealTime;
    const auto boxes = rig.model.realTimeLine(RealTimeLineFor("000000000000"));
    ASSERT_TRUE(boxes.has_value());
    EXPECT_TRUE((*boxes)[1].startsWith(QStringLiteral("0.000"))) << (*boxes)[1].toStdString();
    EXPECT_EQ((*boxes)[2], QStringLiteral("OFF"));
    for (const QString& box : *boxes)
        EXPECT_NE(box, QStringLiteral("Checksum error"));

    QByteArray bad = RealTimeLineFor("000000000000");
    bad[bad.size() - 1] = bad.back() == '0' ? '1' : '0';
    const auto errors = rig.model.realTimeLine(bad);
    ASSERT_TRUE(errors.has_value());
    for (const QString& box : *errors)
        EXPECT_EQ(box, QStringLiteral("Checksum error"));

    rig.records.session.realTimeGraph = true;
    EXPECT_FALSE(rig.model.realTimeLine(RealTimeLineFor("000000000000")).has_value());
}

TEST(StatusWindowTexts, RealTimeLineBeforeAnyShowStatusStillUsesTheLoggersScaling)
{
    StatusRig rig;
    rig.decode(status_test::Golden12Bit());
    const auto boxes = rig.model.realTimeLine(RealTimeLineFor("000000000000"));
    ASSERT_TRUE(boxes.has_value());
    EXPECT_TRUE((*boxes)[1].startsWith(QStringLiteral("0.000"))) << (*boxes)[1].toStdString();
}

TEST(StatusWindowTexts, ValuesStandApartFromTheirUnits)
{
    EXPECT_EQ(ValueWithUnit(QStringLiteral("  21.50Deg C"), QStringLiteral("Deg C")), QStringLiteral("21.50 Deg C"));
    EXPECT_EQ(ValueWithUnit(QStringLiteral("-1234.567% R"), QStringLiteral("% RH")), QStringLiteral("-1234.567 % RH"));
    EXPECT_EQ(ValueWithUnit(QStringLiteral(" 22.190"), QString()), QStringLiteral("22.190"));
    EXPECT_EQ(ValueWithUnit(QStringLiteral("OFF"), QStringLiteral("Deg C")), QStringLiteral("OFF"));
    EXPECT_EQ(ValueWithUnit(QStringLiteral(" Open"), QStringLiteral("Deg C")), QStringLiteral(" Open"));
}
