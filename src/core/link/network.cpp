#include "link/network.h"
#include "link/link_timing.h"

#include "settings/memory_geometry.h"
#include "settings/settings_record.h"
#include "link/framing.h"
#include "format/logger_info.h"
#include "link/status_record.h"

namespace tamble {

std::optional<QString> StationAddressMenuRefusal(const SettingsRecord& settings)
{
    if (settings.network)
        return QStringLiteral("Must be connected to a single logger; check Settings");
    return std::nullopt;
}

QString StationProgrammedText(int address)
{
    return QString::fromLatin1(kStationProgrammedPrefix) + QString::number(address) + QStringLiteral(" programmed into logger.");
}

void StationAddressProgrammer::install(SessionEngine& engine)
{
    engine.setTransactionHandler(TransactionKind::ProgramStationAddress, this);
}

void StationAddressProgrammer::start(SessionEngine& engine, std::uint16_t newAddress)
{
    m_address = newAddress & 0xFF;
    engine.state().transaction = TransactionKind::ProgramStationAddress;
    engine.StartSession();
}

void StationAddressProgrammer::dispatch(SessionEngine& engine)
{
    const SettingsRecord& set = engine.settings();
    engine.sendFramed(QByteArray(1, (set.wireless || set.useModem) ? 'B' : 'C'), true);
}

void StationAddressProgrammer::onLine(SessionEngine& engine)
{
    SessionState& s = engine.state();
    const QByteArray reply = s.rxBuffer;
    if (!ResponseChecksumValid(reply)) {
        engine.EndSession();
        engine.ReportOutcome({QString::fromLatin1(reply.left(300)) + QLatin1Char(' ') + QString::number(reply.size()),
                              DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }
    // The record names the firmware revision; the fast start only assumed one.
    char revision = s.revision;
    LoggerInfo probe;
    MemoryGeometry geometry;
    const StatusContext context = MakeStatusContext(engine.settings(), QString(), s.oldLogger);
    if (DecodeStatusRecord(reply, context, probe, geometry).outcome != StatusOutcome::Invalid)
        revision = probe.revision;
    if (static_cast<unsigned char>(revision) < 'S') {
        engine.EndSession();
        engine.ReportOutcome({QStringLiteral("This Tamble Logger can not be networked.  Contact factory for upgrade."),
                              DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    s.linkState = LinkState::Transfer;
    engine.sendFramed(QByteArray("F") + HexByte(static_cast<std::uint8_t>(m_address)), true);
}

void StationAddressProgrammer::onTimeout(SessionEngine& engine)
{
    engine.EndSession();
    engine.ReportOutcome({NoResponseText('d'), DialogKind::Information,
                          DialogButtons::OkHelp, 24});
}

void StationAddressProgrammer::onTransferLine(SessionEngine& engine)
{
    SessionState& s = engine.state();
    if (s.rxBuffer.contains("OK")) {
        engine.EndSession();
        engine.ReportOutcome({StationProgrammedText(m_address), DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    // Another line: keep waiting for "OK", but never without a time-out.
    engine.clearReceive();
    engine.arm(s.baseTimeout > 0 ? s.baseTimeout : 36);
}

void StationAddressProgrammer::onTransferTimeout(SessionEngine& engine)
{
    engine.EndSession();
    engine.ReportOutcome({QStringLiteral("Unable to program Station Address"), DialogKind::Error, DialogButtons::Ok, 0});
}

} // namespace tamble
