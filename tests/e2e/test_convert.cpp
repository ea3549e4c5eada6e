// The convert mode end to end: the real program converts a data file given
// as its only parameter into a CSV file in the program directory.
#include "e2e/support/sim_process.h"

#include "writer/tl1_writer.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::e2e;

namespace {

RecordingPlan Plan(int bits, int mask, char model, int perChannel)
{
    RecordingPlan plan;
    Tl1Header& h = plan.header;
    int channels = 0;
    for (int c = 0; c < 4; ++c) {
        const bool on = (mask >> c) & 1;
        channels += on;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? '3' : '0';
        h.scalingTexts[static_cast<std::size_t>(c)] = on ? "0.0000100.00" : "            ";
        h.labels[static_cast<std::size_t>(c)] = QByteArray("Probe ") + char('1' + c);
    }
    h.modelDigit = model;
    h.resolutionBits = bits;
    h.firstStamp = "Mon  2-Nov-2026  8:00:00";
    h.lastStamp = "Mon  2-Nov-2026 12:00:00";
    h.description = "Loading dock";
    h.clockStamp = "Tue  3-Nov-2026 08:00:00";
    h.pcClockText = "03/11/2026 08:00:02";
    h.amPm = false;
    h.statusByte1 = 0x02;
    h.rateCode = 'G';
    h.channelFlags = mask;
    const int top = bits == 8 ? 255 : bits == 10 ? 1023 : 4095;
    for (int i = 0; i < perChannel * channels; ++i)
        plan.readings.push_back(static_cast<std::uint16_t>((i * 37) % (top + 1)));
    return plan;
}

int DataLines(const QString& text)
{
    // 17 header lines, of which lines 2, 14 and 16 are empty.
    return static_cast<int>(text.split("\r\n", Qt::SkipEmptyParts).size()) - 14;
}

} // namespace

TEST(ConvertMode, AnyLetterCaseOfTheExtensionConvertsIntoTheProgramDirectory)
{
    ProgramHome home;
    ASSERT_TRUE(home.valid());
    ASSERT_TRUE(WriteTl1File(home.filePath("Site7.Tl1"), MakeRecording(Plan(10, 0x05, '1', 240))));
    const ProgramRun run = RunProgram(home, {}, {home.filePath("Site7.Tl1")});
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString() << run.stderrText.toStdString();
    EXPECT_TRUE(home.readText("CSVLOG.TXT").startsWith("File written: Site7.csv "));
    EXPECT_TRUE(run.stdoutText.startsWith("File written: Site7.csv "));
    const QString csv = home.readText("Site7.csv");
    EXPECT_EQ(DataLines(csv), 240);
    EXPECT_TRUE(csv.contains("\r\nDate,Time,Ch1:,Ch3:\r\n11/02/2026,08:00:00,"));
}

TEST(ConvertMode, AFourBankFileIsConvertedThroughItsBankFile)
{
    ProgramHome home;
    ASSERT_TRUE(home.valid());
    // Banks A-C full (8064 readings a channel each), bank D with 500.
    ASSERT_TRUE(WriteTl1File(home.filePath("BANKS.TL1"), MakeRecording(Plan(8, 0x0F, '6', 3 * 8064 + 500))));
    const ProgramRun run = RunProgram(home, {}, {home.filePath("BANKS.TL1")});
    EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    EXPECT_TRUE(home.exists("BANKS.TL2"));
    EXPECT_EQ(DataLines(home.readText("BANKS.csv")), 3 * 8064 + 500);
    EXPECT_EQ(home.readText("CSVLOG.TXT").count('\n'), 1);
}

TEST(ConvertMode, AFileThatCannotBeLoadedIsAFailureNotAWrittenFile)
{
    ProgramHome home;
    ASSERT_TRUE(home.valid());
    RecordingPlan plan = Plan(8, 0x00, '1', 0); // no channel recorded
    ASSERT_TRUE(WriteTl1File(home.filePath("EMPTY.TL1"), MakeRecording(plan)));
    const ProgramRun run = RunProgram(home, {}, {home.filePath("EMPTY.TL1")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(home.exists("EMPTY.csv"));
    EXPECT_TRUE(home.readText("CSVLOG.TXT").startsWith("Bad file format(0): ")) << home.readText("CSVLOG.TXT").toStdString();
}

namespace {

struct SampleConversion {
    const char* file;         // in data/samples
    const char* csv;          // written into the program directory
    int dataLines;
    const char* headings;
    const char* firstLine;    // the first data line, or its start
    const char* lastLine;     // the last data line, or its start
};

bool CopyTables(const ProgramHome& home)
{
    const QDir data(QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
    bool ok = true;
    for (const QString& name : data.entryList({"*.Rvt", "*.mvt"}, QDir::Files))
        ok = home.copyFromSource("data/" + name) && ok;
    return ok;
}

} // namespace

TEST(ConvertMode, EveryShippedSampleConvertsWithTheShippedTables)
{
    // The default settings show temperatures in degrees Fahrenheit. The
    // four-bank file's stamps run on two intervals at each of its three bank
    // changes, so its last line is three intervals after its "Last" stamp.
    const SampleConversion cases[] = {
        {"sample8.TL1", "sample8.csv", 2880, "Date,Time,Ch1:Deg F,Ch2:FtCn", "04/06/1998,00:00:00,", "04/15/1998,23:55:00,"},
        {"sample10.TL1", "sample10.csv", 2977, "Date,Time,Ch1:Deg F", "07/01/1998,00:00:00,52.937",
         "08/01/1998,00:00:00,49.497"},
        {"sample12.TL1", "sample12.csv", 2100, "Date,Time,Ch1:Deg F,Ch2:Deg F,Ch3:% RH",
         "09/15/1998,06:00:00,54.269,53.663,84.530", "09/18/1998,03:58:00,47.089,54.695,96.479"},
        {"wrapped10.TL1", "wrapped10.csv", 12900, "Date,Time,Ch1:Deg F,Ch2:Deg F", "10/09/1998,15:21:00,79.017,59.289",
         "10/18/1998,14:20:00,71.508,58.363"},
        {"banks4.TL1", "banks4.csv", 3 * 5376 + 1999, "Date,Time,Ch1:Deg F,Ch2:Deg F,Ch3:FtCn,Ch4:",
         "03/01/1998,00:00:00,52.934,58.087,1.468,4.103", "07/04/1998,21:30:00,58.115,60.291,1.463,2.889"},
    };
    for (const SampleConversion& c : cases) {
        SCOPED_TRACE(c.file);
        ProgramHome home;
        ASSERT_TRUE(home.valid());
        ASSERT_TRUE(CopyTables(home));
        ASSERT_TRUE(home.copyFromSource(QStringLiteral("data/samples/") + c.file));
        const ProgramRun run = RunProgram(home, {}, {home.filePath(c.file)});
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
        EXPECT_TRUE(home.readText("CSVLOG.TXT").startsWith(QStringLiteral("File written: ") + c.csv + " "))
            << home.readText("CSVLOG.TXT").toStdString();
        const QStringList lines = home.readText(c.csv).split("\r\n");
        ASSERT_GT(lines.size(), 18);
        EXPECT_EQ(DataLines(home.readText(c.csv)), c.dataLines);
        EXPECT_EQ(lines[16].toStdString(), c.headings);
        EXPECT_TRUE(lines[17].startsWith(c.firstLine)) << lines[17].toStdString();
        const QString last = lines[lines.size() - 2];
        EXPECT_TRUE(last.startsWith(c.lastLine)) << last.toStdString();
    }
}

TEST(ConvertMode, TheExportNamesTheDataFileByItsFullPath)
{
    ProgramHome home;
    ASSERT_TRUE(home.valid());
    ASSERT_TRUE(WriteTl1File(home.filePath("REL.TL1"), MakeRecording(Plan(8, 0x01, '1', 5))));
    const ProgramRun run = RunProgram(home, {}, {"REL.TL1"}); // relative to the program directory
    EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    EXPECT_TRUE(home.readText("REL.csv").contains(" Source File: " + home.filePath("REL.TL1") + "\r\n"));
}
