#pragma once
// The pseudo-terminal side of tamble-sim: opens the pty, keeps its slave end open and
// raw (so the pty stays usable while the program has it closed), and runs the loop that
// feeds a SimDevice and writes its output paced at the line speed: a pty passes bytes at
// once, a serial line passes baud/10 bytes a second. The loop sleeps in poll() between
// chunks; it never spins.

#include "paced_writer.h"
#include "sim_device.h"

#include <QByteArray>
#include <QString>
#include <atomic>

namespace tamble::sim {

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
