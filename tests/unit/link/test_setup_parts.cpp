// The setup command parts as the logger receives them, the checks before a
// setup session and the counting of answers and time-outs.

#include "link/setup_sender.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

const std::int64_t kWed9Dec2026 = DayNumberOf(2026, 12, 9);
const CivilMoment kNow = MomentOf(kWed9Dec2026, 7 * 3600 + 30 * 60 + 45);

SetupFields defaultSetup()
{
    SetupFields s;
    s.rateCode = 'D';
    s.description = "Orvane Scientific Inc.";
    s.labels = {QByteArray("Channel 1"), QByteArray("Channel 2"), QByteArray("Channel 3"),
                QByteArray("Channel 4")};
    s.tableNames = {QByteArray("1"), QByteArray("1"), QByteArray("1"), QByteArray("1")};
    s.linearValues = {QByteArray("100.000.0000"), QByteArray("100.000.0000"), QByteArray("100.000.0000"),
                      QByteArray("100.000.0000")};
    s.schedule.startDate = static_cast<std::int32_t>(kWed9Dec2026);
    s.schedule.startTime = 14 * 3600 + 5 * 60 + 30;
    return s;
}

SetupTarget revision(char rev, bool old = false, bool scalingOnly = false)
{
    SetupTarget t;
    t.revision = rev;
    t.oldLogger = old;
    t.scalingOnly = scalingOnly;
    return t;
}

} // namespace

TEST(SetupParts, DefaultSetupToRevisionQGivesFourPartsByteForByte)
{
    const auto parts = BuildSetupParts(defaultSetup(), revision('q'), kNow);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], QByteArray("0" "4530070912426" "0005140912426" "D" "O" "@"
                                   "Orvane Scientific Inc.         " "CCCC"));
    EXPECT_EQ(parts[0].size(), 65);
    EXPECT_EQ(parts[1], QByteArray("2Channel 1               Channel 2               "));
    EXPECT_EQ(parts[2], QByteArray("3Channel 3               Channel 4               "));
    EXPECT_EQ(parts[3], QByteArray("4C           C           C           C            @@"));
    EXPECT_EQ(parts[1].size(), 49);
    EXPECT_EQ(parts[3].size(), 52);
}

TEST(SetupParts, ResolutionAddsTwoCharactersToPartFour)
{
    const struct { std::uint8_t res; const char* tail; } cases[] = {
        {1, "@@ C"}, {2, "@@ B"}, {3, "@@ A"}, {0, "  @@"}, {4, "  @@"}, {255, "  @@"}};
    for (const auto& c : cases) {
        SetupFields s = defaultSetup();
        s.resolution = c.res;
        const QByteArray p4 = BuildSetupParts(s, revision('q'), kNow).at(3);
        EXPECT_TRUE(p4.endsWith(c.tail)) << int(c.res) << " " << p4.constData();
        EXPECT_EQ(p4.size(), c.res >= 1 && c.res <= 3 ? 54 : 52);
    }
}

TEST(SetupParts, PrefixFollowsRevisionFamilyAndScalingOnly)
{
    const struct { SetupTarget target; char prefix; } cases[] = {
        {revision('q'), '0'}, {revision('I'), '0'}, {revision('H'), '1'}, {revision('A', true), '1'},
        {revision('q', true), '1'}, {revision('q', false, true), 'K'}, {revision('A', true, true), 'K'}};
    for (const auto& c : cases)
        EXPECT_EQ(BuildSetupParts(defaultSetup(), c.target, kNow).at(0).at(0), c.prefix) << c.target.revision;
}

TEST(SetupParts, ModeAndChannelBytesFollowStartRunAndChannels)
{
    const struct {
        std::uint8_t startRunMode;
        std::array<std::uint8_t, 4> on;
        char channelByte;
        char modeByte;
    } cases[] = {
        {0 * 8 + 0, {1, 1, 1, 1}, 0x4F, 0x40},
        {0 * 8 + 1, {1, 0, 1, 0}, 0x45, 0x41},
        {2 * 8 + 1, {0, 1, 0, 0}, 0x42, 0x51},
        {2 * 8 + 2, {1, 1, 0, 1}, 0x6B, 0x71},
        {3 * 8 + 0, {0, 0, 0, 1}, 0x48, 0x40},
        // All channels off: channel byte 0x40 and bit 1 set, the logger does not record.
        {0 * 8 + 0, {0, 0, 0, 0}, 0x40, 0x42},
        // A pre-set start in the future keeps bits 1 and 2.
        {1 * 8 + 0, {1, 1, 1, 1}, 0x4F, 0x46},
    };
    for (const auto& c : cases) {
        SetupFields s = defaultSetup();
        s.startRunMode = c.startRunMode;
        s.channelOn = c.on;
        s.schedule.startDate = static_cast<std::int32_t>(kWed9Dec2026 + 1);
        const QByteArray p1 = BuildSetupParts(s, revision('q'), kNow).at(0);
        EXPECT_EQ(p1.at(28), c.channelByte) << int(c.startRunMode);
        EXPECT_EQ(p1.at(29), c.modeByte) << int(c.startRunMode);
    }
}

TEST(SetupParts, PassedPresetStartClearsBitsOneAndTwo)
{
    SetupFields s = defaultSetup();
    s.startRunMode = 1 * 8 + 2;                 // at pre-set time, until the probe is detached
    s.schedule.startTime = 7 * 3600;            // 07:00 today, now is 07:30:45
    const QByteArray p1 = BuildSetupParts(s, revision('q'), kNow).at(0);
    EXPECT_EQ(p1.at(28), 0x6F);
    EXPECT_EQ(p1.at(29), 0x61);
    EXPECT_EQ(p1.mid(14, 13), QByteArray("0000070912426"));
}

TEST(SetupParts, DailyDialOutSendsNinetyNineForTheYear)
{
    SetupFields s = defaultSetup();
    s.startRunMode = 3 * 8;
    s.schedule.dialOutKind = 'c';
    s.schedule.startTime = 6 * 3600 + 30 * 60;
    EXPECT_EQ(BuildSetupParts(s, revision('q'), kNow).at(0).mid(14, 13), QByteArray("0030060912499"));
}

TEST(SetupParts, ScalingTextsAndInputTypesOfPartFour)
{
    SetupFields s = defaultSetup();
    s.scalingCodes = {'1', '3', 'X', 'k'};
    s.tableNames[0] = "MYTAB";
    s.linearValues[1] = "0.0000100.00";
    s.linearValues[2] = "1.00000.0000";
    s.inputTypes = 5 | (1 << 3) | (2 << 6) | (4 << 9);
    const auto parts = BuildSetupParts(s, revision('q'), kNow);
    EXPECT_EQ(parts[3], QByteArray("4MYTAB       0.0000100.001.00000.0000k            Mb"));
    EXPECT_TRUE(parts[0].endsWith("13Xk"));

    // A channel that is off sends no input type.
    s.channelOn[2] = 0;
    EXPECT_TRUE(BuildSetupParts(s, revision('q'), kNow).at(3).endsWith(" M`"));
    EXPECT_EQ(InputTypesForSending(s), 5 | (1 << 3) | (4 << 9));
}

TEST(SetupParts, OldestFamilyGetsThreePartsAndTableDigitsAsCodes)
{
    SetupFields s = defaultSetup();
    s.scalingCodes = {'1', 'C', '1', 'L'};
    s.tableNames[0] = "3";
    s.tableNames[2] = "7abc";
    const auto parts = BuildSetupParts(s, revision('A', true), kNow);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].at(0), '1');
    EXPECT_TRUE(parts[0].endsWith("3C7L"));
}

TEST(SetupParts, TextsWithAnyBytesNeverCarryFramingCharacters)
{
    SetupFields s = defaultSetup();
    s.description = QByteArray("A\rB>C\nD\x00\x7F\xE9\xFF", 12) + QByteArray(100, 'x');
    s.labels[0] = QByteArray("\r\r\r>");
    s.labels[3] = QByteArray(300, '\r');
    s.tableNames[0] = QByteArray("\x1B[2J", 4);
    s.scalingCodes = {'1', '\r', '>', '\0'};
    s.rateCode = 'D';
    const auto parts = BuildSetupParts(s, revision('q'), kNow);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].mid(30, 31), QByteArray("A B C D     ") + QByteArray(19, 'x'));
    EXPECT_EQ(parts[1].size(), 49);
    EXPECT_EQ(parts[2].size(), 49);
    EXPECT_EQ(parts[3].size(), 52);
    for (const QByteArray& p : parts)
        for (char c : p) {
            const auto b = static_cast<unsigned char>(c);
            EXPECT_TRUE(b >= 0x20 && b < 0x80 && c != '>') << int(b);
        }
}

TEST(SetupRefusal, SampleRatesByRevision)
{
    const struct { char rate; char rev; bool refused; } cases[] = {
        {'4', 'G', true},  {'4', 'H', false}, {';', 'G', true}, {';', 'q', false},
        {'C', 'E', true},  {'C', 'F', false}, {'C', 'G', false},
        {'S', 'G', true},  {'S', 'H', false},
        {'T', 'K', true},  {'T', 'L', false}, {'U', 'K', true}, {'V', 'K', true}, {'V', 'L', false},
        {'D', 'A', false}, {'R', 'A', false},
        // Not a sample-rate code at all (a damaged setup file).
        {'Z', 'q', true},  {'\r', 'q', true}, {'\0', 'q', true}};
    for (const auto& c : cases) {
        SetupFields s = defaultSetup();
        s.rateCode = c.rate;
        const auto refusal = SetupRefusal(s, revision(c.rev, c.rev <= 'G'));
        EXPECT_EQ(refusal.has_value(), c.refused) << c.rate << " " << c.rev;
        if (refusal) {
            EXPECT_EQ(*refusal, QStringLiteral("Logger does not support selected sample rate"));
        }
    }
}

TEST(SetupRefusal, OldestFamilyRefusesLinearAndContactScaling)
{
    const QString text = QStringLiteral(
        "Scaling values are not supported in this Tamble Logger\rSelect a linear table for Channel "
        "Scaling. (Table must\ra single numeric character name.  Example: 3.rvt).\rA firmware upgrade "
        "is available -\rContact factory for details.");
    for (char code : {'3', 'X'}) {
        SetupFields s = defaultSetup();
        s.scalingCodes[3] = code;
        EXPECT_EQ(SetupRefusal(s, revision('G', true)).value_or(QString()), text);
        EXPECT_FALSE(SetupRefusal(s, revision('q')).has_value());
    }
}

namespace {
const char* const kErase = "Tamble Logger's data is about to be erased, and its clock set to the date/time of this computer.";
const char* const kFast = "Fast Sampling selected (sample rate 1/sec or faster),Tamble Logger will not respond to additional communications until logging has stopped.";
const char* const kBattery = "You have selected Fast Sampling AND 'Start when... attached' OR 'Run until...detached'.  BATTERY CAN COMPLETELY DISCHARGE in a few days if this mode is constantly active.";
const char* const kPassed = "Pre-set start time has passed;  Recording will start immediately";
const char* const kContinuous = "Improper setup; Cannot select 'Run continuously' if sample rate is less than 2 seconds.";
const char* const kDialout = "Improper setup; Cannot select 'immediate, with ... dialout' if sample rate is less than 2 seconds.";

struct CheckCase {
    const char* name;
    char rate;
    std::uint8_t startRunMode;
    bool scalingOnly;
    bool unattended;
    bool passed;
    const char* refusal;
    std::vector<const char*> confirmations;
};

class SetupChecks : public ::testing::TestWithParam<CheckCase> {};
} // namespace

TEST_P(SetupChecks, RefuseOrAskForConfirmationsInOrder)
{
    const CheckCase& c = GetParam();
    SetupFields s = defaultSetup();
    s.rateCode = c.rate;
    s.startRunMode = c.startRunMode;
    const SetupCheckPlan plan = PlanSetupChecks(s, c.scalingOnly, c.unattended, c.passed);
    EXPECT_EQ(plan.refusal.value_or(QString()), QString::fromLatin1(c.refusal ? c.refusal : ""));
    ASSERT_EQ(plan.confirmations.size(), c.confirmations.size());
    for (size_t i = 0; i < c.confirmations.size(); ++i)
        EXPECT_EQ(plan.confirmations[i], QString::fromLatin1(c.confirmations[i]));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupChecks,
    ::testing::Values(
        CheckCase{"ScalingOnlyAsksNothing", '4', 1, true, false, true, nullptr, {}},
        CheckCase{"SlowRateAsksErase", 'D', 0, false, false, false, nullptr, {kErase}},
        CheckCase{"PassedPresetAsksAfterErase", 'D', 8, false, false, true, nullptr, {kErase, kPassed}},
        CheckCase{"FastContinuousRefused", '4', 1, false, false, false, kContinuous, {}},
        CheckCase{"FastContinuousRefusedUnattendedToo", '4', 1, false, true, false, kContinuous, {}},
        CheckCase{"FastUntilDetachedIsNotContinuous", '4', 2, false, false, false, nullptr, {kFast, kErase, kBattery}},
        CheckCase{"FastDialOutRefused", ';', 24, false, true, false, kDialout, {}},
        CheckCase{"FastImmediateAsksFastAndErase", '4', 0, false, false, false, nullptr, {kFast, kErase}},
        CheckCase{"FastWhenAttachedWarnsBattery", '8', 16, false, false, true, nullptr, {kFast, kErase, kBattery}},
        CheckCase{"FastPassedPresetAsksAll", '8', 8, false, false, true, nullptr, {kFast, kErase, kPassed}},
        CheckCase{"UnattendedAsksNothing", '8', 16, false, true, true, nullptr, {}},
        CheckCase{"RateCIsNotFast", 'C', 1, false, false, false, nullptr, {kErase}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupCounting, OkAdvancesUnrecordedOtherAcknowledgementsAreRecorded)
{
    SessionState st;
    BeginSetupCounting(st, 4);
    EXPECT_EQ(OnSetupLine(st, "OK"), SetupStep::SendPart);
    EXPECT_EQ(st.setupPart, 2);
    EXPECT_EQ(OnSetupLine(st, "K"), SetupStep::SendPart);
    EXPECT_EQ(OnSetupLine(st, "xO"), SetupStep::SendPart);
    EXPECT_EQ(st.setupPart, 4);
    EXPECT_EQ(OnSetupLine(st, "OK"), SetupStep::Success);
    EXPECT_EQ(st.setupAcks, QByteArray("K,xO,"));
    EXPECT_EQ(SetupCountsText(st), QStringLiteral(" K,xO, 0,0"));
}

TEST(SetupCounting, NineRejectionsThenTheNextLineFails)
{
    SessionState st;
    BeginSetupCounting(st, 3);
    EXPECT_EQ(OnSetupLine(st, "OK"), SetupStep::SendPart);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(OnSetupLine(st, "??"), SetupStep::SendPart) << i;
        EXPECT_EQ(st.setupPart, 1);
        EXPECT_EQ(st.setupFailures, i);
    }
    EXPECT_EQ(OnSetupLine(st, "OK"), SetupStep::FailedRejected);
}

TEST(SetupCounting, TimeOutsCountSeparatelyUpToNine)
{
    SessionState st;
    BeginSetupCounting(st, 4);
    OnSetupLine(st, "OK");
    OnSetupLine(st, "bad");
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(OnSetupTimeout(st), SetupStep::SendPart) << i;
        EXPECT_EQ(st.setupPart, 1);
    }
    EXPECT_EQ(st.setupFailures, 1);
    EXPECT_EQ(OnSetupTimeout(st), SetupStep::FailedNoResponse);
    EXPECT_EQ(st.setupRetries, 9);
}

TEST(SetupCounting, AcknowledgementsWithControlBytesStayOnOneLogLine)
{
    SessionState st;
    BeginSetupCounting(st, 4);
    OnSetupLine(st, QByteArray("O\nK\x01", 4));
    EXPECT_EQ(st.setupAcks, QByteArray("O?K?,"));
}

TEST(SetupTexts, SuccessAndFailureTexts)
{
    EXPECT_EQ(StationText(true, 123), QStringLiteral(" station # 123"));
    EXPECT_EQ(StationText(false, 123), QString());
    EXPECT_EQ(SetupSuccessText(false, StationText(true, 5), QStringLiteral("C:/x/site.set")),
              QStringLiteral("Tamble Logger station # 5 running new configuration: C:/x/site.set"));
    EXPECT_EQ(SetupSuccessText(true, QString(), QString()),
              QStringLiteral("Tamble Logger running with new scaling and/or labels."));
    bool warning = true;
    EXPECT_EQ(ScalingOnlyFailureText('T', &warning),
              QStringLiteral("Sending new scaling and/or labels is not supported by this logger.  A firmware "
                             "upgrade is available; contact factory for details."));
    EXPECT_FALSE(warning);
    EXPECT_EQ(ScalingOnlyFailureText('U', &warning), QStringLiteral("Unable to send new scaling and/or labels"));
    EXPECT_TRUE(warning);
}

TEST(SetupPreparation, DialOutKindOnlyWithDialOutStartAndTextsPadded)
{
    for (int start : {0, 1, 2, 3}) {
        SetupRecord r = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
        r.setStartRun(start, 0);
        r.setDialOutKind('c');
        r.setDescription("Short");
        r.setChannelLabel(3, "L3");
        PrepareSetupForSending(r);
        EXPECT_EQ(r.dialOutKind(), start == 3 ? 'c' : 0) << start;
        EXPECT_EQ(r.description(), QByteArray("Short").leftJustified(31, ' '));
        EXPECT_EQ(r.channelLabel(3), QByteArray("L3").leftJustified(24, ' '));
    }
}

TEST(SetupParts, RandomSetupRecordsGiveWellFormedPartsOrARefusal)
{
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<char>((seed >> 16) & 0xFF);
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(kSetupRecordSize, '\0');
        for (char& c : bytes)
            c = next();
        const auto record = SetupRecord::fromBytes(bytes);
        ASSERT_TRUE(record.has_value());
        const SetupFields fields = FieldsOf(*record);
        for (bool old : {false, true}) {
            const SetupTarget target = revision(old ? 'A' : 'q', old);
            (void)SetupRefusal(fields, target);   // a refusal is fine; building must still be safe
            const auto parts = BuildSetupParts(fields, target, kNow);
            ASSERT_EQ(parts.size(), old ? 3u : 4u);
            EXPECT_EQ(parts[0].size(), 65);
            EXPECT_EQ(parts[1].size(), 49);
            EXPECT_EQ(parts[2].size(), 49);
            if (!old) {
                EXPECT_TRUE(parts[3].size() == 52 || parts[3].size() == 54);
            }
            for (const QByteArray& p : parts)
                for (char c : p) {
                    const auto b = static_cast<unsigned char>(c);
                    ASSERT_TRUE(b >= 0x20 && b < 0x80 && c != '>') << round << " " << int(b);
                }
        }
    }
}
