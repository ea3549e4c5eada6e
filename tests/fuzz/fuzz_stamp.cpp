// Time base readers on arbitrary text: stamps, logger clock texts and export
// stamps of any length and content must never crash, and a stamp that reads
// as a date and time must read back the same after formatting.

#include "datafiles/timebase.h"

#include "support/fuzz_check.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace tamble;

using tamble::fuzz::check;

namespace {

bool sameMoment(const CalendarCursor& a, const CalendarCursor& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.weekday == b.weekday &&
           a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    // Options and amounts from the first bytes, text from the rest.
    const std::uint8_t flags = data[0];
    std::int32_t raw = 0;
    std::memcpy(&raw, data + 1, sizeof raw);
    float amount = 0;
    std::memcpy(&amount, data + 5, sizeof amount);
    const QByteArrayView text(reinterpret_cast<const char*>(data + 9), static_cast<qsizetype>(size - 9));
    const ClockStyle style = (flags & 1) ? ClockStyle::AmPm : ClockStyle::Hour24;

    CalendarCursor c;
    const bool valid = ParseStampInto(text, c);
    char buf[kStampBufferSize];
    const int n = FormatStampInto(c, style, buf);
    check(n > 0 && n <= kStampBufferSize);
    if (valid) {
        check(n == (style == ClockStyle::AmPm ? 26 : 24));
        CalendarCursor again;
        check(ParseStampInto(QByteArrayView(buf, n), again));
        check(sameMoment(c, again));
    }

    if (LoggerClockValid(text)) {
        const QString stamp = LoggerClockToStamp(text, style);
        check(stamp.size() == (style == ClockStyle::AmPm ? 26 : 24));
    } else {
        LoggerClockToStamp(text, style);
    }

    AddMinutes(text, static_cast<double>(amount), style);
    AddMinutes(text, static_cast<double>(raw), style);
    SubtractMinutes(text, amount, style);
    SubtractMinutes(text, static_cast<float>(raw) / 7.0f, style);
    StampSpanMinutes(text, text.sliced(text.size() / 2));

    ExportClock clock;
    clock.intervalMinutes = static_cast<double>(RateMinutes(flags));
    clock.dateOrder = (flags & 2) ? ExportDateOrder::DayFirst : ExportDateOrder::MonthFirst;
    const ExportStamp first = FirstExportStamp(clock, text, static_cast<double>(amount), flags & 4);
    check(first.length > 0 && first.length <= static_cast<int>(first.text.size()));
    const ExportStamp next = NextExportStamp(clock, text, raw, flags & 8);
    check(next.length > 0 && next.length <= static_cast<int>(next.text.size()));
    const ExportStamp after = NextExportStamp(clock, next.bytes(), 1, flags & 8);
    check(after.length > 0 && after.length <= static_cast<int>(after.text.size()));
    check(clock.cursor.msRemainder >= 0 && clock.cursor.msRemainder < 1000);

    // Well-formed stamps with random digits, so that the round trip is
    // exercised often: every form the readers accept.
    static const char* const kForms[] = {"Thu  5-Mar-1998  9:07:03", "Thu  5-Mar-1998  9:07:03pm",
                                         "Tue  1-Jan-91 12:00:00am", "Thu  5-Mar-98  9:07pm", "Thu  5-Mar-98  9:07"};
    char form[32];
    const char* pattern = kForms[flags % 5];
    const std::size_t len = std::strlen(pattern);
    std::memcpy(form, pattern, len);
    for (std::size_t i = 0; i < len && i < static_cast<std::size_t>(text.size()); ++i)
        if (form[i] >= '0' && form[i] <= '9')
            form[i] = static_cast<char>('0' + static_cast<unsigned char>(text[i]) % 10);
    CalendarCursor f;
    if (ParseStampInto(QByteArrayView(form, static_cast<qsizetype>(len)), f)) {
        const int m = FormatStampInto(f, style, buf);
        CalendarCursor again;
        check(ParseStampInto(QByteArrayView(buf, m), again));
        check(sameMoment(f, again));
        const QString later = AddMinutes(QByteArrayView(buf, m), static_cast<double>(raw % 100000), style);
        CalendarCursor moved;
        check(ParseStampInto(QByteArrayView(later.toLatin1()), moved) || raw % 100000 == 0);
    }

    QString name;
    RateName(static_cast<int>(raw), name);
    ApproxRateCorrection(static_cast<double>(amount));
    return 0;
}
