#pragma once
// The session's waits. A wait is an action: its continuation runs in a later event, once the host's
// `after` calls back. What the port and the trigger bring meanwhile is held, not handled, and
// handed on afterwards as if it had arrived after the wait: first the bytes (those of a chunk the
// wait cut short ahead of those that came during it), then a port failure, a readable port, drained
// output and a time-out, in that order. A held time-out is void once the trigger is armed or
// disarmed again. The end of a session drops a pending wait and everything held.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tamble {

class SessionLink;

// The events a wait holds, in the order they are handed on.
enum class HeldEvent { Failure, Read, Drain, Timeout };

// Where held events go once the wait is over.
class HeldEventSink {
public:
    virtual ~HeldEventSink() = default;
    // The program is ending: no wait starts or ends, nothing is handed on.
    virtual bool closed() const = 0;
    virtual void onPortError(const QString& why) = 0;
    virtual void onBytesAvailable() = 0;
    virtual void onOutputDrained() = 0;
    virtual void onTimeout() = 0;
    // Bytes held since before the wait; `generation` is the input generation they were read in.
    virtual void onHeldBytes(const QByteArray& bytes, std::uint64_t generation) = 0;
};

class EventGate {
public:
    EventGate(SessionLink& link, HeldEventSink& sink) : m_link(link), m_sink(sink) {}
    EventGate(const EventGate&) = delete;
    EventGate& operator=(const EventGate&) = delete;

    // Wait `ticks`, then run `then` and hand on what was held. A newer wait replaces a pending one.
    void wait(int ticks, std::function<void()> then);
    struct TimedStep {
        int ticks;
        std::function<void()> action;
    };
    // Runs `steps` one after another, each after its wait (none for 0 ticks), then `then`.
    void runSteps(std::vector<TimedStep> steps, std::function<void()> then);
    bool waiting() const { return m_waitId != 0; }

    // Holds `event` while a wait is pending; false (nothing held) otherwise.
    bool hold(HeldEvent event);
    // Holds a port failure with its reason while a wait is pending.
    bool holdFailure(const QString& why);
    // Bytes that came during the wait, after those already held.
    void holdBytes(const QByteArray& bytes, std::uint64_t generation);
    // The rest of a chunk whose arrival began the wait, ahead of those already held.
    void holdRestOfChunk(const QByteArray& rest, std::uint64_t generation);
    // The trigger was armed or disarmed: a time-out held from before is void.
    void voidTimeout() { m_held[static_cast<std::size_t>(HeldEvent::Timeout)] = false; }
    // The session ended: the pending wait and everything held are dropped.
    void drop();

private:
    static constexpr std::size_t kHeldEventCount = 4;

    void onWaitElapsed(std::uint64_t id, const std::function<void()>& then);
    void handOn();

    SessionLink& m_link;
    HeldEventSink& m_sink;
    std::uint64_t m_waitId = 0;       // the pending wait; 0 when none
    std::uint64_t m_nextWaitId = 0;
    std::array<bool, kHeldEventCount> m_held{};
    QString m_heldFailure;
    QByteArray m_heldBytes;
    std::uint64_t m_heldGeneration = 0;
};

} // namespace tamble
