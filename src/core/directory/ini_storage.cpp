#include "directory/ini_storage.h"

#include "util/file_write.h"

#include <QFile>
#include <QFileInfo>

namespace tamble {

namespace {

QString TooLargeText() { return QStringLiteral("the file is larger than %1 MiB").arg(kIniFileLimit / (1024 * 1024)); }

} // namespace

IniReadResult IniFileStorage::read()
{
    IniReadResult result;
    const QFileInfo info(m_path);
    if (!info.exists()) {
        result.status = IniReadResult::Status::Missing;
        return result;
    }
    result.status = IniReadResult::Status::Failed;
    if (info.isDir()) {
        result.error = QStringLiteral("it is a folder");
        return result;
    }
    if (info.size() > kIniFileLimit) {
        result.error = TooLargeText();
        return result;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.read(kIniFileLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (result.bytes.size() > kIniFileLimit) {
        result.error = TooLargeText();
        return result;
    }
    result.status = IniReadResult::Status::Read;
    return result;
}

QString IniFileStorage::write(const QByteArray& bytes)
{
    QString why;
    return WriteFileReplacing(m_path, bytes, &why) ? QString() : why;
}

QString IniFileStorage::Name() const
{
    return QFileInfo(m_path).fileName();
}

IniReadResult IniMemoryStorage::read()
{
    IniReadResult result;
    if (!readError.isEmpty()) {
        result.status = IniReadResult::Status::Failed;
        result.error = readError;
    } else if (exists) {
        result.status = IniReadResult::Status::Read;
        result.bytes = bytes;
    }
    return result;
}

QString IniMemoryStorage::write(const QByteArray& data)
{
    if (!writeError.isEmpty())
        return writeError;
    bytes = data;
    exists = true;
    ++writes;
    return {};
}

} // namespace tamble
