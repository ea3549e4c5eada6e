// The command line: modes, their log texts, and parameters 3 and 4.

#include "settings/command_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace tamble;

namespace {

enum Flag { None = 0, SendSetup = 1, Receive = 2, ReceiveCsv = 4, Convert = 8, OpenGraph = 16, Hangup = 32 };

int flagsOf(const CommandLineMode& m)
{
    return (m.sendSetup ? SendSetup : 0) | (m.receive ? Receive : 0) | (m.receiveCsv ? ReceiveCsv : 0)
        | (m.convert ? Convert : 0) | (m.openGraph ? OpenGraph : 0) | (m.hangup ? Hangup : 0);
}

struct ModeCase {
    const char* name;
    QStringList params;
    bool exists;
    LogRoutine routine;
    const char* message;
    int flags;
};

} // namespace

TEST(CommandLineModes, EachCommandLine_GivesItsModeOrItsExactLogText)
{
    const std::vector<ModeCase> cases = {
        {"one data file that exists", {"site1a.tl1"}, true, LogRoutine::None, "", Convert | OpenGraph},
        {"one data file in mixed case", {"C/Site.Tl1"}, true, LogRoutine::None, "", Convert | OpenGraph},
        {"one data file that is missing", {"gone.tl1"}, false, LogRoutine::Csv,
         "Invalid command; File: gone.tl1 does not exist.", None},
        {"one file of another type", {"data.txt"}, true, LogRoutine::Csv,
         "Invalid command line; no .TL1 file type", None},
        {"one file without extension", {"data"}, true, LogRoutine::Csv,
         "Invalid command line; no .TL1 file type", None},
        {"dot only in a folder name", {"old.tl1/data"}, true, LogRoutine::Csv,
         "Invalid command line; no .TL1 file type", None},
        {"empty mode with more parameters", {"a.tl1", "", "0"}, true, LogRoutine::None, "", Convert | OpenGraph},
        {"send a setup file", {"a.set", "s"}, false, LogRoutine::None, "", SendSetup},
        {"send a setup file in mixed case", {"dir/A.Set", "s"}, false, LogRoutine::None, "", SendSetup},
        {"send a data file", {"a.tl1", "s"}, true, LogRoutine::Fatal,
         "Invalid command line; no .set file type", None},
        {"receive into a data file", {"a.TL1", "r"}, false, LogRoutine::None, "", Receive},
        {"receive into a CSV file in mixed case", {"a.Csv", "r"}, false, LogRoutine::None, "", ReceiveCsv},
        {"receive into a text file", {"a.txt", "r"}, false, LogRoutine::Fatal, "Invalid file name extension", None},
        {"receive into a file without extension", {"a", "r"}, false, LogRoutine::Fatal,
         "Invalid file name extension", None},
        {"hang up", {"anything", "h"}, false, LogRoutine::None, "", Hangup},
        {"upper-case R is not receive", {"a.csv", "R"}, false, LogRoutine::None, "", OpenGraph},
        {"upper-case S is not send", {"a.set", "S"}, false, LogRoutine::None, "", OpenGraph},
        {"upper-case H is not hang up", {"a.tl1", "H"}, false, LogRoutine::None, "", OpenGraph},
        {"any other mode text", {"a.tl1", "graph"}, false, LogRoutine::None, "", OpenGraph},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord settings;
        const CommandLineResult r = ParseCommandLine(c.params, c.exists, settings);
        EXPECT_EQ(r.routine, c.routine);
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
        EXPECT_EQ(flagsOf(r.mode), c.flags);
        EXPECT_FALSE(r.mode.started);
    }
}

TEST(CommandLineModes, NoParameters_ChangeNothing)
{
    SettingsRecord settings;
    const CommandLineResult r = ParseCommandLine({}, false, settings);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(flagsOf(r.mode), None);
    EXPECT_FALSE(r.dataFileName.has_value());
    EXPECT_EQ(settings, SettingsRecord{});
}

TEST(CommandLineModes, SendSetup_StoresParameter1AsTheLastSetupFile)
{
    SettingsRecord settings;
    const CommandLineResult r = ParseCommandLine({"/jobs/Pump.SET", "s"}, false, settings);
    EXPECT_EQ(settings.lastSetupFile, "/jobs/Pump.SET");
    EXPECT_EQ(settings.lastDataFile, "site1a.tl1");
    EXPECT_FALSE(r.dataFileName.has_value());
}

TEST(CommandLineModes, OpenGraph_StoresParameter1AsLastAndCurrentDataFile)
{
    for (const QStringList& params : {QStringList{"/d/x.tl1"}, QStringList{"/d/x.tl1", "R"}}) {
        SCOPED_TRACE(params.join(' ').toStdString());
        SettingsRecord settings;
        const CommandLineResult r = ParseCommandLine(params, true, settings);
        EXPECT_TRUE(r.mode.openGraph);
        EXPECT_EQ(settings.lastDataFile, "/d/x.tl1");
        ASSERT_TRUE(r.dataFileName.has_value());
        EXPECT_EQ(*r.dataFileName, "/d/x.tl1");
        EXPECT_EQ(settings.lastSetupFile, "default.set");
    }
}

TEST(CommandLineModes, ReceiveAndHangUp_LeaveTheFileNamesOfTheSettingsAlone)
{
    for (const char* mode : {"r", "h"}) {
        SettingsRecord settings;
        const CommandLineResult r = ParseCommandLine({"new.tl1", mode}, false, settings);
        EXPECT_FALSE(r.dataFileName.has_value());
        EXPECT_EQ(settings, SettingsRecord{});
    }
}

TEST(CommandLineModes, ErrorsOfParameter1_AreFoundBeforeParameters3And4AreApplied)
{
    SettingsRecord settings;
    const CommandLineResult r = ParseCommandLine({"a.txt", "", "9", "12"}, true, settings);
    EXPECT_EQ(r.message, "Invalid command line; no .TL1 file type");
    EXPECT_EQ(settings, SettingsRecord{});
}

namespace {

struct ParamCase {
    const char* name;
    QString p3;
    QString p4;
    std::function<void(SettingsRecord&)> start;
    std::function<void(SettingsRecord&)> expect;
};

} // namespace

TEST(CommandLineStationAndPhone, Parameters3And4_ChangeTheSettingsInMemory)
{
    const std::vector<ParamCase> cases = {
        {"station 0 forces a single logger", "0", "", [](auto& s) { s.network = true; s.stationAddress = 9; },
         [](auto& s) { s.network = true; s.stationAddress = 9; s.network = false; }},
        {"station 17 selects the network", "17", "", [](auto&) {},
         [](auto& s) { s.network = true; s.stationAddress = 17; }},
        {"station 255", "255", "", [](auto&) {}, [](auto& s) { s.network = true; s.stationAddress = 255; }},
        {"station 300 keeps its low byte", "300", "", [](auto&) {},
         [](auto& s) { s.network = true; s.stationAddress = 44; }},
        {"phone 0 turns the modem off", "", "0", [](auto& s) { s.useModem = true; s.phoneEntry = 3; },
         [](auto& s) { s.phoneEntry = 3; }},
        {"phone entry 12 is index 11", "", "12", [](auto&) {},
         [](auto& s) { s.useModem = true; s.phoneEntry = 11; }},
        {"phone entry 1 is index 0", "", "1", [](auto& s) { s.phoneEntry = 5; },
         [](auto& s) { s.useModem = true; s.phoneEntry = 0; }},
        {"four digits are still an entry", "", "9999", [](auto&) {},
         [](auto& s) { s.useModem = true; s.phoneEntry = 9998; }},
        {"seven digits are the number itself", "", "5551234", [](auto& s) { s.phoneEntry = 2; },
         [](auto& s) { s.useModem = true; s.phoneEntry = 2; s.phoneNumber = "5551234"; }},
        {"five characters are a number", "", "1-234", [](auto&) {},
         [](auto& s) { s.useModem = true; s.phoneNumber = "1-234"; }},
        {"a very long number keeps 254 characters", "", QString(300, QChar('8')), [](auto&) {},
         [](auto& s) { s.useModem = true; s.phoneNumber = QString(254, QChar('8')); }},
        {"both together", "4", "0", [](auto& s) { s.useModem = true; },
         [](auto& s) { s.network = true; s.stationAddress = 4; }},
        {"empty parameters change nothing", "", "", [](auto&) {}, [](auto&) {}},
    };
    for (const ParamCase& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord settings;
        c.start(settings);
        SettingsRecord expected;
        c.expect(expected);
        const CommandLineResult r = ParseCommandLine({"a.TL1", "r", c.p3, c.p4}, false, settings);
        EXPECT_FALSE(r.failed()) << r.message.toStdString();
        EXPECT_TRUE(r.mode.receive);
        EXPECT_EQ(settings, expected);
    }
}

TEST(CommandLineStationAndPhone, TextThatIsNoNumber_EndsTheRunWithALogLine)
{
    struct Case { QStringList params; LogRoutine routine; const char* message; };
    const std::vector<Case> cases = {
        {{"a.tl1", "r", "abc"}, LogRoutine::Fatal, "Invalid command line; abc is not a station address"},
        {{"a.tl1", "r", "", "ab"}, LogRoutine::Fatal, "Invalid command line; ab is not a phone list entry"},
        {{"a.tl1", "r", "", "0000"}, LogRoutine::Fatal, "Invalid command line; 0000 is not a phone list entry"},
        {{"a.tl1", "r", "", "-3"}, LogRoutine::Fatal, "Invalid command line; -3 is not a phone list entry"},
        // Parameter 4 is applied first, so its fault is the one reported.
        {{"a.tl1", "r", "x", "y"}, LogRoutine::Fatal, "Invalid command line; y is not a phone list entry"},
        // A conversion reports into the CSV log like its other outcomes.
        {{"a.tl1", "", "x"}, LogRoutine::Csv, "Invalid command line; x is not a station address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params.join('|').toStdString());
        SettingsRecord settings;
        const CommandLineResult r = ParseCommandLine(c.params, true, settings);
        EXPECT_EQ(r.routine, c.routine);
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
        EXPECT_EQ(flagsOf(r.mode) & ~Convert, None);
    }
}

TEST(CommandLineExtension, IsTheUpperCasedTextFromTheLastDotOfTheFileName)
{
    EXPECT_EQ(UpperExtension("a.b.Csv"), ".CSV");
    EXPECT_EQ(UpperExtension("/x.y/z"), "");
    EXPECT_EQ(UpperExtension("z."), ".");
    EXPECT_EQ(UpperExtension(""), "");
}

TEST(CommandLineRequests, TheFirstParameterDecidesBetweenModesOptionsHelpAndVersion)
{
    struct Case { QStringList params; CommandLineRequest request; };
    const std::vector<Case> cases = {
        {{}, CommandLineRequest::Modes},
        {{"site.tl1"}, CommandLineRequest::Modes},
        {{"site.tl1", "--help"}, CommandLineRequest::Modes},   // only the first word is an option
        {{"-x"}, CommandLineRequest::Modes},
        {{"--"}, CommandLineRequest::Modes},
        {{"--auto-answer", "--calls", "3"}, CommandLineRequest::Service},
        {{"--program-station", "7"}, CommandLineRequest::Service},
        {{"--set-logger-baud"}, CommandLineRequest::Service},
        {{"--com-test"}, CommandLineRequest::Service},
        {{"--configure-remote-modem"}, CommandLineRequest::Service},
        {{"--help"}, CommandLineRequest::Help},
        {{"-h"}, CommandLineRequest::Help},
        {{"--version"}, CommandLineRequest::Version},
        {{"--open"}, CommandLineRequest::Open},
        {{"--open", "a.tl2"}, CommandLineRequest::Open},
        {{"--calls", "3"}, CommandLineRequest::UnknownOption},   // belongs after --auto-answer
        {{"--HELP"}, CommandLineRequest::UnknownOption},
        {{"--auto-answer=1"}, CommandLineRequest::UnknownOption},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params.join('|').toStdString());
        EXPECT_EQ(ClassifyCommandLine(c.params), c.request);
    }
}

TEST(CommandLineRequests, OpenFromTheDesktop_ShowsTheGraphAndNeverConverts)
{
    struct Case { QStringList params; QStringList positional; };
    const std::vector<Case> cases = {
        {{"--open"}, {}},
        {{"--open", ""}, {}},
        {{"--open", "/data/site 1.TL1"}, {"/data/site 1.TL1", "open"}},
        {{"--open", "site.tl2"}, {"/home/ann/site.tl2", "open"}},
        {{"--open", "../bob/./x.tl1"}, {"/home/bob/x.tl1", "open"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params.join('|').toStdString());
        const QStringList positional = OpenParameters(c.params, "/home/ann");
        EXPECT_EQ(positional, c.positional);
        SettingsRecord settings;
        const CommandLineResult r = ParseCommandLine(positional, true, settings);
        EXPECT_FALSE(r.failed());
        EXPECT_EQ(flagsOf(r.mode), positional.isEmpty() ? None : OpenGraph);
    }
}

TEST(CommandLineRequests, UsageText_NamesEveryFormOptionAndExitStatus)
{
    const QString text = UsageText("tamble-logger");
    const char* expected[] = {
        "tamble-logger FILE.TL1 ", "FILE.TL1 r [P3 [P4]]", "FILE.CSV r [P3 [P4]]", "FILE.SET s [P3 [P4]]",
        "X h [P3 [P4]]", "FILE MODE [P3 [P4]]", "--open [FILE]", "P3  0: a single logger",
        "P4  0: no modem", "--auto-answer [--calls N]", "--program-station N", "--set-logger-baud [BAUD]",
        "--com-test", "--configure-remote-modem", "--help", "--version", "0  done", "1  the logger",
        "2  the command line is invalid", "TAMBLE_HOME", "ports.ini", "taken from the current folder",
        "beside its data file",
    };
    for (const char* part : expected)
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(text.contains('%'));
    for (const QString& line : text.split('\n'))
        EXPECT_LE(line.size(), 100) << line.toStdString();
}

TEST(CommandLineRequests, HintAndVersion_AreOneLineNamingTheProgram)
{
    EXPECT_EQ(UsageHint("tamble-logger", "--bogus"), "tamble-logger: unknown option --bogus; see 'tamble-logger --help'");
    EXPECT_EQ(VersionText("tamble-logger", "0.1.0"), "tamble-logger 0.1.0");
}

TEST(OpenFromTheDesktop, OnlyASetFileOpensTheSetupWindow)
{
    EXPECT_TRUE(IsSetupFileToOpen({QStringLiteral("/d/SITE.SET"), QStringLiteral("open")}));
    EXPECT_TRUE(IsSetupFileToOpen({QStringLiteral("/d/site.set"), QStringLiteral("open")}));
    EXPECT_FALSE(IsSetupFileToOpen({QStringLiteral("/d/SITE.TL1"), QStringLiteral("open")}));
    EXPECT_FALSE(IsSetupFileToOpen({QStringLiteral("/d/SITE.SET")}));
    EXPECT_FALSE(IsSetupFileToOpen({}));
}
