#include "datafiles/bank_file.h"

#include <algorithm>

namespace tamble {

bool IsBankFileName(const QString& path)
{
    return path.endsWith(QLatin1String(".TL2")) || path.endsWith(QLatin1String(".tl2"));
}

QString BankFileNameFor(const QString& tl1Path)
{
    return tl1Path.left(std::max<qsizetype>(0, tl1Path.size() - 4)) + QStringLiteral(".TL2");
}

} // namespace tamble
