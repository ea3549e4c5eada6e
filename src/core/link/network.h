#pragma once
// Programming a logger's station address for a multi-drop network
// (TransactionKind::ProgramStationAddress).

#include "link/session_engine.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tamble {

// The Send / Station Address menu: on a network the logger cannot be told
// apart, so the command is refused with this warning; nullopt otherwise.
std::optional<QString> StationAddressMenuRefusal(const SettingsRecord& settings);

// kStationProgrammedPrefix + address + " programmed into logger."
inline constexpr const char* kStationProgrammedPrefix = "Station Address #";
QString StationProgrammedText(int address);

class StationAddressProgrammer : public TransactionHandler {
public:
    void install(SessionEngine& engine);

    // "SEND" of the station address dialog: the dialog's field (16 bits, the
    // low byte is used). Sets the transaction and starts the session.
    void start(SessionEngine& engine, std::uint16_t newAddress);

    void dispatch(SessionEngine& engine) override;
    void onLine(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;
    void onTransferLine(SessionEngine& engine) override;
    void onTransferTimeout(SessionEngine& engine) override;

    int newAddress() const { return m_address; }

private:
    int m_address = 0;
};

} // namespace tamble
