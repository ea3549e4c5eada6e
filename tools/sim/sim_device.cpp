#include "sim_device.h"

namespace tamble::sim {

void OutputQueue::push(qint64 dueMs, const QByteArray& bytes, int baud)
{
    if (bytes.isEmpty())
        return;
    // A chunk never overtakes one queued before it.
    if (!m_chunks.empty() && m_chunks.back().dueMs > dueMs)
        dueMs = m_chunks.back().dueMs;
    m_chunks.push_back(OutChunk{dueMs, bytes, baud});
}

std::vector<OutChunk> OutputQueue::takeDue(qint64 nowMs)
{
    std::vector<OutChunk> out;
    while (!m_chunks.empty() && m_chunks.front().dueMs <= nowMs) {
        out.push_back(std::move(m_chunks.front()));
        m_chunks.pop_front();
    }
    return out;
}

std::optional<qint64> OutputQueue::nextDue() const
{
    if (m_chunks.empty())
        return std::nullopt;
    return m_chunks.front().dueMs;
}

} // namespace tamble::sim
