// The .TL1 loader against hand-written files: header fields and widths, the
// identification line forms, reading counts and the interval, the wrapped
// phase, the line rules, banks, and every failure message.

#include "test_loader_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::testing;

namespace {

const QString kName = QStringLiteral("/tmp/test.TL1");

QByteArray Hex(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out += QByteArray::number(b & 0xFF, 16).rightJustified(2, '0').toUpper();
    return out;
}

// A .TL1 text written line by line; every field can be replaced.
struct FileText {
    QByteArray id = "A3300q1@@ 3.6 A";
    QByteArray first = "Thu  5-Mar-1998  9:00:00";
    QByteArray last = "Thu  5-Mar-1998 10:00:00";
    QByteArray description = "Bench";
    QByteArray line5 = "Fri  6-Mar-1998  8:00:00    06/03/1998 08:00:05";
    std::array<QByteArray, 4> labels{"Air", "Soil", "Three", "Four"};
    QByteArray mode = "2";
    QByteArray rate = "71";
    QByteArray mask = "3";
    QByteArray end = "512";
    std::array<QByteArray, 4> scaling{"0.0000100.00", "0.0000100.00", "            ", "            "};
    bool scalingLines = true;
    std::vector<QByteArray> data;

    QByteArray text() const
    {
        QByteArray out;
        auto put = [&](const QByteArray& l) { out += l + "\r\n"; };
        put(id);
        put(first);
        put(last);
        put(description);
        put(line5);
        for (const auto& l : labels)
            put(l);
        put(mode);
        put(rate);
        put(mask);
        put(end);
        if (scalingLines)
            for (const auto& s : scaling)
                put(s);
        for (const auto& d : data)
            put(d);
        return out;
    }
};

LoadResult Load(DataSet& data, const FileText& file, BankSink* sink = nullptr, bool autoAnswer = false)
{
    LoadOptions options;
    options.amPm = false;
    options.autoAnswer = autoAnswer;
    options.bankSink = sink;
    options.programDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
    data.dataFileName = kName;
    return LoadTl1FromBytes(data, file.text(), options);
}

// ---------------------------------------------------------------- header

TEST(LoaderHeader, ReadsEveryFieldAtItsWidth)
{
    FileText f;
    f.id = "B3X00q5AB" "B3.6 A" "trailing text beyond 24";
    f.description = QByteArray("A description longer than thirty-one characters");
    f.labels = {QByteArray("Ai\0r", 4), "Soil [-1.5]", "Light [2]", QByteArray(30, 'L')};
    f.mode = "194";        // 0xC2: 10 bit
    f.rate = "71";
    f.mask = "259";        // only the low byte counts: 3
    f.end = "1000 7";
    f.scaling = {"0.0000100.00", "-40.00125.00xyz", "", "ABC"};
    DataSet d;
    const LoadResult r = Load(d, f);
    ASSERT_TRUE(r.ok) << r.message.toStdString();

    EXPECT_EQ(d.idLine, QByteArray("B3X00q5ABB3.6 Atrailing "));
    EXPECT_EQ(d.referenceOhms, 30015);
    EXPECT_EQ(d.typeCodes, (std::array<char, 4>{'3', 'X', '0', '0'}));
    EXPECT_EQ(d.modelCode, '5');
    EXPECT_EQ(d.inputTypes, 1 + 64 * 2);
    EXPECT_EQ(d.batteryText, QByteArray("3.6"));
    EXPECT_EQ(d.lastBank, 'A');
    EXPECT_EQ(d.description, QByteArray("A description longer than thirt"));
    EXPECT_EQ(d.channelLabel[0], QByteArray("Ai r                    "));
    EXPECT_EQ(d.channelLabel[3], QByteArray(24, 'L'));
    EXPECT_EQ(d.labelOffset, (std::array<float, 4>{0.0f, -1.5f, 2.0f, 0.0f}));
    EXPECT_EQ(d.transferredStamp, QByteArray("Fri  6-Mar-1998  8:00:00  "));
    EXPECT_EQ(d.pcClockText, QByteArray("06/03/1998 08:00:05"));
    EXPECT_EQ(d.modeFlags, 0xC2);
    EXPECT_EQ(d.rateCode, 'G');
    EXPECT_EQ(d.channelMask, 3);
    EXPECT_EQ(d.endPointer, 1000);
    EXPECT_EQ(d.phaseByte, 7);
    EXPECT_EQ(d.resolutionBits, 10);
    EXPECT_EQ(d.fullScaleCount, 1023);
    EXPECT_EQ(d.memoryCapacity, 25800);
    EXPECT_EQ(d.scalingText[1], QByteArray("-40.00125.00"));
    EXPECT_EQ(d.scalingText[2], QByteArray("            "));
    EXPECT_EQ(d.modelText, QByteArray("LX900     10 bit"));
    EXPECT_EQ(d.channelList, (std::vector<int>{1, 2}));
    EXPECT_DOUBLE_EQ(d.intervalMinutes, 1.0);
    EXPECT_FLOAT_EQ(d.spanMinutes, 60.0f);
    EXPECT_FALSE(d.wrapped);
    EXPECT_FALSE(d.multiBank);
}

TEST(LoaderHeader, LineFiveShorterThanFortyIsAllTransferredStamp)
{
    FileText f;
    f.line5 = "Fri  6-Mar-1998  8:00:00    06/03/19";   // 36 characters
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.transferredStamp, f.line5);
    EXPECT_TRUE(d.pcClockText.isEmpty());
}

TEST(LoaderHeader, EightBitEndPointerLineIgnoresAnythingAfterThePointer)
{
    FileText f;
    f.end = "600 9";
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.endPointer, 600);
    EXPECT_EQ(d.phaseByte, 0);
}

struct ModelTextCase {
    char code;
    int bits;
    const char* text;
};

TEST(LoaderHeader, ModelTextNamesModelAndResolution)
{
    const ModelTextCase cases[] = {
        {'1', 8, "LX500"}, {'1', 10, "LX600"}, {'1', 12, "LX700"},
        {'5', 8, "LX900     8 bit"}, {'5', 12, "LX900     12 bit"},
        {'6', 8, "LX900-M 8 bit"}, {'6', 10, "LX900-M 10 bit"}, {'6', 12, "LX900-M 12 bit"},
        {'3', 8, "LX523"}, {'0', 10, "LX530"}, {'4', 12, "LX544"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildModelText(c.code, c.bits), QByteArray(c.text)) << c.code << " " << c.bits;
}

// ---------------------------------------------------------------- identification line

TEST(LoaderIdLine, OneCharacterGivesEveryChannelItsCodeAndReadsNoScalingLines)
{
    FileText f;
    f.id = "X";
    f.mask = "1";
    f.end = "515";
    f.scalingLines = false;
    f.data = {Hex({10, 11, 12})};
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.typeCodes, (std::array<char, 4>{'X', 'X', 'X', 'X'}));
    EXPECT_EQ(d.scalingText[3], QByteArray("X           "));
    EXPECT_EQ(d.referenceOhms, 10000);
    EXPECT_EQ(d.inputTypes, 0);
    EXPECT_TRUE(d.batteryText.isEmpty());
    ASSERT_EQ(d.readingsPerChannel, 3);
    EXPECT_EQ(LoadedPlane(d, 0), (std::vector<std::uint16_t>{10, 11, 12}));
}

TEST(LoaderIdLine, FourCharactersTurnCodesBelowAIntoThermistorsButKeepTheirTableNames)
{
    FileText f;
    f.id = "3A0R";
    f.mask = "1";
    f.end = "513";
    f.scalingLines = false;
    f.data = {Hex({200})};
    DataSet d;
    const LoadResult r = Load(d, f);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(d.typeCodes, (std::array<char, 4>{'1', 'A', '0', 'R'}));
    EXPECT_EQ(d.scalingText[0], QByteArray("3           "));
    EXPECT_EQ(d.scalingText[1], QByteArray("A           "));
    EXPECT_EQ(LoadedPlane(d, 0), (std::vector<std::uint16_t>{200}));
}

TEST(LoaderIdLine, ReferenceResistorCodeSelectsOhms)
{
    const std::pair<char, int> cases[] = {{'A', 10000}, {'B', 30015}, {'C', 30100}, {'D', 2000}, {'a', 2000}};
    for (const auto& [code, ohms] : cases) {
        FileText f;
        f.id[0] = code;
        DataSet d;
        ASSERT_TRUE(Load(d, f).ok);
        EXPECT_EQ(d.referenceOhms, ohms) << code;
    }
}

TEST(LoaderIdLine, LastBankIsReadOnlyForTheModemModelAndMovesRightWithATwoDigitBattery)
{
    const std::pair<const char*, char> cases[] = {
        {"A3300q6@@A3.6 C", 'C'},
        {"A3300q6@@A12.4 D", 'D'},
        {"A3300q5@@A3.6 C", 'A'},
        {"A3300q6@@A3.6", 'A'},
    };
    for (const auto& [id, bank] : cases) {
        FileText f;
        f.id = id;
        DataSet d;
        ASSERT_TRUE(Load(d, f).ok);
        EXPECT_EQ(d.lastBank, bank) << id;
        EXPECT_EQ(d.multiBank, bank > 'A') << id;
    }
}

// ---------------------------------------------------------------- counts

struct CountCase {
    const char* name;
    const char* mode;
    const char* mask;
    const char* end;
    int lastBankReadings;
    int fullBankReadings;
};

TEST(LoaderCounts, ReadingsFollowFromTheEndPointer)
{
    const CountCase cases[] = {
        {"TenBitOneBlockTwoChannels", "194", "3", "587 0", 30, 12900},
        {"TwelveBitFourBytesThreeChannels", "130", "7", "516 0", 1, 7168},
        {"EightBitAboveTopIsFull", "2", "1", "40000", 32256, 32256},
        {"EightBitBelowFirstAddressIsFull", "2", "1", "100", 32256, 32256},
        {"NegativePointerIsFull", "2", "1", "-7", 32256, 32256},
        {"TwelveBitFullMemory", "130", "1", "32768 0", 21504, 21504},
        {"TenBitFullMemoryCappedAtOneImage", "194", "1", "32768 0", 25800, 25800},
        {"TenBitPointerPastItsTopCapped", "194", "1", "32765 0", 25800, 25800},
        {"TenBitTopOfMemory", "194", "1", "32762 0", 25800, 25800},
        {"TenBitFullFourChannels", "194", "15", "40000 0", 6450, 6450},
        {"EmptyMemory", "2", "3", "512", 0, 16128},
    };
    for (const auto& c : cases) {
        FileText f;
        f.mode = c.mode;
        f.mask = c.mask;
        f.end = c.end;
        f.scaling = {"0.0000100.00", "0.0000100.00", "0.0000100.00", "0.0000100.00"};
        f.id = "A3333q1@@ 3.6 A";
        DataSet d;
        ASSERT_TRUE(Load(d, f).ok) << c.name;
        EXPECT_EQ(d.lastBankReadings, c.lastBankReadings) << c.name;
        EXPECT_EQ(d.fullBankReadings, c.fullBankReadings) << c.name;
    }
}

TEST(LoaderCounts, ShortFileGivesAShorterBank)
{
    FileText f;
    f.mask = "1";
    f.end = "1000";
    f.data = {Hex({1, 2, 3, 4, 5})};
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.lastBankReadings, 488);
    EXPECT_EQ(d.readingsPerChannel, 5);
}

struct DropCase {
    const char* name;
    const char* mode;
    const char* mask;
    const char* end;
    int bytes;
    int readingsPerChannel;
};

TEST(LoaderCounts, PowerFailureDropsTheLastTimeStepUnlessModeBitSaysOtherwise)
{
    const DropCase cases[] = {
        {"EightBitDrops", "2", "35", "522", 10, 4},          // mask 0x23
        {"EightBitModeBitKeeps", "34", "35", "522", 10, 5},  // mode 0x22
        {"EightBitWithoutMaskBitKeeps", "2", "3", "522", 10, 5},
        {"EightBitSingleReadingKept", "2", "35", "514", 2, 1},
        {"TenBitDropsAfterUnpacking", "194", "33", "587 0", 75, 59},
        {"TwelveBitDropsAfterUnpacking", "130", "33", "608 0", 96, 63},
    };
    for (const auto& c : cases) {
        FileText f;
        f.mode = c.mode;
        f.mask = c.mask;
        f.end = c.end;
        std::vector<int> bytes;
        QByteArray line;
        for (int i = 0; i < c.bytes; ++i)
            line += Hex({i + 1});
        f.data = {line};
        DataSet d;
        ASSERT_TRUE(Load(d, f).ok) << c.name;
        EXPECT_EQ(d.readingsPerChannel, c.readingsPerChannel) << c.name;
    }
}

// ---------------------------------------------------------------- decoding

TEST(LoaderDecoding, ThreeChannelsFillPlanesAtTheirOrigins)
{
    FileText f;
    f.id = "A3330q1@@ 3.6 A";
    f.scaling[2] = "0.0000100.00";
    f.mask = "7";
    f.end = "518";
    f.data = {Hex({1, 2, 3, 4, 5, 6})};
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.channelOrigin(0), 0);
    EXPECT_EQ(d.channelOrigin(1), 10922);
    EXPECT_EQ(d.channelOrigin(2), 21844);
    EXPECT_EQ(d.rawPlanes[0], 1);
    EXPECT_EQ(d.rawPlanes[1], 4);
    EXPECT_EQ(d.rawPlanes[10922], 2);
    EXPECT_EQ(d.rawPlanes[10923], 5);
    EXPECT_EQ(d.rawPlanes[21844], 3);
    EXPECT_EQ(d.rawPlanes[21845], 6);
}

TEST(LoaderDecoding, PlaneOriginsForEveryChannelCount)
{
    EXPECT_EQ(RawPlanes::origin(0, 1), 0);
    EXPECT_EQ(RawPlanes::origin(1, 2), 16384);
    EXPECT_EQ(RawPlanes::origin(1, 4), 8192);
    EXPECT_EQ(RawPlanes::origin(2, 4), 16384);
    EXPECT_EQ(RawPlanes::origin(3, 4), 24576);
    EXPECT_EQ(RawPlanes::kEntries, 32751);
}

TEST(LoaderDecoding, TenAndTwelveBitGroupsUnpackInOrder)
{
    FileText f;
    f.mask = "1";
    f.mode = "194";
    f.end = "517 0";
    // Highs 0x10 0x20 0x30 0x40, low pairs 3, 2, 1, 0 (0b00011011).
    f.data = {Hex({0x10, 0x20, 0x30, 0x40, 0x1B})};
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(LoadedPlane(d, 0), (std::vector<std::uint16_t>{0x43, 0x82, 0xC1, 0x100}));

    f.mode = "130";
    f.end = "515 0";
    f.data = {Hex({0xAB, 0xCD, 0x5E})};
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(LoadedPlane(d, 0), (std::vector<std::uint16_t>{0xABE, 0xCD5}));
}

TEST(LoaderDecoding, LowerCaseHexDigitsReadLikeUpperCase)
{
    FileText f;
    f.mask = "1";
    f.end = "516";
    f.data = {"aBcDeF0f"};
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(LoadedPlane(d, 0), (std::vector<std::uint16_t>{0xAB, 0xCD, 0xEF, 0x0F}));
}

TEST(LoaderDecoding, WrappedTenBitBankWithPhaseTwoStartsWithTwoReadingsAndTakesLastLowBitsFromPhaseByte)
{
    // One wrapped 10-bit memory: 430 lines of 75 bytes.
    std::vector<int> stream(32250, 0);
    stream[0] = 0x10;                      // h2
    stream[1] = 0x20;                      // h3
    stream[2] = 0x60;                      // L: pairs 2 (bits 4-5) and 1 (bits 6-7)
    stream[3] = 0x01; stream[4] = 0x02; stream[5] = 0x03; stream[6] = 0x04; stream[7] = 0xE4;
    stream[32248] = 0x30;                  // h0 of the cut group
    stream[32249] = 0x40;                  // h1
    FileText f;
    f.mask = "1";
    f.mode = "202";                        // 0xCA: 10 bit, wrapped
    f.end = "514 6";                       // phase byte 0x06: P = 2
    for (int line = 0; line < 430; ++line) {
        QByteArray text;
        for (int i = 0; i < 75; ++i)
            text += Hex({stream[static_cast<std::size_t>(line * 75 + i)]});
        f.data.push_back(text);
    }
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    ASSERT_EQ(d.readingsPerChannel, 25800);
    EXPECT_EQ(d.rawPlanes[0], 0x10 * 4 + 2);
    EXPECT_EQ(d.rawPlanes[1], 0x20 * 4 + 1);
    EXPECT_EQ(d.rawPlanes[2], 0x01 * 4 + 0);
    EXPECT_EQ(d.rawPlanes[3], 0x02 * 4 + 1);
    EXPECT_EQ(d.rawPlanes[4], 0x03 * 4 + 2);
    EXPECT_EQ(d.rawPlanes[5], 0x04 * 4 + 3);
    EXPECT_EQ(d.rawPlanes[25798], 0x30 * 4 + 2);   // bits 0-1 of the phase byte
    EXPECT_EQ(d.rawPlanes[25799], 0x40 * 4 + 1);   // bits 2-3
}

TEST(LoaderDecoding, WrappedTwelveBitBankWithPhaseOneTakesLastLowNibbleFromPhaseByteHighNibble)
{
    std::vector<int> stream(32256, 0);
    stream[0] = 0x12;                      // h1
    stream[1] = 0xA0;                      // N: h1's low nibble in bits 4-7
    stream[32255] = 0x34;                  // h0 of the cut group
    FileText f;
    f.mask = "1";
    f.mode = "138";                        // 0x8A: 12 bit, wrapped
    f.end = "513 113";                     // 0x71: P = 1, low nibble 7
    for (int line = 0; line < 336; ++line) {
        QByteArray text;
        for (int i = 0; i < 96; ++i)
            text += Hex({stream[static_cast<std::size_t>(line * 96 + i)]});
        f.data.push_back(text);
    }
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    ASSERT_EQ(d.readingsPerChannel, 21504);
    EXPECT_EQ(d.rawPlanes[0], 0x12A);
    EXPECT_EQ(d.rawPlanes[21503], 0x347);
}

// ---------------------------------------------------------------- line rules

// One channel's data lines and what the loader makes of them: the readings
// per channel, and (where given) the whole plane.
struct LineRuleCase {
    const char* name;
    QByteArray mode;
    QByteArray end;
    std::vector<QByteArray> data;
    int readings;
    std::vector<std::uint16_t> plane = {};
};

std::vector<LineRuleCase> LineRuleCases()
{
    QByteArray longLine;
    std::vector<std::uint16_t> longPlane;
    for (int i = 0; i < 100; ++i)
        longLine += Hex({i});
    for (std::uint16_t i = 0; i < 96; ++i)
        longPlane.push_back(i);
    longPlane.push_back(200);
    return {
        {"EightBitSkipsAnEmptyLine", "2", "516", {Hex({1, 2}), "", Hex({3, 4})}, 4, {1, 2, 3, 4}},
        {"EmptyLineEndsTheDataOfTenBit", "194", "1000 0", {Hex({1, 2, 3, 4, 5, 6}), "", Hex({7, 8, 9, 10, 11, 12})}, 4},
        {"EmptyLineEndsTheDataOfTwelveBit", "130", "1000 0", {Hex({1, 2, 3, 4, 5, 6}), "", Hex({7, 8, 9, 10, 11, 12})},
         4},
        // A line holds one block (96 bytes); what follows on it is not data.
        {"CharactersAfterOneBlockAreIgnored", "2", "1000", {longLine, Hex({200})}, 97, longPlane},
        {"BankLineEndsASingleBankRecording", "2", "1000", {Hex({1, 2, 3}), "ZA", Hex({4, 5, 6})}, 3, {1, 2, 3}},
    };
}

class LoaderLines : public ::testing::TestWithParam<LineRuleCase> {};

TEST_P(LoaderLines, ReadingsFollowTheLineRules)
{
    const LineRuleCase& c = GetParam();
    FileText f;
    f.mask = "1";
    f.mode = c.mode;
    f.end = c.end;
    f.data = c.data;
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    ASSERT_EQ(d.readingsPerChannel, c.readings);
    if (!c.plane.empty()) {
        EXPECT_EQ(LoadedPlane(d, 0), c.plane);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, LoaderLines, ::testing::ValuesIn(LineRuleCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- banks

TEST(LoaderBanks, SectionsBeyondTheLastBankAreNotPartOfTheRecording)
{
    FileText f;
    f.id = "A3300q6@@A3.6 B";
    f.mask = "1";
    f.end = "514";
    QByteArray full;
    for (int i = 0; i < 96; ++i)
        full += Hex({7});
    for (int i = 0; i < 336; ++i)
        f.data.push_back(full);
    f.data.push_back("ZA");
    f.data.push_back(Hex({1, 2}));
    f.data.push_back("ZB");
    f.data.push_back(Hex({3, 4}));
    f.data.push_back("ZC");
    f.data.push_back(Hex({5, 6}));
    KeepingBankSink sink;
    DataSet d;
    ASSERT_TRUE(Load(d, f, &sink).ok);
    ASSERT_EQ(sink.banks.size(), 2u);
    EXPECT_EQ(sink.banks[0].readingsPerChannel, 32256);
    EXPECT_EQ(sink.banks[1].planes[0], (std::vector<std::uint16_t>{1, 2}));
    EXPECT_EQ(sink.finished, 1);
}

TEST(LoaderBanks, DropRuleShortensEachWrappedBankByOneStepOnly)
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x21, '6');
    plan.header.lastBank = 'B';
    plan.wrapped = true;
    plan.endPointer = 5000;
    plan.sections = 4;
    plan.readings = TestReadings(4 * 32256, 8);
    KeepingBankSink sink;
    DataSet d;
    ASSERT_TRUE(LoadBytes(d, FormatTl1(MakeRecording(plan)), &sink).ok);
    ASSERT_EQ(sink.banks.size(), 4u);
    for (const auto& bank : sink.banks)
        EXPECT_EQ(bank.readingsPerChannel, 32255);
}

TEST(LoaderBanks, BankFileReplacesTheDataFileNameAfterAMultiBankLoad)
{
    RecordingPlan plan;
    plan.header = TestHeader(12, 0x3, '6');
    plan.readings = TestReadings(21504 + 40, 12);
    DataSet d;
    ASSERT_TRUE(LoadBytes(d, FormatTl1(MakeRecording(plan)), nullptr, QStringLiteral("/data/run7.tl1")).ok);
    EXPECT_TRUE(d.multiBank);
    EXPECT_EQ(d.bankFileName, QStringLiteral("/data/run7.TL2"));
    EXPECT_EQ(d.dataFileName, QStringLiteral("/data/run7.TL2"));
    EXPECT_EQ(d.lastBank, 'B');
    EXPECT_EQ(d.readingsPerChannel, 20);
}

// ---------------------------------------------------------------- interval

struct IntervalCase {
    const char* name;
    QByteArray id;
    QByteArray mode;
    QByteArray rate;
    QByteArray last;
    QByteArray end;
    double interval;
};

TEST(LoaderInterval, ApproximateRatesAreCorrectedFromStampsOrModel)
{
    const IntervalCase cases[] = {
        {"FourSecondsMeasuredFromSpan", "A3300q1@@ 3.6 A", "2", "84", "Thu  5-Mar-1998 10:20:00", "1512", 0.08},
        {"SpanOfOneMinuteKeepsRate", "A3300q1@@ 3.6 A", "2", "84", "Thu  5-Mar-1998  9:01:00", "1512",
         static_cast<double>(1.0f / 15.0f)},
        {"TenSecondsNeverCorrected", "A3300q1@@ 3.6 A", "2", "68", "Thu  5-Mar-1998 10:20:00", "1512",
         static_cast<double>(1.0f / 6.0f)},
        {"WrappedFastModelRunsSlower", "A3300q5@@A3.6 A", "10", "84", "Thu  5-Mar-1998 10:20:00", "1512",
         4.6 / 60.0},
        {"WrappedSingleMemoryModelKeepsRate", "A3300q1@@ 3.6 A", "10", "84", "Thu  5-Mar-1998 10:20:00", "1512",
         static_cast<double>(1.0f / 15.0f)},
        {"ThirdBankCountsTwoFullBanks", "A3300q6@@A3.6 C", "2", "67", "Thu  5-Mar-1998 10:20:00", "712",
         80.0 / (2 * 32256.0 + 200)},
    };
    for (const auto& c : cases) {
        FileText f;
        f.id = c.id;
        f.mode = c.mode;
        f.rate = c.rate;
        f.mask = "1";
        f.last = c.last;
        f.end = c.end;
        DataSet d;
        ASSERT_TRUE(Load(d, f).ok) << c.name;
        EXPECT_NEAR(d.intervalMinutes, c.interval, 1e-9) << c.name;
    }
}

// ---------------------------------------------------------------- failures

TEST(LoaderFailures, LoggerClockTextOnLineThreeBecomesAStamp)
{
    FileText f;
    f.last = "05041515030198";
    DataSet d;
    ASSERT_TRUE(Load(d, f).ok);
    EXPECT_EQ(d.lastStamp, QByteArray("Sun 15-Mar-1998 15:04:05"));
}

TEST(LoaderFailures, ShortLastStampThatIsNoClockTextIsABadDateFormat)
{
    FileText f;
    f.last = "12345";
    DataSet d;
    const LoadResult r = Load(d, f);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(d.valid);
    EXPECT_EQ(r.message, QStringLiteral("Bad date format /tmp/test.TL1 12345 5"));

    const LoadResult silent = Load(d, f, nullptr, true);
    EXPECT_FALSE(silent.ok);
    EXPECT_TRUE(silent.message.isEmpty());
}

TEST(LoaderFailures, NoRecordedChannelIsABadFileFormat)
{
    FileText f;
    f.mask = "32";
    DataSet d;
    const LoadResult r = Load(d, f);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Bad file format(0): /tmp/test.TL1"));
    EXPECT_TRUE(Load(d, f, nullptr, true).message.isEmpty());
}

TEST(LoaderFailures, UnusableSensorTableEndsTheLoadWithTheSetUpMessage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile table(dir.filePath(QStringLiteral("A.Rvt")));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("Title\r\nT\r\nC Ohms\r\n25 10000\r\n");
    table.close();
    FileText f;
    f.id = "A3A00q1@@ 3.6 A";
    f.scaling[1] = "A           ";
    DataSet d;
    LoadOptions options;
    options.programDir = dir.path() + QLatin1Char('/');
    d.dataFileName = kName;
    const LoadResult r = LoadTl1FromBytes(d, f.text(), options);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Sensor Table 'A.Rvt' has improper format"));
}

TEST(LoaderFailures, MissingFileIsLookedForInTheProgramDirectoryThenReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    LoadOptions options;
    options.programDir = dir.path() + QLatin1Char('/');
    DataSet d;
    d.dataFileName = QStringLiteral("/no/such/folder/run1.TL1");
    LoadResult r = LoadDataFile(d, options);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("File: ") + dir.path() + QStringLiteral("/run1.TL1 not found"));

    QFile file(dir.filePath(QStringLiteral("run1.TL1")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(FileText{}.text());
    file.close();
    d.dataFileName = QStringLiteral("/no/such/folder/run1.TL1");
    r = LoadDataFile(d, options);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(d.dataFileName, dir.path() + QStringLiteral("/run1.TL1"));
}

TEST(LoaderFailures, BankFileIsNotDecodedHere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.TL2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(" not a TL1 file at all\r\n");
    file.close();
    DataSet d;
    d.dataFileName = path;
    const LoadResult r = LoadDataFile(d, {});
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(d.multiBank);
    EXPECT_EQ(d.bankFileName, path);
    EXPECT_TRUE(d.channelList.empty());
}

} // namespace
