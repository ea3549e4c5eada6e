#pragma once
// Writing a whole file so that it is never left half-written: the bytes go to a temporary file
// beside it, which replaces the file only once it is complete. A failed write keeps the old file.

#include <QByteArrayView>
#include <QString>

namespace tamble {

// Writes `bytes` to `path`. False when the file could not be opened, written or put in place;
// `error` (when given) then holds the reason the file system gave.
bool WriteFileReplacing(const QString& path, QByteArrayView bytes, QString* error = nullptr);

// The message for a file that could not be written: "Unable to write " + path.
QString UnableToWriteText(const QString& path);

} // namespace tamble
