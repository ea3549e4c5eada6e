#include "setup/get_date_model.h"

#include "setup/start_field.h"

namespace tamble {

namespace {

char kindOf(DialOutInterval interval)
{
    switch (interval) {
    case DialOutInterval::Weekly: return 'b';
    case DialOutInterval::Monthly: return 'a';
    default: return 'c';
    }
}

int clampIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }

} // namespace

const QStringList& DialOutWeekdayTexts()
{
    static const QStringList texts = {QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"),
                                      QStringLiteral("Wed"), QStringLiteral("Thu"), QStringLiteral("Fri"),
                                      QStringLiteral("Sat")};
    return texts;
}

const QStringList& DialOutMonthDayTexts()
{
    static const QStringList texts = [] {
        QStringList t;
        for (int d = 1; d <= 31; ++d)
            t << QString::number(d);
        return t;
    }();
    return texts;
}

void DayListsEnabled(DialOutInterval interval, bool& weekday, bool& monthDay)
{
    weekday = interval == DialOutInterval::Weekly;
    monthDay = interval == DialOutInterval::Monthly;
}

GetDateView OpenGetDate(const SetupRecord& setup, bool dialOutMode)
{
    GetDateView v;
    v.dialOut = dialOutMode;
    v.caption = QString::fromLatin1(dialOutMode ? kDialOutCaption : kPresetDateCaption);
    switch (setup.dialOutKind()) {
    case 'a': v.interval = DialOutInterval::Monthly; break;
    case 'b': v.interval = DialOutInterval::Weekly; break;
    default: v.interval = DialOutInterval::Daily; break;
    }
    // A day never chosen (0, or a value out of range) shows the first entry.
    v.weekday = clampIndex(setup.dialOutWeekday() - 1, 7);
    v.monthDay = clampIndex(setup.dialOutMonthDay() - 1, 31);
    DayListsEnabled(v.interval, v.weekdayEnabled, v.monthDayEnabled);
    v.today = setup.startDateIsToday() == 1;
    v.datePickerEnabled = !v.today;
    return v;
}

void ChooseDialOutInterval(SetupRecord& setup, DialOutInterval interval)
{
    setup.setDialOutKind(static_cast<std::uint8_t>(kindOf(interval)));
}

void ChooseDialOutWeekday(SetupRecord& setup, int index)
{
    setup.setDialOutWeekday(static_cast<std::uint8_t>(clampIndex(index, 7) + 1));
}

void ChooseDialOutMonthDay(SetupRecord& setup, int index)
{
    setup.setDialOutMonthDay(static_cast<std::uint8_t>(clampIndex(index, 31) + 1));
}

GetDateResult AcceptDialOut(SetupRecord& setup, const QDate& today, const QTime& time, DialOutInterval interval,
                            int weekdayIndex, int monthDayIndex, const QLocale& locale)
{
    ChooseDialOutInterval(setup, interval);
    // The lists' selections are taken as well, so a day never touched is still a real day.
    ChooseDialOutWeekday(setup, weekdayIndex);
    ChooseDialOutMonthDay(setup, monthDayIndex);
    setup.setStartDate(SetupDayNumber(today));
    setup.setStartTime(SetupSecondsOfDay(time));
    const QString t = DialOutTimeText(setup.startTime(), locale);
    GetDateResult r;
    r.entry = 3;
    switch (interval) {
    case DialOutInterval::Weekly:
        r.text = WeeklyDialOutEntry(DialOutWeekdayTexts()[clampIndex(weekdayIndex, 7)], t);
        break;
    case DialOutInterval::Monthly: r.text = MonthlyDialOutEntry(clampIndex(monthDayIndex, 31) + 1, t); break;
    case DialOutInterval::Daily: r.text = DailyDialOutEntry(t); break;
    }
    return r;
}

GetDateResult AcceptPresetDate(SetupRecord& setup, bool alwaysToday, const QDate& date, const QTime& time,
                               const QDate& today, const QLocale& locale)
{
    setup.setStartDateIsToday(alwaysToday ? 1 : 0);
    setup.setStartDate(SetupDayNumber(alwaysToday ? today : date));
    setup.setStartTime(SetupSecondsOfDay(time));
    setup.setDialOutKind(0);
    GetDateResult r;
    r.entry = 1;
    r.text = StartEntryText(1, ScheduleOf(setup), SetupDayNumber(today), locale).text.value_or(QString());
    return r;
}

} // namespace tamble
