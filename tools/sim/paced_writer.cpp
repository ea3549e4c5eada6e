#include "paced_writer.h"

#include <algorithm>

namespace tamble::sim {

namespace {

double ByteMs(int baud)
{
    // Ten bits a byte: start, eight data bits, stop.
    return 10000.0 / static_cast<double>(std::max(baud, 50));
}

} // namespace

void PacedWriter::enqueue(const OutChunk& chunk, double nowMs)
{
    const double ready = std::max(static_cast<double>(chunk.dueMs), nowMs);
    for (char c : chunk.bytes)
        m_pending.push_back(Piece{c, chunk.baud, ready});
}

QByteArray PacedWriter::takeReady(double nowMs)
{
    QByteArray out;
    if (!m_pace) {
        for (const Piece& p : m_pending)
            out += p.byte;
        m_pending.clear();
        return out;
    }
    // A byte is handed over once its last bit would have arrived on a real line.
    while (!m_pending.empty()) {
        const Piece& p = m_pending.front();
        const double end = std::max(m_wireFreeMs, p.readyMs) + ByteMs(p.baud);
        if (end > nowMs + 0.01)
            break;
        m_wireFreeMs = end;
        out += p.byte;
        m_pending.pop_front();
    }
    return out;
}

void PacedWriter::unwrite(const QByteArray& bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        m_pending.push_front(Piece{bytes[i], 1000000, 0});
}

double PacedWriter::nextReadyMs(double nowMs) const
{
    if (m_pending.empty())
        return -1;
    if (!m_pace)
        return nowMs;
    const Piece& p = m_pending.front();
    return std::max(m_wireFreeMs, p.readyMs) + ByteMs(p.baud);
}

void PacedReader::arrived(const QByteArray& bytes, int baud, double nowMs)
{
    for (char c : bytes) {
        if (!m_pace || baud <= 0) {
            m_pending.push_back(Piece{c, nowMs});
            continue;
        }
        // Wake-up burst characters take no wire time here: the burst may come at any
        // speed (the program's port speed, not yet the logger's), and the program times
        // its wake-up from the moment it queued the burst.
        const auto u = static_cast<unsigned char>(c);
        const bool burst = u == 0x55 || u == 0x99 || u == 0xF0;
        m_wireFreeMs = std::max(m_wireFreeMs, nowMs) + (burst ? 0.0 : ByteMs(baud));
        m_pending.push_back(Piece{c, m_wireFreeMs});
    }
}

QByteArray PacedReader::takeArrived(double nowMs)
{
    QByteArray out;
    while (!m_pending.empty() && m_pending.front().arrivalMs <= nowMs + 0.01) {
        out += m_pending.front().byte;
        m_pending.pop_front();
    }
    return out;
}

double PacedReader::nextArrivalMs() const
{
    return m_pending.empty() ? -1 : m_pending.front().arrivalMs;
}

} // namespace tamble::sim
