#include "archive/archive_queue.h"

#include "util/file_write.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

namespace tamble {

namespace {

QString QueuePath(const QString& programDir)
{
    return QDir(programDir).filePath(QString::fromLatin1(kArchiveQueueFileName));
}

// Fields are tab-separated; a path or revision never holds a tab or a line end of its own.
QByteArray QueueLine(const QueuedArchiveFile& f)
{
    const QStringList fields{ArchiveSourceName(f.context.source), QString::number(f.context.station),
                             f.context.revision, f.context.downloadedAt, f.path};
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

std::vector<QueuedArchiveFile> ParseQueue(const QByteArray& bytes)
{
    std::vector<QueuedArchiveFile> files;
    for (const QByteArray& line : bytes.split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() != 5 || fields[4].isEmpty())
            continue;
        QueuedArchiveFile f;
        if (!ParseArchiveSource(fields[0], f.context.source))
            continue;
        f.context.station = fields[1].toInt();
        f.context.revision = fields[2];
        f.context.downloadedAt = fields[3];
        f.path = fields[4];
        files.push_back(std::move(f));
    }
    return files;
}

std::vector<QueuedArchiveFile> ReadQueueFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? ParseQueue(file.readAll()) : std::vector<QueuedArchiveFile>{};
}

QString WriteQueue(const QString& path, const std::vector<QueuedArchiveFile>& files)
{
    if (files.empty())
        return QFile::exists(path) && !QFile::remove(path) ? UnableToWriteText(path) : QString();
    QByteArray bytes;
    for (const QueuedArchiveFile& f : files)
        bytes += QueueLine(f);
    return WriteFileReplacing(path, bytes) ? QString() : UnableToWriteText(path);
}

// Holds the queue's lock for one read-change-write.
class QueueLock {
public:
    explicit QueueLock(const QString& programDir) : m_lock(QueuePath(programDir) + QStringLiteral(".lock"))
    {
        m_lock.setStaleLockTime(30000);
        m_locked = m_lock.tryLock(10000);
    }
    bool locked() const { return m_locked; }

private:
    QLockFile m_lock;
    bool m_locked = false;
};

} // namespace

std::vector<QueuedArchiveFile> ReadArchiveQueue(const QString& programDir)
{
    return ReadQueueFile(QueuePath(programDir));
}

namespace {

// Reads the queue, lets `change` edit it and writes it back, all under the queue's lock.
template <typename Change>
QString ChangeQueue(const QString& programDir, Change change)
{
    const QString path = QueuePath(programDir);
    QueueLock lock(programDir);
    if (!lock.locked())
        return UnableToWriteText(path);
    std::vector<QueuedArchiveFile> files = ReadQueueFile(path);
    if (!change(files))
        return {};
    return WriteQueue(path, files);
}

} // namespace

QString AddToArchiveQueue(const QString& programDir, const QueuedArchiveFile& file)
{
    return ChangeQueue(programDir, [&](std::vector<QueuedArchiveFile>& files) {
        for (const QueuedArchiveFile& f : files) {
            if (f.path == file.path)
                return false;
        }
        files.push_back(file);
        return true;
    });
}

QString RemoveFromArchiveQueue(const QString& programDir, const QStringList& paths)
{
    return ChangeQueue(programDir, [&](std::vector<QueuedArchiveFile>& files) {
        std::erase_if(files, [&](const QueuedArchiveFile& f) { return paths.contains(f.path); });
        return true;
    });
}

} // namespace tamble
