#include "util/file_write.h"

#include <QSaveFile>

namespace tamble {

bool WriteFileReplacing(const QString& path, QByteArrayView bytes, QString* error)
{
    QSaveFile file(path);
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString UnableToWriteText(const QString& path) { return QStringLiteral("Unable to write ") + path; }

} // namespace tamble
