#include "setup/start_field.h"

#include "util/calendar.h"

#include <QDate>
#include <QTime>

namespace tamble {

namespace {

// The day-number origin, 1 January 1600, counted from 1 January 1970.
std::int64_t originDays() { return DaysFromCivil(1600, 1, 1); }

void putTwo(QByteArray& out, std::int64_t v)
{
    const std::int64_t t = FloorMod(v, 100);
    out.append(static_cast<char>('0' + t / 10));
    out.append(static_cast<char>('0' + t % 10));
}

QString stripZone(QString format)
{
    // The long time format of some locales ends in a time-zone token; the start
    // entry shows a wall-clock time only.
    format.remove(QLatin1String(" t"));
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

QString longTimeText(const CivilMoment& m, const QLocale& locale)
{
    const QTime t(m.hour, m.minute, m.second);
    return locale.toString(t, stripZone(locale.timeFormat(QLocale::LongFormat)));
}

QString presetEntryText(const CivilMoment& m, const QLocale& locale)
{
    const int qtWeekday = m.weekday == 0 ? 7 : m.weekday; // Qt counts Monday = 1
    const QDate date(static_cast<int>(m.year), m.month, m.day);
    const QString text = locale.dayName(qtWeekday, QLocale::LongFormat) + QLatin1String(", ")
                         + locale.toString(date, locale.dateFormat(QLocale::ShortFormat))
                         + QLatin1Char(' ') + longTimeText(m, locale);
    return RemoveSeconds(text);
}

} // namespace

std::int64_t DayNumberOf(std::int64_t year, int month, int day)
{
    return DaysFromCivil(year, month, day) - originDays();
}

CivilMoment MomentOf(std::int64_t dayNumber, std::int64_t secondsOfDay)
{
    CivilMoment m;
    m.dayNumber = dayNumber + FloorDiv(secondsOfDay, 86400);
    const std::int64_t secs = FloorMod(secondsOfDay, 86400);
    m.hour = static_cast<int>(secs / 3600);
    m.minute = static_cast<int>((secs / 60) % 60);
    m.second = static_cast<int>(secs % 60);
    CivilFromDays(m.dayNumber + originDays(), m.year, m.month, m.day);
    m.weekday = WeekdayFromDays(m.dayNumber + originDays());
    return m;
}

CivilMoment StartMoment(const StartSchedule& schedule, std::int64_t todayDayNumber)
{
    const std::int64_t day = schedule.startDateIsToday == 1 ? todayDayNumber : schedule.startDate;
    return MomentOf(day, schedule.startTime);
}

QByteArray StartField(const StartSchedule& schedule, std::int64_t todayDayNumber)
{
    const CivilMoment m = StartMoment(schedule, todayDayNumber);
    QByteArray out("00");
    putTwo(out, m.minute);
    putTwo(out, m.hour);
    putTwo(out, schedule.dialOutKind == 'a' ? schedule.dialOutMonthDay : m.day);
    putTwo(out, m.month);
    if (schedule.dialOutKind == 'b')
        out.append(static_cast<char>('0' + schedule.dialOutWeekday % 10));
    else
        out.append(static_cast<char>('1' + m.weekday));
    switch (schedule.dialOutKind) {
    case 0: putTwo(out, m.year); break;
    case 'a': out.append("97"); break;
    case 'b': out.append("98"); break;
    default: out.append("99"); break; // daily, and any other non-zero kind
    }
    return out;
}

QByteArray ClockField(const CivilMoment& now)
{
    QByteArray out;
    putTwo(out, now.second);
    putTwo(out, now.minute);
    putTwo(out, now.hour);
    putTwo(out, now.day);
    putTwo(out, now.month);
    out.append(static_cast<char>('1' + now.weekday));
    putTwo(out, now.year);
    return out;
}

bool PresetStartPassed(int startChoice, const StartSchedule& schedule, const CivilMoment& now)
{
    if (startChoice != 1)
        return false;
    const CivilMoment start = StartMoment(schedule, now.dayNumber);
    const std::int64_t nowSecs = now.hour * 3600 + now.minute * 60 + now.second;
    const std::int64_t startSecs = start.hour * 3600 + start.minute * 60 + start.second;
    if (start.dayNumber != now.dayNumber)
        return start.dayNumber < now.dayNumber;
    return startSecs < nowSecs;
}

QString MonthDaySuffix(int day)
{
    switch (day) {
    case 1: case 21: case 31: return QStringLiteral("st at ");
    case 2: case 22: return QStringLiteral("nd at ");
    case 3: case 23: return QStringLiteral("rd at ");
    default: return QStringLiteral("th at ");
    }
}

QString RemoveSeconds(const QString& text)
{
    QString out;
    bool seenColon = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(':')) {
            if (seenColon) {
                i += 2; // the colon and the two characters after it go
                continue;
            }
            seenColon = true;
        }
        out.append(text[i]);
    }
    return out;
}

QString DialOutTimeText(std::int64_t secondsOfDay, const QLocale& locale)
{
    return RemoveSeconds(longTimeText(MomentOf(0, secondsOfDay), locale));
}

QString DialOutWeekdayName(int weekday)
{
    static const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    if (weekday < 1 || weekday > 7)
        return QStringLiteral("err");
    return QString::fromLatin1(names[weekday - 1]);
}

QString DailyDialOutEntry(const QString& timeText)
{
    return QLatin1String("immediate; with ") + timeText + QLatin1String(" dialout");
}

QString WeeklyDialOutEntry(const QString& weekdayText, const QString& timeText)
{
    return QLatin1String("immediate; dialout on ") + weekdayText + QLatin1String(" at ") + timeText;
}

QString MonthlyDialOutEntry(int monthDay, const QString& timeText)
{
    return QLatin1String("immediate; dialout on ") + QString::number(monthDay) + MonthDaySuffix(monthDay)
           + timeText;
}

StartEntry StartEntryText(int startChoice, const StartSchedule& schedule, std::int64_t todayDayNumber,
                          const QLocale& locale)
{
    StartEntry e;
    if (startChoice == 1) {
        e.entry = 1;
        e.text = presetEntryText(StartMoment(schedule, todayDayNumber), locale);
        return e;
    }
    if (startChoice == 3) {
        e.entry = 3;
        const QString t = RemoveSeconds(longTimeText(MomentOf(schedule.startDate, schedule.startTime), locale));
        switch (schedule.dialOutKind) {
        case 'c': e.text = QLatin1String("immediate; dialout at ") + t; break;
        case 'b': e.text = WeeklyDialOutEntry(DialOutWeekdayName(schedule.dialOutWeekday), t); break;
        case 'a': e.text = MonthlyDialOutEntry(schedule.dialOutMonthDay, t); break;
        default: break; // no schedule yet: the entry keeps its text
        }
        return e;
    }
    e.entry = 1;
    e.text = QStringLiteral("at pre-set time");
    e.clearDialOutKind = true;
    return e;
}

} // namespace tamble
