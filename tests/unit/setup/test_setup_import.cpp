// Importing a setup from the header lines of a data file.

#include "setup/setup_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace tamble;

namespace {

// Header lines 1 to 13 plus four per-channel lines; line 1 (the code line) and
// any other line can be replaced by a test.
std::vector<QByteArray> headerLines(const QByteArray& codeLine)
{
    return {
        codeLine,
        "Thu  5-Mar-1998  9:07:03",                        // 2: first stamp, 24 characters
        "Thu  5-Mar-1998 10:07:03",                        // 3: skipped
        "Greenhouse north wall, four probes and a door",  // 4: description, cut to 31
        "skipped line 5",
        "Air",
        "Soil temperature at 20 cm depth",                 // cut to 24
        "Light",
        QByteArray("Rh\0x", 4),                            // code 0 becomes a space
        "20",                                              // 10: mode flags 0x14
        "71",                                              // 11: rate 'G'
        "5",                                               // 12: channels 1 and 3
        "skipped line 13",
        "SENSOR01xyz",                                     // 14..17: per-channel lines
        "-10.00050.000",
        "T2",
        "0.0000100.00rest",
    };
}

QByteArray join(const std::vector<QByteArray>& lines, const char* eol = "\n")
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + eol;
    return out;
}

// The record before the import: recognisable values in every field the import
// may or may not change.
SetupRecord before()
{
    SetupRecord r = DefaultSetupRecord(QDateTime(QDate(2003, 6, 24), QTime(10, 1, 5)));
    for (int ch = 1; ch <= 4; ++ch) {
        r.setScalingCode(ch, 'R');
        r.setTableName(ch, "OLD");
        r.setLinearValues(ch, "old linear");
    }
    r.setResolution(7);
    r.setInputTypes(0xFFF);
    r.setDialOutKind('c');
    r.setDialOutWeekday(4);
    r.setDialOutMonthDay(9);
    r.setStartDateIsToday(1);
    return r;
}

SetupRecord imported(const QByteArray& bytes)
{
    SetupRecord r = before();
    const SetupFileOutcome out = ImportSetupFromHeader(bytes, r);
    EXPECT_TRUE(out.ok) << out.message.value_or(SetupMessage{}).text.toStdString();
    return r;
}

} // namespace

TEST(SetupImport, HeaderLinesFillDescriptionLabelsModeRateAndChannels)
{
    const SetupRecord r = imported(join(headerLines("C")));
    EXPECT_EQ(r.description(), QByteArray("Greenhouse north wall, four pro"));
    EXPECT_EQ(r.channelLabel(1), QByteArray("Air"));
    EXPECT_EQ(r.channelLabel(2), QByteArray("Soil temperature at 20 c"));
    EXPECT_EQ(r.channelLabel(3), QByteArray("Light"));
    EXPECT_EQ(r.channelLabel(4), QByteArray("Rh x"));
    EXPECT_EQ(r.startRunMode(), 16);
    EXPECT_EQ(r.rateCode(), 'G');
    EXPECT_TRUE(r.channelOn(1));
    EXPECT_FALSE(r.channelOn(2));
    EXPECT_TRUE(r.channelOn(3));
    EXPECT_FALSE(r.channelOn(4));
}

TEST(SetupImport, StartDateTimeDialOutAndReservedBytesKeepTheirValues)
{
    const SetupRecord old = before();
    const SetupRecord r = imported(join(headerLines("1CCCC")));
    EXPECT_EQ(r.bytes().mid(138, 8), old.bytes().mid(138, 8));
    EXPECT_EQ(r.bytes().mid(240, 536), old.bytes().mid(240, 536));
    EXPECT_EQ(r.dialOutKind(), 'c');
    EXPECT_EQ(r.dialOutWeekday(), 4);
    EXPECT_EQ(r.dialOutMonthDay(), 9);
    EXPECT_EQ(r.startDateIsToday(), 1);
}

TEST(SetupImport, ModeFlagsGiveStartAndRunChoices)
{
    struct Case { const char* flags; int startRunMode; };
    const Case cases[] = {
        {"0", 0}, {"1", 1}, {"4", 8}, {"5", 9}, {"16", 16}, {"20", 16}, {"32", 2},
        {"33", 2}, {"21", 17}, {"53", 18}, {"309", 18} /* 0x135: low byte 0x35 */, {"256", 0},
    };
    for (const Case& c : cases) {
        std::vector<QByteArray> lines = headerLines("C");
        lines[9] = c.flags;
        EXPECT_EQ(imported(join(lines)).startRunMode(), c.startRunMode) << c.flags;
    }
}

TEST(SetupImport, RateCodeIsTheLowByteAndTheMaskSwitchesChannels)
{
    std::vector<QByteArray> lines = headerLines("C");
    lines[10] = "327"; // 0x147
    lines[11] = "15";
    SetupRecord r = imported(join(lines));
    EXPECT_EQ(r.rateCode(), 'G');
    EXPECT_EQ(r.channelsOn(), 4);
    lines[11] = "0";
    EXPECT_EQ(imported(join(lines)).channelsOn(), 0);
}

TEST(SetupImport, CodeLineFormsDecideScalingCodesAndPerChannelLines)
{
    struct Case {
        QByteArray code;
        const char* codes;        // scaling codes of channels 1-4 afterwards
        const char* tables[4];    // table names afterwards
        const char* linears[4];   // linear values afterwards
    };
    const Case cases[] = {
        {"C", "CCCC", {"OLD", "OLD", "OLD", "OLD"}, {"old linear", "old linear", "old linear", "old linear"}},
        {"ABLP", "ABLP", {"OLD", "OLD", "OLD", "OLD"}, {"old linear", "old linear", "old linear", "old linear"}},
        {"1CCCC", "CCCC", {"SENSOR01", "-10.0005", "T2", "0.000010"},
         {"old linear", "old linear", "old linear", "old linear"}},
        {"x13X1", "13X1", {"SENSOR01", "OLD", "OLD", "0.000010"},
         {"old linear", "-10.00050.00", "T2", "old linear"}},
        {"", "RRRR", {"OLD", "OLD", "OLD", "OLD"}, {"old linear", "old linear", "old linear", "old linear"}},
        {"AB", "RRRR", {"OLD", "OLD", "OLD", "OLD"}, {"old linear", "old linear", "old linear", "old linear"}},
        {"ABC", "RRRR", {"OLD", "OLD", "OLD", "OLD"}, {"old linear", "old linear", "old linear", "old linear"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        const SetupRecord r = imported(join(headerLines(c.code)));
        for (int ch = 1; ch <= 4; ++ch) {
            EXPECT_EQ(r.scalingCode(ch), c.codes[ch - 1]) << ch;
            EXPECT_EQ(r.tableName(ch), QByteArray(c.tables[ch - 1])) << ch;
            EXPECT_EQ(r.linearValues(ch), QByteArray(c.linears[ch - 1])) << ch;
        }
    }
}

TEST(SetupImport, TenthCharacterOfALongCodeLineGivesTheResolution)
{
    struct Case { QByteArray code; int resolution; };
    const Case cases[] = {
        {"1CCCCabEFAz", 3}, {"1CCCCabEFCz", 1}, {"1CCCCabEFBz", 2}, {"1CCCCabEF z", 0},
        {"1CCCCabEFQz", 7} /* unchanged */, {"1CCCCabEFA", 0} /* 10 characters */, {"C", 0}, {"ABLP", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(imported(join(headerLines(c.code))).resolution(), c.resolution) << c.code.toStdString();
}

TEST(SetupImport, EighthAndNinthCharactersGiveTheInputTypes)
{
    struct Case { QByteArray code; int inputTypes; };
    const Case cases[] = {
        {QByteArray("1CCCCab" "E" "\x02" "Az", 11), 2 * 64 + 69 % 64},   // 133
        {QByteArray("1CCCCab" "\x01" "\x41", 9), (0x41 * 64) % 4096 + 1}, // 65 * 64 mod 4096 = 64
        {QByteArray("1CCCCabE", 8), 69 % 64},                             // ninth missing
        {QByteArray("1CCCCab", 7), 0},
        {QByteArray("C"), 0},
        {QByteArray("1CCCCab" "\xff" "\xff", 9), (255 * 64) % 4096 + 255 % 64},
    };
    for (const Case& c : cases)
        EXPECT_EQ(imported(join(headerLines(c.code))).inputTypes(), c.inputTypes) << c.code.toStdString();
}

TEST(SetupImport, CrLfLineEndsGiveTheSameRecord)
{
    const QByteArray lf = join(headerLines("x13X1abEFCz"));
    const QByteArray crlf = join(headerLines("x13X1abEFCz"), "\r\n");
    EXPECT_EQ(imported(lf), imported(crlf));
}

TEST(SetupImport, SecondLineMustBeAFileStampLength)
{
    for (int len : {21, 24, 26}) {
        std::vector<QByteArray> lines = headerLines("C");
        lines[1] = QByteArray(len, 'x');
        SetupRecord r = before();
        EXPECT_TRUE(ImportSetupFromHeader(join(lines), r).ok) << len;
    }
    for (int len : {0, 20, 22, 23, 25, 27, 200}) {
        std::vector<QByteArray> lines = headerLines("C");
        lines[1] = QByteArray(len, 'x');
        SetupRecord r = before();
        const SetupFileOutcome out = ImportSetupFromHeader(join(lines), r);
        EXPECT_FALSE(out.ok) << len;
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->text, QStringLiteral("File corrupt or invalid"));
        EXPECT_EQ(out.message->kind, SetupMessage::Kind::Error);
        EXPECT_EQ(r, before());
    }
}

TEST(SetupImport, HeadersThatBreakOffOrHoldNoNumbersChangeNothing)
{
    std::vector<std::vector<QByteArray>> broken;
    for (std::size_t keep : {0u, 1u, 2u, 12u}) {
        std::vector<QByteArray> lines = headerLines("C");
        lines.resize(keep);
        broken.push_back(lines);
    }
    {
        std::vector<QByteArray> lines = headerLines("1CCCC"); // needs four more lines
        lines.resize(15);
        broken.push_back(lines);
    }
    for (std::size_t numeric : {9u, 10u, 11u}) {
        std::vector<QByteArray> lines = headerLines("C");
        lines[numeric] = "seventy";
        broken.push_back(lines);
    }
    for (const auto& lines : broken) {
        SetupRecord r = before();
        const SetupFileOutcome out = ImportSetupFromHeader(join(lines), r);
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.message->text, QStringLiteral("File corrupt or invalid"));
        EXPECT_EQ(r, before());
    }
}

TEST(SetupImport, DataFileOnDiskIsImportedAndAMissingOneReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site1a.tl1");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(join(headerLines("ABLP"), "\r\n") + "1,2,3\r\n4,5,6\r\n");
    }
    SetupRecord r = before();
    EXPECT_TRUE(ImportSetupFromDataFile(path, r).ok);
    EXPECT_EQ(r.scalingCode(4), 'P');
    const SetupFileOutcome missing = ImportSetupFromDataFile(dir.filePath("none.tl1"), r);
    EXPECT_EQ(missing.message->text, "File I/O error: " + dir.filePath("none.tl1"));
}
