#include "platform/sql_archive.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QVariant>
#include <cmath>

namespace tamble {

namespace {

// SQLite waits this long for another program's write before it gives up.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kConnectTimeoutSeconds = 5;
// Readings per INSERT statement into SQLite (five values each).
constexpr int kSqliteRowsPerInsert = 200;

const char* const kSqliteSchema[] = {
    "CREATE TABLE IF NOT EXISTS archive_schema (version INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS logger ("
    " id INTEGER PRIMARY KEY,"
    " model TEXT NOT NULL, station INTEGER NOT NULL, description TEXT NOT NULL,"
    " UNIQUE (model, station, description))",
    "CREATE TABLE IF NOT EXISTS download ("
    " id INTEGER PRIMARY KEY,"
    " logger_id INTEGER NOT NULL REFERENCES logger (id),"
    " file TEXT NOT NULL, digest TEXT NOT NULL, source TEXT NOT NULL,"
    " downloaded_at TEXT NOT NULL, revision TEXT NOT NULL,"
    " resolution_bits INTEGER NOT NULL, interval_s REAL NOT NULL,"
    " first_time INTEGER NOT NULL, last_time INTEGER NOT NULL,"
    " reading_count INTEGER NOT NULL, new_readings INTEGER NOT NULL,"
    " UNIQUE (logger_id, digest))",
    "CREATE TABLE IF NOT EXISTS download_channel ("
    " download_id INTEGER NOT NULL REFERENCES download (id), channel INTEGER NOT NULL,"
    " label TEXT NOT NULL, unit TEXT NOT NULL,"
    " PRIMARY KEY (download_id, channel))",
    "CREATE TABLE IF NOT EXISTS reading ("
    " logger_id INTEGER NOT NULL, time INTEGER NOT NULL, channel INTEGER NOT NULL,"
    " download_id INTEGER NOT NULL, value REAL,"
    " PRIMARY KEY (logger_id, time, channel)) WITHOUT ROWID",
};

const char* const kPostgresSchema[] = {
    "CREATE TABLE IF NOT EXISTS archive_schema (version INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS logger ("
    " id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
    " model TEXT NOT NULL, station INTEGER NOT NULL, description TEXT NOT NULL,"
    " UNIQUE (model, station, description))",
    "CREATE TABLE IF NOT EXISTS download ("
    " id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
    " logger_id BIGINT NOT NULL REFERENCES logger (id),"
    " file TEXT NOT NULL, digest TEXT NOT NULL, source TEXT NOT NULL,"
    " downloaded_at TIMESTAMP(0) NOT NULL, revision TEXT NOT NULL,"
    " resolution_bits INTEGER NOT NULL, interval_s DOUBLE PRECISION NOT NULL,"
    " first_time TIMESTAMP(3) NOT NULL, last_time TIMESTAMP(3) NOT NULL,"
    " reading_count BIGINT NOT NULL, new_readings BIGINT NOT NULL,"
    " UNIQUE (logger_id, digest))",
    "CREATE TABLE IF NOT EXISTS download_channel ("
    " download_id BIGINT NOT NULL REFERENCES download (id), channel SMALLINT NOT NULL,"
    " label TEXT NOT NULL, unit TEXT NOT NULL,"
    " PRIMARY KEY (download_id, channel))",
    "CREATE TABLE IF NOT EXISTS reading ("
    " logger_id BIGINT NOT NULL, time TIMESTAMP(3) NOT NULL, channel SMALLINT NOT NULL,"
    " download_id BIGINT NOT NULL, value DOUBLE PRECISION,"
    " PRIMARY KEY (logger_id, time, channel))",
};

const QStringList kArchiveTables{QStringLiteral("archive_schema"), QStringLiteral("logger"),
                                 QStringLiteral("download"), QStringLiteral("download_channel"),
                                 QStringLiteral("reading")};

// Qt SQL binds a null QString as NULL: the texts of the NOT NULL columns go in as empty texts.
QString Text(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString ErrorText(const QSqlError& e)
{
    QString text = e.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

class SqlArchive final : public ArchiveStore {
public:
    explicit SqlArchive(const ArchiveTarget& target)
        : m_target(target), m_postgres(target.engine == ArchiveEngine::Postgres),
          m_name(QStringLiteral("tamble-archive-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
    {
    }

    ~SqlArchive() override
    {
        if (m_db.isValid())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

    QString open()
    {
        const QString driver = m_postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
        if (!QSqlDatabase::isDriverAvailable(driver))
            return QStringLiteral("The archive needs Qt's %1 database driver, which is not installed").arg(driver);
        m_db = QSqlDatabase::addDatabase(driver, m_name);
        if (m_postgres) {
            m_db.setHostName(m_target.host);
            m_db.setPort(m_target.port);
            m_db.setDatabaseName(m_target.database);
            m_db.setUserName(m_target.user);
            m_db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds));
        } else {
            if (!QFileInfo(QFileInfo(m_target.path).absolutePath()).isDir())
                return QStringLiteral("The archive %1 cannot be created: its folder does not exist").arg(m_target.path);
            m_db.setDatabaseName(m_target.path);
            m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        }
        if (!m_db.open())
            return QStringLiteral("The archive %1 cannot be opened: %2").arg(m_target.describe(), ErrorText(m_db.lastError()));
        if (!m_postgres) {
            QSqlQuery q(m_db);
            if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
                return damaged(q.lastError());
        }
        return ensureSchema();
    }

    ArchiveWrite add(const ArchiveDownload& d) override
    {
        ArchiveWrite w;
        if (!begin()) {
            w.error = failure(m_db.lastError());
            return w;
        }
        QString error;
        const std::optional<std::int64_t> logger = loggerId(d.logger, error);
        std::optional<std::int64_t> download;
        if (logger)
            download = addDownload(*logger, d, w.alreadyArchived, error);
        if (logger && (download || w.alreadyArchived)) {
            if (download) {
                const std::optional<std::int64_t> added = addReadings(*logger, *download, d, error);
                if (added) {
                    w.newReadings = *added;
                    QSqlQuery q(m_db);
                    q.prepare(QStringLiteral("UPDATE download SET new_readings = ? WHERE id = ?"));
                    q.addBindValue(QVariant::fromValue<qint64>(*added));
                    q.addBindValue(QVariant::fromValue<qint64>(*download));
                    if (!q.exec())
                        error = failure(q.lastError());
                } else {
                    download.reset();
                }
            }
        }
        if (!error.isEmpty() || (!download && !w.alreadyArchived)) {
            exec(QStringLiteral("ROLLBACK"));
            w.error = error.isEmpty() ? QStringLiteral("the download could not be stored") : error;
            return w;
        }
        if (!exec(QStringLiteral("COMMIT"))) {
            w.error = failure(m_db.lastError());
            exec(QStringLiteral("ROLLBACK"));
            return w;
        }
        w.ok = true;
        return w;
    }

    std::optional<std::vector<ArchiveLoggerRow>> loggers(QString& error) override
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        const QString sql = QStringLiteral(
                                "SELECT l.id, l.model, l.station, l.description, COUNT(d.id), MAX(d.downloaded_at),"
                                " COALESCE(SUM(d.new_readings), 0), %1, %2"
                                " FROM logger l LEFT JOIN download d ON d.logger_id = l.id"
                                " GROUP BY l.id, l.model, l.station, l.description ORDER BY l.description, l.id")
                                .arg(timeOut(QStringLiteral("MIN(d.first_time)")), timeOut(QStringLiteral("MAX(d.last_time)")));
        if (!q.exec(sql)) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        std::vector<ArchiveLoggerRow> rows;
        while (q.next()) {
            ArchiveLoggerRow r;
            r.id = q.value(0).toLongLong();
            r.logger = {q.value(1).toString(), q.value(2).toInt(), q.value(3).toString()};
            r.downloads = q.value(4).toInt();
            r.lastDownload = stampText(q.value(5));
            r.readings = q.value(6).toLongLong();
            r.firstTime = q.value(7).toLongLong();
            r.lastTime = q.value(8).toLongLong();
            rows.push_back(std::move(r));
        }
        return rows;
    }

    std::optional<std::vector<ArchiveDownloadRow>> downloads(std::int64_t loggerId, QString& error) override
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT id, logger_id, file, source, downloaded_at, revision, resolution_bits, interval_s,"
                                 " %1, %2, reading_count, new_readings FROM download WHERE logger_id = ?"
                                 " ORDER BY downloaded_at, id")
                      .arg(timeOut(QStringLiteral("first_time")), timeOut(QStringLiteral("last_time"))));
        q.addBindValue(QVariant::fromValue<qint64>(loggerId));
        if (!q.exec()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        std::vector<ArchiveDownloadRow> rows;
        while (q.next()) {
            ArchiveDownloadRow r;
            r.id = q.value(0).toLongLong();
            r.loggerId = q.value(1).toLongLong();
            r.file = q.value(2).toString();
            ParseArchiveSource(q.value(3).toString(), r.source);
            r.downloadedAt = stampText(q.value(4));
            r.revision = q.value(5).toString();
            r.resolutionBits = q.value(6).toInt();
            r.intervalSeconds = q.value(7).toDouble();
            r.firstTime = q.value(8).toLongLong();
            r.lastTime = q.value(9).toLongLong();
            r.readingCount = q.value(10).toLongLong();
            r.newReadings = q.value(11).toLongLong();
            rows.push_back(std::move(r));
        }
        for (ArchiveDownloadRow& r : rows) {
            const auto channels = channelsOf(QStringLiteral("download_id = ?"), r.id, error);
            if (!channels)
                return std::nullopt;
            for (const auto& [key, channel] : channels->asKeyValueRange())
                r.channels.push_back(channel);
        }
        return rows;
    }

    bool readings(const ArchiveQuery& query, const std::function<void(const ArchiveReadingRow&)>& each,
                  QString& error) override
    {
        const std::optional<std::vector<ArchiveLoggerRow>> all = loggers(error);
        if (!all)
            return false;
        // Logger by logger in the order of their descriptions; each logger's readings come in the
        // order of the table's key.
        for (const ArchiveLoggerRow& logger : *all) {
            if (query.loggerId && *query.loggerId != logger.id)
                continue;
            if (!query.logger.isEmpty() && !logger.logger.description.contains(query.logger))
                continue;
            const auto channels = channelsOf(QStringLiteral("download_id IN (SELECT id FROM download WHERE logger_id = ?)"),
                                             logger.id, error);
            if (!channels)
                return false;
            QString sql = QStringLiteral("SELECT %1, channel, download_id, value FROM reading WHERE logger_id = ?")
                              .arg(timeOut(QStringLiteral("time")));
            if (query.from)
                sql += QStringLiteral(" AND time >= ") + timeIn();
            if (query.to)
                sql += QStringLiteral(" AND time <= ") + timeIn();
            sql += QStringLiteral(" ORDER BY time, channel");
            QSqlQuery q(m_db);
            q.setForwardOnly(true);
            q.prepare(sql);
            q.addBindValue(QVariant::fromValue<qint64>(logger.id));
            if (query.from)
                q.addBindValue(timeValue(*query.from));
            if (query.to)
                q.addBindValue(timeValue(*query.to));
            if (!q.exec()) {
                error = failure(q.lastError());
                return false;
            }
            ArchiveReadingRow row;
            row.logger = logger.logger.description;
            row.loggerId = logger.id;
            while (q.next()) {
                row.time = q.value(0).toLongLong();
                row.channel = q.value(1).toInt();
                const ArchiveChannel c = channels->value(channelKey(q.value(2).toLongLong(), row.channel));
                row.label = c.label;
                row.unit = c.unit;
                const QVariant v = q.value(3);
                row.value = v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
                each(row);
            }
        }
        return true;
    }

private:
    static std::int64_t channelKey(std::int64_t download, int channel) { return download * 8 + channel; }

    QString damaged(const QSqlError& e) const
    {
        return QStringLiteral("The archive %1 is damaged or is not a database: %2").arg(m_target.describe(), ErrorText(e));
    }

    QString failure(const QSqlError& e) const
    {
        return QStringLiteral("%1: %2").arg(m_target.describe(), ErrorText(e));
    }

    bool exec(const QString& sql)
    {
        QSqlQuery q(m_db);
        return q.exec(sql);
    }

    // SQLite takes the write lock at once, so that a busy database is waited for here and not
    // half-way through the transaction.
    bool begin() { return exec(m_postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")); }

    // Times go in and out as milliseconds since 1970 on the logger's clock: SQLite stores them so,
    // PostgreSQL as a timestamp without a time zone.
    QString timeOut(const QString& column) const
    {
        return m_postgres ? QStringLiteral("CAST(EXTRACT(EPOCH FROM %1) * 1000 AS BIGINT)").arg(column) : column;
    }
    QString timeIn() const
    {
        return m_postgres ? QStringLiteral("CAST(? AS TIMESTAMP(3))") : QStringLiteral("?");
    }
    QVariant timeValue(std::int64_t time) const
    {
        return m_postgres ? QVariant(ArchiveTimeText(time)) : QVariant::fromValue<qint64>(time);
    }

    static QString stampText(const QVariant& v)
    {
        if (v.isNull())
            return {};
        if (v.metaType() == QMetaType::fromType<QDateTime>())
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        return v.toString();
    }

    std::optional<QHash<std::int64_t, ArchiveChannel>> channelsOf(const QString& where, std::int64_t id, QString& error)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT download_id, channel, label, unit FROM download_channel WHERE ") + where +
                  QStringLiteral(" ORDER BY download_id, channel"));
        q.addBindValue(QVariant::fromValue<qint64>(id));
        if (!q.exec()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        QHash<std::int64_t, ArchiveChannel> channels;
        while (q.next()) {
            const ArchiveChannel c{q.value(1).toInt(), q.value(2).toString(), q.value(3).toString()};
            channels.insert(channelKey(q.value(0).toLongLong(), c.channel), c);
        }
        return channels;
    }

    QString ensureSchema()
    {
        const QStringList tables = m_db.tables();
        if (!m_postgres && m_db.lastError().isValid())
            return damaged(m_db.lastError());
        if (tables.contains(QStringLiteral("archive_schema"))) {
            QSqlQuery q(m_db);
            if (!q.exec(QStringLiteral("SELECT MAX(version) FROM archive_schema")) || !q.next())
                return damaged(q.lastError());
            const int version = q.value(0).toInt();
            if (version > kArchiveSchemaVersion)
                return QStringLiteral("The archive %1 has schema version %2, newer than this program knows (%3); "
                                      "it is left as it is")
                    .arg(m_target.describe())
                    .arg(version)
                    .arg(kArchiveSchemaVersion);
            if (version == kArchiveSchemaVersion)
                return {};
        } else {
            for (const QString& t : tables) {
                if (!kArchiveTables.contains(t))
                    return QStringLiteral("%1 is not an archive of this program: it holds the table \"%2\"")
                        .arg(m_target.describe(), t);
            }
        }
        // A new archive (or one another program is creating at this moment).
        if (!begin())
            return failure(m_db.lastError());
        QSqlQuery q(m_db);
        const auto create = [&](const auto& statements) {
            for (const char* statement : statements) {
                if (!q.exec(QString::fromLatin1(statement)))
                    return false;
            }
            return true;
        };
        if (!(m_postgres ? create(kPostgresSchema) : create(kSqliteSchema))) {
            const QString why = failure(q.lastError());
            exec(QStringLiteral("ROLLBACK"));
            return why;
        }
        if (!q.exec(QStringLiteral("INSERT INTO archive_schema (version) SELECT %1 WHERE NOT EXISTS"
                                   " (SELECT 1 FROM archive_schema)")
                        .arg(kArchiveSchemaVersion)) ||
            !exec(QStringLiteral("COMMIT"))) {
            const QString why = failure(q.lastError().isValid() ? q.lastError() : m_db.lastError());
            exec(QStringLiteral("ROLLBACK"));
            return why;
        }
        return {};
    }

    std::optional<std::int64_t> loggerId(const ArchiveLogger& logger, QString& error)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO logger (model, station, description) VALUES (?, ?, ?)"
                                 " ON CONFLICT DO NOTHING"));
        q.addBindValue(Text(logger.model));
        q.addBindValue(logger.station);
        q.addBindValue(Text(logger.description));
        if (!q.exec()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        q.prepare(QStringLiteral("SELECT id FROM logger WHERE model = ? AND station = ? AND description = ?"));
        q.addBindValue(Text(logger.model));
        q.addBindValue(logger.station);
        q.addBindValue(Text(logger.description));
        if (!q.exec() || !q.next()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        return q.value(0).toLongLong();
    }

    std::optional<std::int64_t> addDownload(std::int64_t logger, const ArchiveDownload& d, bool& already, QString& error)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO download (logger_id, file, digest, source, downloaded_at, revision,"
                                 " resolution_bits, interval_s, first_time, last_time, reading_count, new_readings)"
                                 " VALUES (?, ?, ?, ?, %1, ?, ?, ?, %2, %2, ?, 0)"
                                 " ON CONFLICT DO NOTHING RETURNING id")
                      .arg(m_postgres ? QStringLiteral("CAST(? AS TIMESTAMP(0))") : QStringLiteral("?"), timeIn()));
        q.addBindValue(QVariant::fromValue<qint64>(logger));
        q.addBindValue(d.file);
        q.addBindValue(d.digest);
        q.addBindValue(ArchiveSourceName(d.context.source));
        q.addBindValue(Text(d.context.downloadedAt));
        q.addBindValue(Text(d.context.revision));
        q.addBindValue(d.resolutionBits);
        q.addBindValue(d.intervalSeconds);
        q.addBindValue(timeValue(d.firstTime()));
        q.addBindValue(timeValue(d.lastTime()));
        q.addBindValue(QVariant::fromValue<qint64>(static_cast<qint64>(d.time.size())));
        if (!q.exec()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        if (!q.next()) {
            already = true;
            return std::nullopt;
        }
        const std::int64_t id = q.value(0).toLongLong();
        q.finish();
        for (const ArchiveChannel& c : d.channels) {
            q.prepare(QStringLiteral("INSERT INTO download_channel (download_id, channel, label, unit) VALUES (?, ?, ?, ?)"));
            q.addBindValue(QVariant::fromValue<qint64>(id));
            q.addBindValue(c.channel);
            q.addBindValue(Text(c.label));
            q.addBindValue(Text(c.unit));
            if (!q.exec()) {
                error = failure(q.lastError());
                return std::nullopt;
            }
        }
        return id;
    }

    std::optional<std::int64_t> addReadings(std::int64_t logger, std::int64_t download, const ArchiveDownload& d,
                                            QString& error)
    {
        return m_postgres ? addReadingsPostgres(logger, download, d, error) : addReadingsSqlite(logger, download, d, error);
    }

    std::optional<std::int64_t> addReadingsSqlite(std::int64_t logger, std::int64_t download, const ArchiveDownload& d,
                                                  QString& error)
    {
        const auto statement = [](int rows) {
            QString sql = QStringLiteral("INSERT INTO reading (logger_id, time, channel, download_id, value) VALUES ");
            for (int i = 0; i < rows; ++i)
                sql += i ? QStringLiteral(",(?,?,?,?,?)") : QStringLiteral("(?,?,?,?,?)");
            return sql + QStringLiteral(" ON CONFLICT DO NOTHING");
        };
        const QVariant loggerValue = QVariant::fromValue<qint64>(logger);
        const QVariant downloadValue = QVariant::fromValue<qint64>(download);
        const QVariant notANumber(QMetaType::fromType<double>());
        QSqlQuery full(m_db);
        full.prepare(statement(kSqliteRowsPerInsert));
        std::int64_t added = 0;
        const std::size_t total = d.time.size();
        std::size_t at = 0;
        while (at < total) {
            const int rows = static_cast<int>(std::min<std::size_t>(kSqliteRowsPerInsert, total - at));
            QSqlQuery tail(m_db);
            QSqlQuery& q = rows == kSqliteRowsPerInsert ? full : tail;
            if (&q == &tail)
                tail.prepare(statement(rows));
            int p = 0;
            for (int i = 0; i < rows; ++i, ++at) {
                q.bindValue(p++, loggerValue);
                q.bindValue(p++, QVariant::fromValue<qint64>(d.time[at]));
                q.bindValue(p++, static_cast<int>(d.channel[at]));
                q.bindValue(p++, downloadValue);
                q.bindValue(p++, std::isnan(d.value[at]) ? notANumber : QVariant(d.value[at]));
            }
            if (!q.exec()) {
                error = failure(q.lastError());
                return std::nullopt;
            }
            added += q.numRowsAffected();
        }
        return added;
    }

    // One statement: the readings go as three arrays, unnested by the server.
    std::optional<std::int64_t> addReadingsPostgres(std::int64_t logger, std::int64_t download, const ArchiveDownload& d,
                                                    QString& error)
    {
        QByteArray times = "{";
        QByteArray channels = "{";
        QByteArray values = "{";
        times.reserve(static_cast<qsizetype>(d.time.size() * 14));
        values.reserve(static_cast<qsizetype>(d.time.size() * 12));
        for (std::size_t i = 0; i < d.time.size(); ++i) {
            if (i) {
                times += ',';
                channels += ',';
                values += ',';
            }
            times += QByteArray::number(static_cast<qlonglong>(d.time[i]));
            channels += static_cast<char>('0' + d.channel[i]);
            values += std::isnan(d.value[i]) ? QByteArray("NULL") : QByteArray::number(d.value[i], 'g', 17);
        }
        times += '}';
        channels += '}';
        values += '}';
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral(
            "INSERT INTO reading (logger_id, time, channel, download_id, value)"
            " SELECT ?, TIMESTAMP '1970-01-01' + u.t * INTERVAL '1 millisecond', u.c, ?, u.v"
            " FROM unnest(CAST(? AS BIGINT[]), CAST(? AS SMALLINT[]), CAST(? AS DOUBLE PRECISION[])) AS u (t, c, v)"
            " ON CONFLICT DO NOTHING"));
        q.addBindValue(QVariant::fromValue<qint64>(logger));
        q.addBindValue(QVariant::fromValue<qint64>(download));
        q.addBindValue(QString::fromLatin1(times));
        q.addBindValue(QString::fromLatin1(channels));
        q.addBindValue(QString::fromLatin1(values));
        if (!q.exec()) {
            error = failure(q.lastError());
            return std::nullopt;
        }
        return q.numRowsAffected();
    }

    ArchiveTarget m_target;
    bool m_postgres;
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace

std::unique_ptr<ArchiveStore> OpenSqlArchive(const ArchiveTarget& target, QString& error)
{
    if (target.engine == ArchiveEngine::Off) {
        error = QStringLiteral("The archive is off");
        return nullptr;
    }
    auto store = std::make_unique<SqlArchive>(target);
    error = store->open();
    if (!error.isEmpty())
        return nullptr;
    return store;
}

ArchiveOpener ArchiveOpenerFor(const QString& programDir)
{
    const ArchiveTargetResult resolved = ResolveArchiveTarget(
        qEnvironmentVariable(kArchiveEnvironmentVariable), LoadArchiveSettings(programDir), programDir);
    if (!resolved.target) {
        return [why = resolved.error](QString& error) -> std::unique_ptr<ArchiveStore> {
            error = why;
            return nullptr;
        };
    }
    if (resolved.target->engine == ArchiveEngine::Off)
        return {};
    return [target = *resolved.target](QString& error) { return OpenSqlArchive(target, error); };
}

} // namespace tamble
