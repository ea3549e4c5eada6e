#pragma once
// Pacing of the virtual logger's output: a pty passes bytes at once, a serial line
// passes baud/10 bytes a second. Each queued byte is handed over when its last bit would
// have arrived on a real line.

#include "sim_device.h"

#include <QByteArray>
#include <deque>

namespace tamble::sim {

// Wire clock of a paced line: when each queued byte may be handed to the pty.
class PacedWriter {
public:
    explicit PacedWriter(bool pace) : m_pace(pace) {}

    void enqueue(const OutChunk& chunk, double nowMs);
    bool empty() const { return m_pending.empty(); }
    // The next chunk to write now (empty when none is due), advancing the wire clock.
    QByteArray takeReady(double nowMs);
    // Puts back bytes the pty did not accept.
    void unwrite(const QByteArray& bytes);
    // When the next chunk becomes ready; negative when nothing waits.
    double nextReadyMs(double nowMs) const;

private:
    struct Piece {
        char byte;
        int baud;
        double readyMs;
    };
    bool m_pace;
    double m_wireFreeMs = 0;
    std::deque<Piece> m_pending;
};

// The same wire clock for what the program sends: a command reaches the logger only
// when its last byte would have arrived, so replies never start before their requests
// have been fully sent at the line speed.
class PacedReader {
public:
    explicit PacedReader(bool pace) : m_pace(pace) {}

    void arrived(const QByteArray& bytes, int baud, double nowMs);
    // Bytes whose wire time has passed.
    QByteArray takeArrived(double nowMs);
    // When the next byte will have arrived; negative when nothing waits.
    double nextArrivalMs() const;

private:
    struct Piece {
        char byte;
        double arrivalMs;
    };
    bool m_pace;
    double m_wireFreeMs = 0;
    std::deque<Piece> m_pending;
};

} // namespace tamble::sim
