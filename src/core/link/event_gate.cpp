#include "link/event_gate.h"

#include "link/session_host.h"

#include <utility>

namespace tamble {

void EventGate::wait(int ticks, std::function<void()> then)
{
    if (m_sink.closed())
        return;
    const std::uint64_t id = ++m_nextWaitId;
    m_waitId = id;
    m_link.after(ticks, [this, id, then = std::move(then)] { onWaitElapsed(id, then); });
}

void EventGate::runSteps(std::vector<TimedStep> steps, std::function<void()> then)
{
    if (steps.empty()) {
        if (then)
            then();
        return;
    }
    TimedStep first = std::move(steps.front());
    steps.erase(steps.begin());
    auto rest = [this, first = std::move(first.action), steps = std::move(steps), then = std::move(then)]() mutable {
        if (first)
            first();
        runSteps(std::move(steps), std::move(then));
    };
    if (first.ticks <= 0)
        rest();
    else
        wait(first.ticks, std::move(rest));
}

void EventGate::onWaitElapsed(std::uint64_t id, const std::function<void()>& then)
{
    // A wait the end of the session (or a newer wait) has replaced is void.
    if (m_sink.closed() || id != m_waitId)
        return;
    m_waitId = 0;
    if (then)
        then();
    handOn();
}

bool EventGate::hold(HeldEvent event)
{
    if (!waiting())
        return false;
    m_held[static_cast<std::size_t>(event)] = true;
    return true;
}

bool EventGate::holdFailure(const QString& why)
{
    if (!waiting())
        return false;
    m_heldFailure = why;
    return hold(HeldEvent::Failure);
}

void EventGate::holdBytes(const QByteArray& bytes, std::uint64_t generation)
{
    if (m_heldBytes.isEmpty())
        m_heldGeneration = generation;
    m_heldBytes += bytes;
}

void EventGate::holdRestOfChunk(const QByteArray& rest, std::uint64_t generation)
{
    m_heldGeneration = generation;
    m_heldBytes = rest + m_heldBytes;
}

void EventGate::drop()
{
    m_waitId = 0;
    m_held.fill(false);
    m_heldBytes.clear();
}

// Hands on what was held until a handler begins another wait or the program ends.
void EventGate::handOn()
{
    while (!waiting() && !m_sink.closed()) {
        if (!m_heldBytes.isEmpty()) {
            const QByteArray bytes = std::exchange(m_heldBytes, {});
            m_sink.onHeldBytes(bytes, m_heldGeneration);
            continue;
        }
        std::size_t next = kHeldEventCount;
        for (std::size_t e = 0; e < kHeldEventCount; ++e)
            if (m_held[e]) {
                next = e;
                break;
            }
        if (next == kHeldEventCount)
            return;
        m_held[next] = false;
        switch (static_cast<HeldEvent>(next)) {
        case HeldEvent::Failure: m_sink.onPortError(m_heldFailure); break;
        case HeldEvent::Read: m_sink.onBytesAvailable(); break;
        case HeldEvent::Drain: m_sink.onOutputDrained(); break;
        case HeldEvent::Timeout: m_sink.onTimeout(); break;
        }
    }
}

} // namespace tamble
