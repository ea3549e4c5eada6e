#pragma once
// Drives a virtual-logger device on virtual time: bytes in, time passes, bytes out.

#include "logger_sim.h"
#include "modem_front.h"
#include "sim_config.h"

#include <QByteArray>
#include <QDateTime>
#include <memory>
#include <vector>

namespace tamble::sim::testing {

// A frame as the program sends it: ">" + body + checksum + CR.
inline QByteArray Frame(const QByteArray& bodyWithStation)
{
    unsigned sum = 0;
    for (char c : bodyWithStation)
        sum += static_cast<unsigned char>(c);
    const unsigned cs = (256 - (sum & 0xFF)) & 0xFF;
    return ">" + bodyWithStation + QByteArray::number(cs, 16).toUpper().rightJustified(2, '0') + "\r";
}

inline bool ResponseChecksumValid(const QByteArray& line)
{
    if (line.size() < 2)
        return false;
    unsigned sum = 0;
    for (qsizetype i = 0; i < line.size() - 2; ++i)
        sum += static_cast<unsigned char>(line[i]);
    bool ok = false;
    const unsigned v = line.right(2).toUInt(&ok, 16);
    return ok && line.right(2) == line.right(2).toUpper() && ((sum + v) & 0xFF) == 0;
}

inline QDateTime FixedClock()
{
    return QDateTime(QDate(2024, 3, 15), QTime(10, 30, 0));
}

struct Harness {
    explicit Harness(const SimConfig& config, bool modem = false)
    {
        LogSink sink = [this](const QByteArray& line) { log.push_back(line); };
        auto logger = std::make_unique<LoggerSim>(config, sink, 0, FixedClock());
        loggerPtr = logger.get();
        if (modem)
            device = std::make_unique<ModemFront>(config, std::move(logger), sink);
        else
            device = std::move(logger);
    }

    // Feeds bytes at the present virtual time, then lets `ms` milliseconds pass in steps
    // of 1 ms, collecting every chunk that falls due.
    QByteArray run(const QByteArray& in, qint64 ms = 1000)
    {
        if (!in.isEmpty())
            device->receive(in, now);
        return wait(ms);
    }

    QByteArray wait(qint64 ms)
    {
        QByteArray out;
        const qint64 end = now + ms;
        for (; now <= end; ++now) {
            device->tick(now);
            for (const OutChunk& c : device->output().takeDue(now)) {
                out += c.bytes;
                bauds.push_back(c.baud);
                dueTimes.push_back(c.dueMs);
            }
        }
        now = end;
        return out;
    }

    // Normal wake-up at 1200 and confirmation for the logger's baud; returns the ack line.
    QByteArray wakeUp(std::uint8_t confirmByte = 0x80)
    {
        run(QByteArray(500, 'U'), 100);
        return run(QByteArray(1, static_cast<char>(confirmByte)), 500);
    }

    std::vector<QByteArray> logLines(const QByteArray& firstWord) const
    {
        std::vector<QByteArray> out;
        for (const QByteArray& l : log) {
            if (l == firstWord || l.startsWith(firstWord + ' '))
                out.push_back(l);
        }
        return out;
    }

    LoggerSim& logger() { return *loggerPtr; }

    std::unique_ptr<SimDevice> device;
    LoggerSim* loggerPtr = nullptr;
    std::vector<QByteArray> log;
    std::vector<int> bauds;
    std::vector<qint64> dueTimes;
    qint64 now = 0;
};

} // namespace tamble::sim::testing
