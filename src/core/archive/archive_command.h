#pragma once
// The archive's command lines, for scripts and fleet operators:
//   --archive-import PATH...       data files (.TL1/.TL2) or folders of them
//   --archive-query [--logger TEXT] [--from T] [--to T] [--format csv|json]
//   --archive-loggers [--format csv|json]
// and the text they print.

#include "archive/archive_store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tamble {

enum class ArchiveCommandKind { Import, Query, Loggers };
enum class ArchiveOutputFormat { Csv, Json };

struct ArchiveCommand {
    ArchiveCommandKind kind = ArchiveCommandKind::Query;
    QStringList paths;              // import: absolute, in the order given
    ArchiveQuery query;
    ArchiveOutputFormat format = ArchiveOutputFormat::Csv;
    QString error;                  // the command line is invalid: this message, exit status 2
};

// Relative paths are taken from `currentDir`.
ArchiveCommand ParseArchiveCommand(const QStringList& params, const QString& currentDir);

// The data files an import takes from `paths`: files as named, folders searched through, their
// .TL1 and .TL2 files in name order. A .TL2 file beside a .TL1 file of the same name is the
// second half of that recording and is left out.
QStringList ArchiveImportFiles(const QStringList& paths);

// Query output. CSV: the header "logger,time,channel,label,unit,value" and a line per reading and
// channel. JSON: an array of objects with those six keys. Values are unrounded, missing ones empty
// (CSV) or null (JSON).
class ArchiveReadingWriter {
public:
    explicit ArchiveReadingWriter(ArchiveOutputFormat format) : m_format(format) {}
    QByteArray begin() const;
    // Appends the reading's line (CSV) or object (JSON) to `out`.
    void row(const ArchiveReadingRow& r, QByteArray& out);
    QByteArray row(const ArchiveReadingRow& r);
    QByteArray end() const;

private:
    // The texts of the last logger and of each channel, encoded once for the run of rows they head.
    struct Encoded {
        QString logger, label, unit;
        QByteArray bytes;
    };
    const QByteArray& encodedLogger(const QString& logger);
    const QByteArray& encodedChannel(const ArchiveReadingRow& r);

    ArchiveOutputFormat m_format;
    bool m_first = true;
    Encoded m_logger;
    Encoded m_channel[5];
};

// --archive-loggers output: "logger,model,station,downloads,last_download,readings,first,last".
QByteArray FormatArchiveLoggers(const std::vector<ArchiveLoggerRow>& rows, ArchiveOutputFormat format);

// A CSV field, quoted when it holds a comma, a quote or a line end.
QByteArray CsvField(const QString& text);

} // namespace tamble
