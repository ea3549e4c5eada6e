// Dialling through the local modem on virtual time: init string, dial command,
// echo discarding, the result lines, the time-outs and hanging up.

#include "directory/directory_list_rules.h"
#include "link/modem.h"
#include "link/setup_sender.h"
#include "virtual_host.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

struct ModemRun : FakeRun {
    ModemDialler dialler;
    SetupRecord setup = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
    SetupSender sender{setup};

    ModemRun()
    {
        settings.useModem = true;
        settings.network = true;
        settings.localModemInit = QStringLiteral("ATZ");
        settings.phoneNumber = QStringLiteral("5551234");
        dialler.install(engine());
        engine().setTransactionHandler(TransactionKind::SendSetup, &sender);
    }
    void startStatus()
    {
        state.transaction = TransactionKind::ReadStatus;
        engine().StartSession();
    }
    void modem(const QByteArray& bytes) { engine().onBytes(bytes); }
    QByteArray lastWrite() const { return host.vport.writes.isEmpty() ? QByteArray() : host.vport.writes.back(); }
};

} // namespace

TEST(ModemDialling, InitThenDialThenConnectedKeepsTheLineForTheWakeUp)
{
    ModemRun run;
    run.startStatus();
    // DTR pulse before the init string.
    EXPECT_EQ(run.host.vport.dtr, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(run.lastWrite(), QByteArray("ATZ\r"));
    EXPECT_EQ(run.host.armed, 370);
    EXPECT_EQ(run.state.linkState, LinkState::ModemInit);
    EXPECT_EQ(run.host.statusTexts.back(), QStringLiteral("Setup modem: ATZ"));

    run.modem("ATZ\r\r\nOK\r\n");
    EXPECT_EQ(run.lastWrite(), QByteArray("ATDT 5551234\r"));
    EXPECT_EQ(run.host.statusTexts.back(), QStringLiteral("Calling: ATDT 5551234"));
    EXPECT_EQ(run.host.armed, 1820);
    EXPECT_EQ(run.state.lastTimeout, 1820);
    EXPECT_EQ(run.state.linkState, LinkState::Dialling);

    // The echo of the dial command is discarded; the result line is judged.
    run.modem("ATDT 5551234\r\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(run.state.modemOnline);
    EXPECT_EQ(run.state.linkState, LinkState::Connected);
    EXPECT_EQ(run.host.armed, 36);
    EXPECT_EQ(run.host.statusTexts.back(), QStringLiteral("CONNECT 9600"));

    // Connected ignores arrivals; its time-out starts the wake-up on the open line.
    run.modem("noise\r");
    EXPECT_EQ(run.state.linkState, LinkState::Connected);
    run.engine().onTimeout();
    EXPECT_EQ(run.host.vport.opens, 1);
    EXPECT_EQ(run.state.linkState, LinkState::FastStart);
}

TEST(ModemDialling, WirelessDialsWithoutTone)
{
    ModemRun run;
    run.settings.wireless = true;
    run.startStatus();
    run.modem("OK\r");
    EXPECT_EQ(run.lastWrite(), QByteArray("ATD 5551234\r"));
}

TEST(ModemDialling, ResultLinesEndTheSessionWithTheirText)
{
    const struct { QByteArray reply; const char* text; DialogKind kind; } cases[] = {
        {"BUSY\r", "Line is busy", DialogKind::Information},
        {"\r\nNO CARRIER\r\n", "NO CARRIER", DialogKind::Warning},
        {"ATDT 5551234\r\r\nNO DIALTONE\r\n", "NO DIALTONE", DialogKind::Warning},
        {"ERR\x01OR\r", "ERR?OR", DialogKind::Warning},
    };
    for (const auto& c : cases) {
        ModemRun run;
        run.startStatus();
        run.modem("OK\r");
        run.modem(c.reply);
        ASSERT_EQ(run.host.messages.size(), 1u) << c.text;
        EXPECT_EQ(run.host.messages[0].message, QString::fromLatin1(c.text));
        EXPECT_EQ(run.host.messages[0].kind, c.kind);
        EXPECT_FALSE(run.state.modemOnline);
        EXPECT_FALSE(run.host.vport.isOpen());
        EXPECT_EQ(run.state.transaction, TransactionKind::None);
    }
}

TEST(ModemDialling, UnattendedRunEndsWithTheResultLine)
{
    ModemRun run;
    run.mode.receive = true;
    run.startStatus();
    run.modem("OK\r");
    run.modem("NO CARRIER\r");
    EXPECT_EQ(run.host.fatalLines, QStringList{QStringLiteral("NO CARRIER")});
    EXPECT_TRUE(run.host.messages.empty());
}

TEST(ModemDialling, SilentOrWrongModemTimesOut)
{
    const struct { QByteArray reply; bool dialled; const char* text; } cases[] = {
        {"", false, "No response from modem, comm. aborted"},
        {"ERROR\r", false, "Modem response: ERROR; comm. aborted"},
        {"OK\r", true, "No response from modem, comm. aborted"},
        {"OK\rRING", true, "Modem response: RING; comm. aborted"},
    };
    for (const auto& c : cases) {
        ModemRun run;
        run.startStatus();
        run.modem(c.reply);
        EXPECT_EQ(run.state.linkState, c.dialled ? LinkState::Dialling : LinkState::ModemInit);
        run.engine().onTimeout();
        ASSERT_EQ(run.host.messages.size(), 1u) << c.text;
        EXPECT_EQ(run.host.messages[0].message, QString::fromLatin1(c.text));
        EXPECT_EQ(run.host.messages[0].kind, DialogKind::Warning);
        EXPECT_FALSE(run.host.vport.isOpen());
    }
}

TEST(ModemDialling, ResultLinesOfAnyContentAndLengthNeverFault)
{
    for (int size : {0, 1, 2, 99, 100, 101, 4095, 4096, 5000}) {
        ModemRun run;
        run.startStatus();
        run.modem("OK\r");
        QByteArray junk(size, '\0');
        for (int i = 0; i < size; ++i)
            junk[i] = static_cast<char>((i * 37 + 11) % 256 == 13 ? 14 : (i * 37 + 11) % 256);
        run.modem(junk + '\r');
        for (const Outcome& o : run.host.messages)
            EXPECT_LE(o.message.size(), 120) << size;
        for (const QChar ch : run.host.messages.empty() ? QString() : run.host.messages[0].message)
            EXPECT_GE(ch.unicode(), 0x20);
    }
}

TEST(ModemDialling, LongestPhoneNumberIsDialledAndAControlCharacterIsRefused)
{
    ModemRun run;
    run.settings.phoneNumber = QString(254, QLatin1Char('7'));
    run.startStatus();
    run.modem("OK\r");
    EXPECT_EQ(run.lastWrite(), QByteArray("ATDT ") + QByteArray(254, '7') + '\r');

    ModemRun bad;
    bad.settings.phoneNumber = QStringLiteral("555\rATH");
    bad.startStatus();
    bad.modem("OK\r");
    EXPECT_EQ(bad.lastWrite(), QByteArray("ATZ\r"));
    ASSERT_EQ(bad.host.messages.size(), 1u);
    EXPECT_EQ(bad.host.messages[0].message, QStringLiteral("Phone number holds characters a modem cannot dial; comm. aborted"));
}

TEST(ModemDialling, ConnectionStaysOpenBetweenSessionsUntilHangUp)
{
    ModemRun run;
    run.startStatus();
    run.modem("OK\r");
    run.modem("CONNECT 9600\r");
    run.engine().onTimeout();     // wake-up on the line
    run.engine().EndSession();    // whatever the transaction did
    EXPECT_TRUE(run.host.vport.isOpen());
    EXPECT_TRUE(run.state.triggerHeld);

    run.startStatus();            // the next session reuses the line: no DTR pulse, no dialling
    EXPECT_EQ(run.host.vport.opens, 1);
    EXPECT_EQ(run.host.vport.dtr.size(), 3u);
    EXPECT_EQ(run.state.linkState, LinkState::FastStart);
    run.engine().EndSession();

    run.host.waits.clear();
    HangupModem(run.host, run.state);
    EXPECT_EQ(run.host.vport.dtr, (std::vector<bool>{true, false, true, true, false, true}));
    EXPECT_EQ(run.host.waits, (std::vector<int>{4, 9, 9}));
    EXPECT_FALSE(run.host.vport.isOpen());
    EXPECT_FALSE(run.state.modemOnline);
    EXPECT_FALSE(run.state.triggerHeld);
    EXPECT_EQ(run.host.releases, 1);
}

TEST(ModemDialling, HangUpWithoutALineOnlyClearsTheRetryCount)
{
    ModemRun run;
    run.state.retryCount = 4;
    HangupModem(run.host, run.state);
    EXPECT_EQ(run.state.retryCount, 0);
    EXPECT_TRUE(run.host.vport.dtr.empty());
    EXPECT_EQ(run.host.vport.closes, 0);
}

TEST(ModemDialling, SetupOverAModemWaitsLongerForEachAnswer)
{
    ModemRun run;
    run.mode.sendSetup = true;
    run.state.transaction = TransactionKind::SendSetup;
    CheckAndSendSetup(run.engine(), run.setup);
    run.modem("OK\r");
    run.modem("CONNECT 9600\r");
    run.engine().onTimeout();  // Connected: wake-up
    run.engine().onTimeout();  // fast start: part 1
    ASSERT_EQ(run.host.vport.frames().size(), 1);
    EXPECT_EQ(run.host.armed, 36);
}

TEST(PhoneList, EntryNumbersCountTheSortedNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Phone.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Index]\nzeta=#\nAlpha=#\nbeta=#\n[Defaults]\n_Entries=3\n"
            "[zeta]\nNumber=999\n[Alpha]\nNumber=111\n[beta]\nNumber=222\n");
    f.close();
    EXPECT_EQ(PhoneListNumber(path, 0).value_or(QString()), QStringLiteral("111"));
    EXPECT_EQ(PhoneListNumber(path, 1).value_or(QString()), QStringLiteral("222"));
    EXPECT_EQ(PhoneListNumber(path, 2).value_or(QString()), QStringLiteral("999"));
    EXPECT_FALSE(PhoneListNumber(path, 3).has_value());
    EXPECT_FALSE(PhoneListNumber(path, -1).has_value());
    EXPECT_FALSE(PhoneListNumber(QDir(dir.path()).filePath(QStringLiteral("none.ini")), 0).has_value());
}
