#pragma once
// Bringing the link up before a transaction: the session port opened at the session's speed with
// the timer trigger taken, a modem woken with a DTR pulse and given its initialisation string (or
// handed to the modem state handler), then the wake-up burst, the speed confirmation and the
// handshake that names the logger's revision. Once the link is up the engine dispatches the
// transaction.

#include <functional>

namespace tamble {

class SessionEngine;

class LinkBringUp {
public:
    explicit LinkBringUp(SessionEngine& engine) : m_engine(engine) {}
    LinkBringUp(const LinkBringUp&) = delete;
    LinkBringUp& operator=(const LinkBringUp&) = delete;

    // The session window is up: a modem already on line (and not a caller) goes straight to the
    // wake-up; otherwise the port is opened first.
    void start();

    // Bytes in the WakeUp state; `latest` is the byte just taken.
    void onWakeUpArrival(char latest);
    // A complete line in the Handshake state.
    void onHandshakeLine();
    // Time-outs of the WakeUp, Handshake and FastStart states.
    void onWakeUpTimeout();
    void onHandshakeTimeout();
    void onFastStartTimeout();
    // No modem state handler is installed and the modem did not answer in time.
    void onModemTimeout();

private:
    void openSessionPort();
    void startModemDialogue();
    void startLink();
    void sendWakeUpBurst();
    // The speed confirmation after the echo byte; `then` runs once it is sent.
    void confirmBaud(std::function<void()> then);

    SessionEngine& m_engine;
};

} // namespace tamble
