#include "archive/archive_settings_rules.h"

namespace tamble {

ArchiveSettingsRules::ArchiveSettingsRules(QString programDir, QString environment, MessageService& messages)
    : m_programDir(std::move(programDir)), m_environment(std::move(environment)), m_messages(messages)
{
    load();
}

void ArchiveSettingsRules::load()
{
    m_settings = LoadArchiveSettings(m_programDir);
    m_portText = QString::number(m_settings.port);
    m_timeLimitText = QString::number(m_settings.hookTimeLimitSeconds);
}

QString ArchiveSettingsRules::overrideNote() const
{
    if (m_environment.trimmed().isEmpty())
        return {};
    return QStringLiteral("%1=%2 is set: it overrides the archive chosen here for as long as it is set.")
        .arg(QLatin1String(kArchiveEnvironmentVariable), m_environment.trimmed());
}

bool ArchiveSettingsRules::ok()
{
    const auto refuse = [this](const QString& text) {
        m_messages.ask({DialogKind::Warning, text});
        return false;
    };
    bool number = false;
    const int port = m_portText.trimmed().toInt(&number);
    if (m_settings.engine == ArchiveEngine::Postgres) {
        if (m_settings.database.isEmpty())
            return refuse(QStringLiteral("Name the PostgreSQL database the archive is kept in"));
        if (!number || port < 1 || port > 65535)
            return refuse(QStringLiteral("The port must be a number from 1 to 65535"));
    }
    const int limit = m_timeLimitText.trimmed().toInt(&number);
    if (!number || limit < 1)
        return refuse(QStringLiteral("The time limit must be a whole number of seconds, at least 1"));
    if (port >= 1 && port <= 65535)
        m_settings.port = port;
    m_settings.hookTimeLimitSeconds = limit;
    const QString error = SaveArchiveSettings(m_programDir, m_settings);
    if (!error.isEmpty()) {
        m_messages.ask({DialogKind::Error, error});
        return false;
    }
    return true;
}

} // namespace tamble
