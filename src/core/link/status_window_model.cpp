#include "link/status_window_model.h"

#include "settings/settings_record.h"
#include "link/realtime.h"
#include "link/session_engine.h"

#include <QRegularExpression>
#include <string_view>

namespace tamble {

bool RealTimeDisplayRunning(const SessionState& state)
{
    return state.transaction == TransactionKind::RealTime && !state.realTimeGraph;
}

StatusWindowLook StatusLook(bool realTimeDisplay)
{
    if (realTimeDisplay)
        return {QStringLiteral("Real Time Display"), false, true};
    return {QStringLiteral("Status"), true, false};
}

StatusCloseAction StatusCloseRule(StatusCloseTrigger, const SessionState& state)
{
    if (state.transaction != TransactionKind::RealTime || state.realTimeGraph)
        return StatusCloseAction::Close;
    return RealTimeNeedsEndSession(state.revision) ? StatusCloseAction::EndRealTime : StatusCloseAction::EndSession;
}

bool PrepareDisplayScaling(const LoggerInfo& info, const SettingsRecord& settings, const QString& tableDirectory,
                           ChannelScaling& scaling)
{
    scaling = ChannelScaling{};
    scaling.tableDirectory = tableDirectory;
    ScalingFromStatus(info, settings.fahrenheit, settings.humidityQuantity, scaling);
    return !scaling.tableError;
}

QString ValueWithUnit(const QString& boxText, const QString& unit)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(-?\\d+\\.\\d+)(.*)$"));
    const QRegularExpressionMatch m = number.match(boxText);
    if (!m.hasMatch())
        return boxText;
    const QString rest = m.captured(2).trimmed();
    if (unit.isEmpty() || !unit.startsWith(rest))
        return rest.isEmpty() ? m.captured(1) : m.captured(1) + QLatin1Char(' ') + rest;
    return m.captured(1) + QLatin1Char(' ') + unit;
}

StatusWindowModel::StatusWindowModel(StatusWindowRecords records) : m_r(records) {}

std::array<QString, 4> StatusWindowModel::withUnits(std::array<QString, 4> boxes) const
{
    const SettingsRecord& set = m_r.settings;
    const auto styles = ChannelValueStyles(m_r.loggerInfo, m_scaling, set.fahrenheit, set.humidityQuantity);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = ValueWithUnit(boxes[i], styles[i].unit);
    return boxes;
}

void StatusWindowModel::prepare()
{
    const SettingsRecord& set = m_r.settings;
    PrepareDisplayScaling(m_r.loggerInfo, set, m_r.programDir, m_scaling);
    // Converting the current readings once leaves the humidity marks as the decoding left them
    // (they decide the decimals); a copy keeps the shared record as it is.
    LoggerInfo copy = m_r.loggerInfo;
    ConvertRealTimeFields(copy.currentReadings, copy, m_scaling, set.fahrenheit);
    m_prepared = true;
}

StatusTexts StatusWindowModel::ShowStatus()
{
    prepare();
    const SettingsRecord& set = m_r.settings;
    LoggerInfo& info = m_r.loggerInfo;
    info.statusShown = true;
    StatusTexts texts = ShowStatusTexts(info, m_r.session.dateCode, m_scaling, set.fahrenheit,
                                        set.humidityQuantity, ClockStyleFromSetting(set.amPm));
    texts.values = withUnits(texts.values);
    return texts;
}

std::optional<std::array<QString, 4>> StatusWindowModel::realTimeLine(QByteArrayView line)
{
    if (m_r.session.realTimeGraph)
        return std::nullopt;
    if (!m_prepared)
        prepare();
    const SettingsRecord& set = m_r.settings;
    const RealTimeReading reading = DecodeRealTimeLine(line, m_r.loggerInfo, m_scaling, set.fahrenheit);
    return withUnits(RealTimeValueBoxes(reading, m_r.loggerInfo, m_scaling, set.fahrenheit, set.humidityQuantity));
}

StatusWindowLook StatusWindowModel::look() const
{
    return StatusLook(RealTimeDisplayRunning(m_r.session));
}

StatusCloseAction StatusWindowModel::closeAction(StatusCloseTrigger trigger) const
{
    return StatusCloseRule(trigger, m_r.session);
}

bool StatusWindowModel::close(StatusCloseTrigger trigger, SessionEngine& engine)
{
    switch (closeAction(trigger)) {
    case StatusCloseAction::EndRealTime:
        engine.state().transaction = TransactionKind::EndRealTime;
        engine.StartSession();
        return false;
    case StatusCloseAction::EndSession:
        engine.EndSession();
        return false;
    case StatusCloseAction::Close:
        break;
    }
    return true;
}

std::optional<QString> StatusWindowModel::lastStatusRefusal() const
{
    if (m_r.loggerInfo.statusShown)
        return std::nullopt;
    return QString::fromLatin1(kNoStatusToShow);
}

} // namespace tamble
