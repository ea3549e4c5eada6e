#pragma once
// What the pty loop drives: a device that takes received bytes and the passing of time,
// and queues bytes to send, each at a due time and a line speed. Times are milliseconds
// of a monotonic clock, so the protocol classes run on virtual time in the unit tests.

#include <QByteArray>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tamble::sim {

struct OutChunk {
    qint64 dueMs = 0;
    QByteArray bytes;
    int baud = 9600;   // line speed the bytes travel at (used for pacing)
};

// Bytes waiting to be sent, in the order queued; a chunk is released when its due time
// has come and every chunk queued before it has been released.
class OutputQueue {
public:
    void push(qint64 dueMs, const QByteArray& bytes, int baud);
    std::vector<OutChunk> takeDue(qint64 nowMs);
    std::optional<qint64> nextDue() const;
    bool empty() const { return m_chunks.empty(); }
    void clear() { m_chunks.clear(); }

private:
    std::deque<OutChunk> m_chunks;
};

using LogSink = std::function<void(const QByteArray& line)>;

class SimDevice {
public:
    virtual ~SimDevice() = default;
    virtual void receive(const QByteArray& bytes, qint64 nowMs) = 0;
    virtual void tick(qint64 nowMs) = 0;
    // The next time tick() has work to do (timers inside the device), if any.
    virtual std::optional<qint64> nextWake() const = 0;
    // Speed of the line as the device hears it (0: no pacing), for the wire time of
    // received bytes.
    virtual int lineBaud() const { return 0; }
    OutputQueue& output() { return m_output; }

protected:
    OutputQueue m_output;
};

// A looped-back cable plug: everything sent comes straight back.
class LoopbackDevice : public SimDevice {
public:
    void receive(const QByteArray& bytes, qint64 nowMs) override { m_output.push(nowMs, bytes, 1200); }
    void tick(qint64) override {}
    std::optional<qint64> nextWake() const override { return std::nullopt; }
};

} // namespace tamble::sim
