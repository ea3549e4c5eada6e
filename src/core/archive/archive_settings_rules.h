#pragma once
// The rules of the Archive Settings dialog without widgets: the settings it edits, which fields
// the chosen engine uses, the notes it shows, and the checks of OK in order before "archive.ini"
// is written.

#include "archive/archive_target.h"
#include "util/user_dialog.h"

#include <QString>

namespace tamble {

inline constexpr const char* kArchivePasswordNote =
    "The password is not kept here: it comes from ~/.pgpass or from the PGPASSWORD environment variable.";

class ArchiveSettingsRules {
public:
    // `environment` is the value of TAMBLE_ARCHIVE for this run (empty when not set).
    ArchiveSettingsRules(QString programDir, QString environment, MessageService& messages);

    // Each time the dialog comes up: the settings as "archive.ini" holds them.
    void load();
    const ArchiveSettings& settings() const { return m_settings; }

    void setEngine(ArchiveEngine engine) { m_settings.engine = engine; }
    void setHost(const QString& host) { m_settings.host = host.trimmed(); }
    void setDatabase(const QString& database) { m_settings.database = database.trimmed(); }
    void setUser(const QString& user) { m_settings.user = user.trimmed(); }
    void setAfterEachCallRun(const QString& command) { m_settings.afterEachCallRun = command.trimmed(); }
    // The fields as typed; OK reads them.
    void setPortText(const QString& text) { m_portText = text; }
    void setTimeLimitText(const QString& text) { m_timeLimitText = text; }
    QString portText() const { return m_portText; }
    QString timeLimitText() const { return m_timeLimitText; }

    // The server's fields are for PostgreSQL only.
    bool serverFieldsEnabled() const { return m_settings.engine == ArchiveEngine::Postgres; }
    // "TAMBLE_ARCHIVE=... is set: it overrides these settings ...", or empty.
    QString overrideNote() const;

    // OK: the checks in order (a PostgreSQL database named, its port 1-65535, a time limit of at
    // least one second), each refusal shown; then the file written. True when the dialog closes.
    bool ok();

private:
    QString m_programDir;
    QString m_environment;
    MessageService& m_messages;
    ArchiveSettings m_settings;
    QString m_portText;
    QString m_timeLimitText;
};

} // namespace tamble
