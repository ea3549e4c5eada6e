// Real-time reading lines, the revision rules of real time, and the receive-csv line.

#include "link/realtime.h"

#include "conversion/channel_scaling.h"
#include "link/receive_csv.h"
#include "link/status_record.h"
#include "link/status_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

// Channels 1 and 2 linear 0..100 (code '3', count input), 3 and 4 not fitted.
ChannelScaling LinearScaling(std::uint16_t fullScale)
{
    ChannelScaling s;
    s.fullScaleCount = fullScale;
    SetUpChannelScaling(s, 1, '3', "0.0000100.00");
    SetUpChannelScaling(s, 2, '3', "0.0000100.00");
    SetUpChannelScaling(s, 3, '0', "            ");
    SetUpChannelScaling(s, 4, '0', "            ");
    return s;
}

LoggerInfo InfoFor(int bits, char revision)
{
    LoggerInfo info;
    info.resolutionBits = bits;
    info.revision = revision;
    return info;
}

} // namespace

TEST(RealTimeChecksum, SumOfLineAndHexChecksumMustBeZeroModulo256)
{
    struct Case { const char* line; bool valid; };
    const std::vector<Case> cases = {
        {"00", true},                 // empty body, checksum 00
        {"A0", false},
        {"1E", false},
        {"A", false},                 // too short to carry a checksum
        {"", false},
        {"0123456789AB" "70", true},  // characters sum to 0x290: 0x90 + 0x70 = 0x100
        {"0123456789AB" "71", false},
        {"C00" "5d", false},  // lower case is not read as hex
        {"C00" "5D", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadingChecksumValid(c.line), c.valid) << c.line;
}

TEST(RealTimeTrim, DropsUpToTheAngleBracketWhileMoreThanSeventeenRemain)
{
    struct Case { const char* line; const char* trimmed; };
    const std::vector<Case> cases = {
        {">0102030405060708", "0102030405060708"},
        {"xx>0102030405060708", "0102030405060708"},
        {"OK\n>400123", "K\n>400123"},        // 10 characters: only the first is dropped
        {"123456789012345678", "3456789012345678"},  // no '>': stops at 17 remaining, then drops one
        {"", ""},
        {">", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimRealTimeLine(c.line), QByteArray(c.trimmed)) << c.line;
}

TEST(RealTimeFields, RawCountsByResolution)
{
    struct Case { const char* fields; int bits; std::array<std::uint16_t, 4> counts; int battery; };
    const std::vector<Case> cases = {
        // 12 bit: highs 40 01, nibbles 23 -> ch1 low 3, ch2 low 2; highs 7F F0, nibbles 0F
        {"4001237FF00F", 12, {1027, 18, 2047, 3840}, -1},
        {"FFFFFFFFFFFF", 12, {4095, 4095, 4095, 4095}, -1},
        // 10 bit: highs 80 40 20 10, low pairs E4 = 11 10 01 00, battery 80
        {"80402010E480", 10, {512, 257, 130, 67}, 0x80},
        // 8 bit: battery 9A, then channels
        {"9A800001FF", 8, {0x80, 0, 1, 0xFF}, 0x9A},
    };
    for (const auto& c : cases) {
        const auto raw = DecodeReadingFields(c.fields, c.bits);
        ASSERT_TRUE(raw.has_value()) << c.fields;
        EXPECT_EQ(raw->counts, c.counts) << c.fields;
        EXPECT_EQ(raw->hasBattery, c.battery >= 0) << c.fields;
        if (c.battery >= 0) {
            EXPECT_EQ(raw->batteryByte, c.battery) << c.fields;
        }
    }
    EXPECT_FALSE(DecodeReadingFields("4001237FF00", 12).has_value());
    EXPECT_FALSE(DecodeReadingFields("9A800001F", 8).has_value());
    EXPECT_TRUE(DecodeReadingFields("9A800001FF", 8).has_value());
}

TEST(RealTimeLine, GoodLineIsConvertedBadChecksumOrShortLineIsAChecksumError)
{
    ChannelScaling s = LinearScaling(4095);
    LoggerInfo info = InfoFor(12, 'q');
    // ">" + fields + checksum as the logger sends them.
    const RealTimeReading r = DecodeRealTimeLine(">FFF00F000000" "68", info, s, false);
    ASSERT_TRUE(r.checksumOk);
    EXPECT_EQ(r.counts[0], 4095);
    EXPECT_EQ(r.counts[1], 0xF0 * 16);
    EXPECT_FLOAT_EQ(r.values[0], 100.0f);
    EXPECT_NEAR(r.values[1], 100.0f * 3840 / 4095, 1e-4);
    EXPECT_FLOAT_EQ(r.values[2], 0.0f);

    EXPECT_FALSE(DecodeRealTimeLine(">FFF00F000000" "69", info, s, false).checksumOk);
    EXPECT_FALSE(DecodeRealTimeLine(">00", info, s, false).checksumOk) << "a valid checksum on too short a line";
    EXPECT_FALSE(DecodeRealTimeLine("", info, s, false).checksumOk);
}

TEST(RealTimeLine, EightBitLineIsTwelveCharactersWithTheBatteryFirst)
{
    ChannelScaling s = LinearScaling(255);
    LoggerInfo info = InfoFor(8, 'q');
    // battery 0x6E, ch1 0x33, ch2 0xCC, ch3 0, ch4 0; checksum makes the sum 0
    const QByteArray body = "6E33CC0000";
    unsigned sum = 0;
    for (char c : body)
        sum += static_cast<unsigned char>(c);
    const QByteArray line = ">" + body + QByteArray::number((256 - sum % 256) % 256, 16).toUpper().rightJustified(2, '0');
    const RealTimeReading r = DecodeRealTimeLine(line, info, s, false);
    ASSERT_TRUE(r.checksumOk) << line.constData();
    EXPECT_NEAR(r.values[0], 20.0f, 1e-4);
    EXPECT_NEAR(r.values[1], 80.0f, 1e-4);
}

TEST(RealTimeValueBoxes, ChecksumErrorFillsAllFourBoxesOtherwiseValuesAndOff)
{
    ChannelScaling s = LinearScaling(4095);
    LoggerInfo info = InfoFor(12, 'q');
    info.scalingCodes = {'3', '3', '0', '0'};
    info.labels = {"Flow;l/s", "", "", ""};
    const QString e = QStringLiteral("Checksum error");
    EXPECT_EQ(RealTimeValueBoxes(RealTimeReading{}, info, s, false, 0), (std::array<QString, 4>{e, e, e, e}));
    const RealTimeReading good = DecodeRealTimeLine(">FFF00F000000" "68", info, s, false);
    EXPECT_EQ(RealTimeValueBoxes(good, info, s, false, 0),
              (std::array<QString, 4>{"100.000l/s", " 93.773", "OFF", "OFF"}));
}

TEST(RealTimeReference, ReferenceResistorByRevisionResolutionAndBattery)
{
    struct Case { int bits; char revision; int battery; int ohms; char code; };
    const std::vector<Case> cases = {
        {12, 'q', 0, 30100, 'C'}, {12, 'p', 0, 30015, 'B'}, {12, 'C', 200, 30015, 'B'},
        {10, 'q', 200, 30100, 'C'}, {10, 'F', 100, 10000, 'A'}, {10, 'G', 128, 30015, 'B'},
        {10, 'G', 129, 10000, 'A'}, {8, 'p', 129, 10000, 'A'}, {8, 'p', 20, 30015, 'B'},
    };
    for (const auto& c : cases) {
        LoggerInfo info = InfoFor(c.bits, c.revision);
        SetReferenceResistor(info, static_cast<std::uint8_t>(c.battery));
        EXPECT_EQ(info.referenceOhms, c.ohms) << c.bits << c.revision << c.battery;
        EXPECT_EQ(info.referenceCode, c.code) << c.bits << c.revision << c.battery;
    }
}

TEST(RealTimeReference, EveryReadingSetsTheReferenceBeforeConverting)
{
    ChannelScaling s;
    s.fullScaleCount = 255;
    SetUpChannelScaling(s, 1, 'R', "            ");
    LoggerInfo info = InfoFor(8, 'p');
    // Battery 0x90 (above 128): 10000 ohms; count 128 gives 10078.7 ohms.
    const auto high = ConvertRealTimeFields("9080000000", info, s, false);
    EXPECT_EQ(info.referenceOhms, 10000);
    EXPECT_NEAR(high[0], 10078.7f, 0.1f);
    const auto low = ConvertRealTimeFields("6E80000000", info, s, false);
    EXPECT_EQ(info.referenceOhms, 30015);
    EXPECT_NEAR(low[0], 30015.0f * 10078.7f / 10000.0f, 0.5f);
}

TEST(RealTimeFahrenheit, OnlyTemperatureChannelsAreConverted)
{
    ChannelScaling s;
    s.fullScaleCount = 255;
    SetUpChannelScaling(s, 1, 'X', "0.0000100.00");   // not a temperature ('X')
    SetUpChannelScaling(s, 2, '3', "0.0000100.00");   // count input: not a temperature
    LoggerInfo info = InfoFor(8, 'q');
    const auto values = ConvertRealTimeFields("00FFFF0000", info, s, true);
    EXPECT_FLOAT_EQ(values[0], 100.0f);
    EXPECT_FLOAT_EQ(values[1], 100.0f);
}

TEST(RealTimeStartRules, CommandAndRefusalsByRevisionAndModem)
{
    struct Case { char revision; bool modem; bool start; const char* command; const char* message; };
    const char* notSupported = "Real Time mode not supported in this logger; a firmware upgrade is available; "
                               "contact factory for details.";
    const char* noModem = "Real Time is not available on this logger when using modems";
    const std::vector<Case> cases = {
        {'N', false, false, "", notSupported}, {'A', true, false, "", notSupported},
        {'O', false, true, "Z", ""}, {'o', false, true, "Z", ""}, {'o', true, false, "", noModem},
        {'p', false, true, "Y", ""}, {'p', true, true, "Y", ""}, {'q', false, true, "Y", ""},
    };
    for (const auto& c : cases) {
        const RealTimeStart s = StartRealTime(c.revision, c.modem);
        EXPECT_EQ(s.start, c.start) << c.revision << c.modem;
        EXPECT_EQ(s.command, QByteArray(c.command)) << c.revision << c.modem;
        EXPECT_EQ(s.message, QString::fromLatin1(c.message)) << c.revision << c.modem;
    }
    EXPECT_FALSE(RealTimePolled('o'));
    EXPECT_TRUE(RealTimePolled('p'));
    EXPECT_TRUE(RealTimeNeedsEndSession('o'));
    EXPECT_FALSE(RealTimeNeedsEndSession('p'));
    EXPECT_TRUE(IsRealTimeOkLine("\nOK"));
    EXPECT_FALSE(IsRealTimeOkLine("O K"));
}

// ---------------------------------------------------------------- receive-csv

TEST(ReceiveCsv, LineHasTheDateTimeThenSeparatorAndValueForEachChannelOn)
{
    LoggerInfo info;
    info.channelFlags = 0x2D;  // channels 1, 3, 4 (bit 5 is not a channel)
    const std::array<QString, 4> values{"  21.50Deg C", "   1.00", " Open", "  99.999% RH"};
    EXPECT_EQ(ReceiveCsvLine("09/12/2026 07:30:00", QLatin1Char(','), info, values),
              QStringLiteral("09/12/2026 07:30:00,  21.50Deg C, Open,  99.999% RH"));
    info.channelFlags = 0;
    EXPECT_EQ(ReceiveCsvLine("d t", QLatin1Char(';'), info, values), QStringLiteral("d t"));
    EXPECT_EQ(ReceiveCsvDoneMessage("/tmp/x.csv"), QStringLiteral("Data written to /tmp/x.csv"));
}

TEST(ReceiveCsv, SeparatorAndDateTimeFollowTheLocale)
{
    EXPECT_EQ(ListSeparator(QLocale(QLocale::English, QLocale::UnitedStates)), QLatin1Char(','));
    EXPECT_EQ(ListSeparator(QLocale(QLocale::German, QLocale::Germany)), QLatin1Char(';'));
    const QLocale c(QLocale::C);
    const QDateTime when(QDate(2026, 12, 9), QTime(7, 30, 5));
    const QString text = ShortDateLongTime(when, c);
    EXPECT_TRUE(text.contains(QStringLiteral("07:30:05"))) << text.toStdString();
}

TEST(ReceiveCsv, BuiltLineUsesTheCurrentValuesOfTheLastStatus)
{
    ChannelScaling s = LinearScaling(4095);
    LoggerInfo info;
    info.channelFlags = 0x03;
    info.scalingCodes = {'3', '3', '0', '0'};
    info.currentValues = {12.5f, 3.0f, 0.0f, 0.0f};
    const QLocale c(QLocale::C);
    const QDateTime when(QDate(2026, 12, 9), QTime(7, 30, 5));
    EXPECT_EQ(BuildReceiveCsvLine(info, s, false, 0, when, c),
              ShortDateLongTime(when, c) + QStringLiteral(", 12.500,  3.000"));
}

TEST(ReceiveCsv, AppendCreatesTheFileThenAppends)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("current.csv");
    ASSERT_TRUE(AppendReceiveCsvLine(path, "first"));
    ASSERT_TRUE(AppendReceiveCsvLine(path, "second"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("first\nsecond\n"));
    EXPECT_FALSE(AppendReceiveCsvLine(dir.filePath("missing/dir/x.csv"), "x"));
}
