// Downloading a logger's memory: block order with wrap and banks, bank lines, retry limits, abort,
// the "No data" cases, the finished file and what is left on disk after a failure.
#include "virtual_host.h"

#include <QFile>
#include "support/data_lines.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

using tamble::test::DataLines;

namespace {

QByteArray Block(char bank, int address) { return QByteArray("D") + bank + HexWord(static_cast<std::uint16_t>(address)); }

struct Receive {
    VirtualLink link;
    explicit Receive(const QByteArray& status, int step = 96)
    {
        link.records.mode.receive = true;
        link.logger.status = status;
        link.logger.blockStep = step;
    }
    void run()
    {
        link.start(TransactionKind::ReceiveData);
        link.host.run();
    }
};

} // namespace

TEST(DownloadOrder, TenBitLoggerWithPointer587IsReadInOneBlock)
{
    Receive r(StatusRecord{}.bits(10).pointer(587).build(), 75);
    r.run();
    EXPECT_EQ(r.link.logger.blockRequests, QList<QByteArray>{"DA0200"});
    EXPECT_EQ(r.link.host.fatalCode, 0);
    EXPECT_EQ(r.link.host.fatalLine, QStringLiteral("Transfer complete: ") + r.link.records.dataFileName);
    const QList<QByteArray> lines = DataLines(r.link.fileBytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], BlockLine('A', 512, 75));
}

TEST(DownloadOrder, UnwrappedEightBitLoggerReadsFrom512UpToThePointer)
{
    Receive r(StatusRecord{}.pointer(512 + 96 * 3 + 10).build());
    r.run();
    EXPECT_EQ(r.link.logger.blockRequests, (QList<QByteArray>{"DA0200", "DA0260", "DA02C0", "DA0320"}));
    EXPECT_EQ(DataLines(r.link.fileBytes()).size(), 4);
}

TEST(DownloadOrder, WrappedEightBitLoggerStartsAtThePointerAndWrapsTo512)
{
    Receive r(StatusRecord{}.flags(0x09).pointer(1000).build());
    r.run();
    const QList<QByteArray>& req = r.link.logger.blockRequests;
    ASSERT_EQ(req.size(), 336);
    EXPECT_EQ(req[0], Block('A', 1000));
    // 1000 + 329 x 96 = 32584; the next address 32680, then 32776 - 32256 = 520.
    EXPECT_EQ(req[330], Block('A', 32680));
    EXPECT_EQ(req[331], Block('A', 520));
    EXPECT_EQ(req[335], Block('A', 904));
    EXPECT_EQ(r.link.host.fatalCode, 0);
}

TEST(DownloadOrder, WrappedTenBitLoggerReducesBy32250)
{
    Receive r(StatusRecord{}.bits(10).flags(0x09).pointer(587).build(), 75);
    r.run();
    const QList<QByteArray>& req = r.link.logger.blockRequests;
    ASSERT_EQ(req.size(), 430);
    EXPECT_EQ(req[0], Block('A', 587));
    EXPECT_EQ(req[429], Block('A', 512));
}

TEST(DownloadBanks, UnwrappedFourBankLoggerWritesABankLineAtTheTopOfEachBank)
{
    Receive r(StatusRecord{}.model('6').bank('B').pointer(512 + 96 * 2).build());
    r.run();
    const QList<QByteArray>& req = r.link.logger.blockRequests;
    ASSERT_EQ(req.size(), 338);
    EXPECT_EQ(req[335], Block('A', 32672));
    EXPECT_EQ(req[336], Block('B', 512));
    EXPECT_EQ(req[337], Block('B', 608));
    const QList<QByteArray> lines = DataLines(r.link.fileBytes());
    ASSERT_EQ(lines.size(), 339);
    EXPECT_EQ(lines[336], QByteArray("ZA"));
    EXPECT_EQ(lines[337], BlockLine('B', 512, 96));
}

TEST(DownloadBanks, WrappedFourBankLoggerReadsAllBanksFromTheLastOneRound)
{
    Receive r(StatusRecord{}.model('6').flags(0x09).bank('C').pointer(800).build());
    r.run();
    const QList<QByteArray>& req = r.link.logger.blockRequests;
    ASSERT_EQ(req.size(), 1344);
    EXPECT_EQ(req[0], Block('C', 800));
    const QList<QByteArray> lines = DataLines(r.link.fileBytes());
    // Every time the address comes round to the pointer in a bank other than the last: "Z" + bank.
    QList<QByteArray> bankLines;
    for (const QByteArray& l : lines)
        if (l.startsWith('Z'))
            bankLines << l;
    EXPECT_EQ(bankLines, (QList<QByteArray>{"ZD", "ZA", "ZB"}));
    EXPECT_EQ(req.last().left(2), QByteArray("DC"));
}

TEST(DownloadBanks, FourBankLoggerAtTheStartOfBankBStillHasBankAToRead)
{
    // Bank A full, bank B just begun: the pointer reads 512 in bank B. Bank A must be read.
    Receive r(StatusRecord{}.model('6').bank('B').pointer(512).build());
    r.run();
    EXPECT_EQ(r.link.host.fatalCode, 0) << r.link.host.fatalLine.toStdString();
    EXPECT_EQ(r.link.logger.blockRequests.size(), 336);
    const QList<QByteArray> lines = DataLines(r.link.fileBytes());
    ASSERT_EQ(lines.size(), 337);
    EXPECT_EQ(lines.last(), QByteArray("ZA"));
}

struct NoDataCase {
    const char* name;
    QByteArray status;
    QString text;
};

class NoData : public ::testing::TestWithParam<NoDataCase> {};

TEST_P(NoData, EndsUnattendedReceiveWithTheTextAndNoFile)
{
    const NoDataCase c = GetParam();
    Receive r(c.status);
    r.run();
    EXPECT_EQ(r.link.host.fatalLine, c.text);
    EXPECT_EQ(r.link.host.fatalCode, 1);
    EXPECT_TRUE(r.link.logger.blockRequests.isEmpty());
    EXPECT_TRUE(r.link.dirEntries().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoData,
    ::testing::Values(
        NoDataCase{"empty", StatusRecord{}.pointer(512).build(), "No data to receive;\rNo data file created."},
        NoDataCase{"fourBanksInA", StatusRecord{}.model('6').bank('A').pointer(512).build(),
                   "No data to receive;\rNo data file created."},
        NoDataCase{"preset", StatusRecord{}.flags(0x04).pointer(700).build(),
                   "No data to receive; logger waiting on pre-set start time.\rNo data file created."},
        NoDataCase{"probesOld", StatusRecord{}.revision('n').flags(0x10).pointer(700).build(),
                   "No data to receive; waiting for all temp. probes to be attached.\rNo data file created."},
        NoDataCase{"probesNew", StatusRecord{}.revision('o').flags(0x10).pointer(700).build(),
                   "No data to receive; waiting for ch1 temp. probe to be attached.\rNo data file created."},
        NoDataCase{"allOff", StatusRecord{}.channels(0).pointer(700).build(),
                   "No data to receive; All channels are Off;\rNo data file created."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoData, InteractiveShowsInformationAndEndsTheSession)
{
    VirtualLink link;
    link.logger.status = StatusRecord{}.pointer(512).build();
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].kind, DialogKind::Information);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No data to receive;\rNo data file created."));
    EXPECT_FALSE(link.host.vport.opened);
}

TEST(DownloadHeader, IsBuiltFromTheStatusRecord)
{
    Receive r(StatusRecord{}.bits(10).model('5').pointer(587).phase(3).rate('D').description("Cold room").build(), 75);
    r.run();
    const QList<QByteArray> lines = r.link.fileBytes().split('\n');
    ASSERT_GE(lines.size(), 18);
    // Reference code, four type codes, revision, model, input types, resolution, battery, blank, bank.
    // Battery byte 0x80 of the current readings: 14.1 volts pushes the bank letter one place right.
    EXPECT_EQ(lines[0], QByteArray("CCCCCq5@@B14.1 A\r"));
    EXPECT_EQ(lines[3], QByteArray("Cold room                      \r"));
    EXPECT_EQ(lines[5], QByteArray("Label 1                 \r"));
    EXPECT_EQ(lines[9], QByteArray("128\r"));   // status byte 1: the 10-bit flag
    EXPECT_EQ(lines[10], QByteArray("68\r"));   // 'D'
    EXPECT_EQ(lines[11], QByteArray("15\r"));
    EXPECT_EQ(lines[12], QByteArray("587 3\r"));
    EXPECT_EQ(lines[13], QByteArray("C           \r"));
}

TEST(DownloadRetries, ACorruptedBlockIsRequestedAgainAtTheSameAddressAndTheFileIsIdentical)
{
    Receive clean(StatusRecord{}.pointer(512 + 96 * 10).build());
    clean.run();
    Receive noisy(StatusRecord{}.pointer(512 + 96 * 10).build());
    noisy.link.logger.corruptEvery = 3;
    noisy.run();
    EXPECT_EQ(noisy.link.host.fatalCode, 0);
    EXPECT_EQ(DataLines(noisy.link.fileBytes()), DataLines(clean.link.fileBytes()));
    const QList<QByteArray>& req = noisy.link.logger.blockRequests;
    ASSERT_GE(req.size(), 2);
    // Blocks 608, 896 and 1184 are corrupted once each and requested again at the same address.
    EXPECT_EQ(req[0], Block('A', 512));
    EXPECT_EQ(req[1], Block('A', 608));
    EXPECT_EQ(req[2], Block('A', 608));
    EXPECT_EQ(req[3], Block('A', 704));
    EXPECT_EQ(noisy.link.records.session.checksumErrorCount, 3);
}

TEST(DownloadRetries, FiftyBadLinesAbortWithoutAFile)
{
    Receive r(StatusRecord{}.pointer(2000).build());
    r.link.logger.corruptAlways = true;
    r.run();
    EXPECT_EQ(r.link.logger.blockRequests.size(), 50);
    EXPECT_EQ(r.link.host.fatalLine, QStringLiteral("Transfer aborted; Excessive checksum errors; No data file created"));
    EXPECT_EQ(r.link.host.fatalCode, 1);
    EXPECT_TRUE(r.link.dirEntries().isEmpty());
}

TEST(DownloadRetries, TwelveBitLineShorterThan160IsRequestedAgain)
{
    VirtualLink link;
    link.records.mode.receive = true;
    link.logger.status = StatusRecord{}.bits(12).pointer(608).build();
    link.logger.blockStep = 79;  // 158 digits + checksum = 160 characters: accepted
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    EXPECT_EQ(link.host.fatalCode, 0);

    VirtualLink shortLines;
    shortLines.records.mode.receive = true;
    shortLines.logger.status = StatusRecord{}.bits(12).pointer(608).build();
    shortLines.logger.blockStep = 78;  // 158 characters with a valid checksum: too short
    shortLines.start(TransactionKind::ReceiveData);
    shortLines.host.run();
    EXPECT_EQ(shortLines.logger.blockRequests.size(), 50);
    EXPECT_EQ(shortLines.host.fatalCode, 1);
}

TEST(DownloadRetries, FiftyTimeOutsAbortAndLeaveNoFile)
{
    Receive r(StatusRecord{}.pointer(2000).build());
    r.link.logger.silentBlocks = true;
    r.run();
    EXPECT_EQ(r.link.logger.blockRequests.size(), 50);
    EXPECT_EQ(r.link.host.fatalLine,
              QStringLiteral("Transfer aborted; No response from logger; No data file created"));
    EXPECT_EQ(r.link.records.session.timeoutCount, 50);
    EXPECT_TRUE(r.link.dirEntries().isEmpty());
}

TEST(DownloadRetries, AFailedDownloadKeepsAnOlderFileOfTheSameName)
{
    Receive r(StatusRecord{}.pointer(2000).build());
    {
        QFile old(r.link.records.dataFileName);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older download\r\n");
    }
    r.link.logger.silentBlocks = true;
    r.run();
    EXPECT_EQ(r.link.fileBytes(), QByteArray("older download\r\n"));
    EXPECT_EQ(r.link.dirEntries(), QStringList{QStringLiteral("OUT.TL1")});
}

TEST(DownloadAbort, TheNextResponseEndsTheDownloadAndNoFileRemains)
{
    VirtualLink link;
    link.logger.status = StatusRecord{}.pointer(5000).build();
    link.logger.onCommand = [&](const QByteArray& body) {
        if (body == "DA0260")
            link.engine.onAbort();
    };
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    EXPECT_EQ(link.logger.blockRequests.size(), 2);
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("Transfer aborted; No data file created"));
    EXPECT_FALSE(link.records.session.abortRequested);
    EXPECT_TRUE(link.dirEntries().isEmpty());
}

TEST(DownloadFinish, InteractiveSuccessOffersTheGraphWithTheElapsedTime)
{
    VirtualLink link;
    link.logger.status = StatusRecord{}.pointer(608).build();
    link.host.answers.push_back(DialogAnswer::Yes);
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_TRUE(link.host.messages[0].message.startsWith(QStringLiteral("Transfer complete: OUT.TL1, Elapsed time: ")));
    EXPECT_TRUE(link.host.messages[0].message.endsWith(QStringLiteral(" seconds\r\rGraph Data?")));
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::YesNo);
    EXPECT_EQ(link.host.graphOffers, 1);
    EXPECT_TRUE(link.fileExists());
    EXPECT_EQ(link.host.completedFiles.size(), 1);   // told once, under its final name
}

TEST(DownloadFinish, AutoExportWritesTheCsvNameOfTheDataFile)
{
    Receive r(StatusRecord{}.pointer(608).build());
    r.link.records.settings.autoExport = true;
    r.run();
    EXPECT_EQ(r.link.host.exports, 1);
    EXPECT_EQ(r.link.host.exportedCsv, QStringLiteral("OUT.csv"));
}

TEST(DownloadFinish, DialledInLoggerLogsTheFileAndTheErrorCounts)
{
    VirtualLink link;
    link.records.session.autoAnswerCount = 5;
    link.records.session.modemOnline = true;
    link.logger.status = StatusRecord{}.pointer(512 + 96 * 4).build();
    link.logger.corruptEvery = 2;
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    ASSERT_EQ(link.host.logLines.size(), 1);
    EXPECT_EQ(link.host.logLines[0], QStringLiteral("Rec. ") + link.records.dataFileName + QStringLiteral("    2,0"));
    EXPECT_EQ(link.host.resendTimerStarts, 1);
}

TEST(DownloadFinish, EveryDialledInCallDownloadsTheWholeMemoryWhateverEarlierCallsRead)
{
    // Each call's session begins with the status, not the download; blocks counted in the calls
    // before (here up to the memory's whole block count) must not cut this download short.
    for (const int leftByEarlierCalls : {0, 330, 336, 5000}) {
        VirtualLink link;
        link.records.session.autoAnswerCount = 5;
        link.records.session.modemOnline = true;
        link.records.session.blockNumber = leftByEarlierCalls;
        link.host.autoFile = link.records.dataFileName;
        link.logger.status = StatusRecord{}.pointer(512 + 96 * 20).build();
        link.start(TransactionKind::ReadStatus);
        link.host.run();
        EXPECT_EQ(link.logger.blockRequests.size(), 20) << leftByEarlierCalls;
        EXPECT_EQ(DataLines(link.fileBytes()).size(), 20) << leftByEarlierCalls;
        ASSERT_FALSE(link.host.logLines.isEmpty()) << leftByEarlierCalls;
        EXPECT_TRUE(link.host.logLines[0].startsWith(QStringLiteral("Rec. "))) << leftByEarlierCalls;
    }
}

// ---------------------------------------------------------------- delivery

class Delivery : public ::testing::TestWithParam<bool> {};

TEST_P(Delivery, ByteWiseAndOneChunkGiveTheSameFile)
{
    Receive chunk(StatusRecord{}.bits(10).flags(0x09).pointer(1262).build(), 75);
    chunk.link.logger.corruptEvery = 7;
    chunk.run();
    Receive bytes(StatusRecord{}.bits(10).flags(0x09).pointer(1262).build(), 75);
    bytes.link.logger.corruptEvery = 7;
    bytes.link.host.byteWise = true;
    bytes.link.host.modelOutputDrain = GetParam();
    bytes.run();
    EXPECT_EQ(bytes.link.host.fatalCode, 0);
    EXPECT_EQ(DataLines(bytes.link.fileBytes()), DataLines(chunk.link.fileBytes()));
    EXPECT_EQ(bytes.link.logger.blockRequests, chunk.link.logger.blockRequests);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutOutputQueue, Delivery, ::testing::Bool());

// A logger that answers before the command has left the port: the reply sits in the port
// until the output queue drains; no further byte arrives to prompt a read.
struct DrainCase {
    const char* name;
    bool drainEventMissing;
    int fatalCode;
};

class QueuedOutput : public ::testing::TestWithParam<DrainCase> {};

TEST_P(QueuedOutput, RepliesHeldInThePortAreReadOnlyWhenTheDrainEventComes)
{
    const DrainCase& c = GetParam();
    Receive r(StatusRecord{}.pointer(512 + 96 * 5).build());
    r.link.records.settings.fastProtocol = true;
    r.link.records.settings.baud = 1200;
    r.link.logger.protocol = ScriptedLogger::Protocol::Fast;
    r.link.logger.replyDelayUs = 1;
    r.link.host.modelOutputDrain = true;
    r.link.host.drainEventMissing = c.drainEventMissing;
    r.run();
    EXPECT_EQ(r.link.host.fatalCode, c.fatalCode) << r.link.host.fatalLine.toStdString();
    if (c.fatalCode == 0) {
        EXPECT_EQ(r.link.records.session.timeoutCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Delivery, QueuedOutput,
    ::testing::Values(DrainCase{"BytesThatArriveWhileOutputIsQueuedAreReadWhenItDrains", false, 0},
                      DrainCase{"WithoutTheDrainEventTheSameRepliesTimeOut", true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceiveBuffer, AnEndlessLineWithoutCarriageReturnEndsTheSessionWithAClearFailure)
{
    VirtualLink link;
    link.records.mode.receive = true;
    link.logger.status = QByteArray(100000, 'x');  // the CR comes far too late
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    EXPECT_EQ(link.host.fatalCode, 1);
    EXPECT_EQ(link.host.fatalLine, QStringLiteral("Invalid response from logger; line too long; comm. aborted"));
    EXPECT_LE(link.records.session.rxBuffer.size(), SessionEngine::kMaxLineBytes);
}
