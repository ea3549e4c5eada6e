#pragma once
// The rules of the three logger dialogs without widgets: the station address field and its
// check, the remote modem dialog's port and speed texts, and what happens to a session that is
// still running when a port procedure (cable test, remote modem set-up) starts.

#include "help/help_pages.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tamble {

class MessageService;
class SessionEngine;
struct SessionState;
struct SettingsRecord;

inline constexpr int kHighestStationAddress = 255;
inline constexpr const char* kStationAddressRange = "Station Address must be a number from 0 to 255";

// The field of "Set Station Address (for network)": up to three digits, a spinner that steps
// within 0..255, and the check made by "SEND".
class StationAddressForm {
public:
    explicit StationAddressForm(int initial = 0);

    QString text() const { return m_text; }
    // Typing: digits only, at most three; anything else is dropped.
    void setText(const QString& text);
    // The spinner: steps from the current value (an empty or too large field counts as the
    // nearest end of the range).
    void stepBy(int steps);

    // SEND: nullopt when the address may be programmed, else the warning to show.
    std::optional<QString> sendRefusal() const;
    // The address to program (valid after SendRefusal gave nullopt).
    std::uint16_t address() const;

private:
    QString m_text;
};

// The two read-only lines of "Configure Remote Modem": "Com" + port number, and the baud.
QString RemoteModemPortText(const SettingsRecord& settings);
QString RemoteModemBaudText(const SettingsRecord& settings);

// Before a port procedure starts on the session port.
enum class PortProcedureStart {
    Go,                // nothing runs: start at once
    AskRealTimeGraph,  // the real-time graph runs: ask first, OK ends its session
    EndSessionFirst,   // a real-time display runs on the port: end it, then start
};

PortProcedureStart BeforePortProcedure(const SessionState& state, bool sessionActive);

// Carries the rule out; false when the user chose Cancel (nothing is changed then).
bool ClearPortForProcedure(SessionEngine& engine, MessageService& messages);

} // namespace tamble
