#include "archive/archive_target.h"

#include "directory/ini_document.h"
#include "util/file_write.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>

namespace tamble {

namespace {

const QString kArchiveSection = QStringLiteral("archive");
const QString kCallsSection = QStringLiteral("calls");

QString EngineName(ArchiveEngine engine)
{
    switch (engine) {
    case ArchiveEngine::Off:
        return QStringLiteral("off");
    case ArchiveEngine::Postgres:
        return QStringLiteral("postgresql");
    case ArchiveEngine::Sqlite:
        break;
    }
    return QStringLiteral("sqlite");
}

QString ArchivePathIn(const QString& programDir, const QString& path)
{
    return QDir::cleanPath(QDir(programDir).absoluteFilePath(path));
}

} // namespace

QString ArchiveTarget::describe() const
{
    switch (engine) {
    case ArchiveEngine::Off:
        return QStringLiteral("off");
    case ArchiveEngine::Sqlite:
        return QStringLiteral("sqlite:") + path;
    case ArchiveEngine::Postgres:
        break;
    }
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    if (!host.startsWith(QLatin1Char('/')))
        text += host;
    text += QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + database;
    if (host.startsWith(QLatin1Char('/')))
        text += QStringLiteral("?host=") + host;
    return text;
}

ArchiveSettings LoadArchiveSettings(const QString& programDir)
{
    ArchiveSettings s;
    QFile file(QDir(programDir).filePath(QString::fromLatin1(kArchiveSettingsFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return s;
    const IniDocument ini = IniDocument::parse(file.readAll());
    const auto text = [&](const QString& section, const char* key) {
        return ini.value(section, QString::fromLatin1(key)).value_or(QString()).trimmed();
    };
    const QString engine = text(kArchiveSection, "engine").toLower();
    if (engine == QLatin1String("off"))
        s.engine = ArchiveEngine::Off;
    else if (engine == QLatin1String("postgresql"))
        s.engine = ArchiveEngine::Postgres;
    s.host = text(kArchiveSection, "host");
    bool ok = false;
    const int port = text(kArchiveSection, "port").toInt(&ok);
    if (ok && port > 0 && port < 65536)
        s.port = port;
    s.database = text(kArchiveSection, "database");
    s.user = text(kArchiveSection, "user");
    s.afterEachCallRun = text(kCallsSection, "after_each_call_run");
    const int limit = text(kCallsSection, "time_limit_s").toInt(&ok);
    if (ok && limit > 0)
        s.hookTimeLimitSeconds = limit;
    return s;
}

QString SaveArchiveSettings(const QString& programDir, const ArchiveSettings& s)
{
    const QString path = QDir(programDir).filePath(QString::fromLatin1(kArchiveSettingsFileName));
    QFile file(path);
    IniDocument ini = IniDocument::parse(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    file.close();
    ini.setValue(kArchiveSection, QStringLiteral("engine"), EngineName(s.engine));
    ini.setValue(kArchiveSection, QStringLiteral("host"), s.host);
    ini.setValue(kArchiveSection, QStringLiteral("port"), QString::number(s.port));
    ini.setValue(kArchiveSection, QStringLiteral("database"), s.database);
    ini.setValue(kArchiveSection, QStringLiteral("user"), s.user);
    ini.setValue(kCallsSection, QStringLiteral("after_each_call_run"), s.afterEachCallRun);
    ini.setValue(kCallsSection, QStringLiteral("time_limit_s"), QString::number(s.hookTimeLimitSeconds));
    QString error;
    return WriteFileReplacing(path, ini.serialize(), &error) ? QString() : UnableToWriteText(path);
}

ArchiveTargetResult ParseArchiveUrl(const QString& text, const QString& programDir)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
        return {ArchiveTarget{ArchiveEngine::Off, {}, {}, 5432, {}, {}}, {}};
    if (trimmed.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        const QString path = trimmed.mid(7);
        if (path.isEmpty())
            return {std::nullopt, QStringLiteral("%1: sqlite: needs a file").arg(QLatin1String(kArchiveEnvironmentVariable))};
        return {ArchiveTarget{ArchiveEngine::Sqlite, ArchivePathIn(programDir, path), {}, 5432, {}, {}}, {}};
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        return {std::nullopt, QStringLiteral("%1: \"%2\" is not postgresql://USER@HOST:PORT/DBNAME, sqlite:PATH or off")
                                  .arg(QLatin1String(kArchiveEnvironmentVariable), trimmed)};
    ArchiveTarget t;
    t.engine = ArchiveEngine::Postgres;
    t.user = url.userName();
    t.host = url.host();
    t.port = url.port(5432);
    t.database = url.path().mid(1);
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        t.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (t.database.isEmpty())
        return {std::nullopt, QStringLiteral("%1: the URL names no database").arg(QLatin1String(kArchiveEnvironmentVariable))};
    return {t, {}};
}

ArchiveTargetResult ResolveArchiveTarget(const QString& environment, const ArchiveSettings& s, const QString& programDir)
{
    if (!environment.trimmed().isEmpty())
        return ParseArchiveUrl(environment, programDir);
    ArchiveTarget t;
    t.engine = s.engine;
    if (s.engine == ArchiveEngine::Sqlite)
        t.path = ArchivePathIn(programDir, QString::fromLatin1(kArchiveFileName));
    if (s.engine == ArchiveEngine::Postgres) {
        if (s.database.isEmpty())
            return {std::nullopt, QStringLiteral("The archive settings name no PostgreSQL database")};
        t.host = s.host;
        t.port = s.port;
        t.database = s.database;
        t.user = s.user;
    }
    return {t, {}};
}

} // namespace tamble
