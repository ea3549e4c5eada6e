#include "pty_link.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace tamble::sim {

namespace {

double MonotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

} // namespace

PtyLink::~PtyLink()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyLink::open(QString* error)
{
    const auto fail = [&](const char* what) {
        if (error)
            *error = QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0)
        return fail("grantpt");
    if (::unlockpt(m_master) != 0)
        return fail("unlockpt");
    char name[256] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    // Holding the slave open keeps the master from reporting hang-ups while the program
    // has the port closed; raw mode keeps the line discipline from touching any byte.
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0)
        return fail("open slave");
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    return true;
}

void PtyLink::run(SimDevice& device, bool pace, const std::atomic<bool>& stop)
{
    PacedWriter writer(pace);
    PacedReader reader(pace);
    char buffer[65536];
    bool wantOut = false;
    while (!stop.load()) {
        double now = MonotonicMs();
        const QByteArray heard = reader.takeArrived(now);
        if (!heard.isEmpty())
            device.receive(heard, static_cast<qint64>(now));
        device.tick(static_cast<qint64>(now));
        for (const OutChunk& chunk : device.output().takeDue(static_cast<qint64>(now)))
            writer.enqueue(chunk, now);
        wantOut = false;
        for (;;) {
            const QByteArray bytes = writer.takeReady(now);
            if (bytes.isEmpty())
                break;
            const ssize_t n = ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
            const qsizetype written = n < 0 ? 0 : n;
            if (written < bytes.size()) {
                writer.unwrite(bytes.mid(written));
                wantOut = true;
                break;
            }
        }

        double wait = 1000;
        if (auto wake = device.nextWake())
            wait = std::min(wait, static_cast<double>(*wake) - now);
        const double ready = writer.nextReadyMs(now);
        if (ready >= 0 && !wantOut)
            wait = std::min(wait, ready - now);
        const double arrival = reader.nextArrivalMs();
        if (arrival >= 0)
            wait = std::min(wait, arrival - now);
        // Sub-millisecond sleeps keep the wire clock exact at high speeds.
        wait = std::clamp(wait, 0.0, wantOut ? 50.0 : 1000.0);
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(wait / 1000.0);
        ts.tv_nsec = static_cast<long>(std::fmod(wait, 1000.0) * 1e6);

        pollfd pfd{m_master, static_cast<short>(POLLIN | (wantOut ? POLLOUT : 0)), 0};
        const int rc = ::ppoll(&pfd, 1, &ts, nullptr);
        if (rc < 0)
            continue; // EINTR: a signal may have asked us to stop
        if (pfd.revents & POLLIN) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                reader.arrived(QByteArray(buffer, static_cast<qsizetype>(n)), device.lineBaud(), MonotonicMs());
        } else if (pfd.revents & (POLLHUP | POLLERR)) {
            ::usleep(20000); // no reader on the other side; do not spin
        }
    }
}

} // namespace tamble::sim
