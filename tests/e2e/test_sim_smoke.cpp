// The virtual logger starts, prints its pty path and answers a wake-up burst on it.

#include "e2e/support/sim_process.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using tamble::e2e::SimProcess;

// The program's end of the line, opened raw.
class Line {
public:
    explicit Line(const QString& path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        if (m_fd >= 0) {
            termios tio{};
            ::tcgetattr(m_fd, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }
    void send(const QByteArray& bytes) const { ASSERT_EQ(::write(m_fd, bytes.constData(), bytes.size()), bytes.size()); }
    // Reads until `count` bytes or a CR arrived (whichever is asked), at most 5 s.
    QByteArray read(int count, bool untilCr = false) const
    {
        QByteArray got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char buf[512];
                const ssize_t n = ::read(m_fd, buf, sizeof buf);
                if (n > 0)
                    got.append(buf, n);
            }
            if (untilCr && got.contains('\r'))
                break;
        }
        return got;
    }

private:
    int m_fd = -1;
};

TEST(SimSmoke, PrintsAPtyPathAndAnswersTheWakeUpBurstWithTheEchoByte)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "9600"})) << qPrintable(sim.errorText());
    EXPECT_TRUE(sim.ptyPath().startsWith("/dev/pts/")) << qPrintable(sim.ptyPath());

    Line line(sim.ptyPath());
    ASSERT_TRUE(line.ok());
    line.send(QByteArray(500, 'U'));
    EXPECT_EQ(line.read(1), QByteArray(1, '\x80'));

    line.send(QByteArray(1, '\x80'));
    EXPECT_EQ(line.read(3, true), QByteArray("0q\r"));

    // Status command with station address 00 and checksum 5D.
    line.send(">C005D\r");
    const QByteArray status = line.read(255, true);
    EXPECT_EQ(status.size(), 255);
    EXPECT_TRUE(status.endsWith('\r'));

    ASSERT_TRUE(sim.waitForLogLine("STATUS"));
    const QStringList wake = sim.logLines("WAKEUP");
    ASSERT_EQ(wake.size(), 1);
    EXPECT_EQ(wake[0], "WAKEUP count=500 char=55 speed=1200 protocol=normal");
    EXPECT_EQ(sim.logLines("ACK"), QStringList{"ACK 0q"});
    EXPECT_EQ(sim.logLines("STATUS"), QStringList{"STATUS @00 C"});
    sim.stop();
    EXPECT_FALSE(sim.running());
}

TEST(SimSmoke, HelpListsTheFaultAndModemOptions)
{
    QProcess p;
    p.start(tamble::e2e::BuiltProgram("tamble-sim"), {"--help"});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
    for (const char* option : {"--corrupt-every", "--silent-first", "--dead", "--reply-delay", "--modem",
                               "--modem-echo", "--modem-result", "--call", "--path-file", "--log", "--tl1",
                               "--seed", "--banks", "--wrap", "--station", "--baud", "--protocol"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

TEST(SimSmoke, BadOptionIsRefusedWithExitStatusTwo)
{
    QProcess p;
    p.start(tamble::e2e::BuiltProgram("tamble-sim"), {"--bits", "9"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
}

} // namespace
