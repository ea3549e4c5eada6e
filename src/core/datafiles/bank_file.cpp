#include "datafiles/bank_file.h"

#include <algorithm>

namespace tamble {

bool IsDataFileName(const QString& path) { return path.endsWith(QStringLiteral(".TL1"), Qt::CaseInsensitive); }

bool IsBankFileName(const QString& path)
{
    return path.endsWith(QLatin1String(".TL2")) || path.endsWith(QLatin1String(".tl2"));
}

QString BankFileNameFor(const QString& tl1Path)
{
    return tl1Path.left(std::max<qsizetype>(0, tl1Path.size() - 4)) + QStringLiteral(".TL2");
}

QString DataFileNameFor(const QString& bankPath)
{
    const qsizetype dot = bankPath.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || bankPath.size() - dot != 4 || bankPath.lastIndexOf(QLatin1Char('/')) > dot)
        return bankPath + QStringLiteral(".TL1");
    return bankPath.left(bankPath.size() - 3) + QStringLiteral("TL1");
}

} // namespace tamble
