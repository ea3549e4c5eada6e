#pragma once
// Changing a logger's line speed (TransactionKind::SetBaudRate): the "I"
// command at the fast start speed, then at 19200, 9600, 4800, 2400 and 1200
// until the logger answers "OK".

#include "link/session_engine.h"

#include <QString>
#include <optional>

namespace tamble {

// The outcome of a logger that took its new speed begins with this, then "<baud> baud.".
inline constexpr const char* kLoggerBaudSetPrefix = "Tamble Logger set to ";

// Port speed of step 1..5 after the first command (0 outside).
int BaudStepSpeed(int step);

class BaudRateChanger : public TransactionHandler {
public:
    void install(SessionEngine& engine);

    // The menu command: refused with a modem ("Must first uncheck 'Use Modem'
    // in Settings", returned and not started); otherwise newBaud = the settings
    // baud chosen beforehand, settings baud = 28800 for the session, and the
    // session starts.
    std::optional<QString> start(SessionEngine& engine);

    void dispatch(SessionEngine& engine) override;
    void onLine(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;
};

} // namespace tamble
