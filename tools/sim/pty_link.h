#pragma once
// The pseudo-terminal side of tamble-sim: opens the pty, keeps its slave end open and
// raw (so the pty stays usable while the program has it closed), and runs the loop that
// feeds a SimDevice and writes its output paced at the line speed: a pty passes bytes at
// once, a serial line passes baud/10 bytes a second. The loop sleeps in poll() between
// chunks; it never spins.

#include "sim_device.h"

#include <QByteArray>
#include <QString>
#include <atomic>
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
    static int ChunkBytes(int baud);
    bool m_pace;
    double m_wireFreeMs = 0;
    std::deque<Piece> m_pending;
};

class PtyLink {
public:
    ~PtyLink();
    bool open(QString* error);
    QString slavePath() const { return m_slavePath; }
    // Runs until `stop` becomes true.
    void run(SimDevice& device, bool pace, const std::atomic<bool>& stop);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};

} // namespace tamble::sim
