#include "program/home_view.h"
#include "format/day_number.h"

#include "program/app_records.h"
#include "format/download_walk.h"
#include "graph/graph_rules.h"
#include "link/download.h"
#include "link/download_progress.h"
#include "format/logger_info.h"
#include "link/status_text.h"

#include <QLocale>
#include <cmath>

namespace tamble {

namespace {

QString Trimmed(const QByteArray& text)
{
    return QString::fromLatin1(text).trimmed();
}

QString Duration(qint64 seconds)
{
    if (seconds < 60)
        return QString::number(seconds) + QStringLiteral(" s");
    if (seconds < 3600)
        return QString::number(seconds / 60) + QStringLiteral(" min ") + QString::number(seconds % 60) +
               QStringLiteral(" s");
    if (seconds < 86400)
        return QString::number(seconds / 3600) + QStringLiteral(" h ") + QString::number(seconds % 3600 / 60) +
               QStringLiteral(" min");
    return QString::number(seconds / 86400) + QStringLiteral(" d ") + QString::number(seconds % 86400 / 3600) +
           QStringLiteral(" h");
}

} // namespace

HomeConnection HomeViewModel::connection(const SettingsRecord& settings, const QString& device) const
{
    HomeConnection c;
    c.port = QStringLiteral("COM") + QString::number(settings.portNumber) + QStringLiteral(" → ") + device;
    c.speed = QString::number(settings.baud) + QStringLiteral(" baud");
    if (settings.useModem)
        c.kind = QStringLiteral("Modem");
    else if (settings.network)
        c.kind = QStringLiteral("Network station ") + QString::number(settings.stationAddress);
    else
        c.kind = QStringLiteral("Single logger");
    return c;
}

QString ClockDifferenceText(const QString& loggerStamp, const QDateTime& pcTime)
{
    const QByteArray logger = loggerStamp.toLatin1().trimmed();
    if (logger.isEmpty() || !pcTime.isValid())
        return {};
    const StampDateTime l = StampToDateTime(logger);
    if (!l.messages.isEmpty())
        return {};
    const double pc = DayNumber(pcTime);
    const auto seconds = static_cast<qint64>(std::llround((l.value - pc) * 86400.0));
    if (seconds == 0)
        return QStringLiteral("in step with the PC");
    return Duration(std::abs(seconds)) + (seconds > 0 ? QStringLiteral(" ahead of the PC")
                                                      : QStringLiteral(" behind the PC"));
}

HomeStatus HomeViewModel::status(const LoggerInfo& info) const
{
    HomeStatus s;
    s.known = info.statusShown || m_statusReadAt.isValid();
    if (!s.known)
        return s;
    s.model = ModelText(info.modelDigit, info.resolutionBits).trimmed();
    s.description = Trimmed(info.description);
    for (int channel = 1; channel <= 4; ++channel)
        if (info.channelOn(channel))
            s.channels.push_back(QString::number(channel) + QStringLiteral("  ") +
                                 Trimmed(info.labels[static_cast<std::size_t>(channel - 1)]));
    const int limit = DownloadWalk(DownloadWalkStartOf(info)).blockLimit();
    const int used = DownloadBlockCount(info);
    s.memoryPercent = limit > 0 ? std::clamp(used * 100 / limit, 0, 100) : 0;
    s.memory = QString::number(s.memoryPercent) + QStringLiteral(" % of the memory used");
    s.battery = BatteryText(info.revision, info.batteryVolts).trimmed();
    s.clock = info.clockStamp.trimmed();
    const QString difference = ClockDifferenceText(info.clockStamp, m_statusReadAt);
    if (!difference.isEmpty())
        s.clock += QStringLiteral(" (") + difference + QLatin1Char(')');
    if (m_statusReadAt.isValid())
        s.readAt = QStringLiteral("Read ") + QLocale::c().toString(m_statusReadAt, QStringLiteral("dd MMM yyyy hh:mm"));
    return s;
}

HomeViewContent HomeViewModel::content(const AppRecords& records, const QString& device, const RecentFiles& recent,
                                       bool connected, const QDateTime& now) const
{
    HomeViewContent c;
    c.connection = connection(records.settings, device);
    c.status = status(records.loggerInfo);
    c.recent = recent.entries();
    c.autoAnswer = records.settings.autoAnswer;
    c.service = service(connected, now);
    return c;
}

QString RecentFileText(const RecentFile& file)
{
    QString text = file.path.section(QLatin1Char('/'), -1);
    if (!file.description.isEmpty())
        text += QStringLiteral(" — ") + file.description;
    if (!file.period.isEmpty())
        text += QStringLiteral(" — ") + file.period;
    if (!file.exists)
        text += QStringLiteral(" (missing)");
    return text;
}

void HomeViewModel::callEnded(const QString& outcome, const QDateTime& at)
{
    m_lastCall = outcome.trimmed();
    m_lastCallAt = at;
    m_calls.push_back(at);
}

HomeService HomeViewModel::service(bool connected, const QDateTime& now) const
{
    HomeService s;
    s.state = connected ? QStringLiteral("Logger connected") : QStringLiteral("Waiting for a call");
    s.lastCall = m_lastCallAt.isValid()
                     ? QLocale::c().toString(m_lastCallAt, QStringLiteral("hh:mm")) + QStringLiteral("  ") + m_lastCall
                     : QStringLiteral("No call yet");
    for (const QDateTime& at : m_calls)
        s.callsToday += at.date() == now.date() ? 1 : 0;
    s.callsText = QString::number(s.callsToday) + (s.callsToday == 1 ? QStringLiteral(" call today")
                                                                      : QStringLiteral(" calls today"));
    return s;
}

} // namespace tamble
