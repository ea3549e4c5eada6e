// The rules of the station address, remote modem and cable test dialogs: the address field and
// its check, the port and speed texts, and a session still running when a port procedure starts.

#include "link/logger_dialogs_model.h"

#include "support/scripted_messages.h"
#include "window_fake_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;

TEST(StationAddressField, TypingKeepsAtMostThreeDigits)
{
    struct Case {
        const char* typed;
        const char* kept;
    };
    const std::vector<Case> cases = {
        {"12", "12"}, {"007", "007"}, {"1234", "123"}, {"1a2", "12"}, {"-5", "5"}, {" 42 ", "42"}, {"", ""},
        {"x", ""},
    };
    for (const Case& c : cases) {
        StationAddressForm form;
        form.setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(form.text(), QString::fromLatin1(c.kept)) << c.typed;
    }
}

TEST(StationAddressField, SpinnerStepsWithinZeroTo255)
{
    struct Case {
        const char* start;
        int steps;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"10", 1, "11"}, {"10", -1, "9"}, {"0", -1, "0"}, {"255", 1, "255"}, {"250", 10, "255"},
        {"", 1, "1"}, {"999", -1, "254"}, {"5", -10, "0"},
    };
    for (const Case& c : cases) {
        StationAddressForm form;
        form.setText(QString::fromLatin1(c.start));
        form.stepBy(c.steps);
        EXPECT_EQ(form.text(), QString::fromLatin1(c.result)) << c.start << " " << c.steps;
    }
}

TEST(StationAddressField, SendRefusesAnEmptyOrTooLargeAddress)
{
    struct Case {
        const char* text;
        bool refused;
        int address;
    };
    const std::vector<Case> cases = {
        {"0", false, 0}, {"1", false, 1}, {"255", false, 255}, {"042", false, 42},
        {"", true, 0}, {"256", true, 0}, {"300", true, 0}, {"999", true, 0},
    };
    for (const Case& c : cases) {
        StationAddressForm form;
        form.setText(QString::fromLatin1(c.text));
        const auto refusal = form.sendRefusal();
        EXPECT_EQ(refusal.has_value(), c.refused) << c.text;
        if (c.refused) {
            EXPECT_EQ(refusal.value_or(QString()), QStringLiteral("Station Address must be a number from 0 to 255"));
        } else {
            EXPECT_EQ(form.address(), c.address) << c.text;
        }
    }
}

TEST(StationAddressField, StartsFromAnAddressInRange)
{
    EXPECT_EQ(StationAddressForm(7).text(), QStringLiteral("7"));
    EXPECT_EQ(StationAddressForm(400).text(), QStringLiteral("255"));
    EXPECT_EQ(StationAddressForm(-1).text(), QStringLiteral("0"));
}

TEST(RemoteModemDialog, PortAndBaudFromTheSettings)
{
    SettingsRecord set;
    set.portNumber = 12;
    set.baud = 2400;
    EXPECT_EQ(RemoteModemPortText(set), QStringLiteral("Com12"));
    EXPECT_EQ(RemoteModemBaudText(set), QStringLiteral("2400"));
}

TEST(PortProcedure, WhatARunningSessionMeansForACableTestOrModemSetUp)
{
    struct Case {
        bool active;
        bool graph;
        PortProcedureStart start;
    };
    const std::vector<Case> cases = {
        {false, false, PortProcedureStart::Go},
        {false, true, PortProcedureStart::Go},
        {true, true, PortProcedureStart::AskRealTimeGraph},
        {true, false, PortProcedureStart::EndSessionFirst},
    };
    for (const Case& c : cases) {
        SessionState s;
        s.realTimeGraph = c.graph;
        EXPECT_EQ(BeforePortProcedure(s, c.active), c.start) << c.active << " " << c.graph;
    }
}

TEST(PortProcedure, RealTimeGraphAsksAndCancelLeavesItRunning)
{
    ScriptedMessages messages;
    WindowRig rig(messages);
    rig.startRealTime('q', true);
    messages.answers = {DialogAnswer::Cancel};
    EXPECT_FALSE(ClearPortForProcedure(*rig.engine, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("This action will terminate Real Time Graph"));
    EXPECT_EQ(messages.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(messages.shown[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::RealTime);
    EXPECT_TRUE(rig.host.vport.isOpen());

    messages.answers = {DialogAnswer::Ok};
    EXPECT_TRUE(ClearPortForProcedure(*rig.engine, messages));
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
    EXPECT_FALSE(rig.host.vport.isOpen()) << "the procedure opens the port afresh";
}

TEST(PortProcedure, RealTimeDisplayEndsWithoutAQuestionAndIdleStartsAtOnce)
{
    ScriptedMessages messages;
    WindowRig rig(messages);
    EXPECT_TRUE(ClearPortForProcedure(*rig.engine, messages));
    rig.startRealTime('q', false);
    EXPECT_TRUE(ClearPortForProcedure(*rig.engine, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
}
