// The archive for scripts and fleet operators: --archive-import adds data files, --archive-query
// prints readings, --archive-loggers lists the loggers. Headless; one line on stderr says what was
// done or why not.
#include "app/unattended.h"

#include "archive/archive_command.h"
#include "platform/sql_archive.h"
#include "platform/startup_log.h"
#include "settings/command_line.h"

#include <cstdio>

namespace tamble {

namespace {

void PrintLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void Write(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

int Import(ArchiveStore& store, const QStringList& paths, const QString& programDir)
{
    int added = 0;
    int already = 0;
    int failed = 0;
    std::int64_t readings = 0;
    for (const QString& file : ArchiveImportFiles(paths)) {
        const ArchiveDownloadResult read = ReadArchiveDownload(file, {ArchiveSource::Import, 0, {}, {}}, programDir);
        if (!read.ok) {
            PrintLine(read.message);
            ++failed;
            continue;
        }
        const ArchiveWrite written = store.add(read.download);
        if (!written.ok) {
            PrintLine(file + QStringLiteral(": ") + written.error);
            ++failed;
            continue;
        }
        written.alreadyArchived ? ++already : ++added;
        readings += written.newReadings;
    }
    PrintLine(QStringLiteral("Archive import: %1 file(s) added, %2 new reading(s), %3 archived before, %4 failed")
                  .arg(added)
                  .arg(readings)
                  .arg(already)
                  .arg(failed));
    return failed ? kExitFailure : kExitSuccess;
}

} // namespace

int RunArchiveCommand(const QStringList& params, const QString& currentDir, const QString& programDir)
{
    const ArchiveCommand command = ParseArchiveCommand(params, currentDir);
    if (!command.error.isEmpty()) {
        PrintLine(InvalidCommandLineText(command.error));
        return kExitCommandLineError;
    }
    const ArchiveOpener opener = ArchiveOpenerFor(programDir);
    if (!opener) {
        PrintLine(QStringLiteral("The archive is off"));
        return kExitFailure;
    }
    QString error;
    const std::unique_ptr<ArchiveStore> store = opener(error);
    if (!store) {
        PrintLine(error);
        return kExitFailure;
    }
    switch (command.kind) {
    case ArchiveCommandKind::Import:
        return Import(*store, command.paths, programDir);
    case ArchiveCommandKind::Loggers: {
        const auto rows = store->loggers(error);
        if (!rows) {
            PrintLine(error);
            return kExitFailure;
        }
        Write(FormatArchiveLoggers(*rows, command.format));
        std::fflush(stdout);
        PrintLine(QStringLiteral("%1 logger(s)").arg(rows->size()));
        return kExitSuccess;
    }
    case ArchiveCommandKind::Query:
        break;
    }
    ArchiveReadingWriter writer(command.format);
    std::int64_t count = 0;
    QByteArray out = writer.begin();
    out.reserve(1 << 17);
    const bool ok = store->readings(command.query, [&](const ArchiveReadingRow& row) {
        writer.row(row, out);
        ++count;
        if (out.size() > (1 << 16)) {
            Write(out);
            out.clear();
        }
    }, error);
    out += writer.end();
    Write(out);
    std::fflush(stdout);
    if (!ok) {
        PrintLine(error);
        return kExitFailure;
    }
    PrintLine(QStringLiteral("%1 reading(s)").arg(count));
    return kExitSuccess;
}

} // namespace tamble
