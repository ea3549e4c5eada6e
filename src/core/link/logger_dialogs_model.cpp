#include "link/logger_dialogs_model.h"

#include "settings/settings_record.h"
#include "link/session_engine.h"
#include "link/realtime_guard.h"
#include "util/user_dialog.h"

#include <algorithm>

namespace tamble {

StationAddressForm::StationAddressForm(int initial)
{
    m_text = QString::number(std::clamp(initial, 0, kHighestStationAddress));
}

void StationAddressForm::setText(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits.size() < 3)
            digits += c;
    }
    m_text = digits;
}

void StationAddressForm::stepBy(int steps)
{
    const int value = m_text.isEmpty() ? 0 : std::min(m_text.toInt(), kHighestStationAddress);
    m_text = QString::number(std::clamp(value + steps, 0, kHighestStationAddress));
}

std::optional<QString> StationAddressForm::sendRefusal() const
{
    bool ok = false;
    const int value = m_text.toInt(&ok);
    if (!ok || value < 0 || value > kHighestStationAddress)
        return QString::fromLatin1(kStationAddressRange);
    return std::nullopt;
}

std::uint16_t StationAddressForm::address() const
{
    return static_cast<std::uint16_t>(std::clamp(m_text.toInt(), 0, kHighestStationAddress));
}

QString RemoteModemPortText(const SettingsRecord& settings)
{
    return QStringLiteral("Com") + QString::number(settings.portNumber);
}

QString RemoteModemBaudText(const SettingsRecord& settings)
{
    return QString::number(settings.baud);
}

PortProcedureStart BeforePortProcedure(const SessionState& state, bool sessionActive)
{
    if (!sessionActive)
        return PortProcedureStart::Go;
    if (state.realTimeGraph)
        return PortProcedureStart::AskRealTimeGraph;
    return PortProcedureStart::EndSessionFirst;
}

bool ClearPortForProcedure(SessionEngine& engine, MessageService& messages)
{
    switch (BeforePortProcedure(engine.state(), engine.active())) {
    case PortProcedureStart::Go:
        return true;
    case PortProcedureStart::AskRealTimeGraph:
        if (!ConfirmEndRealTimeGraph(messages))
            return false;
        break;
    case PortProcedureStart::EndSessionFirst:
        break;
    }
    engine.EndSession();
    return true;
}

} // namespace tamble
