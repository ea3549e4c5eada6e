#pragma once
// Dates as the data files, the graph and the exports count them: days since 30 December 1899,
// the time of day as the fraction.

#include <QDate>
#include <QDateTime>

namespace tamble {

inline QDate DayZero()
{
    return QDate(1899, 12, 30);
}

// 1 January 1970, the start of Unix time.
inline constexpr double kUnixEpochDayNumber = 25569.0;

inline double DayNumber(QDate date)
{
    return static_cast<double>(DayZero().daysTo(date));
}

inline double DayNumber(const QDateTime& local)
{
    return DayNumber(local.date()) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace tamble
