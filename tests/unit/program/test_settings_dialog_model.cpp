// The Settings dialog's rules: controls from the record, the choices stored at once, OK's order.

#include "settings/settings_dialog_model.h"

#include "support/scripted_messages.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

const char* const kNeedsNetwork = "Must check 'Network' if using modems";
const char* const kNeedsFast = "Selected baud rate is only supported by LX9xx Protocol.  "
                               "Check 'LX9xx Protocol' or select a slower baud rate.";

SettingsControls Valid()
{
    SettingsControls c;
    c.baudItem = 4;
    c.portItem = 0;
    c.network = true;
    c.amPm = true;
    c.dateFormatItem = 0;
    return c;
}

} // namespace

TEST(SettingsDialogItems, GroupsOfferTheirCaptionsInOrder)
{
    EXPECT_EQ(SettingsDialogModel::baudItems(),
              QStringList({"1200", "2400", "4800", "9600", "19.2k", "28.8k", "38.4k", "57.6k"}));
    EXPECT_EQ(SettingsDialogModel::connectedItems(), QStringList({"Single Logger", "Network"}));
    EXPECT_EQ(SettingsDialogModel::timeItems(), QStringList({"24 Hour", "Am/Pm"}));
    EXPECT_EQ(SettingsDialogModel::dateFormatItems(),
              QStringList({"mm/dd/yyyy (USA)", "dd/mm/yyyy"}));
    const QStringList ports = SettingsDialogModel::portItems();
    ASSERT_EQ(ports.size(), 20);
    EXPECT_EQ(ports.first(), "COM1");
    EXPECT_EQ(ports.at(9), "COM10");
    EXPECT_EQ(ports.last(), "COM20");
}

TEST(SettingsDialogItems, EveryBaudItemStoresItsSpeed)
{
    const int speeds[] = {1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};
    for (int item = 0; item < 8; ++item) {
        EXPECT_EQ(SettingsDialogModel::baudOfItem(item), speeds[item]) << item;
        EXPECT_EQ(SettingsDialogModel::itemOfBaud(speeds[item]), item) << item;
    }
    EXPECT_EQ(SettingsDialogModel::baudOfItem(-1), 0);
    EXPECT_EQ(SettingsDialogModel::baudOfItem(8), 0);
    EXPECT_EQ(SettingsDialogModel::itemOfBaud(115200), -1);
}

struct ShowCase {
    const char* name;
    std::function<void(SettingsRecord&)> record;
    std::function<void(SettingsControls&)> expect;   // applied to the defaults' controls
};

class SettingsOnShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(SettingsOnShow, ControlsFollowTheRecord)
{
    SettingsRecord rec;
    GetParam().record(rec);
    SettingsControls expected;   // the defaults of the record, as controls
    expected.baudItem = 4;
    expected.portItem = 0;
    expected.network = false;
    expected.amPm = true;
    expected.dateFormatItem = 0;
    expected.wireless = false;
    expected.fastProtocol = true;
    expected.useModem = false;
    expected.autoAnswer = false;
    expected.autoExport = false;
    GetParam().expect(expected);
    EXPECT_EQ(SettingsDialogModel(rec).onShow(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsOnShow,
    ::testing::Values(
        ShowCase{"Defaults", [](SettingsRecord&) {}, [](SettingsControls&) {}},
        ShowCase{"Baud1200", [](SettingsRecord& r) { r.baud = 1200; },
                 [](SettingsControls& c) { c.baudItem = 0; }},
        ShowCase{"Baud9600", [](SettingsRecord& r) { r.baud = 9600; },
                 [](SettingsControls& c) { c.baudItem = 3; }},
        ShowCase{"Baud28800", [](SettingsRecord& r) { r.baud = 28800; },
                 [](SettingsControls& c) { c.baudItem = 5; }},
        ShowCase{"Baud38400", [](SettingsRecord& r) { r.baud = 38400; },
                 [](SettingsControls& c) { c.baudItem = 6; }},
        ShowCase{"Baud57600", [](SettingsRecord& r) { r.baud = 57600; },
                 [](SettingsControls& c) { c.baudItem = 7; }},
        ShowCase{"UnknownBaudSelectsNothing", [](SettingsRecord& r) { r.baud = 14400; },
                 [](SettingsControls& c) { c.baudItem = -1; }},
        ShowCase{"Port20", [](SettingsRecord& r) { r.portNumber = 20; },
                 [](SettingsControls& c) { c.portItem = 19; }},
        ShowCase{"Port0SelectsNothing", [](SettingsRecord& r) { r.portNumber = 0; },
                 [](SettingsControls& c) { c.portItem = -1; }},
        ShowCase{"Port21SelectsNothing", [](SettingsRecord& r) { r.portNumber = 21; },
                 [](SettingsControls& c) { c.portItem = -1; }},
        ShowCase{"NetworkAnd24Hour",
                 [](SettingsRecord& r) { r.network = true; r.amPm = false; },
                 [](SettingsControls& c) { c.network = true; c.amPm = false; }},
        ShowCase{"DayFirstDates", [](SettingsRecord& r) { r.exportDateFormat = 1; },
                 [](SettingsControls& c) { c.dateFormatItem = 1; }},
        ShowCase{"BadDateFormatSelectsNothing", [](SettingsRecord& r) { r.exportDateFormat = 9; },
                 [](SettingsControls& c) { c.dateFormatItem = -1; }},
        ShowCase{"EveryCheckBox",
                 [](SettingsRecord& r) {
                     r.wireless = true; r.fastProtocol = false; r.useModem = true;
                     r.autoAnswer = true; r.autoExport = true;
                 },
                 [](SettingsControls& c) {
                     c.wireless = true; c.fastProtocol = false; c.useModem = true;
                     c.autoAnswer = true; c.autoExport = true;
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsDialogModel, AutoAnswerIsVisibleOnlyWithUseModem)
{
    SettingsControls c;
    c.autoAnswer = true;
    EXPECT_FALSE(SettingsDialogModel::autoAnswerVisible(c));
    c.useModem = true;
    EXPECT_TRUE(SettingsDialogModel::autoAnswerVisible(c));
}

TEST(SettingsDialogModel, DateFormatAndAutoExportAreStoredWhenClicked)
{
    SettingsRecord rec;
    SettingsDialogModel model(rec);
    model.dateFormatClicked(1);
    EXPECT_EQ(rec.exportDateFormat, 1);
    model.autoExportClicked(true);
    EXPECT_TRUE(rec.autoExport);
    model.dateFormatClicked(7);   // no such item
    EXPECT_EQ(rec.exportDateFormat, 1);
    model.dateFormatClicked(0);
    model.autoExportClicked(false);
    EXPECT_EQ(rec.exportDateFormat, 0);
    EXPECT_FALSE(rec.autoExport);
}

TEST(SettingsDialogOk, UseModemWithSingleLoggerRefusesAndStoresNothing)
{
    SettingsRecord rec;
    const SettingsRecord before = rec;
    SettingsControls c = Valid();
    c.useModem = true;
    c.network = false;
    c.baudItem = 7;               // would also fail the second check
    c.fastProtocol = false;
    c.portItem = 5;
    c.wireless = true;
    c.amPm = false;
    ScriptedMessages messages;
    EXPECT_FALSE(SettingsDialogModel(rec).ok(c, messages).has_value());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kNeedsNetwork);
    EXPECT_EQ(messages.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(messages.shown[0].buttons, DialogButtons::Ok);
    EXPECT_EQ(rec, before);
}

TEST(SettingsDialogOk, FastBaudWithoutFastProtocolKeepsThePortValuesOnly)
{
    for (int item : {5, 6, 7}) {
        SettingsRecord rec;
        SettingsControls c = Valid();
        c.baudItem = item;
        c.fastProtocol = false;
        c.wireless = true;
        c.portItem = 2;
        c.useModem = true;
        c.autoAnswer = true;
        c.network = true;
        c.amPm = false;
        ScriptedMessages messages;
        EXPECT_FALSE(SettingsDialogModel(rec).ok(c, messages).has_value());
        EXPECT_EQ(messages.texts(), QStringList({kNeedsFast})) << item;
        EXPECT_EQ(messages.shown[0].kind, DialogKind::Information);
        // Stored before the check:
        EXPECT_EQ(rec.baud, SettingsDialogModel::baudOfItem(item));
        EXPECT_EQ(rec.portNumber, 3);
        EXPECT_TRUE(rec.wireless);
        EXPECT_FALSE(rec.fastProtocol);
        // Not reached:
        EXPECT_FALSE(rec.useModem);
        EXPECT_FALSE(rec.autoAnswer);
        EXPECT_FALSE(rec.network);
        EXPECT_TRUE(rec.amPm);
    }
}

TEST(SettingsDialogOk, SlowBaudsPassWithoutFastProtocol)
{
    for (int item = 0; item <= 4; ++item) {
        SettingsRecord rec;
        SettingsControls c = Valid();
        c.baudItem = item;
        c.fastProtocol = false;
        ScriptedMessages messages;
        EXPECT_TRUE(SettingsDialogModel(rec).ok(c, messages).has_value()) << item;
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(rec.baud, SettingsDialogModel::baudOfItem(item));
    }
}

TEST(SettingsDialogOk, AcceptedOkStoresEveryFieldAndReportsWhatChanged)
{
    SettingsRecord rec;
    rec.stationAddress = 42;
    SettingsControls c = Valid();
    c.baudItem = 6;
    c.portItem = 19;
    c.wireless = true;
    c.useModem = true;
    c.autoAnswer = true;
    c.network = true;
    c.amPm = false;
    ScriptedMessages messages;
    const auto applied = SettingsDialogModel(rec).ok(c, messages);
    ASSERT_TRUE(applied.has_value());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rec.baud, 38400);
    EXPECT_EQ(rec.portNumber, 20);
    EXPECT_TRUE(rec.wireless);
    EXPECT_TRUE(rec.fastProtocol);
    EXPECT_TRUE(rec.useModem);
    EXPECT_TRUE(rec.autoAnswer);
    EXPECT_TRUE(rec.network);
    EXPECT_FALSE(rec.amPm);
    EXPECT_TRUE(applied->useModem && applied->useModemChanged);
    EXPECT_TRUE(applied->autoAnswer && applied->autoAnswerChanged);
    EXPECT_TRUE(applied->network && applied->networkChanged);
    EXPECT_TRUE(applied->portOrBaudChanged);
    EXPECT_EQ(applied->stationAddress, 42);

    // The same choices again change nothing.
    const auto again = SettingsDialogModel(rec).ok(c, messages);
    ASSERT_TRUE(again.has_value());
    EXPECT_FALSE(again->useModemChanged || again->autoAnswerChanged || again->networkChanged
                 || again->portOrBaudChanged);
    EXPECT_TRUE(again->autoAnswer);
}

TEST(SettingsDialogOk, AutoAnswerNeedsUseModem)
{
    SettingsRecord rec;
    rec.useModem = true;
    rec.autoAnswer = true;
    rec.network = true;
    SettingsControls c = Valid();
    c.useModem = false;
    c.autoAnswer = true;   // still checked, but hidden with Use Modem off
    ScriptedMessages messages;
    const auto applied = SettingsDialogModel(rec).ok(c, messages);
    ASSERT_TRUE(applied.has_value());
    EXPECT_FALSE(rec.useModem);
    EXPECT_FALSE(rec.autoAnswer);
    EXPECT_FALSE(applied->autoAnswer);
    EXPECT_TRUE(applied->autoAnswerChanged);
    EXPECT_TRUE(applied->useModemChanged);
}

TEST(SettingsDialogOk, GroupWithNothingSelectedKeepsTheRecordValue)
{
    SettingsRecord rec;
    rec.baud = 14400;
    rec.portNumber = 33;
    SettingsDialogModel model(rec);
    SettingsControls c = model.onShow();
    c.network = true;
    ScriptedMessages messages;
    const auto applied = model.ok(c, messages);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(rec.baud, 14400);
    EXPECT_EQ(rec.portNumber, 33);
    EXPECT_FALSE(applied->portOrBaudChanged);
}

TEST(SettingsDialogOk, LeavesTheImmediateChoicesAlone)
{
    SettingsRecord rec;
    SettingsDialogModel model(rec);
    SettingsControls c = Valid();
    model.dateFormatClicked(1);
    model.autoExportClicked(true);
    c.dateFormatItem = 0;    // stale control state must not undo the click
    c.autoExport = false;
    ScriptedMessages messages;
    ASSERT_TRUE(model.ok(c, messages).has_value());
    EXPECT_EQ(rec.exportDateFormat, 1);
    EXPECT_TRUE(rec.autoExport);
}
