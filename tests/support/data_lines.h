#pragma once
// The data lines of a finished .TL1 file: the lines after its 17 header lines,
// without their line ends.

#include <QByteArray>
#include <QList>

namespace tamble::test {

inline QList<QByteArray> DataLines(const QByteArray& file)
{
    QList<QByteArray> lines = file.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(17);
}

} // namespace tamble::test
