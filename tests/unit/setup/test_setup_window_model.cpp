// The setup window's rules without widgets: the record shown and built back,
// the status shown, the scaling dialogs' entries and their Cancel, and when the
// window counts as modified.

#include "setup/setup_window_model.h"

#include "format/logger_info.h"
#include "setup/get_date_model.h"
#include "setup/start_field.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

const QDate kToday(2026, 12, 9);

SetupRecord baseSetup()
{
    SetupRecord r = DefaultSetupRecord(QDateTime(kToday, QTime(14, 5, 30)));
    r.setDescription(PadWithSpaces("North tank", kDescriptionWidth));
    r.setChannelLabel(2, PadWithSpaces("Outlet", kChannelLabelWidth));
    return r;
}

// Shows `r` in a fresh window and builds it back.
SetupRecord roundTrip(const SetupRecord& r, int model = 0)
{
    SetupRecord setup = r;
    SetupWindowModel m(setup);
    m.chooseModel(model);
    m.setupToWindow(kToday, QLocale::c());
    return m.built();
}

} // namespace

TEST(SetupWindowRoundTrip, EveryScalingCodeOfEveryChannelComesBack)
{
    for (int ch = 1; ch <= 4; ++ch) {
        for (int index = 0; index < ScalingEntryCount(ch); ++index) {
            const auto code = ScalingCodeAt(ch, index);
            if (!code)
                continue;
            SCOPED_TRACE(testing::Message() << "channel " << ch << " code " << *code);
            SetupRecord r = baseSetup();
            r.setScalingCode(ch, *code);
            r.setTableName(ch, "TANK");
            r.setLinearValues(ch, " 0.000100.50");
            EXPECT_EQ(roundTrip(r).bytes(), r.bytes());
        }
    }
}

TEST(SetupWindowRoundTrip, ModelsResolutionsStartAndRunChoicesComeBack)
{
    struct Case { int model; std::uint8_t resolution; };
    const Case models[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {3, 2}, {3, 3}, {4, 1}, {4, 3}};
    for (const Case& c : models) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " resolution " << int(c.resolution));
        SetupRecord r = baseSetup();
        r.setResolution(c.resolution);
        EXPECT_EQ(roundTrip(r, c.model).bytes(), r.bytes());
    }
    for (int start = 0; start <= 3; ++start) {
        for (int run = 0; run <= 2; ++run) {
            SCOPED_TRACE(testing::Message() << "start " << start << " run " << run);
            SetupRecord r = baseSetup();
            r.setStartRun(start, run);
            r.setDialOutKind(start == 3 ? 'b' : 0);
            r.setDialOutWeekday(4);
            EXPECT_EQ(roundTrip(r).bytes(), r.bytes());
        }
    }
}

TEST(SetupWindowRoundTrip, RateChannelsAndInputTypesComeBack)
{
    SetupRecord r = baseSetup();
    r.setRateCode(';');
    r.setChannelOn(2, false);
    r.setChannelOn(4, false);
    r.setInputType(1, 5);
    r.setInputType(2, 1);
    r.setInputType(3, 2);
    r.setInputType(4, 4);
    EXPECT_EQ(roundTrip(r).bytes(), r.bytes());
}

TEST(SetupWindowRoundTrip, ContactValuesOnChannelTwoShowAndComeBack)
{
    SetupRecord r = baseSetup();
    r.setScalingCode(2, 'X');
    r.setLinearValues(2, "1.00000.0000");
    SetupRecord setup = r;
    SetupWindowModel m(setup);
    m.chooseModel(1);
    m.setupToWindow(kToday, QLocale::c());
    EXPECT_EQ(m.state().scaling[1].index, 10);
    EXPECT_EQ(m.scalingEntries(2)[10], QStringLiteral("Cls/opn: 1.0000 / 0.0000"));
    m.windowToSetup();
    EXPECT_EQ(setup.linearValues(2), QByteArray("1.00000.0000"));
    EXPECT_EQ(setup.bytes(), r.bytes());
}

TEST(SetupWindowRoundTrip, InconsistentResolutionFollowsTheModel)
{
    SetupRecord r = baseSetup();
    r.setResolution(2);
    EXPECT_EQ(roundTrip(r, 0).resolution(), 0);   // LX500 has no resolution choice
    r.setResolution(0);
    EXPECT_EQ(roundTrip(r, 3).resolution(), 1);   // LX900 always sends one: 12 bit first
}

TEST(SetupWindowModelTest, ShowingASetupFillsTheControls)
{
    SetupRecord setup = baseSetup();
    setup.setScalingCode(1, '1');
    setup.setTableName(1, "TANK");
    setup.setScalingCode(3, '`');
    setup.setScalingCode(4, '3');
    setup.setLinearValues(4, "4.000020.000");
    setup.setRateCode('G');
    setup.setStartRun(3, 1);
    setup.setDialOutKind('a');
    setup.setDialOutMonthDay(22);
    setup.setStartTime(14 * 3600 + 5 * 60);
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());
    const SetupWindowState& s = m.state();
    EXPECT_EQ(s.scaling[0].index, 6);
    EXPECT_EQ(m.scalingEntries(1)[6], QStringLiteral("Table: (TANK.rvt)"));
    EXPECT_EQ(s.scaling[2].index, 33);
    EXPECT_EQ(m.scalingEntries(4)[4], QStringLiteral("Linear: 4.0000 / 20.000"));
    EXPECT_EQ(s.rate, 14);
    EXPECT_EQ(s.start, 3);
    EXPECT_EQ(s.run, 1);
    EXPECT_EQ(s.startEntries[3], QStringLiteral("immediate; dialout on 22nd at 14:05"));
    EXPECT_EQ(s.labels[1], QStringLiteral("Outlet"));
    EXPECT_EQ(s.description, QStringLiteral("North tank"));
    EXPECT_FALSE(m.modified());
}

TEST(SetupWindowModelTest, AStartChoiceOtherThanDialOutClearsTheDialOutKind)
{
    SetupRecord setup = baseSetup();
    setup.setStartRun(0, 0);
    setup.setDialOutKind('c');
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());
    EXPECT_EQ(setup.dialOutKind(), 0);
    EXPECT_EQ(m.state().startEntries[1], QStringLiteral("at pre-set time"));
}

TEST(SetupWindowModelTest, StatusShowsLastStatusAndTheLoggersModelAndResolution)
{
    LoggerInfo info;
    info.channelFlags = 0x05;
    info.labels = {"Inlet                   ", "Outlet                  ", "", ""};
    info.description = "Cold store                     ";
    info.rateCode = 'C';
    info.statusFlags = 0x21;
    info.scalingCodes = {'1', 'X', 'k', '0'};
    info.scalingTexts = {"TANK        ", "1.00000.0000", "k           ", "0           "};
    info.inputTypes = 5 | (4 << 9);
    info.resolutionType = 5;
    info.resolutionBits = 8;
    SetupRecord setup = baseSetup();
    const SetupRecord before = setup;
    SetupWindowModel m(setup);
    m.statusToWindow(info);
    const SetupWindowState& s = m.state();
    EXPECT_EQ(s.fileName, QStringLiteral("LAST STATUS"));
    EXPECT_TRUE(m.showsStatus());
    EXPECT_EQ(s.on, (std::array<bool, 4>{true, false, true, false}));
    EXPECT_EQ(s.labels[0], QStringLiteral("Inlet"));
    EXPECT_EQ(s.description, QStringLiteral("Cold store"));
    EXPECT_EQ(s.rate, 8);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.run, 2);
    EXPECT_EQ(m.scalingEntries(1)[s.scaling[0].index], QStringLiteral("Table: (TANK.rvt)"));
    EXPECT_EQ(m.scalingEntries(2)[s.scaling[1].index], QStringLiteral("Cls/opn: 1.0000 / 0.0000"));
    EXPECT_EQ(s.scaling[2].index, 16);
    EXPECT_EQ(s.scaling[3].index, 2);  // '0' (not fitted) leaves the list as it was
    EXPECT_EQ(s.inputType[0], 3);
    EXPECT_EQ(s.inputType[3], 3);
    EXPECT_EQ(s.model, 3);
    EXPECT_EQ(ResolutionTexts()[s.resolution], QStringLiteral("  8 bit <Low>"));
    EXPECT_EQ(m.totalLogTime(), QStringLiteral("10.3 hours "));
    EXPECT_EQ(setup.bytes(), before.bytes());
    EXPECT_FALSE(m.modified());

    info.statusFlags = 0x10;
    info.resolutionBits = 12;
    m.statusToWindow(info);
    EXPECT_EQ(m.state().start, 2);
    EXPECT_EQ(m.state().run, 0);
    EXPECT_EQ(m.state().resolution, 0);
    info.statusFlags = 0x01;
    m.statusToWindow(info);
    EXPECT_EQ(m.state().run, 1);
}

TEST(SetupWindowModelTest, ModelAndResolutionChangesSetTheCapacity)
{
    SetupRecord setup = baseSetup();
    setup.setResolution(3);
    SetupWindowModel m(setup);
    m.chooseModel(0);
    EXPECT_FALSE(m.resolutionVisible());
    EXPECT_EQ(m.memoryCapacity(), 32256);
    m.chooseModel(4);
    EXPECT_TRUE(m.resolutionVisible());
    EXPECT_EQ(m.state().resolution, 2);  // the record's 8 bit
    EXPECT_EQ(m.memoryCapacity(), 129024);
    m.chooseResolution(1);
    EXPECT_EQ(setup.resolution(), 2);    // at once
    EXPECT_EQ(m.memoryCapacity(), 103200);
}

TEST(SetupWindowModelTest, TheProgramsCapacityFollowsModelAndResolution)
{
    SetupRecord setup = baseSetup();
    setup.setResolution(3);
    std::int32_t capacity = 0;
    SetupWindowModel m(setup, capacity);
    EXPECT_EQ(capacity, m.memoryCapacity());
    m.chooseModel(4);
    EXPECT_EQ(capacity, 129024);
    m.chooseResolution(1);
    EXPECT_EQ(capacity, 103200);
}

TEST(SetupWindowScaling, DialogEntriesOpenTheirDialogOnTheEditedChannel)
{
    SetupRecord setup = baseSetup();
    setup.setScalingCode(2, '3');
    setup.setLinearValues(2, "0.0000100.00");
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());
    struct Case { int channel; int index; ScalingChoice::Dialog dialog; };
    const Case cases[] = {{2, 5, ScalingChoice::Dialog::LinearScale},
                          {3, 11, ScalingChoice::Dialog::ContactClosure},
                          {4, 7, ScalingChoice::Dialog::CustomTable}};
    for (const Case& c : cases) {
        const auto choice = m.chooseScaling(c.channel, c.index);
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->dialog, c.dialog);
        EXPECT_EQ(m.editedChannel(), c.channel);
        m.cancelScaling();
    }
    EXPECT_EQ(m.chooseScaling(2, 5)->currentLinear, QStringLiteral("0.0000100.00"));
    EXPECT_FALSE(m.chooseScaling(1, 8));
}

TEST(SetupWindowScaling, CancelPutsAllFourListsBack)
{
    SetupRecord setup = baseSetup();
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());
    m.chooseScaling(2, 3);   // accepted at once
    m.chooseScaling(1, 5);
    EXPECT_EQ(m.state().scaling[0].index, 5);
    m.cancelScaling();
    EXPECT_EQ(m.state().scaling[0].index, 2);
    EXPECT_EQ(m.state().scaling[1].index, 3);
    EXPECT_EQ(m.state().scaling[2].index, 2);
}

TEST(SetupWindowScaling, AcceptedDialogsWriteTheirEntry)
{
    SetupRecord setup = baseSetup();
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());

    m.chooseScaling(4, 5);
    ScalingChoice linear;
    linear.dialog = ScalingChoice::Dialog::LinearScale;
    linear.low = QStringLiteral("4.0000");
    linear.high = QStringLiteral("20.000");
    m.acceptScaling(linear);
    EXPECT_EQ(m.state().scaling[3].index, 4);
    EXPECT_EQ(m.scalingEntries(4)[4], QStringLiteral("Linear: 4.0000 / 20.000"));

    m.chooseScaling(3, 11);
    ScalingChoice contact;
    contact.dialog = ScalingChoice::Dialog::ContactClosure;
    contact.low = QStringLiteral("1.0000");
    contact.high = QStringLiteral("0.0000");
    m.acceptScaling(contact);

    m.chooseScaling(1, 7);
    ScalingChoice table;
    table.dialog = ScalingChoice::Dialog::CustomTable;
    table.tableFile = QStringLiteral("PROBE7.RVT");
    m.acceptScaling(table);
    EXPECT_EQ(m.scalingEntries(1)[6], QStringLiteral("Table: (PROBE7.RVT)"));

    m.chooseScaling(2, 5);
    m.cancelScaling();  // the accepted entries stay
    m.windowToSetup();
    EXPECT_EQ(setup.scalingCode(4), '3');
    EXPECT_EQ(setup.linearValues(4), QByteArray("4.000020.000"));
    EXPECT_EQ(setup.scalingCode(3), 'X');
    EXPECT_EQ(setup.linearValues(3), QByteArray("1.00000.0000"));
    EXPECT_EQ(setup.scalingCode(1), '1');
    EXPECT_EQ(setup.tableName(1), QByteArray("PROBE7"));
    EXPECT_EQ(setup.scalingCode(2), 'C');
}

struct ModifiedCase {
    const char* name;
    std::function<void(SetupWindowModel&)> edit;
    bool modified;
};

class SetupWindowModified : public ::testing::TestWithParam<ModifiedCase> {};

TEST_P(SetupWindowModified, FollowsWhetherTheWindowDiffersFromTheShownSetup)
{
    SetupRecord setup = baseSetup();
    setup.setResolution(1);
    SetupWindowModel m(setup);
    m.chooseModel(3);
    m.setupToWindow(kToday, QLocale::c());
    ASSERT_FALSE(m.modified());
    GetParam().edit(m);
    EXPECT_EQ(m.modified(), GetParam().modified);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SetupWindowModified,
    ::testing::Values(
        ModifiedCase{"LabelEdited", [](SetupWindowModel& m) { m.editLabel(1, QStringLiteral("Inlet")); }, true},
        ModifiedCase{"LabelEditedBack",
                     [](SetupWindowModel& m) {
                         m.editLabel(1, QStringLiteral("Inlet"));
                         m.editLabel(1, QStringLiteral("Channel 1"));
                     },
                     false},
        ModifiedCase{"DescriptionEdited", [](SetupWindowModel& m) { m.editDescription(QStringLiteral("x")); }, true},
        ModifiedCase{"ChannelToggled", [](SetupWindowModel& m) { m.toggleChannel(3); }, true},
        ModifiedCase{"ChannelToggledTwice",
                     [](SetupWindowModel& m) {
                         m.toggleChannel(3);
                         m.toggleChannel(3);
                     },
                     false},
        ModifiedCase{"RateChosen", [](SetupWindowModel& m) { m.chooseRate(3); }, true},
        ModifiedCase{"SameRateChosen", [](SetupWindowModel& m) { m.chooseRate(11); }, false},
        ModifiedCase{"InputTypeChosen", [](SetupWindowModel& m) { m.chooseInputType(4, 3); }, true},
        ModifiedCase{"RunChosen", [](SetupWindowModel& m) { m.chooseRun(1); }, true},
        ModifiedCase{"StartWithoutDialog", [](SetupWindowModel& m) { m.chooseStart(2); }, true},
        ModifiedCase{"ResolutionChosen", [](SetupWindowModel& m) { m.chooseResolution(2); }, true},
        ModifiedCase{"ModelWithoutResolution", [](SetupWindowModel& m) { m.chooseModel(0); }, true},
        ModifiedCase{"ScalingChosen", [](SetupWindowModel& m) { m.chooseScaling(2, 0); }, true},
        ModifiedCase{"ScalingDialogCancelled",
                     [](SetupWindowModel& m) {
                         m.chooseScaling(2, 5);
                         m.cancelScaling();
                     },
                     false},
        ModifiedCase{"PresetDateCancelled",
                     [](SetupWindowModel& m) {
                         m.chooseStart(1);
                         m.cancelStart();
                     },
                     false},
        ModifiedCase{"EditedThenSaved",
                     [](SetupWindowModel& m) {
                         m.editLabel(2, QStringLiteral("Tank"));
                         m.windowToSetup();
                         m.markUnmodified();
                     },
                     false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupWindowModelTest, LabelsAreShownAsTheyWillBeSent)
{
    SetupRecord setup = baseSetup();
    SetupWindowModel m(setup);
    EXPECT_EQ(m.editLabel(1, QString::fromUtf8("Tank>\xc3\xa9\t1")), QStringLiteral("Tank   1"));
    EXPECT_EQ(m.editDescription(QString(40, QLatin1Char('d'))).size(), 31);
    m.windowToSetup();
    EXPECT_EQ(setup.channelLabel(1), PadWithSpaces("Tank   1", kChannelLabelWidth));
}

TEST(SetupWindowModelTest, PresetDateOkSelectsItsEntryAndCancelGoesBack)
{
    SetupRecord setup = baseSetup();
    SetupWindowModel m(setup);
    m.setupToWindow(kToday, QLocale::c());
    m.chooseStart(2);
    EXPECT_EQ(m.chooseStart(3), StartDialog::DialOut);
    m.cancelStart();
    EXPECT_EQ(m.state().start, 2);
    EXPECT_EQ(m.chooseStart(1), StartDialog::PresetDate);
    const GetDateResult r = AcceptPresetDate(setup, false, QDate(2027, 1, 4), QTime(6, 30, 15), kToday, QLocale::c());
    m.acceptStart(r.entry, r.text);
    EXPECT_EQ(m.state().start, 1);
    EXPECT_EQ(m.state().startEntries[1], r.text);
    m.windowToSetup();
    EXPECT_EQ(setup.startChoice(), 1);
    EXPECT_EQ(setup.startDate(), SetupDayNumber(QDate(2027, 1, 4)));
}

TEST(SetupFileChecks, ImplausibleRecordsAreRefused)
{
    struct Case { const char* name; std::function<void(SetupRecord&)> spoil; bool refused; };
    const Case cases[] = {
        {"default", [](SetupRecord&) {}, false},
        {"unknown rate", [](SetupRecord& r) { r.setRateCode('Z'); }, true},
        {"start choice 4", [](SetupRecord& r) { r.setStartRun(4, 0); }, true},
        {"run choice 3", [](SetupRecord& r) { r.setStartRun(0, 3); }, true},
        {"resolution 4", [](SetupRecord& r) { r.setResolution(4); }, true},
        {"dial-out kind d", [](SetupRecord& r) { r.setDialOutKind('d'); }, true},
        {"today flag 2", [](SetupRecord& r) { r.setStartDateIsToday(2); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = baseSetup().bytes();
        SetupRecord r = *SetupRecord::fromBytes(bytes);
        c.spoil(r);
        EXPECT_EQ(SetupRecordProblem(r).has_value(), c.refused);
    }
    QByteArray longLabel = baseSetup().bytes();
    longLabel[38 + 25] = 30;
    EXPECT_EQ(SetupRecordProblem(*SetupRecord::fromBytes(longLabel)), QStringLiteral("File corrupt or invalid"));
    QByteArray channelFlag = baseSetup().bytes();
    channelFlag[3] = 2;
    EXPECT_TRUE(SetupRecordProblem(*SetupRecord::fromBytes(channelFlag)));
    EXPECT_TRUE(IsSetupFileName(QStringLiteral("/x/site.Set")));
    EXPECT_FALSE(IsSetupFileName(QStringLiteral("/x/site.txt")));
    EXPECT_FALSE(IsSetupFileName(QStringLiteral("/x/set")));
}

TEST(ScalingEntry, TakesTheTwoValuesOrTheTableFile)
{
    ScalingChoice linear;
    ASSERT_TRUE(TakeScalingEntry(QStringLiteral("Linear: 0.0000 / 100.00"), linear));
    EXPECT_EQ(linear.low, QStringLiteral("0.0000"));
    EXPECT_EQ(linear.high, QStringLiteral("100.00"));
    ScalingChoice contact;
    contact.dialog = ScalingChoice::Dialog::ContactClosure;
    EXPECT_TRUE(TakeScalingEntry(QStringLiteral("Cls/opn: 1.0000 / 0.0000"), contact));
    EXPECT_FALSE(TakeScalingEntry(QStringLiteral("Linear 0.0000"), contact));
    ScalingChoice table;
    table.dialog = ScalingChoice::Dialog::CustomTable;
    ASSERT_TRUE(TakeScalingEntry(QStringLiteral("Custom (MYTABLE.RVT)"), table));
    EXPECT_EQ(table.tableFile, QStringLiteral("MYTABLE.RVT"));
    EXPECT_FALSE(TakeScalingEntry(QStringLiteral("Custom MYTABLE.RVT"), table));   // no parentheses
    EXPECT_FALSE(TakeScalingEntry(QStringLiteral("Custom ()"), table));
}
