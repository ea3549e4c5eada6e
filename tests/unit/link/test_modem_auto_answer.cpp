// Auto-answer: the automatic file names, the CONNECT matcher, the cycle from
// the call to the setup sent back, and names made from a caller's description.

#include "link/auto_answer.h"
#include "link/setup_sender.h"
#include "setup/setup_file.h"
#include "virtual_host.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

TEST(AutoAnswerNames, PrefixIsTheDescriptionAfterTheFirstSemicolon)
{
    const struct { QByteArray description; const char* prefix; } cases[] = {
        {"Site; Pump 3  ", " Pump 3"},
        {"Site;Pump;3", "Pump;3"},
        {"No semicolon", "A"},
        {"Ends with;", "A"},
        {"Site;" + QByteArray(26, ' '), ""},
        {"", "A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AutoAnswerPrefix(c.description), QString::fromLatin1(c.prefix)) << c.description.constData();
}

TEST(AutoAnswerNames, FileNameHasSixDigitsAndTl1)
{
    EXPECT_EQ(AutoAnswerFileName(QStringLiteral(" Pump 3"), 42), QStringLiteral(" Pump 3000042.tl1"));
    EXPECT_EQ(AutoAnswerFileName(QStringLiteral("A"), 0), QStringLiteral("A000000.tl1"));
    EXPECT_EQ(AutoAnswerFileName(QStringLiteral("A"), 999999), QStringLiteral("A999999.tl1"));
}

TEST(AutoAnswerNames, CounterSkipsExistingFilesAndWrapsAbove999999)
{
    const QStringList existing{QStringLiteral("A000042.tl1"), QStringLiteral("A000043.tl1"),
                               QStringLiteral("A000000.tl1"), QStringLiteral("A999999.tl1")};
    auto exists = [&](const QString& n) { return existing.contains(n); };
    const struct { int counter; int next; const char* name; } cases[] = {
        {41, 44, "A000044.tl1"},
        {0, 1, "A000001.tl1"},
        {999999, 0, "A000000.tl1"},   // used even though it exists
        {999998, 0, "A000000.tl1"},   // 999999 exists: the count wraps
        {-5, 1, "A000001.tl1"},
    };
    for (const auto& c : cases) {
        int counter = c.counter;
        EXPECT_EQ(NextAutoAnswerFileName(counter, QStringLiteral("A"), exists), QString::fromLatin1(c.name));
        EXPECT_EQ(counter, c.next);
    }
}

TEST(AutoAnswerNames, DescriptionsFromACallerNeverNameAFileOutsideTheProgramDirectory)
{
    const QByteArray hostile[] = {
        "x;../../etc/passwd", "x;/etc/cron.d/job", "x;..", "x;.", "x;-rf", "x;--help", "x;a\\..\\b",
        "x;C:\\evil", QByteArray("x;a\nb\rc\x01", 9), "x;\xE9\xFF", "x;a*?<>|\"b", "x;...-x",
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = QDir(dir.path()).canonicalPath();
    for (const QByteArray& d : hostile) {
        const QString prefix = AutoAnswerPrefix(d);
        const QString name = AutoAnswerFileName(prefix, 1);
        EXPECT_FALSE(prefix.contains(QLatin1Char('/'))) << d.constData();
        EXPECT_FALSE(prefix.contains(QLatin1Char('\\'))) << d.constData();
        EXPECT_FALSE(prefix.contains(QLatin1Char(':'))) << d.constData();
        EXPECT_FALSE(prefix.startsWith(QLatin1Char('-'))) << d.constData();
        EXPECT_FALSE(prefix.startsWith(QLatin1Char('.'))) << d.constData();
        for (QChar c : prefix)
            EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7F) << d.constData();
        EXPECT_EQ(QFileInfo(QDir(home).filePath(name)).absolutePath(), home) << d.constData();
    }
    EXPECT_EQ(AutoAnswerPrefix("x;../../etc/passwd"), QStringLiteral("___.._etc_passwd"));
    EXPECT_EQ(AutoAnswerPrefix("x;-rf"), QStringLiteral("_rf"));
}

TEST(ConnectMatcher, DeliversTheConnectLineWhateverCameBefore)
{
    const QByteArray stream = QByteArray(5000, 'R') + "\r\nRING\r\nCONNECT 9600/ARQ\r\nnext";
    for (int chunk : {1, 3, 7, 100000}) {
        ConnectMatcher m;
        m.enable();
        QByteArray packet;
        int found = 0;
        for (int i = 0; i < stream.size(); i += chunk)
            if (m.feed(stream.mid(i, chunk), packet))
                ++found;
        EXPECT_EQ(found, 1) << chunk;
        EXPECT_EQ(packet, QByteArray("CONNECT 9600/ARQ\r")) << chunk;
    }
}

TEST(ConnectMatcher, DisabledMatcherAndEndlessPacketStayBounded)
{
    ConnectMatcher m;
    QByteArray packet;
    EXPECT_FALSE(m.feed("CONNECT\r", packet));
    m.enable();
    EXPECT_FALSE(m.feed("CONNECT " + QByteArray(100000, 'x'), packet));
    EXPECT_TRUE(m.feed("\r", packet));
    EXPECT_EQ(packet.size(), ConnectMatcher::kMaxPacket + 1);
    EXPECT_TRUE(packet.startsWith("CONNECT xxx"));
}

namespace {

class FakeAaHost : public AutoAnswerHost {
public:
    SerialPort& aaPort() override { return port; }
    void after(int ticks, std::function<void()> then) override
    {
        waits.push_back(ticks);
        then();
    }
    void setSecondTimerRunning(bool r) override { secondTimer = r; }
    void setResendTimerRunning(bool r) override { resendTimer = r; }
    void setAaText(const QString& t, bool visible) override { texts.push_back(visible ? t : QStringLiteral("<hidden>")); }
    bool fileExists(const QString& path) override { return QFileInfo::exists(path); }
    void saveSettings() override { ++saves; }

    VirtualHost portSide;  // owns the auto-answer port
    VirtualPort& port = portSide.vport;
    std::vector<int> waits;
    bool secondTimer = false;
    bool resendTimer = false;
    QStringList texts;
    int saves = 0;
};

struct AutoRun : FakeRun {
    QTemporaryDir dir;
    FakeAaHost aa;
    SetupRecord setup;
    SetupRecord saved;
    SetupSender sender{setup};
    AutoAnswer autoAnswer{engine(), aa, setup, saved, dir.path()};

    AutoRun()
    {
        settings.useModem = true;
        settings.network = true;
        settings.autoAnswer = true;
        settings.wireless = true;
        settings.portNumber = 3;
        engine().setTransactionHandler(TransactionKind::SendSetup, &sender);
        info.description = QByteArray("Site; Pump 3").leftJustified(31, ' ');
    }
};

} // namespace

TEST(AutoAnswerCycle, WaitsForConnectThenStartsTheStatusAfterFiveSeconds)
{
    AutoRun run;
    run.autoAnswer.setupAaComPort();
    EXPECT_TRUE(run.aa.port.isOpen());
    EXPECT_EQ(run.aa.port.number, 3);
    EXPECT_EQ(run.aa.port.writes, (QList<QByteArray>{"+++", "ATH\r"}));
    EXPECT_EQ(run.aa.waits, (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(run.aa.texts.back(), QStringLiteral("WaitForConnect"));

    run.autoAnswer.onAaBytes("RING\r\nCONN");
    EXPECT_FALSE(run.aa.secondTimer);
    run.autoAnswer.onAaBytes("ECT 9600\r\n");
    EXPECT_EQ(run.aa.texts.back(), QStringLiteral("CONNECT 9600?"));
    EXPECT_FALSE(run.aa.port.isOpen());
    EXPECT_TRUE(run.aa.secondTimer);
    EXPECT_EQ(run.state.autoAnswerCount, 0);

    for (int i = 0; i < 4; ++i)
        run.autoAnswer.onSecond();
    EXPECT_EQ(run.host.vport.opens, 0);
    run.autoAnswer.onSecond();
    EXPECT_FALSE(run.aa.secondTimer);
    EXPECT_EQ(run.state.transaction, TransactionKind::ReadStatus);
    EXPECT_TRUE(run.state.modemOnline);
    EXPECT_EQ(run.host.vport.opens, 1);
    // The caller's modem is connected already: no DTR pulse, no dialling.
    EXPECT_TRUE(run.host.vport.dtr.empty());
    EXPECT_EQ(run.state.linkState, LinkState::FastStart);
}

TEST(AutoAnswerCycle, NextFileAdvancesTheCounterAndSavesTheSettings)
{
    AutoRun run;
    run.settings.autoFileCounter = 41;
    QFile existing(QDir(run.dir.path()).filePath(QStringLiteral(" Pump 3000042.tl1")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    EXPECT_EQ(run.autoAnswer.nextAutoAnswerFile(), QDir(run.dir.path()).filePath(QStringLiteral(" Pump 3000043.tl1")));
    EXPECT_EQ(run.settings.autoFileCounter, 43);
    EXPECT_EQ(run.aa.saves, 1);
}

TEST(AutoAnswerCycle, AfterTheDownloadTheNamedSetupGoesBackAndTheLineIsLogged)
{
    AutoRun run;
    SetupRecord site = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
    site.setDescription("Pump three");
    ASSERT_TRUE(SaveSetupFile(QDir(run.dir.path()).filePath(QStringLiteral(" Pump 3.set")), site).ok);
    run.state.autoAnswerCount = 5;
    run.state.modemOnline = true;
    run.dataFile = QStringLiteral("P000042.tl1");

    run.autoAnswer.startResendTimer();
    EXPECT_TRUE(run.aa.resendTimer);
    run.autoAnswer.onResendSecond();
    EXPECT_EQ(run.host.vport.opens, 0);
    run.autoAnswer.onResendSecond();   // 2 seconds with the wireless setting
    EXPECT_FALSE(run.aa.resendTimer);
    EXPECT_EQ(run.saved.description(), QByteArray("Pump three"));
    EXPECT_EQ(run.setup.description(), QByteArray("Pump three").leftJustified(31, ' '));
    EXPECT_TRUE(run.host.messages.empty());   // no confirmations for a caller
    run.engine().onTimeout();                // fast start
    for (int i = 0; i < 4; ++i)
        run.reply("OK");
    EXPECT_EQ(run.host.logLines, QStringList{QStringLiteral("Sent P000042.tl1  0,0")});
    EXPECT_EQ(run.host.autoAnswerHangups, 1);
    EXPECT_EQ(run.state.autoAnswerCount, 0);
    EXPECT_FALSE(run.state.modemOnline);
    EXPECT_FALSE(run.host.vport.isOpen());

    run.autoAnswer.AAHangupModem();
    EXPECT_EQ(run.aa.port.writes, (QList<QByteArray>{"+++", "ATH\r"}));
    EXPECT_TRUE(run.autoAnswer.waiting());
}

TEST(AutoAnswerCycle, ResendWaitsThirtySixSecondsWithoutWireless)
{
    AutoRun run;
    run.settings.wireless = false;
    run.state.autoAnswerCount = 5;
    run.autoAnswer.startResendTimer();
    for (int i = 0; i < 35; ++i)
        run.autoAnswer.onResendSecond();
    EXPECT_TRUE(run.aa.resendTimer);
    run.autoAnswer.onResendSecond();
    EXPECT_FALSE(run.aa.resendTimer);
    EXPECT_EQ(run.host.logLines, QStringList{QStringLiteral("Unable to send setup;  Pump 3.set not found")});
}

TEST(AutoAnswerCycle, SetupNamesFromHostileDescriptionsAreNeverRead)
{
    const struct { QByteArray description; const char* line; } cases[] = {
        {"x;../secret", "Unable to send setup; ../secret.set not found"},
        {"x;/etc/passwd", "Unable to send setup; /etc/passwd.set not found"},
        {"x;-rf", "Unable to send setup; -rf.set not found"},
        {QByteArray("x;a\nb"), "Unable to send setup; a?b.set not found"},
    };
    for (const auto& c : cases) {
        AutoRun run;
        // A file the hostile name would reach if it were read.
        QDir(run.dir.path()).mkdir(QStringLiteral("sub"));
        run.state.autoAnswerCount = 5;
        run.state.modemOnline = true;
        run.info.description = c.description;
        const SetupRecord before = run.setup;
        run.autoAnswer.ResendNamedSetup();
        EXPECT_EQ(run.host.logLines, QStringList{QString::fromLatin1(c.line)});
        EXPECT_EQ(run.setup, before);
        EXPECT_EQ(run.host.autoAnswerHangups, 1);
        EXPECT_EQ(run.state.autoAnswerCount, 0);
        EXPECT_TRUE(run.host.vport.writes.isEmpty());
    }
}

TEST(AutoAnswerCycle, ACallDuringTheHangUpSequenceIsAnsweredOnceWaiting)
{
    AutoRun run;
    run.aa.port.opened = true;
    run.aa.port.input = "\r\nRING\r\n\r\nCONNECT 9600\r\n";
    run.autoAnswer.onAaReadable();            // not waiting yet: the bytes stay in the port
    EXPECT_FALSE(run.aa.port.input.isEmpty());
    run.autoAnswer.WaitForConnect();
    EXPECT_TRUE(run.aa.secondTimer);
    EXPECT_FALSE(run.autoAnswer.waiting());
}

TEST(AutoAnswerCycle, DisableClosesThePortAndStopsMatching)
{
    AutoRun run;
    run.autoAnswer.setupAaComPort();
    run.autoAnswer.disableAutoAnswer();
    EXPECT_FALSE(run.aa.port.isOpen());
    EXPECT_FALSE(run.autoAnswer.waiting());
    run.autoAnswer.onAaBytes("CONNECT 9600\r");
    EXPECT_FALSE(run.aa.secondTimer);
}
