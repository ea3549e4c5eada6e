#pragma once
// Proleptic Gregorian calendar arithmetic: leap years, month lengths, day
// numbers and weekdays. The data file time base and the setup's start field
// both count days with it.

#include <cstdint>

namespace tamble {

bool IsLeapYear(int year);
// Days of a month 1..12 (any other month counts 31).
int DaysInMonth(int year, int month);

// Days from 1 January 1970 to a date (month 1..12); any int64 range the
// callers allow (they keep years within a few million).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
// The date of a day number counted from 1 January 1970.
void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day);
// Weekday (0 = Sunday) of a day number counted from 1 January 1970.
int WeekdayFromDays(std::int64_t days);

// Division and remainder rounded towards minus infinity.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);
std::int64_t FloorMod(std::int64_t a, std::int64_t b);

} // namespace tamble
