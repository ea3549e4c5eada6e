#include "archive/archivist.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace tamble {

QString ArchivePendingText(const QString& reason)
{
    return QStringLiteral("archive pending: ") + reason;
}

QString ArchiveNoteMessage(const ArchiveNote& note)
{
    QString text = QStringLiteral("The data file is complete, but the archive did not take it (") + note.text +
                   QStringLiteral(").");
    if (note.pending())
        text += QStringLiteral(" It is added at the next start of the program or the next download.");
    return text;
}

Archivist::Archivist(ArchiveOpener opener, QString programDir)
    : m_opener(std::move(opener)), m_programDir(std::move(programDir))
{
}

Archivist::~Archivist() = default;

ArchiveStore* Archivist::store(QString& error)
{
    if (!m_store && m_opener)
        m_store = m_opener(error);
    return m_store.get();
}

ArchiveNote Archivist::archive(const QString& file, const ArchiveContext& context)
{
    if (!enabled())
        return {};
    addQueued();
    ArchiveNote note = add(file, context);
    if (note.pending()) {
        const QString queued = AddToArchiveQueue(m_programDir, {QFileInfo(file).absoluteFilePath(), context});
        if (!queued.isEmpty())
            note.text += QStringLiteral("; ") + queued;
    }
    return note;
}

ArchiveNote Archivist::add(const QString& file, const ArchiveContext& context)
{
    QElapsedTimer clock;
    clock.start();
    ArchiveNote note = addTimed(file, context);
    note.elapsedMs = clock.elapsed();
    return note;
}

ArchiveNote Archivist::addTimed(const QString& file, const ArchiveContext& context)
{
    ArchiveNote note;
    const ArchiveDownloadResult read = ReadArchiveDownload(file, context, m_programDir);
    if (!read.ok) {
        note.kind = ArchiveNote::Kind::Unreadable;
        note.text = QStringLiteral("not archived: ") + read.message;
        return note;
    }
    QString error;
    ArchiveStore* s = store(error);
    ArchiveWrite written;
    if (s)
        written = s->add(read.download);
    if (!s || !written.ok) {
        // A write that failed may have left the connection unusable: open it anew next time.
        m_store.reset();
        note.kind = ArchiveNote::Kind::Pending;
        note.text = ArchivePendingText(s ? written.error : error);
        return note;
    }
    note.kind = ArchiveNote::Kind::Added;
    note.newReadings = written.newReadings;
    note.readings = static_cast<std::int64_t>(read.download.time.size());
    return note;
}

Archivist::QueueResult Archivist::addQueued()
{
    QueueResult result;
    if (!enabled())
        return result;
    const std::vector<QueuedArchiveFile> queued = ReadArchiveQueue(m_programDir);
    QStringList done;
    for (const QueuedArchiveFile& f : queued) {
        const ArchiveNote note = add(f.path, f.context);
        if (note.pending()) {
            // The archive still cannot take files: the rest wait too.
            result.pending = static_cast<int>(queued.size() - static_cast<std::size_t>(done.size()));
            result.messages << note.text;
            break;
        }
        if (note.kind == ArchiveNote::Kind::Unreadable)
            result.messages << note.text;
        else
            ++result.added;
        done << f.path;
    }
    if (!done.isEmpty()) {
        const QString removed = RemoveFromArchiveQueue(m_programDir, done);
        if (!removed.isEmpty())
            result.messages << removed;
    }
    return result;
}

} // namespace tamble
