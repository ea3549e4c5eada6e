// The unattended receive modes of the real program against the virtual logger on a pty.
#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "link/framing.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::e2e;

namespace {

struct Line {
    int baud = 9600;
    bool fast = false;
};

QByteArray Settings(const Line& line)
{
    SettingsRecord s;
    s.baud = line.baud;
    s.fastProtocol = line.fast;
    s.portNumber = 1;
    return SerializeSettings(s);
}

QStringList SimOptions(const Line& line, QStringList extra)
{
    extra << "--baud" << QString::number(line.baud) << "--protocol" << (line.fast ? "fast" : "normal");
    return extra;
}

struct Download {
    ProgramRun run;
    QString log;
    QByteArray file;
    QStringList homeFiles;
    QStringList simBlocks;
    QStringList simLog;
};

Download Receive(const Line& line, const QStringList& simOptions, const QStringList& args = {"OUT.TL1", "r"},
                 int limitMs = 120000)
{
    Download d;
    SimProcess sim;
    if (!sim.start(SimOptions(line, simOptions))) {
        ADD_FAILURE() << sim.errorText().toStdString();
        return d;
    }
    ProgramHome home;
    home.writeFile("tblog.ini", Settings(line));
    d.run = RunProgram(home, sim.ptyPath(), args, limitMs);
    d.log = home.readText("TLLOG.TXT");
    d.file = home.readFile("OUT.TL1");
    d.homeFiles = home.files();
    d.simBlocks = sim.logLines("BLOCK");
    d.simLog = sim.logLines();
    return d;
}

bool HasTemporaryFiles(const QStringList& files)
{
    for (const QString& f : files)
        if (f.startsWith("OUT.TL1") && f != "OUT.TL1")
            return true;
    return false;
}

} // namespace

struct ReceiveCase {
    const char* name;
    Line line;
    QStringList sim;
    int dataLines;  // blocks plus bank lines
    int bankLines;
};

class ReceiveToDataFile : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(ReceiveToDataFile, WritesEveryBlockAndLogsTransferComplete)
{
    const ReceiveCase c = GetParam();
    const Download d = Receive(c.line, c.sim);
    EXPECT_EQ(d.run.exitCode, 0) << d.log.toStdString() << d.run.stderrText.toStdString();
    EXPECT_TRUE(QString(d.log).contains(QStringLiteral("Transfer complete: OUT.TL1"))) << QString(d.log).toStdString();
    const QList<QByteArray> lines = DataLines(d.file);
    EXPECT_EQ(lines.size(), c.dataLines);
    int bankLines = 0;
    for (const QByteArray& l : lines) {
        if (l.startsWith('Z'))
            ++bankLines;
        else
            EXPECT_TRUE(ResponseChecksumValid(l)) << l.constData();
    }
    EXPECT_EQ(bankLines, c.bankLines);
    EXPECT_FALSE(HasTemporaryFiles(d.homeFiles));
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, ReceiveToDataFile,
    ::testing::Values(
        // 8 bit, 9600, normal protocol, paced at the baud: 512 + 10 x 96.
        ReceiveCase{"EightBitNormal9600", {9600, false}, {"--bits", "8", "--pointer", "1472"}, 10, 0},
        ReceiveCase{"TenBitFast19200", {19200, true}, {"--bits", "10", "--pointer", "1262"}, 10, 0},
        ReceiveCase{"TwelveBitFast19200", {19200, true}, {"--bits", "12", "--pointer", "1472"}, 10, 0},
        ReceiveCase{"EightBitWrapped", {19200, true}, {"--bits", "8", "--wrap", "--pointer", "1000", "--no-pace"}, 336, 0},
        ReceiveCase{"TenBitWrapped", {19200, true}, {"--bits", "10", "--wrap", "--pointer", "1262", "--no-pace"}, 430, 0},
        ReceiveCase{"TwelveBitWrapped", {19200, true}, {"--bits", "12", "--wrap", "--pointer", "992", "--no-pace"}, 336, 0},
        // Two banks, not wrapped, writing in bank B at 512 + 4 x 96: bank A, "ZA", four blocks.
        ReceiveCase{"TwoBanks", {19200, true}, {"--banks", "2", "--pointer", "896", "--no-pace"}, 341, 1},
        ReceiveCase{"FourBanksWrapped", {19200, true}, {"--banks", "4", "--wrap", "--pointer", "896", "--no-pace"}, 1347, 3},
        // Bank A full and bank B just begun (pointer 512 in bank B): bank A is still received.
        ReceiveCase{"BankBJustBegun", {19200, true}, {"--banks", "2", "--pointer", "512", "--no-pace"}, 337, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Faults that only delay a download: the data is the same as a clean download's.
struct TransientFaultCase {
    const char* name;
    const char* seed;
    const char* pointer;
    QStringList fault;
    bool moreBlockRequests;  // the logger is asked for blocks again
};

class TransientFault : public ::testing::TestWithParam<TransientFaultCase> {};

TEST_P(TransientFault, TheDataIsIdenticalToACleanDownload)
{
    const TransientFaultCase& c = GetParam();
    const Line line{19200, true};
    const QStringList base{"--seed", c.seed, "--pointer", c.pointer, "--no-pace"};
    const Download clean = Receive(line, base);
    const Download noisy = Receive(line, base + c.fault);
    EXPECT_EQ(noisy.run.exitCode, 0) << noisy.log.toStdString();
    EXPECT_EQ(DataLines(noisy.file), DataLines(clean.file));
    if (c.moreBlockRequests) {
        EXPECT_GT(noisy.simBlocks.size(), clean.simBlocks.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    ReceiveFaults, TransientFault,
    ::testing::Values(
        TransientFaultCase{"CorruptedBlocksAreRequestedAgain", "7", "2432", {"--corrupt-every", "3"}, true},
        TransientFaultCase{"ALoggerSilentForAWhileIsWaitedFor", "3", "1472", {"--silent-blocks", "6"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceiveFaults, FastProtocolResendsTheStatusCommandTwice)
{
    const Download d = Receive({19200, true}, {"--pointer", "704", "--no-pace", "--silent-first", "2"});
    EXPECT_EQ(d.run.exitCode, 0) << d.log.toStdString();
}

TEST(ReceiveFaults, ADeadLoggerEndsWithNoResponseAndNoFile)
{
    const Download d = Receive({9600, false}, {"--dead"});
    EXPECT_EQ(d.run.exitCode, 1);
    EXPECT_TRUE(d.log.contains(QStringLiteral("No response from logger; No new data file created."))) << d.log.toStdString();
    EXPECT_FALSE(d.homeFiles.contains("OUT.TL1"));
    EXPECT_FALSE(HasTemporaryFiles(d.homeFiles));
}

TEST(ReceiveFaults, ADeadLoggerOnTheFastProtocolGivesMessageC)
{
    const Download d = Receive({19200, true}, {"--dead"});
    EXPECT_EQ(d.run.exitCode, 1);
    EXPECT_TRUE(QString(d.log).contains(QStringLiteral("No response from logger (c)"))) << QString(d.log).toStdString();
    EXPECT_FALSE(d.homeFiles.contains("OUT.TL1"));
}

TEST(ReceiveFaults, NoDataEndsWithTheNoDataTextAndNoFile)
{
    const Download d = Receive({19200, true}, {"--pointer", "512", "--no-pace"});
    EXPECT_EQ(d.run.exitCode, 1);
    EXPECT_TRUE(d.log.startsWith(QStringLiteral("No data to receive;\rNo data file created. "))) << d.log.toStdString();
    EXPECT_FALSE(d.homeFiles.contains("OUT.TL1"));
    EXPECT_FALSE(HasTemporaryFiles(d.homeFiles));
}

TEST(ReceiveFaults, AVanishedPortEndsTheRunWithAClearMessage)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(SimOptions({9600, false}, {"--wrap", "--pointer", "1000"}))) << sim.errorText().toStdString();
    ProgramHome home;
    home.writeFile("tblog.ini", Settings({9600, false}));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAMBLE_HOME", home.path());
    env.insert("TAMBLE_COM1", sim.ptyPath());
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home.path());
    program.start(BuiltProgram("tamble-logger"), {"OUT.TL1", "r"});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(sim.waitForLogLine("BLOCK", 3, 30000));
    sim.stop();
    ASSERT_TRUE(program.waitForFinished(60000)) << "the program hangs after its port vanished";
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_FALSE(home.exists("OUT.TL1"));
    EXPECT_TRUE(home.readText("TLLOG.TXT").startsWith(QStringLiteral("Serial port failed: ")))
        << home.readText("TLLOG.TXT").toStdString();
    EXPECT_FALSE(HasTemporaryFiles(home.files()));
}

TEST(ReceiveFaults, AFailedDownloadKeepsAnOlderFileOfTheSameName)
{
    SimProcess sim;
    // Every block reply damaged: 50 bad lines end it at once (the 50 time-outs end the same way,
    // after 50 x 9 ticks; the unit tests cover that path on virtual time).
    ASSERT_TRUE(sim.start(SimOptions({19200, true}, {"--pointer", "2000", "--no-pace", "--corrupt-every", "1"})));
    ProgramHome home;
    home.writeFile("tblog.ini", Settings({19200, true}));
    home.writeFile("OUT.TL1", "older download\r\n");
    const ProgramRun run = RunProgram(home, sim.ptyPath(), {"OUT.TL1", "r"}, 120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(home.readText("TLLOG.TXT").startsWith(
        QStringLiteral("Transfer aborted; Excessive checksum errors; No data file created ")))
        << home.readText("TLLOG.TXT").toStdString();
    EXPECT_TRUE(sim.waitForLogLine("BLOCK", 50, 5000));
    EXPECT_EQ(sim.logLines("BLOCK").size(), 50);
    EXPECT_FALSE(HasTemporaryFiles(home.files()));
    EXPECT_EQ(home.readFile("OUT.TL1"), QByteArray("older download\r\n"));
}

struct PortCase {
    const char* name;
    bool environment;  // TAMBLE_COM3 names the device
    bool portsIni;     // "COM3=" in ports.ini names it (a missing device when the environment wins)
};

class ReceivePortChoice : public ::testing::TestWithParam<PortCase> {};

TEST_P(ReceivePortChoice, ComThreeIsTheDeviceOfTheEnvironmentElsePortsIni)
{
    const PortCase c = GetParam();
    SimProcess sim;
    ASSERT_TRUE(sim.start(SimOptions({19200, true}, {"--pointer", "704", "--no-pace"})));
    ProgramHome home;
    SettingsRecord s;
    s.baud = 19200;
    s.fastProtocol = true;
    s.portNumber = 3;
    home.writeFile("tblog.ini", SerializeSettings(s));
    if (c.portsIni)
        home.writeFile("ports.ini", (QStringLiteral("COM1=/dev/null\nCOM3=") +
                                     (c.environment ? QStringLiteral("/nonexistent/tty") : sim.ptyPath()) + "\n")
                                        .toLocal8Bit());
    QStringList env;
    if (c.environment)
        env << QStringLiteral("TAMBLE_COM3=") + sim.ptyPath();
    const ProgramRun run = RunProgram(home, QString(), {"OUT.TL1", "r"}, 60000, env);
    EXPECT_EQ(run.exitCode, 0) << home.readText("TLLOG.TXT").toStdString();
    EXPECT_EQ(DataLines(home.readFile("OUT.TL1")).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Ports, ReceivePortChoice,
                         ::testing::Values(PortCase{"Environment", true, false},
                                           PortCase{"EnvironmentBeforePortsIni", true, true},
                                           PortCase{"PortsIni", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NetworkCase {
    char revision;
    QString addressInLog;
};

class ReceiveOnNetwork : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(ReceiveOnNetwork, StationAddressGoesOnlyToRevisionSAndLater)
{
    const NetworkCase c = GetParam();
    // Normal protocol: the handshake tells the revision before the first command.
    const Download d = Receive({9600, false},
                               {"--revision", QString(QChar(c.revision)), "--station", "5", "--pointer", "704",
                                "--no-pace"},
                               {"OUT.TL1", "r", "5"});
    EXPECT_EQ(d.run.exitCode, 0) << d.log.toStdString();
    ASSERT_FALSE(d.simBlocks.isEmpty());
    for (const QString& l : d.simBlocks)
        EXPECT_TRUE(l.contains(c.addressInLog)) << l.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Revisions, ReceiveOnNetwork,
                         ::testing::Values(NetworkCase{'R', QStringLiteral(" @-- ")},
                                           NetworkCase{'q', QStringLiteral(" @05 ")}));

TEST(ReceiveCsv, AppendsOneLineOfCurrentReadings)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(SimOptions({19200, true}, {"--pointer", "704", "--no-pace", "--channels", "134"})));
    ProgramHome home;
    home.writeFile("tblog.ini", Settings({19200, true}));
    for (int i = 0; i < 2; ++i) {
        const ProgramRun run = RunProgram(home, sim.ptyPath(), {"OUT.CSV", "r"}, 60000);
        EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    }
    EXPECT_TRUE(QString(home.readText("TLLOG.TXT")).contains(QStringLiteral("Data written to OUT.CSV"))) << QString(home.readText("TLLOG.TXT")).toStdString();
    const QStringList lines = home.readText("OUT.CSV").split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 2);
    // The date and time, then one value per channel that is on (1, 3 and 4), never a data file.
    for (const QString& l : lines) {
        // The list separator is ';' where the decimal point is a comma.
        EXPECT_TRUE(l.count(QLatin1Char(',')) == 3 || l.count(QLatin1Char(';')) == 3) << l.toStdString();
        EXPECT_TRUE(!l.isEmpty() && l[0].isDigit()) << l.toStdString();
    }
    EXPECT_FALSE(home.exists("OUT.TL1"));
}

TEST(HangUp, RunsTheSequenceOnAPtyAndLogsModemOnHook)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--modem", "--no-pace"}));
    ProgramHome home;
    home.writeFile("tblog.ini", Settings({9600, false}));
    const ProgramRun run = RunProgram(home, sim.ptyPath(), {"X.TL1", "h"}, 60000);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(QString(home.readText("TLLOG.TXT")).contains(QStringLiteral("session finished, modem on hook"))) << QString(home.readText("TLLOG.TXT")).toStdString();
    EXPECT_TRUE(sim.waitForLogLine("HANGUP", 1, 5000)) << sim.logLines().join('\n').toStdString();
}

TEST(ReceiveThroughModem, DialsTheNumberOfParameter4AndDownloads)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--modem", "--pointer", "800", "--no-pace", "--baud", "9600", "--protocol", "normal"}));
    ProgramHome home;
    SettingsRecord s;
    s.baud = 9600;
    s.fastProtocol = false;
    s.useModem = true;
    s.network = true;
    s.localModemInit = QStringLiteral("ATZ");
    home.writeFile("tblog.ini", SerializeSettings(s));
    const ProgramRun run = RunProgram(home, sim.ptyPath(), {"OUT.TL1", "r", "0", "5551234567"}, 60000);
    EXPECT_EQ(run.exitCode, 0) << home.readText("TLLOG.TXT").toStdString();
    EXPECT_TRUE(home.readText("TLLOG.TXT").contains(QStringLiteral("Transfer complete: OUT.TL1")));
    const QStringList dials = sim.logLines("DIAL");
    ASSERT_EQ(dials.size(), 1);
    EXPECT_EQ(dials[0], QStringLiteral("DIAL ATDT 5551234567"));
    EXPECT_EQ(DataLines(home.readFile("OUT.TL1")).size(), 3);
}
